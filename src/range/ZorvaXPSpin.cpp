#include "range/ZorvaXPSpin.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "foundation/PenLines.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/host/runtime/Numeric.h"
#include "platform/ui/Edit.h"
#include "platform/ui/User.h"

namespace zxp::range {

namespace {
constexpr int kMinWidth = 40, kMinHeight = 18;
}  // namespace

ZorvaXPSpin::ZorvaXPSpin() : tmrValueUp("tmrValueUp", 200), tmrValueDown("tmrValueDown", 200) {}

// ---- Lifecycle ----------------------------------------------------------------------------------

void ZorvaXPSpin::UserControl_Initialize() {
  EditHooks hooks;
  hooks.key = [this](UINT message, WPARAM& code, LPARAM) { fieldKey(message, code); };
  hooks.notify = [this](WORD code) { fieldNotified(code); };
  hooks.mouse = [this](UINT message, WPARAM keys, LPARAM position) {
    if (message != WM_MOUSEMOVE) return;
    int16_t b = foundation::OwnedEditField::buttonOf(keys);
    int16_t s = foundation::OwnedEditField::shiftOf(keys);
    // Positions in the control's surface, not the field's.
    const POINT p = Text.toSurface(POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)});
    float x = static_cast<float>(p.x);
    float y = static_cast<float>(p.y);
    MouseMove.raise(b, s, x, y);
  };
  // The field asks its parent, the control's surface, for its colours.
  Text.create(hWnd(), ES_AUTOHSCROLL, kFieldLeft, 1, std::move(hooks));

  host::ExtenderRecord r =
      host::ExtenderRecord::inPixels(std::max(0, ScaleWidth() - kButtonWidth), 0, kButtonWidth, std::max(2, ScaleHeight()));
  r.tabStop = false;
  Button = &addConstituent<ZorvaSpinScroll>("Button", r);
  Button->UpPressed.connect([this] {
    UpArrowMouseDown.raise();
    tmrValueUp.setEnabled(true);
    step(true);
  });
  Button->DownPressed.connect([this] {
    DownArrowMoseDown.raise();
    tmrValueDown.setEnabled(true);
    step(false);
  });
  Button->UpReleased.connect([this] {
    UpArrowMoseUp.raise();
    tmrValueUp.setEnabled(false);
  });
  Button->DownReleased.connect([this] {
    DownArrowMoseUp.raise();
    tmrValueDown.setEnabled(false);
  });
  tmrValueUp.setOwnerTick([](void* o) { static_cast<ZorvaXPSpin*>(o)->step(true); }, this);
  tmrValueDown.setOwnerTick([](void* o) { static_cast<ZorvaXPSpin*>(o)->step(false); }, this);
}

void ZorvaXPSpin::UserControl_Terminate() {
  tmrValueUp.setEnabled(false);
  tmrValueDown.setEnabled(false);
  Text.destroy();
}

void ZorvaXPSpin::UserControl_InitProperties() {
  setButtonGradientColor1(kButtonGradientColor1);
  setButtonGradientColor2(kButtonGradientColor2);
  setOnOverButtonGradientColor1(kOnOverButtonGradientColor1);
  setOnOverButtonGradientColor2(kOnOverButtonGradientColor2);
  setOnOverButtonBorderColor(kOnOverButtonBorderColor);
  setBorderColor(kBorderColor);
  m_BackColor = kBackColor;
  m_ForeColor = kForeColor;
  m_BackColorHighlight = kBackColorHighlight;
  m_BorderColorHighlight = kBorderColorHighlight;
  Button->setMaximum(kMaximum);
  Button->setMinimum(kMinimum);
  Button->setValue(0);
  UserControl.setFont(Ambient().Font);
  applyFieldFont();
  m_Alignment = AlignmentConstants::vbLeftJustify;
  m_Locked = false;
  showValue();
  RedrawMe();
}

void ZorvaXPSpin::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  setButtonGradientColor1(PropBag.read<OLE_COLOR>("ButtonGradientColor1", kButtonGradientColor1));
  setButtonGradientColor2(PropBag.read<OLE_COLOR>("ButtonGradientColor2", kButtonGradientColor2));
  setBorderColor(PropBag.read<OLE_COLOR>("BorderColor", kBorderColor));
  m_BackColor = PropBag.read<OLE_COLOR>("BackColor", kBackColor);
  m_ForeColor = PropBag.read<OLE_COLOR>("ForeColor", kForeColor);
  m_BackColorHighlight = PropBag.read<OLE_COLOR>("BackColorHighlight", kBackColorHighlight);
  m_BorderColorHighlight = PropBag.read<OLE_COLOR>("BorderColorHighlight", kBorderColorHighlight);
  Button->setMaximum(PropBag.read<int32_t>("Maximum", kMaximum));
  Button->setMinimum(PropBag.read<int32_t>("Minimum", kMinimum));
  setValue(PropBag.read<int32_t>("value", 0));
  setEnabled(PropBag.read<bool>("Enabled", true));
  setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
  setMousePointer(PropBag.read<int16_t>("MousePointer", 0));
  setAlignment(PropBag.read<AlignmentConstants>("Alignment", AlignmentConstants::vbLeftJustify));
  setLocked(PropBag.read<bool>("Locked", false));
  m_TemparyGradienateColor2 = PropBag.read<OLE_COLOR>("TemparyGradienateColor2", kButtonGradientColor2);
  setOnOverButtonGradientColor1(PropBag.read<OLE_COLOR>("OnOverButtonGradientColor1", kOnOverButtonGradientColor1));
  setOnOverButtonGradientColor2(PropBag.read<OLE_COLOR>("OnOverButtonGradientColor2", kOnOverButtonGradientColor2));
  setOnOverButtonBorderColor(PropBag.read<OLE_COLOR>("OnOverButtonBorderColor", kOnOverButtonBorderColor));
  restingChanged();
}

void ZorvaXPSpin::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("ButtonGradientColor1", ButtonGradientColor1(), kButtonGradientColor1);
  PropBag.WriteProperty("ButtonGradientColor2", ButtonGradientColor2(), kButtonGradientColor2);
  PropBag.WriteProperty("BorderColor", BorderColor(), kBorderColor);
  PropBag.WriteProperty("BackColor", m_BackColor, kBackColor);
  PropBag.WriteProperty("ForeColor", m_ForeColor, kForeColor);
  PropBag.WriteProperty("BackColorHighlight", m_BackColorHighlight, kBackColorHighlight);
  PropBag.WriteProperty("BorderColorHighlight", m_BorderColorHighlight, kBorderColorHighlight);
  PropBag.WriteProperty("Maximum", Maximum(), kMaximum);
  PropBag.WriteProperty("Minimum", Minimum(), kMinimum);
  PropBag.WriteProperty("value", Value(), int32_t{0});
  PropBag.WriteProperty("Enabled", Enabled(), true);
  PropBag.WriteProperty("Font", Font());
  PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
  PropBag.WriteProperty("Alignment", m_Alignment, AlignmentConstants::vbLeftJustify);
  PropBag.WriteProperty("Locked", m_Locked, false);
  PropBag.WriteProperty("TemparyGradienateColor2", m_TemparyGradienateColor2, kButtonGradientColor2);
  PropBag.WriteProperty("OnOverButtonGradientColor1", OnOverButtonGradientColor1(), kOnOverButtonGradientColor1);
  PropBag.WriteProperty("OnOverButtonGradientColor2", OnOverButtonGradientColor2(), kOnOverButtonGradientColor2);
  PropBag.WriteProperty("OnOverButtonBorderColor", OnOverButtonBorderColor(), kOnOverButtonBorderColor);
}

// ---- Properties ---------------------------------------------------------------------------------

OLE_COLOR ZorvaXPSpin::ButtonGradientColor1() const { return Button->GradientColor1(); }
OLE_COLOR ZorvaXPSpin::ButtonGradientColor2() const { return Button->GradientColor2(); }
OLE_COLOR ZorvaXPSpin::OnOverButtonGradientColor1() const { return Button->OnOverGradient1(); }
OLE_COLOR ZorvaXPSpin::OnOverButtonGradientColor2() const { return Button->OnOverGradient2(); }
OLE_COLOR ZorvaXPSpin::OnOverButtonBorderColor() const { return Button->OnOverBorderColor(); }
OLE_COLOR ZorvaXPSpin::BorderColor() const { return Button->BorderColor(); }
int32_t ZorvaXPSpin::Maximum() const { return Button->Maximum(); }
int32_t ZorvaXPSpin::Minimum() const { return Button->Minimum(); }
int32_t ZorvaXPSpin::Value() const { return Button->Value(); }

void ZorvaXPSpin::setButtonGradientColor1(OLE_COLOR v) {
  Button->setGradientColor1(v);
  PropertyChanged("ButtonGradientColor1");
}

void ZorvaXPSpin::setButtonGradientColor2(OLE_COLOR v) {
  Button->setGradientColor2(v);
  m_TemparyGradienateColor2 = v;
  PropertyChanged("ButtonGradientColor2");
}

void ZorvaXPSpin::setOnOverButtonGradientColor1(OLE_COLOR v) {
  Button->setOnOverGradient1(v);
  PropertyChanged("OnOverButtonGradientColor1");
}

void ZorvaXPSpin::setOnOverButtonGradientColor2(OLE_COLOR v) {
  Button->setOnOverGradient2(v);
  PropertyChanged("OnOverButtonGradientColor2");
}

void ZorvaXPSpin::setOnOverButtonBorderColor(OLE_COLOR v) {
  Button->setOnOverBorderColor(v);
  PropertyChanged("OnOverButtonBorderColor");
}

void ZorvaXPSpin::setBorderColor(OLE_COLOR v) {
  Button->setBorderColor(v);
  DrawSpinBorder();
  PropertyChanged("BorderColor");
}

void ZorvaXPSpin::setBackColor(OLE_COLOR v) { letProperty(m_BackColor, v, "BackColor", foundation::Redraw::Resting); }
void ZorvaXPSpin::setForeColor(OLE_COLOR v) { letProperty(m_ForeColor, v, "ForeColor", foundation::Redraw::Resting); }
void ZorvaXPSpin::setBackColorHighlight(OLE_COLOR v) {
  letProperty(m_BackColorHighlight, v, "BackColorHighlight", m_FieldFocused ? foundation::Redraw::Resting : foundation::Redraw::None);
}
void ZorvaXPSpin::setBorderColorHighlight(OLE_COLOR v) {
  letProperty(m_BorderColorHighlight, v, "BorderColorHighlight", m_FieldFocused ? foundation::Redraw::Resting : foundation::Redraw::None);
}

void ZorvaXPSpin::setMaximum(int32_t v) {
  Button->setMaximum(v);
  PropertyChanged("Maximum");
}

void ZorvaXPSpin::setMinimum(int32_t v) {
  Button->setMinimum(v);
  PropertyChanged("Minimum");
}

void ZorvaXPSpin::setValue(int32_t v) {
  if (v < Minimum()) v = Minimum();
  if (v > Maximum()) v = Maximum();
  Button->setValue(v);
  showValue();
  restingChanged();
  PropertyChanged("Value");
}

void ZorvaXPSpin::setEnabled(bool v) {
  UserControl.setEnabled(v);
  Button->setGradientColor2(v ? m_TemparyGradienateColor2 : kDisabledGradient2);
  PropertyChanged("Enabled");
}

void ZorvaXPSpin::setFont(host::FontRef f) {
  UserControl.setFont(std::move(f));
  applyFieldFont();
  restingChanged();
  PropertyChanged("Font");
}

void ZorvaXPSpin::setAlignment(AlignmentConstants v) {
  m_Alignment = v;
  if (Text) {
    LONG style = GetWindowLongA(Text, GWL_STYLE) & ~static_cast<LONG>(ES_CENTER | ES_RIGHT);
    if (v == AlignmentConstants::vbRightJustify) style |= ES_RIGHT;
    if (v == AlignmentConstants::vbCenter) style |= ES_CENTER;
    SetWindowLongA(Text, GWL_STYLE, style);
    InvalidateRect(Text, nullptr, TRUE);
  }
  PropertyChanged("Alignment");
}

void ZorvaXPSpin::setLocked(bool v) {
  m_Locked = v;
  if (Text) SendMessageA(Text, EM_SETREADONLY, v ? TRUE : FALSE, 0);
  PropertyChanged("Locked");
}

// ---- Layout and drawing -------------------------------------------------------------------------

void ZorvaXPSpin::applyFieldFont() { Text.setFont(Font()); }

void ZorvaXPSpin::applyFieldColors() { Text.setColors(m_ForeColor, m_FieldFocused ? m_BackColorHighlight : m_BackColor); }

void ZorvaXPSpin::showValue() {
  if (Text) SetWindowTextA(Text, host::numberToText(Value()).c_str());
}

void ZorvaXPSpin::RedrawMe() {
  if (!UserControl.exists() || !Button) return;
  if (ScaleWidth() < kMinWidth) setWidthTwips(pixelsToTwips(kMinWidth));
  if (ScaleHeight() < kMinHeight) setHeightTwips(270);
  const int w = ScaleWidth(), h = ScaleHeight();
  UserControl.setBackColor(m_FieldFocused ? m_BackColorHighlight : m_BackColor);
  applyFieldColors();
  TEXTMETRIC tm{};
  GetTextMetrics(UserControl.hDC(), &tm);
  const int fieldHeight = std::min<int>(tm.tmHeight, h - 2);
  MoveWindow(Text, kFieldLeft, (h - fieldHeight) / 2, std::max(1, w - kButtonWidth - kFieldLeft - 1), fieldHeight, TRUE);
  InvalidateRect(Text, nullptr, TRUE);
  if (host::Extender* e = Button->extender())
    e->Move(pixelsToTwips(w - kButtonWidth), 0, pixelsToTwips(kButtonWidth), pixelsToTwips(h));
  DrawSpinBorder();
}

void ZorvaXPSpin::DrawSpinBorder() {
  if (!UserControl.hDC() || !Button) return;
  const OLE_COLOR c = m_FieldFocused ? m_BorderColorHighlight : Button->BorderColor();
  foundation::drawOutline(UserControl.hDC(), translateColor(c), 0, 0, ScaleWidth(), ScaleHeight());
}

// ---- Behaviour ----------------------------------------------------------------------------------

void ZorvaXPSpin::UserControl_GotFocus() {
  if (Text) SetFocus(Text);
}

void ZorvaXPSpin::fieldNotified(WORD code) {
  switch (code) {
    case EN_CHANGE:
      Change.raise();
      break;
    case EN_SETFOCUS:
    case EN_KILLFOCUS:
      // Only the colours change: the typed text stays until a step takes it.
      m_FieldFocused = code == EN_SETFOCUS;
      UserControl.setBackColor(m_FieldFocused ? m_BackColorHighlight : m_BackColor);
      applyFieldColors();
      DrawSpinBorder();
      break;
    default:
      break;
  }
}

void ZorvaXPSpin::fieldKey(UINT message, WPARAM& code) {
  if (message != WM_CHAR) return;
  int16_t KeyAscii = static_cast<int16_t>(code);
  if (KeyAscii == 13) OnEnter.raise();
  if (KeyAscii == 27) OnKeyEsc.raise();
  if (KeyAscii != 8 && KeyAscii != 32 && KeyAscii != 46 &&
      !(KeyAscii > 0 && KeyAscii < 256 && host::IsNumeric(std::string(1, static_cast<char>(KeyAscii)))))
    KeyAscii = 0;
  KeyPress.raise(KeyAscii);
  code = static_cast<WPARAM>(static_cast<uint16_t>(KeyAscii));
}

// The field's text as a number, as the host's Val reads it: blanks are left out, anything that
// is not a number is 0, and the result is rounded half to even into the 32-bit range.
int32_t ZorvaXPSpin::fieldNumber() const {
  const int n = GetWindowTextLengthA(Text);
  std::string text(static_cast<size_t>(std::max(0, n)) + 1, '\0');
  GetWindowTextA(Text, text.data(), n + 1);
  text.resize(static_cast<size_t>(std::max(0, n)));
  std::erase_if(text, [](char c) { return c == ' ' || c == '\t'; });
  const std::optional<double> v = host::parseNumber(text);
  if (!v) return 0;
  const double r = host::roundHalfEven(std::clamp(*v, -2147483648.0, 2147483647.0));
  return static_cast<int32_t>(r);
}

void ZorvaXPSpin::step(bool up) {
  setValue(fieldNumber());
  if (up ? Value() < Maximum() : Value() > Minimum()) {
    setValue(up ? Value() + 1 : Value() - 1);
    (up ? UpArrowMouseDown : DownArrowMoseDown).raise();
  }
}

// ---- Class --------------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPSpin::memberTable() const {
  using B = ZorvaXPSpin;
  static const host::MemberTable table = host::ClassMembers<B>("ZorvaXPSpin")
      .property("ButtonGradientColor1", &B::ButtonGradientColor1, &B::setButtonGradientColor1)
      .property("ButtonGradientColor2", &B::ButtonGradientColor2, &B::setButtonGradientColor2)
      .property("OnOverButtonGradientColor1", &B::OnOverButtonGradientColor1, &B::setOnOverButtonGradientColor1)
      .property("OnOverButtonGradientColor2", &B::OnOverButtonGradientColor2, &B::setOnOverButtonGradientColor2)
      .property("OnOverButtonBorderColor", &B::OnOverButtonBorderColor, &B::setOnOverButtonBorderColor)
      .property("BorderColor", &B::BorderColor, &B::setBorderColor)
      .property("BackColor", &B::BackColor, &B::setBackColor)
      .property("ForeColor", &B::ForeColor, &B::setForeColor)
      .property("BackColorHighlight", &B::BackColorHighlight, &B::setBackColorHighlight)
      .property("BorderColorHighlight", &B::BorderColorHighlight, &B::setBorderColorHighlight)
      .property("Maximum", &B::Maximum, &B::setMaximum)
      .property("Minimum", &B::Minimum, &B::setMinimum)
      .property("Value", &B::Value, &B::setValue)
      .property("Enabled", &B::Enabled, &B::setEnabled)
      .property("Font", &B::Font, &B::setFont)
      .property("MousePointer", &B::MousePointer, &B::setMousePointer)
      .property("Alignment", &B::Alignment, &B::setAlignment)
      .property("Locked", &B::Locked, &B::setLocked)
      .readOnlyProperty("hwnd", &B::hwnd)
      .method("RedrawMe", &B::RedrawMe)
      .about(&B::About)
      .event("UpArrowMouseDown", &B::UpArrowMouseDown)
      .event("UpArrowMoseUp", &B::UpArrowMoseUp)
      .event("DownArrowMoseDown", &B::DownArrowMoseDown)
      .event("DownArrowMoseUp", &B::DownArrowMoseUp)
      .event("OnEnter", &B::OnEnter)
      .event("OnKeyEsc", &B::OnKeyEsc)
      .event("KeyPress", &B::KeyPress, {"KeyAscii"})
      .event("Change", &B::Change)
      .event("MouseMove", &B::MouseMove, {"Button", "Shift", "X", "Y"})
      .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(AlignmentConstants) {
  static const host::EnumType t{"AlignmentConstants", {{"vbLeftJustify", 0}, {"vbRightJustify", 1}, {"vbCenter", 2}}};
  return t;
}

}  // namespace zxp::range
