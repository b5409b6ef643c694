#include "dates/ZorvaXPDPicker.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "foundation/PenLines.h"
#include "foundation/modGeneral.h"
#include "foundation/modGradient.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/host/runtime/Format.h"
#include "platform/ui/User.h"

namespace zxp::dates {

using foundation::Redraw;

namespace {

int16_t shiftState() {
  return static_cast<int16_t>((GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                              (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

std::string digitsOf(const std::string& s) {
  std::string out;
  for (char c : s)
    if (c >= '0' && c <= '9') out += c;
  return out;
}

bool yearFirst(MaskType m) { return m == MaskType::YY_MM_DD; }
bool monthFirst(MaskType m) { return m == MaskType::MM_DD_YY || m == MaskType::MM_DD_YYYY; }
bool longYear(MaskType m) { return m == MaskType::DD_MM_YYYY || m == MaskType::MM_DD_YYYY; }

}  // namespace

ZorvaXPDPicker::ZorvaXPDPicker() = default;

// ---- Lifecycle ----------------------------------------------------------------------------------

void ZorvaXPDPicker::UserControl_Initialize() {
  EditHooks hooks;
  hooks.key = [this](UINT message, WPARAM& code, LPARAM) { fieldKey(message, code); };
  hooks.notify = [this](WORD code) { fieldNotified(code); };
  hooks.mouse = [this](UINT message, WPARAM keys, LPARAM position) { fieldMouse(message, keys, position); };
  txt.create(hWnd(), ES_AUTOHSCROLL, kFieldLeft, 2, std::move(hooks));

  picDropDown.create(hWnd(), Rect::fromXYWH(0, 0, kButtonWidth, 1));
  picDropDown.setTakesFocusOnClick(false);
  picDropDown.setVisible(true);
  picDropDown.MouseMove.connect([this](int16_t& b, int16_t&, float&, float&) {
    if (!(b & 1) && face_ != Face::Over) paintButton(Face::Over);
    tmrHover.setEnabled(true);
  });
  picDropDown.MouseDown.connect([this](int16_t& b, int16_t&, float&, float&) {
    if (b != 1) return;
    paintButton(Face::Pressed);
    if (!calendarShowing()) hook_.StartHook();
  });
  picDropDown.MouseUp.connect([this](int16_t& b, int16_t&, float&, float&) {
    if (b != 1) return;
    paintButton(CursorOutsideWindow(picDropDown.hWnd()) ? Face::Normal : Face::Over);
    if (calendarShowing()) {
      HideCalander();
    } else {
      BeforeShowCalender.raise();
      ShowCalander();
      AfterShowCalender.raise();
    }
    if (!calendarShowing()) hook_.StopHook();
  });
  hook_.MouseDownOnOut.connect([this](int16_t& x, int16_t& y) { outsidePress(x, y); });

  // The calendar: created hidden inside the control, then detached as a top-level tool window.
  host::ExtenderRecord r;
  r.width = ZorvaXPCalender::kWidthTwips;
  r.height = ZorvaXPCalender::kHeightTwips;
  r.visible = false;
  r.tabStop = false;
  Calander = &addConstituent<ZorvaXPCalender>("Calander", r);
  const HWND cal = Calander->hWnd();
  SetWindowLongA(cal, GWL_EXSTYLE, GetWindowLongA(cal, GWL_EXSTYLE) | static_cast<LONG>(WS_EX_TOOLWINDOW));
  SetWindowLongA(cal, GWL_STYLE, (GetWindowLongA(cal, GWL_STYLE) & ~static_cast<LONG>(WS_CHILD)) | static_cast<LONG>(WS_POPUP));
  SetParent(cal, 0);
  Calander->DayClicked.connect([this](int16_t&) { dayClicked(); });
}

void ZorvaXPDPicker::UserControl_Terminate() {
  tmrHover.setEnabled(false);
  hook_.StopHook();
  txt.destroy();
}

void ZorvaXPDPicker::UserControl_InitProperties() {
  m_GradientColor1 = kGradientColor1;
  m_GradientColor2 = kGradientColor2;
  m_DropDownSignColor = kDropDownSignColor;
  m_BorderColor = kBorderColor;
  m_OnOverGradient1 = kOnOverGradient1;
  m_OnOverGradient2 = kOnOverGradient2;
  m_OnOverBorderColor = kOnOverBorderColor;
  m_BackColor = kBackColor;
  m_BackColorOver = kBackColorOver;
  m_Required = false;
  m_RequiredColor = kRequiredColor;
  m_Locked = false;
  m_DateSpearator = kDateSpearator;
  m_Alignment = TextAlign::HtxtLeft;
  m_ForeColor = kForeColor;
  m_Mask = MaskType::DD_MM_YYYY;
  m_FormatDate = kFormatDate;
  UserControl.setFont(Ambient().Font);
  txt.setFont(Font());
  applyFieldColors();
  showText();
  RedrawMe();
}

void ZorvaXPDPicker::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  using C = ZorvaXPCalender;
  const host::Date today = host::Today();
  m_GradientColor1 = PropBag.read<OLE_COLOR>("GradientColor1", kGradientColor1);
  m_GradientColor2 = PropBag.read<OLE_COLOR>("GradientColor2", kGradientColor2);
  m_DropDownSignColor = PropBag.read<OLE_COLOR>("DropDownSignColor", kDropDownSignColor);
  m_BorderColor = PropBag.read<OLE_COLOR>("BorderColor", kBorderColor);
  m_OnOverGradient1 = PropBag.read<OLE_COLOR>("OnOverGradient1", kOnOverGradient1);
  m_OnOverGradient2 = PropBag.read<OLE_COLOR>("OnOverGradient2", kOnOverGradient2);
  m_OnOverBorderColor = PropBag.read<OLE_COLOR>("OnOverBorderColor", kOnOverBorderColor);
  m_BackColor = PropBag.read<OLE_COLOR>("BackColor", kBackColor);
  m_BackColorOver = PropBag.read<OLE_COLOR>("BackColorOver", kBackColorOver);
  m_Required = PropBag.read<bool>("Required", false);
  m_RequiredColor = PropBag.read<OLE_COLOR>("RequiredColor", kRequiredColor);
  setLocked(PropBag.read<bool>("Locked", false));
  m_DateSpearator = PropBag.read<std::string>("DateSpearator", kDateSpearator);
  setAlignment(PropBag.read<TextAlign>("Alignment", TextAlign::HtxtLeft));
  setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
  m_ForeColor = PropBag.read<OLE_COLOR>("ForeColor", kForeColor);
  m_Mask = PropBag.read<MaskType>("Mask", MaskType::DD_MM_YYYY);
  m_FormatDate = PropBag.read<std::string>("FormatDate", kFormatDate);
  Calander->setBackColor(PropBag.read<OLE_COLOR>("CalanderBackColor", C::kBackColor));
  Calander->setBorderColor(PropBag.read<OLE_COLOR>("CalanderBorderColor", C::kBorderColor));
  Calander->setGradientColor1(PropBag.read<OLE_COLOR>("CalanderGradientColor1", C::kGradientColor1));
  Calander->setGradientColor2(PropBag.read<OLE_COLOR>("CalanderGradientColor2", C::kGradientColor2));
  Calander->setHeaderForeColor(PropBag.read<OLE_COLOR>("CHeaderForeColor", C::kHeaderForeColor));
  Calander->setHeaderGradient1(PropBag.read<OLE_COLOR>("CHeaderGradient1", C::kHeaderGradient1));
  Calander->setHeaderGradient2(PropBag.read<OLE_COLOR>("CHeaderGradient2", C::kHeaderGradient2));
  Calander->setSelectedBackColor(PropBag.read<OLE_COLOR>("CSelectedBackColor", C::kSelectedBackColor));
  Calander->setSelectedBForeColor(PropBag.read<OLE_COLOR>("CSelectedForeColor", C::kSelectedBForeColor));
  Calander->setShadow4Today(PropBag.read<bool>("CShadow4Today", false));
  Calander->setShadowColor(PropBag.read<OLE_COLOR>("CShadowColor", C::kShadowColor));
  Calander->setText4Today(PropBag.read<std::string>("CText4Today", C::kText4Today));
  Calander->setTodayForeColor(PropBag.read<OLE_COLOR>("CTodayForeColor", C::kTodayForeColor));
  Calander->setTodayTextForeColor(PropBag.read<OLE_COLOR>("CTodayTextForeColor", C::kTodayTextForeColor));
  Calander->setFormatDate(PropBag.read<std::string>("TodayDateFormat", C::kFormatDate));
  Calander->setPicture(PropBag.read<host::PictureRef>("Picture", host::PictureRef()));
  Calander->setTransparencyLevel(PropBag.read<int32_t>("TransparencyLevel", C::kTransparencyLevel));
  Calander->setSelectedYear(PropBag.read<int32_t>("SelectedYear", host::Year(today)));
  Calander->setSelectedMonth(PropBag.read<int32_t>("SelectedMonth", host::Month(today)));
  Calander->setSelectedDate(PropBag.read<int32_t>("SelectedDate", host::Day(today)));
  ControlBase::setEnabled(PropBag.read<bool>("Enabled", true));
  setMousePointer(PropBag.read<int16_t>("MousePointer", 0));
  setMouseIcon(PropBag.read<host::PictureRef>("MouseIcon", host::PictureRef()));
  applyFieldColors();
  showText();
  restingChanged();
}

void ZorvaXPDPicker::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  using C = ZorvaXPCalender;
  const host::Date today = host::Today();
  PropBag.WriteProperty("GradientColor1", m_GradientColor1, kGradientColor1);
  PropBag.WriteProperty("GradientColor2", m_GradientColor2, kGradientColor2);
  PropBag.WriteProperty("DropDownSignColor", m_DropDownSignColor, kDropDownSignColor);
  PropBag.WriteProperty("BorderColor", m_BorderColor, kBorderColor);
  PropBag.WriteProperty("OnOverGradient1", m_OnOverGradient1, kOnOverGradient1);
  PropBag.WriteProperty("OnOverGradient2", m_OnOverGradient2, kOnOverGradient2);
  PropBag.WriteProperty("OnOverBorderColor", m_OnOverBorderColor, kOnOverBorderColor);
  PropBag.WriteProperty("BackColor", m_BackColor, kBackColor);
  PropBag.WriteProperty("BackColorOver", m_BackColorOver, kBackColorOver);
  PropBag.WriteProperty("Required", m_Required, false);
  PropBag.WriteProperty("RequiredColor", m_RequiredColor, kRequiredColor);
  PropBag.WriteProperty("Locked", m_Locked, false);
  PropBag.WriteProperty("DateSpearator", m_DateSpearator, std::string(kDateSpearator));
  PropBag.WriteProperty("Alignment", m_Alignment, TextAlign::HtxtLeft);
  PropBag.WriteProperty("Font", Font());
  PropBag.WriteProperty("ForeColor", m_ForeColor, kForeColor);
  PropBag.WriteProperty("Mask", m_Mask, MaskType::DD_MM_YYYY);
  PropBag.WriteProperty("FormatDate", m_FormatDate, std::string(kFormatDate));
  PropBag.WriteProperty("CalanderBackColor", CalanderBackColor(), C::kBackColor);
  PropBag.WriteProperty("CalanderBorderColor", CalanderBorderColor(), C::kBorderColor);
  PropBag.WriteProperty("CalanderGradientColor1", CalanderGradientColor1(), C::kGradientColor1);
  PropBag.WriteProperty("CalanderGradientColor2", CalanderGradientColor2(), C::kGradientColor2);
  PropBag.WriteProperty("CHeaderForeColor", CHeaderForeColor(), C::kHeaderForeColor);
  PropBag.WriteProperty("CHeaderGradient1", CHeaderGradient1(), C::kHeaderGradient1);
  PropBag.WriteProperty("CHeaderGradient2", CHeaderGradient2(), C::kHeaderGradient2);
  PropBag.WriteProperty("CSelectedBackColor", CSelectedBackColor(), C::kSelectedBackColor);
  PropBag.WriteProperty("CSelectedForeColor", CSelectedForeColor(), C::kSelectedBForeColor);
  PropBag.WriteProperty("CShadow4Today", CShadow4Today(), false);
  PropBag.WriteProperty("CShadowColor", CShadowColor(), C::kShadowColor);
  PropBag.WriteProperty("CText4Today", CText4Today(), std::string(C::kText4Today));
  PropBag.WriteProperty("CTodayForeColor", CTodayForeColor(), C::kTodayForeColor);
  PropBag.WriteProperty("CTodayTextForeColor", CTodayTextForeColor(), C::kTodayTextForeColor);
  PropBag.WriteProperty("TodayDateFormat", TodayDateFormat(), std::string(C::kFormatDate));
  PropBag.WriteProperty("Picture", Picture());
  PropBag.WriteProperty("TransparencyLevel", TransparencyLevel(), C::kTransparencyLevel);
  PropBag.WriteProperty("SelectedDate", SelectedDate(), static_cast<int32_t>(host::Day(today)));
  PropBag.WriteProperty("SelectedMonth", SelectedMonth(), static_cast<int32_t>(host::Month(today)));
  PropBag.WriteProperty("SelectedYear", SelectedYear(), static_cast<int32_t>(host::Year(today)));
  PropBag.WriteProperty("Enabled", Enabled(), true);
  PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
  PropBag.WriteProperty("MouseIcon", MouseIcon());
}

// ---- Properties ---------------------------------------------------------------------------------

void ZorvaXPDPicker::setGradientColor1(OLE_COLOR v) { letProperty(m_GradientColor1, v, "GradientColor1", Redraw::Resting); }
void ZorvaXPDPicker::setGradientColor2(OLE_COLOR v) { letProperty(m_GradientColor2, v, "GradientColor2", Redraw::Resting); }
void ZorvaXPDPicker::setDropDownSignColor(OLE_COLOR v) {
  letProperty(m_DropDownSignColor, v, "DropDownSignColor", Redraw::Resting);
}
void ZorvaXPDPicker::setBorderColor(OLE_COLOR v) { letProperty(m_BorderColor, v, "BorderColor", Redraw::Resting); }
void ZorvaXPDPicker::setOnOverGradient1(OLE_COLOR v) { letProperty(m_OnOverGradient1, v, "OnOverGradient1", Redraw::None); }
void ZorvaXPDPicker::setOnOverGradient2(OLE_COLOR v) { letProperty(m_OnOverGradient2, v, "OnOverGradient2", Redraw::None); }
void ZorvaXPDPicker::setOnOverBorderColor(OLE_COLOR v) {
  letProperty(m_OnOverBorderColor, v, "OnOverBorderColor", Redraw::None);
}
void ZorvaXPDPicker::setBackColor(OLE_COLOR v) {
  letProperty(m_BackColor, v, "BackColor", Redraw::None);
  applyFieldColors();
  RedrawMe();
}
void ZorvaXPDPicker::setBackColorOver(OLE_COLOR v) {
  letProperty(m_BackColorOver, v, "BackColorOver", Redraw::None);
  applyFieldColors();
  RedrawMe();
}
void ZorvaXPDPicker::setRequired(bool v) { letProperty(m_Required, v, "Required", Redraw::Resting); }
void ZorvaXPDPicker::setRequiredColor(OLE_COLOR v) { letProperty(m_RequiredColor, v, "RequiredColor", Redraw::Resting); }
void ZorvaXPDPicker::setLocked(bool v) {
  m_Locked = v;
  txt.setReadOnly(v);
  PropertyChanged("Locked");
}
void ZorvaXPDPicker::setDateSpearator(const std::string& v) {
  m_DateSpearator = v;
  setMask(m_Mask);  // the format and the text follow the separator
  PropertyChanged("DateSpearator");
}
void ZorvaXPDPicker::setAlignment(TextAlign v) {
  m_Alignment = v;
  txt.setAlignment(v == TextAlign::HtxtRight ? ES_RIGHT : v == TextAlign::HtxtCenter ? ES_CENTER : ES_LEFT);
  PropertyChanged("Alignment");
}
void ZorvaXPDPicker::setFont(host::FontRef v) {
  UserControl.setFont(std::move(v));
  txt.setFont(Font());
  RedrawMe();
  PropertyChanged("Font");
}
void ZorvaXPDPicker::setForeColor(OLE_COLOR v) {
  letProperty(m_ForeColor, v, "ForeColor", Redraw::None);
  applyFieldColors();
}

void ZorvaXPDPicker::setMask(MaskType v) {
  m_Mask = v;
  const std::string& s = m_DateSpearator;
  switch (v) {
    case MaskType::MM_DD_YY: m_FormatDate = "mm" + s + "dd" + s + "yy"; break;
    case MaskType::DD_MM_YY: m_FormatDate = "dd" + s + "mm" + s + "yy"; break;
    case MaskType::YY_MM_DD: m_FormatDate = "yy" + s + "mm" + s + "dd"; break;
    case MaskType::DD_MM_YYYY: m_FormatDate = "dd" + s + "mm" + s + "yyyy"; break;
    case MaskType::MM_DD_YYYY: m_FormatDate = "mm" + s + "dd" + s + "yyyy"; break;
    default: break;  // an unknown mask keeps the format it had
  }
  showText();
  PropertyChanged("Mask");
}

void ZorvaXPDPicker::setFormatDate(const std::string& v) { letProperty(m_FormatDate, v, "FormatDate", Redraw::None); }

#define ZXP_FORWARD(Name, Type, Setter)                     \
  void ZorvaXPDPicker::set##Name(Type v) {                  \
    Calander->Setter(v);                                    \
    PropertyChanged(#Name);                                 \
  }
ZXP_FORWARD(CalanderBackColor, OLE_COLOR, setBackColor)
ZXP_FORWARD(CalanderBorderColor, OLE_COLOR, setBorderColor)
ZXP_FORWARD(CalanderGradientColor1, OLE_COLOR, setGradientColor1)
ZXP_FORWARD(CalanderGradientColor2, OLE_COLOR, setGradientColor2)
ZXP_FORWARD(CHeaderForeColor, OLE_COLOR, setHeaderForeColor)
ZXP_FORWARD(CHeaderGradient1, OLE_COLOR, setHeaderGradient1)
ZXP_FORWARD(CHeaderGradient2, OLE_COLOR, setHeaderGradient2)
ZXP_FORWARD(CSelectedBackColor, OLE_COLOR, setSelectedBackColor)
ZXP_FORWARD(CSelectedForeColor, OLE_COLOR, setSelectedBForeColor)
ZXP_FORWARD(CShadow4Today, bool, setShadow4Today)
ZXP_FORWARD(CShadowColor, OLE_COLOR, setShadowColor)
ZXP_FORWARD(CText4Today, const std::string&, setText4Today)
ZXP_FORWARD(CTodayForeColor, OLE_COLOR, setTodayForeColor)
ZXP_FORWARD(CTodayTextForeColor, OLE_COLOR, setTodayTextForeColor)
ZXP_FORWARD(TodayDateFormat, const std::string&, setFormatDate)
ZXP_FORWARD(Picture, host::PictureRef, setPicture)
ZXP_FORWARD(TransparencyLevel, int32_t, setTransparencyLevel)
#undef ZXP_FORWARD

void ZorvaXPDPicker::setSelectedDate(int32_t v) {
  Calander->setSelectedDate(v);
  showText();
  PropertyChanged("SelectedDate");
}
void ZorvaXPDPicker::setSelectedMonth(int32_t v) {
  Calander->setSelectedMonth(v);
  showText();
  PropertyChanged("SelectedMonth");
}
void ZorvaXPDPicker::setSelectedYear(int32_t v) {
  Calander->setSelectedYear(v);
  showText();
  PropertyChanged("SelectedYear");
}
void ZorvaXPDPicker::setValue(host::Date v) {
  Calander->setValue(v);
  showText();
  PropertyChanged("Value");
}

void ZorvaXPDPicker::setEnabled(bool v) {
  UserControl.setEnabled(v);
  if (txt.hWnd()) EnableWindow(txt.hWnd(), v ? TRUE : FALSE);
  PropertyChanged("Enabled");
}

// ---- Text ---------------------------------------------------------------------------------------

std::string ZorvaXPDPicker::textFor(host::Date d) const {
  const std::string dd = host::Format(d, "dd"), mm = host::Format(d, "mm");
  const std::string yy = host::Format(d, longYear(m_Mask) ? "yyyy" : "yy");
  const std::string& s = m_DateSpearator;
  if (yearFirst(m_Mask)) return yy + s + mm + s + dd;
  if (monthFirst(m_Mask)) return mm + s + dd + s + yy;
  return dd + s + mm + s + yy;
}

void ZorvaXPDPicker::showText() {
  if (!Calander) return;
  SendMessageA(txt.hWnd(), EM_LIMITTEXT, static_cast<WPARAM>(maxLength()), 0);
  txt.setText(textFor(Calander->Value()));
}

int ZorvaXPDPicker::maxLength() const { return 6 + 2 * sepLen() + (longYear(m_Mask) ? 2 : 0); }

bool ZorvaXPDPicker::onSeparator(int pos) const {
  const int s = sepLen();
  return (pos >= 2 && pos < 2 + s) || (pos >= 4 + s && pos < 4 + 2 * s);
}

int ZorvaXPDPicker::skipSeparator(int pos) {
  if (!onSeparator(pos)) return pos;
  const int s = sepLen();
  const int start = pos < 2 + s ? 2 : 4 + s;
  const std::string t = txt.text();
  if (static_cast<int>(t.size()) <= start) {
    // The text ends where a separator belongs: add it, so that the digits land in their place.
    txt.select(static_cast<int>(t.size()), static_cast<int>(t.size()));
    SendMessageA(txt.hWnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(m_DateSpearator.c_str()));
  }
  const int after = start + s;
  txt.select(after, after);
  return after;
}

// The typed parts, read from their fixed places with everything but digits removed, become the
// held date; an impossible date leaves the held date as it was. The text shows the held date.
void ZorvaXPDPicker::takeTypedDate() {
  const std::string t = txt.text();
  const int s = sepLen();
  auto part = [&](int from, int length) {
    return from < static_cast<int>(t.size()) ? digitsOf(t.substr(static_cast<size_t>(from), static_cast<size_t>(length))) : std::string();
  };
  const int yearLength = longYear(m_Mask) ? 4 : 2;
  std::string dd, mm, yy;
  if (yearFirst(m_Mask)) {
    yy = part(0, 2), mm = part(2 + s, 2), dd = part(4 + 2 * s, 2);
  } else if (monthFirst(m_Mask)) {
    mm = part(0, 2), dd = part(2 + s, 2), yy = part(4 + 2 * s, yearLength);
  } else {
    dd = part(0, 2), mm = part(2 + s, 2), yy = part(4 + 2 * s, yearLength);
  }
  if (!dd.empty() && !mm.empty() && !yy.empty()) {
    int year = std::stoi(yy);
    if (yy.size() <= 2) {
      const std::optional<host::Date> y = host::DateSerial(year, 1, 1);  // the runtime's two-digit rule
      year = y ? host::Year(*y) : year;
    }
    const std::optional<host::Date> d = host::makeDate(year, std::stoi(mm), std::stoi(dd));
    if (d && year >= ZorvaXPCalender::kFirstYear) Calander->setValue(*d);
  }
  showText();
}

// ---- Layout and drawing -------------------------------------------------------------------------

void ZorvaXPDPicker::applyFieldColors() {
  txt.setColors(m_ForeColor, (fieldFocused_ || fieldOver_) && !m_Locked ? m_BackColorOver : m_BackColor);
}

void ZorvaXPDPicker::RedrawMe() {
  if (!UserControl.exists() || !Calander) return;
  const int w = ScaleWidth(), h = ScaleHeight();
  const bool over = (fieldFocused_ || fieldOver_) && !m_Locked;
  UserControl.setBackColor(over ? m_BackColorOver : m_BackColor);
  TEXTMETRIC tm{};
  GetTextMetrics(UserControl.hDC(), &tm);
  const int fieldHeight = std::min<int>(tm.tmHeight, h - 2);
  txt.Move(kFieldLeft, (h - fieldHeight) / 2, w - kButtonWidth - kFieldLeft - 2, fieldHeight);
  picDropDown.Move(w - kButtonWidth - 1, 1, kButtonWidth, std::max(1, h - 2));
  paintButton(face_);
  paintFrame();
}

void ZorvaXPDPicker::paintFrame() {
  const HDC dc = UserControl.hDC();
  if (!dc) return;
  foundation::drawOutline(dc, translateColor(m_BorderColor), 0, 0, ScaleWidth(), ScaleHeight());
  if (m_Required) {
    // The mandatory mark: five short diagonals filling a triangle in the top-left corner.
    const COLORREF c = translateColor(m_RequiredColor);
    for (int k = 0; k < 5; ++k) foundation::drawLines(dc, c, {{{1, 1 + k}, {2 + k, 0}}});
  }
}

void ZorvaXPDPicker::paintButton(Face face) {
  face_ = face;
  const HDC dc = picDropDown.hDC();
  if (!dc) return;
  const int w = picDropDown.ScaleWidth(), h = picDropDown.ScaleHeight();
  switch (face) {
    case Face::Normal: GradientFillVertical(dc, w, h, m_GradientColor2, m_GradientColor1); break;
    case Face::Over: GradientFillVertical(dc, w, h, m_OnOverGradient2, m_OnOverGradient1); break;
    case Face::Pressed: GradientFillVertical(dc, w, h, m_OnOverGradient1, m_OnOverGradient2); break;
  }
  foundation::drawOutline(dc, translateColor(face == Face::Normal ? m_BorderColor : m_OnOverBorderColor), 0, 0, w, h);
  foundation::drawArrowGlyph(dc, translateColor(m_DropDownSignColor), w, h, foundation::ArrowDirection::Down, 4);
}

// ---- The pop-up ---------------------------------------------------------------------------------

bool ZorvaXPDPicker::calendarShowing() const { return Calander && IsWindowVisible(Calander->hWnd()); }

void ZorvaXPDPicker::ShowCalander() {
  RECT field{};
  GetWindowRect(hWnd(), &field);
  RECT cal{};
  GetWindowRect(Calander->hWnd(), &cal);
  const int ch = cal.bottom - cal.top;
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  int y = field.bottom;
  if (y + ch > work.bottom) y = field.top - ch;
  // Shown first, then drawn: a hidden calendar does not paint (it was not drawn while the form
  // loaded), so the drawing happens once the window is visible.
  SetWindowPos(Calander->hWnd(), HWND_TOPMOST, field.left, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  Calander->RedrawMe(true, true, true);
  // A calendar shown by the application's call closes on a press elsewhere like one dropped by
  // the button (which starts the hook on its press).
  if (!hook_.hookHandle()) hook_.StartHook();
}

void ZorvaXPDPicker::HideCalander() {
  if (Calander) ShowWindow(Calander->hWnd(), SW_HIDE);
}

void ZorvaXPDPicker::outsidePress(int16_t x, int16_t y) {
  if (!calendarShowing()) return;
  const POINT p{x, y};
  RECT cal{}, button{};
  GetWindowRect(Calander->hWnd(), &cal);
  GetWindowRect(picDropDown.hWnd(), &button);
  if (PtInRect(&cal, p) || PtInRect(&button, p)) return;
  HideCalander();
  hook_.StopHook();
}

void ZorvaXPDPicker::dayClicked() {
  // The focus goes back to the field before the calendar hides, so that it never passes to a
  // window outside the picker on the way (hiding the focused pop-up would hand it to the form).
  if (txt.hWnd() && GetFocus() != txt.hWnd()) SetFocus(txt.hWnd());
  HideCalander();
  hook_.StopHook();
  RedrawMe();
  showText();
  AfterChanged.raise();
}

// ---- The field ----------------------------------------------------------------------------------

void ZorvaXPDPicker::UserControl_GotFocus() {
  if (txt.hWnd()) SetFocus(txt.hWnd());
}

void ZorvaXPDPicker::fieldKey(UINT message, WPARAM& code) {
  if (message == WM_KEYDOWN) {
    int16_t KeyCode = static_cast<int16_t>(code), Shift = shiftState();
    if (KeyCode == VK_DELETE) KeyCode = 0;
    KeyDown.raise(KeyCode, Shift);
    code = static_cast<WPARAM>(static_cast<uint16_t>(KeyCode));
  } else if (message == WM_CHAR) {
    int16_t KeyAscii = static_cast<int16_t>(code);
    if (!m_Locked && KeyAscii >= 32) {
      const int pos = skipSeparator(txt.selStart());
      if (pos >= maxLength()) {
        KeyAscii = 0;  // the text is full
      } else {
        const int length = static_cast<int>(txt.text().size());
        txt.select(pos, std::min(pos + 1, length));
      }
    }
    KeyPress.raise(KeyAscii);
    code = static_cast<WPARAM>(static_cast<uint16_t>(KeyAscii));
  } else if (message == WM_KEYUP) {
    int16_t KeyCode = static_cast<int16_t>(code), Shift = shiftState();
    const bool digit = (KeyCode >= 48 && KeyCode <= 57) || (KeyCode >= 96 && KeyCode <= 105);
    if (digit && !m_Locked) {
      if (txt.selStart() < maxLength()) skipSeparator(txt.selStart());
    } else if (KeyCode == VK_LEFT) {
      const int pos = txt.selStart();
      if (onSeparator(pos)) {
        const int to = pos < 2 + sepLen() ? 1 : 3 + sepLen();
        txt.select(to, to);
      }
    } else if (KeyCode == VK_RIGHT) {
      const int pos = txt.selStart();
      if (onSeparator(pos)) {
        const int to = pos < 2 + sepLen() ? 2 + sepLen() : 4 + 2 * sepLen();
        txt.select(to, to);
      }
    } else if (KeyCode == 13) {
      OnEnter.raise();
    } else if (KeyCode == 27) {
      OnEscape.raise();
    }
    KeyUp.raise(KeyCode, Shift);
  }
}

void ZorvaXPDPicker::fieldNotified(WORD code) {
  switch (code) {
    case EN_CHANGE:
      Change.raise();
      break;
    case EN_SETFOCUS:
      fieldFocused_ = true;
      if (!m_Locked) {
        applyFieldColors();
        RedrawMe();
        showText();
      }
      break;
    case EN_KILLFOCUS:
      fieldFocused_ = false;
      takeTypedDate();
      applyFieldColors();
      RedrawMe();
      break;
    default:
      break;
  }
}

void ZorvaXPDPicker::fieldMouse(UINT message, WPARAM keys, LPARAM position) {
  int16_t b = foundation::OwnedEditField::buttonOf(keys);
  int16_t s = foundation::OwnedEditField::shiftOf(keys);
  const POINT p = txt.toSurface(POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)});
  float x = static_cast<float>(p.x), y = static_cast<float>(p.y);
  switch (message) {
    case WM_MOUSEMOVE:
      if (!fieldOver_) {
        fieldOver_ = true;
        applyFieldColors();
        RedrawMe();
      }
      tmrHover.setEnabled(true);
      MouseMove.raise(b, s, x, y);
      break;
    case WM_LBUTTONDOWN: b = 1; MouseDown.raise(b, s, x, y); break;
    case WM_RBUTTONDOWN: b = 2; MouseDown.raise(b, s, x, y); break;
    case WM_LBUTTONUP:
      b = 1;
      MouseUp.raise(b, s, x, y);
      Click.raise();
      break;
    case WM_RBUTTONUP: b = 2; MouseUp.raise(b, s, x, y); break;
    case WM_LBUTTONDBLCLK: DblClick.raise(); break;
    default: break;
  }
}

// The hover tick: the button's face and the field's background come back once the cursor left.
void ZorvaXPDPicker::tmrHover_Timer() {
  bool busy = false;
  if (face_ == Face::Over) {
    if (CursorOutsideWindow(picDropDown.hWnd())) paintButton(Face::Normal);
    else busy = true;
  }
  if (fieldOver_) {
    if (CursorOutsideWindow(hWnd())) {
      fieldOver_ = false;
      applyFieldColors();
      RedrawMe();
    } else {
      busy = true;
    }
  }
  if (!busy) tmrHover.setEnabled(false);
}

// ---- Class --------------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPDPicker::memberTable() const {
  using B = ZorvaXPDPicker;
  static const host::MemberTable table = host::ClassMembers<B>("ZorvaXPDPicker")
      .property("GradientColor1", &B::GradientColor1, &B::setGradientColor1)
      .property("GradientColor2", &B::GradientColor2, &B::setGradientColor2)
      .property("DropDownSignColor", &B::DropDownSignColor, &B::setDropDownSignColor)
      .property("BorderColor", &B::BorderColor, &B::setBorderColor)
      .property("OnOverGradient1", &B::OnOverGradient1, &B::setOnOverGradient1)
      .property("OnOverGradient2", &B::OnOverGradient2, &B::setOnOverGradient2)
      .property("OnOverBorderColor", &B::OnOverBorderColor, &B::setOnOverBorderColor)
      .property("BackColor", &B::BackColor, &B::setBackColor)
      .property("BackColorOver", &B::BackColorOver, &B::setBackColorOver)
      .property("Required", &B::Required, &B::setRequired)
      .property("RequiredColor", &B::RequiredColor, &B::setRequiredColor)
      .property("Locked", &B::Locked, &B::setLocked)
      .property("DateSpearator", &B::DateSpearator, &B::setDateSpearator)
      .property("Alignment", &B::Alignment, &B::setAlignment)
      .property("Font", &B::Font, &B::setFont)
      .property("ForeColor", &B::ForeColor, &B::setForeColor)
      .property("Mask", &B::Mask, &B::setMask)
      .property("FormatDate", &B::FormatDate, &B::setFormatDate)
      .property("CalanderBackColor", &B::CalanderBackColor, &B::setCalanderBackColor)
      .property("CalanderBorderColor", &B::CalanderBorderColor, &B::setCalanderBorderColor)
      .property("CalanderGradientColor1", &B::CalanderGradientColor1, &B::setCalanderGradientColor1)
      .property("CalanderGradientColor2", &B::CalanderGradientColor2, &B::setCalanderGradientColor2)
      .property("CHeaderForeColor", &B::CHeaderForeColor, &B::setCHeaderForeColor)
      .property("CHeaderGradient1", &B::CHeaderGradient1, &B::setCHeaderGradient1)
      .property("CHeaderGradient2", &B::CHeaderGradient2, &B::setCHeaderGradient2)
      .property("CSelectedBackColor", &B::CSelectedBackColor, &B::setCSelectedBackColor)
      .property("CSelectedForeColor", &B::CSelectedForeColor, &B::setCSelectedForeColor)
      .property("CShadow4Today", &B::CShadow4Today, &B::setCShadow4Today)
      .property("CShadowColor", &B::CShadowColor, &B::setCShadowColor)
      .property("CText4Today", &B::CText4Today, &B::setCText4Today)
      .property("CTodayForeColor", &B::CTodayForeColor, &B::setCTodayForeColor)
      .property("CTodayTextForeColor", &B::CTodayTextForeColor, &B::setCTodayTextForeColor)
      .property("TodayDateFormat", &B::TodayDateFormat, &B::setTodayDateFormat)
      .property("Picture", &B::Picture, &B::setPicture)
      .property("TransparencyLevel", &B::TransparencyLevel, &B::setTransparencyLevel)
      .property("SelectedDate", &B::SelectedDate, &B::setSelectedDate)
      .property("SelectedMonth", &B::SelectedMonth, &B::setSelectedMonth)
      .property("SelectedYear", &B::SelectedYear, &B::setSelectedYear)
      .property("Value", &B::Value, &B::setValue)
      .property("Enabled", &B::Enabled, &B::setEnabled)
      .property("MousePointer", &B::MousePointer, &B::setMousePointer)
      .property("MouseIcon", &B::MouseIcon, &B::setMouseIcon)
      .readOnlyProperty("hwnd", &B::hwnd)
      .method("ShowCalander", &B::ShowCalander)
      .method("HideCalander", &B::HideCalander)
      .method("RedrawMe", &B::RedrawMe)
      .method("getLastDayOfMonth", &B::getLastDayOfMonth).params({"uMonth", "uYear"})
      .method("getFirstDayofMonth", &B::getFirstDayofMonth).params({"uMonth", "uYear"})
      .method("getToday", &B::getToday)
      .about(&B::About)
      .event("AfterChanged", &B::AfterChanged)
      .event("BeforeShowCalender", &B::BeforeShowCalender)
      .event("AfterShowCalender", &B::AfterShowCalender)
      .event("Click", &B::Click)
      .event("Change", &B::Change)
      .event("DblClick", &B::DblClick)
      .event("MouseDown", &B::MouseDown, {"Button", "Shift", "X", "Y"})
      .event("MouseMove", &B::MouseMove, {"Button", "Shift", "X", "Y"})
      .event("MouseUp", &B::MouseUp, {"Button", "Shift", "X", "Y"})
      .event("KeyPress", &B::KeyPress, {"KeyAscii"})
      .event("KeyDown", &B::KeyDown, {"KeyCode", "Shift"})
      .event("KeyUp", &B::KeyUp, {"KeyCode", "Shift"})
      .event("OnEnter", &B::OnEnter)
      .event("OnEscape", &B::OnEscape)
      .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(TextAlign) {
  static const host::EnumType t{"TextAlign", {{"HtxtLeft", 0}, {"HtxtRight", 1}, {"HtxtCenter", 2}}};
  return t;
}

const host::EnumType& describeEnum(MaskType) {
  static const host::EnumType t{"MaskType", {{"MM-DD-YY", 0}, {"DD-MM-YY", 1}, {"YY-MM-DD", 2}, {"DD-MM-YYYY", 3}, {"MM-DD-YYYY", 4}}};
  return t;
}

}  // namespace zxp::dates
