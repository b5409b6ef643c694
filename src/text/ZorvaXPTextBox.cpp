#include "text/ZorvaXPTextBox.h"

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/PenLines.h"
#include "foundation/modGeneral.h"
#include "platform/base/CodePage.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/host/runtime/Format.h"
#include "platform/host/runtime/Numeric.h"
#include "platform/host/runtime/Text.h"
#include "platform/services/FileIo.h"
#include "platform/ui/Edit.h"

namespace zxp::text {

using foundation::drawLines;
using foundation::Redraw;

namespace {
constexpr const char* kSelfProp = "ZorvaXPTextBox";
constexpr int kSingleId = 1, kMultiId = 2;

std::string windowText(HWND h) {
  const int n = GetWindowTextLengthA(h);
  if (n <= 0) return {};
  std::string s(static_cast<size_t>(n) + 1, '\0');
  const int got = GetWindowTextA(h, s.data(), n + 1);
  s.resize(static_cast<size_t>(std::max(0, got)));
  return s;
}

// Every LF not preceded by CR becomes CR LF, as a text-mode write or a multi-line field has it.
std::string crlf(std::string_view s) {
  std::string out;
  out.reserve(s.size() + s.size() / 32);
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r')) out += '\r';
    out += s[i];
  }
  return out;
}

// One channel of a line of the status strip: `step` fourteenths of the way from a to b, never
// past b.
uint32_t stripChannel(uint32_t a, uint32_t b, int step) {
  const int s = std::min(step, 14);
  return static_cast<uint32_t>(static_cast<int>(a) + (static_cast<int>(b) - static_cast<int>(a)) * s / 14);
}
}  // namespace

ZorvaXPTextBox::ZorvaXPTextBox() = default;

// ---- Lifecycle ----------------------------------------------------------------------------------

HWND ZorvaXPTextBox::makeField(DWORD style) {
  const bool multi = (style & ES_MULTILINE) != 0;
  const HWND h = CreateWindowExA(0, WC_EDITA, "", WS_CHILD | style, 5, 1, 1, 1, hWnd(), multi ? kMultiId : kSingleId, 0,
                                 nullptr);
  EditHooks hooks;
  hooks.key = [this, h](UINT message, WPARAM& code, LPARAM) { fieldKey(h, message, code); };
  hooks.notify = [this, h](WORD code) { fieldNotified(h, code); };
  hooks.mouse = [this, h](UINT message, WPARAM keys, LPARAM position) { fieldMouse(h, message, keys, position); };
  SetEditHooks(h, hooks);
  return h;
}

void ZorvaXPTextBox::UserControl_Initialize() {
  // The single-line field scrolls sideways. The multi-line one is made when the box first turns
  // multi-line (ensureMultiLineField).
  txtNormal = makeField(WS_VISIBLE | ES_AUTOHSCROLL);

  // The fields ask their parent, the control's surface, for their colours.
  SetPropA(hWnd(), kSelfProp, reinterpret_cast<uintptr_t>(this));
  surfaceDefault_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&surfaceProc)));
}

// The multi-line field wraps, scrolls down as text is added and has no scroll bar of its own
// (VScroll stands in for it). Made, it takes the settings the box holds for it.
HWND ZorvaXPTextBox::ensureMultiLineField() {
  if (txtMultiLineV || !txtNormal) return txtMultiLineV;
  txtMultiLineV = makeField(ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN);
  SendMessageA(txtMultiLineV, WM_SETFONT, static_cast<WPARAM>(fieldFont_.get()), FALSE);
  SendMessageA(txtMultiLineV, EM_SETREADONLY, m_Locked ? TRUE : FALSE, 0);
  applyAlignment();
  SendMessageA(txtMultiLineV, EM_LIMITTEXT, static_cast<WPARAM>(std::max(0, m_MaxLength)), 0);
  EnableWindow(txtMultiLineV, Enabled() ? TRUE : FALSE);
  return txtMultiLineV;
}

// Button takes the properties kept for it; its Click is the box's ButtonClick.
buttons::ZorvaTextButton& ZorvaXPTextBox::ensureButton() {
  if (Button) return *Button;
  host::ExtenderRecord b;
  b.width = pixelsToTwips(kButtonWidth);
  b.height = pixelsToTwips(std::max(3, ScaleHeight() - 4));
  b.tabStop = false;
  b.visible = false;
  Button = &addConstituent<buttons::ZorvaTextButton>("Button", b);
  const ButtonProperties& p = buttonProperties_;
  Button->setCaption(p.caption);
  Button->setButtonWidth(m_ButtonWidth);
  Button->setAlignment(static_cast<int32_t>(m_ButtonAlign));
  Button->setButtonPicture(p.picture);
  Button->setButtonPictureOver(p.pictureOver);
  Button->setForeColor(p.foreColor);
  if (p.font) Button->setFont(p.font);
  Button->setGradientColor1(p.gradient1);
  Button->setGradientColor2(p.gradient2);
  Button->setEnabled(p.enabled);
  buttonProperties_ = ButtonProperties{};
  Button->Click.connect([this] { ButtonClick.raise(); });
  return *Button;
}

// VScroll is made the first time the box shows it (multi-line with ScrollBars VerticalScroll): a
// single-line box, most of them, never has the bar's four windows.
range::ZorvaXPVScrollBar& ZorvaXPTextBox::ensureBar() {
  if (VScroll) return *VScroll;
  host::ExtenderRecord r;
  r.width = pixelsToTwips(kScrollWidth);
  r.height = pixelsToTwips(std::max(39, ScaleHeight()));
  r.tabStop = false;
  r.visible = false;
  VScroll = &addConstituent<range::ZorvaXPVScrollBar>("VScroll", r);
  VScroll->setGradientColor1(m_ScrollBarGradient1);
  VScroll->setGradientColor2(m_ScrollBarGradient2);
  VScroll->Change.connect([this] {
    if (!syncing_) scrollTextTo(VScroll->Value());
  });
  VScroll->Scrolling.connect([this](int16_t& way) { barScrolling(way); });
  auto followValue = [this] {
    if (!syncing_) scrollTextTo(VScroll->Value());
  };
  VScroll->DownArrowClick.connect(followValue);
  VScroll->DownArrowHolding.connect(followValue);
  VScroll->UpArrowClick.connect(followValue);
  VScroll->UpArrowHolding.connect(followValue);
  return *VScroll;
}

void ZorvaXPTextBox::UserControl_Terminate() {
  for (HWND h : {txtNormal, txtMultiLineV}) {
    if (!h) continue;
    SetEditHooks(h, EditHooks{});
    if (IsWindow(h)) DestroyWindow(h);
  }
  txtNormal = txtMultiLineV = 0;
  if (UserControl.exists()) {
    SetWindowLongPtrA(hWnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(surfaceDefault_));
    RemovePropA(hWnd(), kSelfProp);
  }
  fieldFont_.reset();
  fieldBrush_.reset();
}

LRESULT ZorvaXPTextBox::surfaceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ZorvaXPTextBox*>(GetPropA(hwnd, kSelfProp));
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if ((msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORSTATIC) &&
      (static_cast<HWND>(lParam) == self->txtNormal || static_cast<HWND>(lParam) == self->txtMultiLineV))
    return self->ctlColor(static_cast<HDC>(wParam));
  return CallWindowProcA(self->surfaceDefault_, hwnd, msg, wParam, lParam);
}

// Both fields take the focus colours together: background and text.
LRESULT ZorvaXPTextBox::ctlColor(HDC dc) {
  const OLE_COLOR back = m_FieldFocused ? m_BackColorOver : m_BackColor;
  SetTextColor(dc, translateColor(m_FieldFocused ? m_ForeColorOver : m_ForeColor));
  SetBkColor(dc, translateColor(back));
  fieldBrush_.reset(CreateSolidBrush(translateColor(back)));
  return static_cast<LRESULT>(fieldBrush_.get());
}

// ---- Persistence --------------------------------------------------------------------------------

// "ZorvaXpTextBox" and what follows the class name in the display name: ZorvaXPTextBox1 gives
// ZorvaXpTextBox1. The creation default of Text and the default of its key.
std::string ZorvaXPTextBox::defaultText() const {
  static constexpr std::string_view kClass = "ZorvaXPTextBox";
  return captionFromDisplayName(Ambient().DisplayName, "ZorvaXpTextBox", kClass.size());
}

void ZorvaXPTextBox::UserControl_InitProperties() {
  setText(defaultText());
  setMultiLine(false);
  setLocked(false);
  setRequired(false);
  setRequiredColor(kRequiredColor);
  setBackColor(kBackColor);
  setBackColorOver(kBackColorOver);
  setBorderColor(kBorderColor);
  setBorderColorOver(kBorderColorOver);
  setForeColor(kForeColor);
  setForeColorOver(kForeColorOver);
  setFont(Ambient().Font);
  setAlignment(AlignmentConstants::vbLeftJustify);
  setMaxLength(0);
  setScrollBars(ScrollBarsConst::VerticalScroll);
  setScrollBarGradient1(kScrollBarGradient1);
  setScrollBarGradient2(kScrollBarGradient2);
  setStatusBar(false);
  setStatusText(kStatusText);
  setStatusForeColor(kStatusForeColor);
  setStatusGradient1(kStatusGradient1);
  setStatusGradient2(kStatusGradient2);
  setShowGripper(true);
  setButtonVisible(false);
  setButtonCaption(kButtonCaption);
  setButtonWidth(kButtonWidth);
  setButtonAlign(ButtonAlignConst::Left);
  setButtonPicture(host::PictureRef());
  setButtonPictureOnOver(host::PictureRef());
  setButtonForeColor(kButtonForeColor);
  setButtonFont(Ambient().Font);
  setButtonGradientColor1(kButtonGradientColor1);
  setButtonGradientColor2(kButtonGradientColor2);
  setButtonEnabled(true);
  setUpperCase(false);
  setNumbersOnly(false);
  setOnOverSelAll(false);
  setUseFormat(false);
  setFormatType("");
  setEnabled(true);
}

void ZorvaXPTextBox::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  m_MultiLine = PropBag.read<bool>("MultiLine", false);
  if (m_MultiLine) ensureMultiLineField();
  setText(PropBag.readText("Text", defaultText()));
  setLocked(PropBag.read<bool>("Locked", false));
  m_Required = PropBag.read<bool>("Required", false);
  m_RequiredColor = PropBag.read<OLE_COLOR>("RequiredColor", kRequiredColor);
  m_BackColor = PropBag.read<OLE_COLOR>("BackColor", kBackColor);
  m_BackColorOver = PropBag.read<OLE_COLOR>("BackColorOver", kBackColorOver);
  m_BorderColor = PropBag.read<OLE_COLOR>("BorderColor", kBorderColor);
  m_BorderColorOver = PropBag.read<OLE_COLOR>("BorderColorOver", kBorderColorOver);
  m_ForeColor = PropBag.read<OLE_COLOR>("ForeColor", kForeColor);
  m_ForeColorOver = PropBag.read<OLE_COLOR>("ForeColorOver", kForeColorOver);
  UserControl.setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
  applyFont();
  setAlignment(PropBag.read<AlignmentConstants>("Alignment", AlignmentConstants::vbLeftJustify));
  setMaxLength(PropBag.read<int32_t>("MaxLength", 0));
  m_ScrollBars = PropBag.read<ScrollBarsConst>("ScrollBars", ScrollBarsConst::VerticalScroll);
  setScrollBarGradient1(PropBag.read<OLE_COLOR>("ScrollBarGradient1", kScrollBarGradient1));
  setScrollBarGradient2(PropBag.read<OLE_COLOR>("ScrollBarGradient2", kScrollBarGradient2));
  m_StatusBar = PropBag.read<bool>("StatusBar", false);
  m_StatusText = PropBag.read<std::string>("StatusText", kStatusText);
  m_StatusForeColor = PropBag.read<OLE_COLOR>("StatusForeColor", kStatusForeColor);
  m_StatusGradient1 = PropBag.read<OLE_COLOR>("StatusGradient1", kStatusGradient1);
  m_StatusGradient2 = PropBag.read<OLE_COLOR>("StatusGradient2", kStatusGradient2);
  m_ShowGripper = PropBag.read<bool>("ShowGripper", true);
  m_ButtonVisible = PropBag.read<bool>("ButtonVisible", false);
  m_ButtonWidth = PropBag.read<int32_t>("ButtonWidth", kButtonWidth);
  m_ButtonAlign = PropBag.read<ButtonAlignConst>("ButtonAlign", ButtonAlignConst::Left);
  if (Button) {
    Button->setButtonWidth(m_ButtonWidth);
    Button->setAlignment(static_cast<int32_t>(m_ButtonAlign));
  }
  setButtonCaption(PropBag.read<std::string>("ButtonCaption", kButtonCaption));
  setButtonPicture(PropBag.read<host::PictureRef>("ButtonPicture", host::PictureRef()));
  setButtonPictureOnOver(PropBag.read<host::PictureRef>("ButtonPictureOnOver", host::PictureRef()));
  setButtonForeColor(PropBag.read<OLE_COLOR>("ButtonForeColor", kButtonForeColor));
  setButtonFont(PropBag.read<host::FontRef>("ButtonFont", Ambient().Font));
  setButtonGradientColor1(PropBag.read<OLE_COLOR>("ButtonGradientColor1", kButtonGradientColor1));
  setButtonGradientColor2(PropBag.read<OLE_COLOR>("ButtonGradientColor2", kButtonGradientColor2));
  setButtonEnabled(PropBag.read<bool>("ButtonEnabled", true));
  m_UpperCase = PropBag.read<bool>("UpperCase", false);
  m_NumbersOnly = PropBag.read<bool>("NumbersOnly", false);
  m_OnOverSelAll = PropBag.read<bool>("OnOverSelAll", false);
  m_UseFormat = PropBag.read<bool>("UseFormat", false);
  m_FormatType = PropBag.read<std::string>("FormatType", "");
  setMouseIcon(PropBag.read<host::PictureRef>("MouseIcon", host::PictureRef()));
  setMousePointer(PropBag.read<int16_t>("MousePointer", 0));
  setEnabled(PropBag.read<bool>("Enabled", true));
  restingChanged();
}

void ZorvaXPTextBox::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("Text", Text(), defaultText());
  PropBag.WriteProperty("MultiLine", m_MultiLine, false);
  PropBag.WriteProperty("Locked", m_Locked, false);
  PropBag.WriteProperty("Required", m_Required, false);
  PropBag.WriteProperty("RequiredColor", m_RequiredColor, kRequiredColor);
  PropBag.WriteProperty("BackColor", m_BackColor, kBackColor);
  PropBag.WriteProperty("BackColorOver", m_BackColorOver, kBackColorOver);
  PropBag.WriteProperty("BorderColor", m_BorderColor, kBorderColor);
  PropBag.WriteProperty("BorderColorOver", m_BorderColorOver, kBorderColorOver);
  PropBag.WriteProperty("ForeColor", m_ForeColor, kForeColor);
  PropBag.WriteProperty("ForeColorOver", m_ForeColorOver, kForeColorOver);
  PropBag.WriteProperty("Font", Font());
  PropBag.WriteProperty("Alignment", m_Alignment, AlignmentConstants::vbLeftJustify);
  PropBag.WriteProperty("MaxLength", m_MaxLength, int32_t{0});
  PropBag.WriteProperty("ScrollBars", m_ScrollBars, ScrollBarsConst::VerticalScroll);
  PropBag.WriteProperty("ScrollBarGradient1", ScrollBarGradient1(), kScrollBarGradient1);
  PropBag.WriteProperty("ScrollBarGradient2", ScrollBarGradient2(), kScrollBarGradient2);
  PropBag.WriteProperty("StatusBar", m_StatusBar, false);
  PropBag.WriteProperty("StatusText", m_StatusText, kStatusText);
  PropBag.WriteProperty("StatusForeColor", m_StatusForeColor, kStatusForeColor);
  PropBag.WriteProperty("StatusGradient1", m_StatusGradient1, kStatusGradient1);
  PropBag.WriteProperty("StatusGradient2", m_StatusGradient2, kStatusGradient2);
  PropBag.WriteProperty("ShowGripper", m_ShowGripper, true);
  PropBag.WriteProperty("ButtonVisible", m_ButtonVisible, false);
  PropBag.WriteProperty("ButtonCaption", ButtonCaption(), kButtonCaption);
  PropBag.WriteProperty("ButtonWidth", m_ButtonWidth, kButtonWidth);
  PropBag.WriteProperty("ButtonAlign", m_ButtonAlign, ButtonAlignConst::Left);
  PropBag.WriteProperty("ButtonPicture", ButtonPicture());
  PropBag.WriteProperty("ButtonPictureOnOver", ButtonPictureOnOver());
  PropBag.WriteProperty("ButtonForeColor", ButtonForeColor(), kButtonForeColor);
  PropBag.WriteProperty("ButtonFont", ButtonFont());
  PropBag.WriteProperty("ButtonGradientColor1", ButtonGradientColor1(), kButtonGradientColor1);
  PropBag.WriteProperty("ButtonGradientColor2", ButtonGradientColor2(), kButtonGradientColor2);
  PropBag.WriteProperty("ButtonEnabled", ButtonEnabled(), true);
  PropBag.WriteProperty("UpperCase", m_UpperCase, false);
  PropBag.WriteProperty("NumbersOnly", m_NumbersOnly, false);
  PropBag.WriteProperty("OnOverSelAll", m_OnOverSelAll, false);
  PropBag.WriteProperty("UseFormat", m_UseFormat, false);
  PropBag.WriteProperty("FormatType", m_FormatType, "");
  PropBag.WriteProperty("MouseIcon", MouseIcon());
  PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
  PropBag.WriteProperty("Enabled", Enabled(), true);
}

// ---- Properties ---------------------------------------------------------------------------------

std::string ZorvaXPTextBox::Text() const { return field() ? windowText(field()) : std::string(); }

void ZorvaXPTextBox::setText(const std::string& v) {
  if (field()) SetWindowTextA(field(), v.c_str());
  if (m_MultiLine) syncBar();
  PropertyChanged("Text");
}

// The text moves to the field of the new mode (and the focus with it). Multi-line hides the
// button and ends the display format; switching back restores neither.
void ZorvaXPTextBox::setMultiLine(bool v) {
  if (v != m_MultiLine && txtNormal && (!v || ensureMultiLineField())) {
    const HWND from = field();
    const bool hadFocus = GetFocus() == from;
    const std::string text = windowText(from);
    m_MultiLine = v;
    SetWindowTextA(field(), text.c_str());
    ShowWindow(from, SW_HIDE);
    if (hadFocus) SetFocus(field());
  }
  m_MultiLine = v;
  restingChanged();
  PropertyChanged("MultiLine");
}

void ZorvaXPTextBox::setLocked(bool v) {
  m_Locked = v;
  if (txtMultiLineV) SendMessageA(txtMultiLineV, EM_SETREADONLY, v ? TRUE : FALSE, 0);
  PropertyChanged("Locked");
}

void ZorvaXPTextBox::setRequired(bool v) { letProperty(m_Required, v, "Required", Redraw::Resting); }
void ZorvaXPTextBox::setRequiredColor(OLE_COLOR v) { letProperty(m_RequiredColor, v, "RequiredColor", Redraw::Resting); }
void ZorvaXPTextBox::setBackColor(OLE_COLOR v) { letProperty(m_BackColor, v, "BackColor", Redraw::Resting); }
void ZorvaXPTextBox::setBackColorOver(OLE_COLOR v) { letProperty(m_BackColorOver, v, "BackColorOver", Redraw::Resting); }
void ZorvaXPTextBox::setBorderColor(OLE_COLOR v) { letProperty(m_BorderColor, v, "BorderColor", Redraw::Resting); }
void ZorvaXPTextBox::setBorderColorOver(OLE_COLOR v) { letProperty(m_BorderColorOver, v, "BorderColorOver", Redraw::Resting); }
void ZorvaXPTextBox::setForeColor(OLE_COLOR v) { letProperty(m_ForeColor, v, "ForeColor", Redraw::Resting); }
void ZorvaXPTextBox::setForeColorOver(OLE_COLOR v) { letProperty(m_ForeColorOver, v, "ForeColorOver", Redraw::Resting); }

void ZorvaXPTextBox::setFont(host::FontRef f) {
  UserControl.setFont(std::move(f));
  applyFont();
  restingChanged();
  PropertyChanged("Font");
}

void ZorvaXPTextBox::applyFont() {
  host::FontRef f = Font();
  fieldFont_.reset(f ? f->create() : 0);
  for (HWND h : {txtNormal, txtMultiLineV})
    if (h) SendMessageA(h, WM_SETFONT, static_cast<WPARAM>(fieldFont_.get()), TRUE);
}

void ZorvaXPTextBox::setAlignment(AlignmentConstants v) {
  m_Alignment = v;
  applyAlignment();
  PropertyChanged("Alignment");
}

// Alignment is the multi-line field's: the single-line one stays left-justified.
void ZorvaXPTextBox::applyAlignment() {
  if (!txtMultiLineV) return;
  LONG style = GetWindowLongA(txtMultiLineV, GWL_STYLE) & ~static_cast<LONG>(ES_CENTER | ES_RIGHT);
  if (m_Alignment == AlignmentConstants::vbRightJustify) style |= ES_RIGHT;
  if (m_Alignment == AlignmentConstants::vbCenter) style |= ES_CENTER;
  SetWindowLongA(txtMultiLineV, GWL_STYLE, style);
  InvalidateRect(txtMultiLineV, nullptr, TRUE);
}

// 0 (or less) lifts the limit.
void ZorvaXPTextBox::setMaxLength(int32_t v) {
  m_MaxLength = v;
  if (txtMultiLineV) SendMessageA(txtMultiLineV, EM_LIMITTEXT, static_cast<WPARAM>(std::max(0, v)), 0);
  PropertyChanged("MaxLength");
}

void ZorvaXPTextBox::setScrollBars(ScrollBarsConst v) { letProperty(m_ScrollBars, v, "ScrollBars", Redraw::Resting); }
void ZorvaXPTextBox::setScrollBarGradient1(OLE_COLOR v) {
  m_ScrollBarGradient1 = v;
  if (VScroll) VScroll->setGradientColor1(v);
  PropertyChanged("ScrollBarGradient1");
}
void ZorvaXPTextBox::setScrollBarGradient2(OLE_COLOR v) {
  m_ScrollBarGradient2 = v;
  if (VScroll) VScroll->setGradientColor2(v);
  PropertyChanged("ScrollBarGradient2");
}
void ZorvaXPTextBox::setStatusBar(bool v) { letProperty(m_StatusBar, v, "StatusBar", Redraw::Resting); }
void ZorvaXPTextBox::setStatusText(const std::string& v) { letProperty(m_StatusText, v, "StatusText", Redraw::Resting); }
void ZorvaXPTextBox::setStatusForeColor(OLE_COLOR v) {
  letProperty(m_StatusForeColor, v, "StatusForeColor", Redraw::Resting);
}
void ZorvaXPTextBox::setStatusGradient1(OLE_COLOR v) { letProperty(m_StatusGradient1, v, "StatusGradient1", Redraw::Resting); }
void ZorvaXPTextBox::setStatusGradient2(OLE_COLOR v) { letProperty(m_StatusGradient2, v, "StatusGradient2", Redraw::Resting); }
void ZorvaXPTextBox::setShowGripper(bool v) { letProperty(m_ShowGripper, v, "ShowGripper", Redraw::Resting); }
void ZorvaXPTextBox::setButtonVisible(bool v) { letProperty(m_ButtonVisible, v, "ButtonVisible", Redraw::Resting); }

// The button's properties live on the button once it is made, and wait in buttonProperties_
// until then.
std::string ZorvaXPTextBox::ButtonCaption() const { return Button ? Button->Caption() : buttonProperties_.caption; }
void ZorvaXPTextBox::setButtonCaption(const std::string& v) {
  if (Button) Button->setCaption(v);
  else buttonProperties_.caption = v;
  PropertyChanged("ButtonCaption");
}
void ZorvaXPTextBox::setButtonWidth(int32_t v) {
  m_ButtonWidth = v;
  if (Button) Button->setButtonWidth(v);
  restingChanged();
  PropertyChanged("ButtonWidth");
}
void ZorvaXPTextBox::setButtonAlign(ButtonAlignConst v) {
  m_ButtonAlign = v;
  if (Button) Button->setAlignment(static_cast<int32_t>(v));
  PropertyChanged("ButtonAlign");
}
host::PictureRef ZorvaXPTextBox::ButtonPicture() const { return Button ? Button->ButtonPicture() : buttonProperties_.picture; }
void ZorvaXPTextBox::setButtonPicture(host::PictureRef v) {
  if (Button) Button->setButtonPicture(std::move(v));
  else buttonProperties_.picture = std::move(v);
  PropertyChanged("ButtonPicture");
}
host::PictureRef ZorvaXPTextBox::ButtonPictureOnOver() const {
  return Button ? Button->ButtonPictureOver() : buttonProperties_.pictureOver;
}
void ZorvaXPTextBox::setButtonPictureOnOver(host::PictureRef v) {
  if (Button) Button->setButtonPictureOver(std::move(v));
  else buttonProperties_.pictureOver = std::move(v);
  PropertyChanged("ButtonPictureOnOver");
}
OLE_COLOR ZorvaXPTextBox::ButtonForeColor() const { return Button ? Button->ForeColor() : buttonProperties_.foreColor; }
void ZorvaXPTextBox::setButtonForeColor(OLE_COLOR v) {
  if (Button) Button->setForeColor(v);
  else buttonProperties_.foreColor = v;
  PropertyChanged("ButtonForeColor");
}
host::FontRef ZorvaXPTextBox::ButtonFont() const { return Button ? Button->Font() : buttonProperties_.font; }
void ZorvaXPTextBox::setButtonFont(host::FontRef v) {
  if (Button) Button->setFont(std::move(v));
  else buttonProperties_.font = std::move(v);
  PropertyChanged("ButtonFont");
}
OLE_COLOR ZorvaXPTextBox::ButtonGradientColor1() const {
  return Button ? Button->GradientColor1() : buttonProperties_.gradient1;
}
void ZorvaXPTextBox::setButtonGradientColor1(OLE_COLOR v) {
  if (Button) Button->setGradientColor1(v);
  else buttonProperties_.gradient1 = v;
  PropertyChanged("ButtonGradientColor1");
}
OLE_COLOR ZorvaXPTextBox::ButtonGradientColor2() const {
  return Button ? Button->GradientColor2() : buttonProperties_.gradient2;
}
void ZorvaXPTextBox::setButtonGradientColor2(OLE_COLOR v) {
  if (Button) Button->setGradientColor2(v);
  else buttonProperties_.gradient2 = v;
  PropertyChanged("ButtonGradientColor2");
}
bool ZorvaXPTextBox::ButtonEnabled() const { return Button ? Button->Enabled() : buttonProperties_.enabled; }
void ZorvaXPTextBox::setButtonEnabled(bool v) {
  if (Button) Button->setEnabled(v);
  else buttonProperties_.enabled = v;
  PropertyChanged("ButtonEnabled");
}

void ZorvaXPTextBox::setUpperCase(bool v) { letProperty(m_UpperCase, v, "UpperCase", Redraw::None); }
void ZorvaXPTextBox::setNumbersOnly(bool v) { letProperty(m_NumbersOnly, v, "NumbersOnly", Redraw::None); }
void ZorvaXPTextBox::setOnOverSelAll(bool v) { letProperty(m_OnOverSelAll, v, "OnOverSelAll", Redraw::None); }
void ZorvaXPTextBox::setUseFormat(bool v) { letProperty(m_UseFormat, v, "UseFormat", Redraw::None); }
void ZorvaXPTextBox::setFormatType(const std::string& v) { letProperty(m_FormatType, v, "FormatType", Redraw::None); }

int32_t ZorvaXPTextBox::SelStart() const {
  DWORD start = 0, end = 0;
  SendMessageA(field(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int32_t>(start);
}
int32_t ZorvaXPTextBox::SelLength() const {
  DWORD start = 0, end = 0;
  SendMessageA(field(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int32_t>(end - start);
}
std::string ZorvaXPTextBox::SelText() const { return GetEditSelText(field()); }
void ZorvaXPTextBox::setSelStart(int32_t v) {
  v = std::max(0, v);
  SendMessageA(field(), EM_SETSEL, static_cast<WPARAM>(v), static_cast<LPARAM>(v));
  PropertyChanged("SelStart");
}
void ZorvaXPTextBox::setSelLength(int32_t v) {
  const int32_t start = SelStart();
  const int64_t end = std::max<int64_t>(start, int64_t{start} + v);
  SendMessageA(field(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(std::min<int64_t>(end, INT32_MAX)));
  PropertyChanged("SelLength");
}
void ZorvaXPTextBox::setSelText(const std::string& v) {
  SendMessageA(field(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(v.c_str()));
  PropertyChanged("SelText");
}

void ZorvaXPTextBox::setEnabled(bool v) {
  UserControl.setEnabled(v);
  for (HWND h : {txtNormal, txtMultiLineV})
    if (h) EnableWindow(h, v ? TRUE : FALSE);
  restingChanged();
  PropertyChanged("Enabled");
}

// ---- Methods ------------------------------------------------------------------------------------

std::string ZorvaXPTextBox::GetSelectedText() const { return GetEditSelText(field()); }

void ZorvaXPTextBox::OpenTextFile(const std::string& lpstrFilePath) {
  std::vector<uint8_t> bytes;
  if (!services::readRegularFile(lpstrFilePath, kMaxFileBytes, bytes)) return;
  const std::string_view ansi(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::string text = crlf(cp1252ToUtf8(ansi));
  if (text.ends_with("\r\n")) text.resize(text.size() - 2);
  setText(text);
}

void ZorvaXPTextBox::SaveTextFile(const std::string& lpstrFilePath) {
  const std::string ansi = utf8ToCp1252(crlf(Text()) + "\r\n");
  (void)services::writeFileAtomically(lpstrFilePath, std::string_view(ansi));
}

void ZorvaXPTextBox::ToLowerCase() { setText(host::LCase(Text())); }
void ZorvaXPTextBox::ToUpperCase() { setText(host::UCase(Text())); }

// ---- Layout and drawing -------------------------------------------------------------------------

int ZorvaXPTextBox::lineHeight() const {
  TEXTMETRIC tm{};
  if (!UserControl.hDC() || !GetTextMetrics(UserControl.hDC(), &tm)) return 16;
  return std::max<int>(1, tm.tmHeight);
}

void ZorvaXPTextBox::RedrawMe() {
  if (!UserControl.exists() || !txtNormal || (m_MultiLine && !ensureMultiLineField())) return;
  if (m_MultiLine) {
    m_UseFormat = false;
    m_FormatType.clear();
    m_ButtonVisible = false;
    if (Button) Button->extender()->setVisible(false);
    const bool bar = m_ScrollBars == ScrollBarsConst::VerticalScroll;
    const int minimum = bar && m_StatusBar ? kMinMultiStatus : kMinMulti;
    if (ScaleHeight() < minimum) setHeightTwips(pixelsToTwips(minimum));
    const int w = ScaleWidth(), h = ScaleHeight();
    const int area = h - (m_StatusBar ? 20 : 2);
    const int barLeft = w - 1 - kScrollWidth;
    if (bar) {
      ensureBar().extender()->Move(pixelsToTwips(barLeft), pixelsToTwips(1), pixelsToTwips(kScrollWidth), pixelsToTwips(area));
      VScroll->extender()->setVisible(true);
    } else if (VScroll) {
      VScroll->extender()->setVisible(false);
    }
    const int left = m_Required ? 9 : 1;
    const int right = bar ? barLeft : w - 1;
    ShowWindow(txtNormal, SW_HIDE);
    MoveWindow(txtMultiLineV, left, 1, std::max(1, right - left), std::max(1, area), TRUE);
    ShowWindow(txtMultiLineV, SW_SHOW);
    syncBar();
  } else {
    ShowWindow(txtMultiLineV, SW_HIDE);
    if (VScroll) VScroll->extender()->setVisible(false);
    if (ScaleHeight() < kMinSingle) setHeightTwips(pixelsToTwips(kMinSingle));
    const int fieldHeight = lineHeight() - 1;
    if (ScaleHeight() <= fieldHeight) setHeightTwips(pixelsToTwips(fieldHeight + 2));
    const int w = ScaleWidth(), h = ScaleHeight();
    const int buttonWidth = std::clamp<int32_t>(m_ButtonWidth, 1, 1 << 15);
    const int buttonLeft = w - buttonWidth - 2;
    if (m_ButtonVisible)
      ensureButton().extender()->Move(pixelsToTwips(buttonLeft), pixelsToTwips(2), pixelsToTwips(buttonWidth),
                                      pixelsToTwips(std::max(3, h - 4)));
    if (Button) Button->extender()->setVisible(m_ButtonVisible);
    const int left = m_Required ? 12 : 5;
    const int right = m_ButtonVisible ? buttonLeft - 2 : w - 1 - 2;
    MoveWindow(txtNormal, left, (h - fieldHeight) / 2, std::max(1, right - left), fieldHeight, TRUE);
    ShowWindow(txtNormal, SW_SHOW);
  }
  UserControl.setBackColor(m_FieldFocused ? m_BackColorOver : m_BackColor);
  DrawTextBoxBorder();
  if (m_MultiLine && m_StatusBar) DrawStatusStrip();
  if (m_Required) DrawRequiredMarker();
  InvalidateRect(field(), nullptr, TRUE);
}

void ZorvaXPTextBox::DrawTextBoxBorder() {
  if (!UserControl.hDC()) return;
  const OLE_COLOR c = m_FieldFocused ? m_BorderColorOver : m_BorderColor;
  foundation::drawOutline(UserControl.hDC(), translateColor(c), 0, 0, ScaleWidth(), ScaleHeight());
}

void ZorvaXPTextBox::DrawRequiredMarker() {
  const HDC dc = UserControl.hDC();
  if (!dc) return;
  const OLE_COLOR border = m_FieldFocused ? m_BorderColorOver : m_BorderColor;
  foundation::drawOutline(dc, translateColor(border), 0, 0, 8, 8);
  GdiObject pen(CreatePen(PS_SOLID, 1, translateColor(m_RequiredColor)));
  Selection selected(dc, pen.get());
  for (int row = 0; row < 5; ++row) {
    MoveToEx(dc, 1, 1 + row, nullptr);
    LineTo(dc, 1 + 5 - row, 1 + row);
  }
}

void ZorvaXPTextBox::DrawStatusStrip() {
  const HDC dc = UserControl.hDC();
  if (!dc) return;
  const int w = ScaleWidth(), h = ScaleHeight();
  const int separator = h - kStatusHeight;  // the row below the text area (and VScroll)
  const OLE_COLOR border = m_FieldFocused ? m_BorderColorOver : m_BorderColor;
  drawLines(dc, translateColor(border), {{{1, separator}, {w - 1, separator}}});
  const COLORREF c1 = translateColor(m_StatusGradient1), c2 = translateColor(m_StatusGradient2);
  for (int y = separator + 1, step = 0; y < h - 1; ++y, ++step) {
    const COLORREF c = RGB(stripChannel(GetRValue(c1), GetRValue(c2), step), stripChannel(GetGValue(c1), GetGValue(c2), step),
                           stripChannel(GetBValue(c1), GetBValue(c2), step));
    drawLines(dc, c, {{{2, y}, {w - 2, y}}});
  }
  RECT text{4, separator + 1, w - (m_ShowGripper ? 16 : 4), h - 1};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, translateColor(m_StatusForeColor));
  DrawText(dc, m_StatusText, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_WORD_ELLIPSIS);
  if (m_ShowGripper) {
    // Three rows of one, two and three dots, the right edge and the bottom straight.
    for (int row = 0; row < 3; ++row)
      for (int k = 0; k <= row; ++k) {
        const int x = w - 5 - 3 * k, y = h - 11 + 3 * row;
        SetPixelV(dc, x, y, kGripDot);
        SetPixelV(dc, x + 1, y, RGB(255, 255, 255));
      }
  }
}

// ---- Scrolling ----------------------------------------------------------------------------------

int32_t ZorvaXPTextBox::firstVisibleLine() const {
  return static_cast<int32_t>(SendMessageA(txtMultiLineV, EM_GETFIRSTVISIBLELINE, 0, 0));
}

int32_t ZorvaXPTextBox::lastLine() const {
  return std::max<int32_t>(0, static_cast<int32_t>(SendMessageA(txtMultiLineV, EM_GETLINECOUNT, 0, 0)) - 1);
}

bool ZorvaXPTextBox::SyncTextScroll() {
  if (!txtMultiLineV) return false;
  RECT r{};
  SendMessageA(txtMultiLineV, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  const int visible = nearest(static_cast<double>(r.bottom - r.top) / lineHeight());
  const auto lines = static_cast<int32_t>(SendMessageA(txtMultiLineV, EM_GETLINECOUNT, 0, 0));
  return lines > visible + 1;
}

void ZorvaXPTextBox::syncBar() {
  // While the control is set up the field has no size yet; the host lays the control out right
  // after (Resize, then RedrawMe sets the bar), so a long text is laid out once, at the width it
  // shows at.
  if (!VScroll || !m_MultiLine || settingUp()) return;
  syncing_ = true;
  const int32_t max = std::max(1, lastLine());
  if (VScroll->Max() != max) VScroll->setMax(max);
  const int32_t first = firstVisibleLine();
  if (VScroll->Value() != first) VScroll->setValue(first);
  const bool needed = SyncTextScroll();
  if (VScroll->Enabled() != needed) VScroll->setEnabled(needed);
  syncing_ = false;
}

void ZorvaXPTextBox::scrollTextTo(int32_t firstLine) {
  const int32_t by = firstLine - firstVisibleLine();
  if (by != 0) SendMessageA(txtMultiLineV, EM_LINESCROLL, 0, static_cast<LPARAM>(by));
}

// One line up (1) or down (2), never past the line Value names.
void ZorvaXPTextBox::barScrolling(int16_t way) {
  if (syncing_) return;
  const int32_t first = firstVisibleLine(), value = VScroll->Value();
  if (way == 1 && first > value) scrollTextTo(first - 1);
  if (way == 2 && first < value) scrollTextTo(first + 1);
}

// ---- Behaviour ----------------------------------------------------------------------------------

void ZorvaXPTextBox::UserControl_GotFocus() {
  if (field()) SetFocus(field());
}

void ZorvaXPTextBox::focusChanged(bool gained) {
  m_FieldFocused = gained;
  if (gained) {
    if (!m_MultiLine && m_OnOverSelAll) {
      // The caret home, then a Shift+End selection: everything, the caret at the end.
      SendMessageA(txtNormal, EM_SETSEL, 0, 0);
      SendMessageA(txtNormal, EM_SETSEL, 0, -1);
    }
  } else if (m_UseFormat && !m_MultiLine) {
    DWORD start = 0, end = 0;
    SendMessageA(txtNormal, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::string formatted = host::Format(host::FormatValue(windowText(txtNormal)), m_FormatType);
    SetWindowTextA(txtNormal, formatted.c_str());
    SendMessageA(txtNormal, EM_SETSEL, start, start);
  }
  RedrawMe();
}

void ZorvaXPTextBox::fieldNotified(HWND from, WORD code) {
  switch (code) {
    case EN_CHANGE:
      Change.raise();
      if (m_UpperCase) {
        const std::string text = windowText(from);
        const std::string upper = host::UCase(text);
        if (upper != text) {
          DWORD start = 0, end = 0;
          SendMessageA(from, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
          SetWindowTextA(from, upper.c_str());
          SendMessageA(from, EM_SETSEL, start, end);
        }
      }
      if (from == txtMultiLineV) syncBar();
      break;
    case EN_VSCROLL:
      if (from == txtMultiLineV) syncBar();
      break;
    case EN_SETFOCUS:
    case EN_KILLFOCUS:
      if (from == field()) focusChanged(code == EN_SETFOCUS);
      break;
    default:
      break;
  }
}

void ZorvaXPTextBox::fieldKey(HWND from, UINT message, WPARAM& code) {
  switch (message) {
    case WM_KEYDOWN: {
      if (from == txtMultiLineV && VScroll) {
        syncing_ = true;
        const int32_t max = std::max(1, lastLine());
        if (VScroll->Max() != max) VScroll->setMax(max);
        syncing_ = false;
      }
      int16_t KeyCode = static_cast<int16_t>(code), Shift = foundation::shiftState();
      KeyDown.raise(KeyCode, Shift);
      code = static_cast<WPARAM>(static_cast<uint16_t>(KeyCode));
      break;
    }
    case WM_KEYUP: {
      int16_t KeyCode = static_cast<int16_t>(code), Shift = foundation::shiftState();
      KeyUp.raise(KeyCode, Shift);
      code = static_cast<WPARAM>(static_cast<uint16_t>(KeyCode));
      break;
    }
    case WM_CHAR: {
      int16_t KeyAscii = static_cast<int16_t>(code);
      if (KeyAscii == 13) OnEnter.raise();
      if (KeyAscii == 27) OnKeyEsc.raise();
      if (m_NumbersOnly && KeyAscii != 8 && KeyAscii != 32 && KeyAscii != 46 &&
          !(KeyAscii > 0 && KeyAscii < 128 && host::IsNumeric(std::string(1, static_cast<char>(KeyAscii)))))
        KeyAscii = 0;
      KeyPress.raise(KeyAscii);
      code = static_cast<WPARAM>(static_cast<uint16_t>(KeyAscii));
      break;
    }
    default:
      break;
  }
}

void ZorvaXPTextBox::fieldMouse(HWND from, UINT message, WPARAM keys, LPARAM position) {
  int16_t b = foundation::buttonsOf(keys), s = foundation::shiftState();
  float x = static_cast<float>(GET_X_LPARAM(position)), y = static_cast<float>(GET_Y_LPARAM(position));
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      b = message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4;
      if (from == txtMultiLineV && VScroll) {
        // The bar shows the caret's line; the text stays where it is.
        syncing_ = true;
        const auto line = static_cast<int32_t>(SendMessageA(from, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0));
        if (line >= VScroll->Min() && line <= VScroll->Max()) VScroll->setValue(line);
        syncing_ = false;
      }
      MouseDown.raise(b, s, x, y);
      break;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      b = message == WM_LBUTTONUP ? 1 : message == WM_RBUTTONUP ? 2 : 4;
      MouseUp.raise(b, s, x, y);
      if (message == WM_LBUTTONUP) Click.raise();
      break;
    case WM_LBUTTONDBLCLK:
      DblClick.raise();
      break;
    case WM_MOUSEMOVE:
      MouseMove.raise(b, s, x, y);
      break;
    default:
      break;
  }
}

// ---- Class --------------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPTextBox::memberTable() const {
  using B = ZorvaXPTextBox;
  static const host::MemberTable table = host::ClassMembers<B>("ZorvaXPTextBox")
      .property("Text", &B::Text, &B::setText)
      .property("MultiLine", &B::MultiLine, &B::setMultiLine)
      .property("Locked", &B::Locked, &B::setLocked)
      .property("Required", &B::Required, &B::setRequired)
      .property("RequiredColor", &B::RequiredColor, &B::setRequiredColor)
      .property("BackColor", &B::BackColor, &B::setBackColor)
      .property("BackColorOver", &B::BackColorOver, &B::setBackColorOver)
      .property("BorderColor", &B::BorderColor, &B::setBorderColor)
      .property("BorderColorOver", &B::BorderColorOver, &B::setBorderColorOver)
      .property("ForeColor", &B::ForeColor, &B::setForeColor)
      .property("ForeColorOver", &B::ForeColorOver, &B::setForeColorOver)
      .property("Font", &B::Font, &B::setFont)
      .property("Alignment", &B::Alignment, &B::setAlignment)
      .property("MaxLength", &B::MaxLength, &B::setMaxLength)
      .property("ScrollBars", &B::ScrollBars, &B::setScrollBars)
      .property("ScrollBarGradient1", &B::ScrollBarGradient1, &B::setScrollBarGradient1)
      .property("ScrollBarGradient2", &B::ScrollBarGradient2, &B::setScrollBarGradient2)
      .property("StatusBar", &B::StatusBar, &B::setStatusBar)
      .property("StatusText", &B::StatusText, &B::setStatusText)
      .property("StatusForeColor", &B::StatusForeColor, &B::setStatusForeColor)
      .property("StatusGradient1", &B::StatusGradient1, &B::setStatusGradient1)
      .property("StatusGradient2", &B::StatusGradient2, &B::setStatusGradient2)
      .property("ShowGripper", &B::ShowGripper, &B::setShowGripper)
      .property("ButtonVisible", &B::ButtonVisible, &B::setButtonVisible)
      .property("ButtonCaption", &B::ButtonCaption, &B::setButtonCaption)
      .property("ButtonWidth", &B::ButtonWidth, &B::setButtonWidth)
      .property("ButtonAlign", &B::ButtonAlign, &B::setButtonAlign)
      .property("ButtonPicture", &B::ButtonPicture, &B::setButtonPicture)
      .property("ButtonPictureOnOver", &B::ButtonPictureOnOver, &B::setButtonPictureOnOver)
      .property("ButtonForeColor", &B::ButtonForeColor, &B::setButtonForeColor)
      .property("ButtonFont", &B::ButtonFont, &B::setButtonFont)
      .property("ButtonGradientColor1", &B::ButtonGradientColor1, &B::setButtonGradientColor1)
      .property("ButtonGradientColor2", &B::ButtonGradientColor2, &B::setButtonGradientColor2)
      .property("ButtonEnabled", &B::ButtonEnabled, &B::setButtonEnabled)
      .property("UpperCase", &B::UpperCase, &B::setUpperCase)
      .property("NumbersOnly", &B::NumbersOnly, &B::setNumbersOnly)
      .property("OnOverSelAll", &B::OnOverSelAll, &B::setOnOverSelAll)
      .property("UseFormat", &B::UseFormat, &B::setUseFormat)
      .property("FormatType", &B::FormatType, &B::setFormatType)
      .property("SelStart", &B::SelStart, &B::setSelStart)
      .property("SelLength", &B::SelLength, &B::setSelLength)
      .property("SelText", &B::SelText, &B::setSelText)
      .property("MouseIcon", &B::MouseIcon, &B::setMouseIcon)
      .property("MousePointer", &B::MousePointer, &B::setMousePointer)
      .property("Enabled", &B::Enabled, &B::setEnabled)
      .readOnlyProperty("hwnd", &B::hwnd)
      .method("RedrawMe", &B::RedrawMe)
      .method("GetSelectedText", &B::GetSelectedText)
      .method("OpenTextFile", &B::OpenTextFile).params({"lpstrFilePath"})
      .method("SaveTextFile", &B::SaveTextFile).params({"lpstrFilePath"})
      .method("ToLowerCase", &B::ToLowerCase)
      .method("ToUpperCase", &B::ToUpperCase)
      .about(&B::About)
      .event("ButtonClick", &B::ButtonClick)
      .event("Change", &B::Change)
      .event("Click", &B::Click)
      .event("DblClick", &B::DblClick)
      .event("KeyDown", &B::KeyDown, {"KeyCode", "Shift"})
      .event("KeyPress", &B::KeyPress, {"KeyAscii"})
      .event("KeyUp", &B::KeyUp, {"KeyCode", "Shift"})
      .event("MouseDown", &B::MouseDown, {"Button", "Shift", "X", "Y"})
      .event("MouseMove", &B::MouseMove, {"Button", "Shift", "X", "Y"})
      .event("MouseUp", &B::MouseUp, {"Button", "Shift", "X", "Y"})
      .event("OnKeyEsc", &B::OnKeyEsc)
      .event("OnEnter", &B::OnEnter)
      .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(ScrollBarsConst) {
  static const host::EnumType t{"ScrollBarsConst", {{"VerticalScroll", 0}, {"None", 1}}};
  return t;
}

const host::EnumType& describeEnum(ButtonAlignConst) {
  static const host::EnumType t{"ButtonAlignConst", {{"Left", 0}, {"Right", 1}}};
  return t;
}

}  // namespace zxp::text
