#include "bars/ZorvaXPToolBar.h"

#include "foundation/PenLines.h"
#include "foundation/modGradient.h"
#include "platform/base/HostError.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/Extender.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/ui/User.h"

namespace zxp::bars {

namespace {
ButtonStrip::Scheme toolBarScheme() {
  StripButton d;  // the read defaults of a button's keys
  d.HeaderAlignment = 1;
  d.HeaderWidth = 50;
  d.PicAlignment = 0;
  return ButtonStrip::Scheme{4, true, true, 14, d};
}

StripButton newButton(std::string caption, int32_t width, bool shown) {
  StripButton b;
  b.HeaderCaption = std::move(caption);
  b.HeaderWidth = width;
  b.HeaderAlignment = 1;
  b.PicAlignment = 1;
  b.Visible = b.Enabled = shown;
  return b;
}
}  // namespace

ZorvaXPToolBar::ZorvaXPToolBar() : ButtonStrip(toolBarScheme()) {}

// ---- Methods --------------------------------------------------------------------------------------

void ZorvaXPToolBar::AddButton(std::string lpStrCaption, THAlign HCAlign, int32_t Header_Width, host::PictureRef PanelPic,
                               THAlign PictureAlign, bool PanelVisible, bool PanelEnabled, TStyleDType PanelStyle,
                               std::string PanelTag, TMainStyleDType ButtonMainStyle, bool BSepatator, bool BChecked,
                               TButtonValue BValue, std::string BToolTip) {
  addButton(StripButton{std::move(lpStrCaption), static_cast<int32_t>(HCAlign), Header_Width, std::move(PanelPic),
                        static_cast<int32_t>(PictureAlign), PanelVisible, PanelEnabled, static_cast<int32_t>(PanelStyle),
                        static_cast<int32_t>(ButtonMainStyle), std::move(PanelTag), BSepatator, BChecked,
                        static_cast<int32_t>(BValue), std::move(BToolTip)});
}

void ZorvaXPToolBar::ChangeButton(int32_t Index, std::string lpStrCaption, THAlign HCAlign, int32_t Header_Width,
                                  host::PictureRef PanelPic, THAlign PictureAlign, bool PanelVisible, bool PanelEnabled,
                                  TStyleDType PanelStyle, std::string PanelTag, TMainStyleDType ButtonMainStyle,
                                  bool BSepatator, bool BChecked, TButtonValue BValue, std::string BToolTip) {
  changeButton(Index, StripButton{std::move(lpStrCaption), static_cast<int32_t>(HCAlign), Header_Width,
                                  std::move(PanelPic), static_cast<int32_t>(PictureAlign), PanelVisible, PanelEnabled,
                                  static_cast<int32_t>(PanelStyle), static_cast<int32_t>(ButtonMainStyle),
                                  std::move(PanelTag), BSepatator, BChecked, static_cast<int32_t>(BValue),
                                  std::move(BToolTip)});
}

// ---- Painting -------------------------------------------------------------------------------------

void ZorvaXPToolBar::paintBackground(HDC dc, int W, int H) {
  try {
    switch (m_GradientMode) {
      case THGradientMode::XP_Gradient:
        GradientFillVertical(dc, W, H - 2, m_GradientColor1, m_GradientColor2);
        break;
      case THGradientMode::Quorin:
        GradientFillHalf(dc, W, H / 2 + 1, m_GradientColor1, 0xFFFFFF, 130, false, true);
        GradientFillHalf(dc, W, H / 2 + 1, 0xFFFFFF, m_GradientColor1, 90, false, false);
        break;
      default:
        GradientFillPanel(dc, 0, 0, W + 1, H - 2, m_GradientColor2, m_GradientColor1);
        break;
    }
  } catch (const HostError&) {
    // Drawing failures stay silent (a panel lower than 3 pixels).
  }
}

void ZorvaXPToolBar::paintSeparators(HDC dc, int H) {
  for (size_t i = 0; i < buttons_.size(); ++i)
    if (buttons_[i].Visible && buttons_[i].ButtonSeparator) etch(dc, rects_[i].Right, H);
}

void ZorvaXPToolBar::paintGrippers(HDC dc, int W, int H) {
  if (m_ShowGripperLeft) {
    const int y0 = nearest(H / 2.0 - 7);
    for (int k = 0; k < 4; ++k) gripDot(dc, 7, y0 + 4 * k);
  }
  if (m_ShowGripperRight) {
    const int y0 = nearest(H / 2.0 - 13) + 14;
    for (int row = 0; row < 3; ++row)
      for (int k = 0; k <= row; ++k) gripDot(dc, W - 7 - 4 * k, y0 + 4 * row);
  }
}

void ZorvaXPToolBar::paintFace(HDC dc, size_t i, bool pressed) {
  const ButtonRect& r = rects_[i];
  const int H = ScaleHeight();
  const int width = r.Right - r.Left + 1;
  if (m_GradientMode == THGradientMode::XP_Gradient) {
    if (pressed)
      GradientFillVerticalAt(dc, r.Left, 3, width, H - 6, m_MouseDownColor2, m_MouseDownColor1);
    else
      GradientFillVerticalAt(dc, r.Left, 3, width, H - 6, m_HoverColor2, m_HoverColor1);
  } else {
    if (pressed)
      GradientFillGlass(dc, r.Left, 3, width, H - 6, m_MouseDownColor1, m_MouseDownColor2, -1);
    else
      GradientFillGlass(dc, r.Left, 3, width, H - 6, m_HoverColor2, m_HoverColor1, -1);
  }
  foundation::drawOutline(dc, translateColor(m_BorderColor), r.Left, 3, r.Right + 1, H - 3);
}

// ---- Tool tip -------------------------------------------------------------------------------------

void ZorvaXPToolBar::showToolTip(size_t i) {
  const std::string& text = buttons_[i].ToolTip;
  if (text == toolTipText_ || !PicComplete.exists()) return;
  toolTipText_ = text;
  PicComplete.setFont(Font());
  const HDC dc = PicComplete.hDC();
  SIZE s{};
  GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &s);
  const int w = s.cx + 8, h = s.cy + 6;
  POINT at{rects_[i].Left, rects_[i].Bottom + 4};
  ClientToScreen(hWnd(), &at);
  SetWindowPos(PicComplete.hWnd(), HWND_TOPMOST, at.x, at.y, w, h, SWP_NOACTIVATE);
  GradientFillGlass(dc, 0, 0, w, h, m_ToolTipColor2, m_ToolTipColor1, -1);
  PicComplete.setForeColor(m_ForeColorToolTip);
  PicComplete.setVisible(true);
  RECT rc{0, 0, w, h};
  DrawText(dc, text, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS | DT_NOPREFIX);
}

void ZorvaXPToolBar::hideToolTip() {
  if (PicComplete.exists() && PicComplete.Visible()) PicComplete.setVisible(false);
  toolTipText_.clear();
}

// ---- Lifecycle ------------------------------------------------------------------------------------

void ZorvaXPToolBar::UserControl_Initialize() {
  // The tool tip is a top-level pop-up owned by the bar's form, so it can show below the bar.
  if (PicComplete.createPopup(GetAncestor(hWnd(), GA_ROOT), Rect{0, 0, 1, 1})) {
    PicComplete.setTakesFocusOnClick(false);
    PicComplete.setEnabled(false);
  }
}

void ZorvaXPToolBar::UserControl_Terminate() {
  ButtonStrip::UserControl_Terminate();
  PicComplete.destroy();
}

void ZorvaXPToolBar::UserControl_InitProperties() {
  UserControl.setFont(Ambient().Font);
  setButtons({newButton("ShowGriperLeft", 15, false), newButton("Button", 50, true)});
  if (host::Extender* e = extender(); e && e->hasMiscStatus(host::OLEMISC_ALIGNABLE)) e->setAlign(host::Align::vbAlignTop);
  setHeightTwips(kNewHeightTwips);
  RedrawMe(true);
}

void ZorvaXPToolBar::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  setGradientColor1(PropBag.read<OLE_COLOR>("GradientColor1", 16759942));
  setGradientColor2(PropBag.read<OLE_COLOR>("GradientColor2", 16777215));
  setGradientMode(PropBag.read<THGradientMode>("GradientMode", THGradientMode::Vista_Gradient));
  setBorderColor(PropBag.read<OLE_COLOR>("BorderColor", 10841658));
  const int32_t count = PropBag.read<int32_t>("HeadersCount", 2);
  setHoverColor1(PropBag.read<OLE_COLOR>("HoverColor1", 16777215));
  setHoverColor2(PropBag.read<OLE_COLOR>("HoverColor2", 16496147));
  setMouseDownColor1(PropBag.read<OLE_COLOR>("MouseDownColor1", 16777215));
  setMouseDownColor2(PropBag.read<OLE_COLOR>("MouseDownColor2", 16496147));
  setForeColor(PropBag.read<OLE_COLOR>("ForeColor", 0));
  setForeColorHover(PropBag.read<OLE_COLOR>("ForeColorHover", 16711680));
  setForeColorDisabled(PropBag.read<OLE_COLOR>("ForeColorDisabled", 16777215));
  UserControl.setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
  setShowGripperLeft(PropBag.read<bool>("ShowGripperLeft", true));
  setShowGripperRight(PropBag.read<bool>("ShowGripperRight", false));
  setHoverColor(PropBag.read<bool>("HoverColor", true));
  setMouseDownColor(PropBag.read<bool>("MouseDownColor", true));
  setOnPanelWidthChanging(PropBag.read<bool>("OnPanelWidthChanging", false));
  UserControl.setMousePointer(PropBag.read<int16_t>("MousePointer", 0));
  UserControl.setMouseIcon(PropBag.read<host::PictureRef>("MouseIcon", host::PictureRef()));
  setFormatDate(PropBag.read<std::string>("FormatDate", "dd-mm-yyyy"));
  setFormatTime(PropBag.read<std::string>("FormatTime", "hh:mm:ss"));
  setCaptionAlingment(PropBag.read<TCaptionAlignment>("CaptionAlingment", TCaptionAlignment::Custom));
  setForeColorToolTip(PropBag.read<OLE_COLOR>("ForeColorToolTip", kForeColorToolTip));
  setToolTipColor1(PropBag.read<OLE_COLOR>("ToolTipColor1", kToolTipColor1));
  setToolTipColor2(PropBag.read<OLE_COLOR>("ToolTipColor2", kToolTipColor2));
  readButtons(PropBag, count);
  restingChanged();
}

void ZorvaXPToolBar::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("GradientColor1", m_GradientColor1, OLE_COLOR{16759942});
  PropBag.WriteProperty("GradientColor2", m_GradientColor2, OLE_COLOR{16777215});
  PropBag.WriteProperty("GradientMode", m_GradientMode, THGradientMode::Vista_Gradient);
  PropBag.WriteProperty("BorderColor", m_BorderColor, OLE_COLOR{10841658});
  PropBag.WriteProperty("HeadersCount", HeadersCount(), int32_t{2});
  PropBag.WriteProperty("HoverColor1", m_HoverColor1, OLE_COLOR{16777215});
  PropBag.WriteProperty("HoverColor2", m_HoverColor2, OLE_COLOR{16496147});
  PropBag.WriteProperty("MouseDownColor1", m_MouseDownColor1, OLE_COLOR{16777215});
  PropBag.WriteProperty("MouseDownColor2", m_MouseDownColor2, OLE_COLOR{16496147});
  PropBag.WriteProperty("ForeColor", m_ForeColor, OLE_COLOR{0});
  PropBag.WriteProperty("ForeColorHover", m_ForeColorHover, OLE_COLOR{16711680});
  PropBag.WriteProperty("ForeColorDisabled", m_ForeColorDisabled, OLE_COLOR{16777215});
  PropBag.WriteProperty("Font", Font());
  PropBag.WriteProperty("ShowGripperLeft", m_ShowGripperLeft, true);
  PropBag.WriteProperty("ShowGripperRight", m_ShowGripperRight, false);
  PropBag.WriteProperty("HoverColor", m_HoverColor, true);
  PropBag.WriteProperty("MouseDownColor", m_MouseDownColor, true);
  PropBag.WriteProperty("OnPanelWidthChanging", m_OnPanelWidthChanging, false);
  PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
  PropBag.WriteProperty("MouseIcon", MouseIcon());
  PropBag.WriteProperty("FormatDate", m_FormatDate, std::string("dd-mm-yyyy"));
  PropBag.WriteProperty("FormatTime", m_FormatTime, std::string("hh:mm:ss"));
  PropBag.WriteProperty("CaptionAlingment", m_CaptionAlingment, TCaptionAlignment::Custom);
  PropBag.WriteProperty("ForeColorToolTip", m_ForeColorToolTip, kForeColorToolTip);
  PropBag.WriteProperty("ToolTipColor1", m_ToolTipColor1, kToolTipColor1);
  PropBag.WriteProperty("ToolTipColor2", m_ToolTipColor2, kToolTipColor2);
  writeButtons(PropBag);
}

// ---- Class --------------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPToolBar::memberTable() const {
  using B = ZorvaXPToolBar;
  using host::Variant;
  // The declared defaults of AddButton's and ChangeButton's optional arguments.
  const std::vector<Variant> defaults{Variant(int32_t{0}),  Variant(int32_t{100}), Variant(host::PictureRef()),
                                      Variant(int32_t{0}),  Variant(true),         Variant(true),
                                      Variant(int32_t{0}),  Variant(std::string()), Variant(int32_t{0}),
                                      Variant(false),       Variant(false),        Variant(int32_t{0}),
                                      Variant(std::string())};
  static const host::MemberTable table = host::ClassMembers<B>("ZorvaXPToolBar")
      .property("GradientColor1", &B::GradientColor1, &B::setGradientColor1)
      .property("GradientColor2", &B::GradientColor2, &B::setGradientColor2)
      .property("GradientMode", &B::GradientMode, &B::setGradientMode)
      .property("BorderColor", &B::BorderColor, &B::setBorderColor)
      .readOnlyProperty("HeadersCount", &B::HeadersCount)
      .property("HoverColor1", &B::HoverColor1, &B::setHoverColor1)
      .property("HoverColor2", &B::HoverColor2, &B::setHoverColor2)
      .property("MouseDownColor1", &B::MouseDownColor1, &B::setMouseDownColor1)
      .property("MouseDownColor2", &B::MouseDownColor2, &B::setMouseDownColor2)
      .property("ForeColor", &B::ForeColor, &B::setForeColor)
      .property("ForeColorHover", &B::ForeColorHover, &B::setForeColorHover)
      .property("ForeColorDisabled", &B::ForeColorDisabled, &B::setForeColorDisabled)
      .property("Font", &B::Font, &B::setFont)
      .property("ShowGripperLeft", &B::ShowGripperLeft, &B::setShowGripperLeft)
      .property("ShowGripperRight", &B::ShowGripperRight, &B::setShowGripperRight)
      .property("HoverColor", &B::HoverColor, &B::setHoverColor)
      .property("MouseDownColor", &B::MouseDownColor, &B::setMouseDownColor)
      .property("OnPanelWidthChanging", &B::OnPanelWidthChanging, &B::setOnPanelWidthChanging)
      .property("MousePointer", &B::MousePointer, &B::setMousePointer)
      .property("MouseIcon", &B::MouseIcon, &B::setMouseIcon)
      .property("FormatDate", &B::FormatDate, &B::setFormatDate)
      .property("FormatTime", &B::FormatTime, &B::setFormatTime)
      .property("CaptionAlingment", &B::CaptionAlingment, &B::setCaptionAlingment)
      .property("ForeColorToolTip", &B::ForeColorToolTip, &B::setForeColorToolTip)
      .property("ToolTipColor1", &B::ToolTipColor1, &B::setToolTipColor1)
      .property("ToolTipColor2", &B::ToolTipColor2, &B::setToolTipColor2)
      .indexedProperty("HeaderCaption", &B::HeaderCaption, &B::setHeaderCaption).params({"Index"})
      .indexedProperty("HeaderAlignment", &B::HeaderAlignment, &B::setHeaderAlignment).params({"Index"})
      .indexedProperty("HeaderWidth", &B::HeaderWidth, &B::setHeaderWidth).params({"Index"})
      .indexedProperty("PanelIcon", &B::PanelIcon, &B::setPanelIcon).params({"Index"})
      .indexedProperty("PicAlignment", &B::PicAlignment, &B::setPicAlignment).params({"Index"})
      .indexedProperty("Visible", &B::Visible, &B::setVisible).params({"Index"})
      .indexedProperty("Enabled", &B::Enabled, &B::setEnabled).params({"Index"})
      .indexedProperty("Style", &B::Style, &B::setStyle).params({"Index"})
      .indexedProperty("MainStyle", &B::MainStyle, &B::setMainStyle).params({"Index"})
      .indexedProperty("Tag", &B::Tag, &B::setTag).params({"Index"})
      .indexedProperty("ButtonSeparator", &B::ButtonSeparator, &B::setButtonSeparator).params({"Index"})
      .indexedProperty("ButtonChecked", &B::ButtonChecked, &B::setButtonChecked).params({"Index"})
      .indexedProperty("ButtonValue", &B::ButtonValue, &B::setButtonValue).params({"Index"})
      .indexedProperty("ToolTip", &B::ToolTip, &B::setToolTip).params({"Index"})
      .methodWithDefaults("AddButton", &B::AddButton, defaults).params({"lpStrCaption", "HCAlign", "Header_Width", "PanelPic", "PictureAlign", "PanelVisible", "PanelEnabled", "PanelStyle", "PanelTag", "ButtonMainStyle", "BSepatator", "BChecked", "BValue", "BToolTip"})
      .methodWithDefaults("ChangeButton", &B::ChangeButton, defaults).params({"Index", "lpStrCaption", "HCAlign", "Header_Width", "PanelPic", "PictureAlign", "PanelVisible", "PanelEnabled", "PanelStyle", "PanelTag", "ButtonMainStyle", "BSepatator", "BChecked", "BValue", "BToolTip"})
      .method("RemoveButton", &B::RemoveButton).params({"Index"})
      .method("ClearAll", &B::ClearAll)
      .methodWithDefaults("RedrawMe", &B::RedrawMe, {Variant(false)}).params({"blnGradient"})
      .about(&B::About)
      .event("Click", &B::Click, {"BtnIndex"})
      .event("HeaderSizing", &B::HeaderSizing, {"BtnIndex", "X", "Y"})
      .event("PopUpMainMenu", &B::PopUpMainMenu, {"BtnIndex", "Text", "X", "Y"})
      .event("MouseDown", &B::MouseDown)
      .event("DblClick", &B::DblClick)
      .event("KeyPress", &B::KeyPress, {"KeyAscii"})
      .event("Timer", &B::Timer)
      .event("MouseOverTimer", &B::MouseOverTimer)
      .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(THGradientMode) {
  static const host::EnumType t{"THGradientMode", {{"Vista Gradient", 0}, {"XP Gradient", 1}, {"Quorin", 2}}};
  return t;
}

const host::EnumType& describeEnum(THAlign) {
  static const host::EnumType t{"THAlign", {{"Left", 0}, {"Center", 1}, {"Right", 2}}};
  return t;
}

const host::EnumType& describeEnum(TStyleDType) {
  static const host::EnumType t{"TStyleDType", {{"Normal Text", 0}, {"Caps", 1}, {"Num", 2}, {"Ins", 3}, {"Scrl", 4}, {"CurrentTime", 5}, {"CurentDate", 6}}};
  return t;
}

const host::EnumType& describeEnum(TMainStyleDType) {
  static const host::EnumType t{"TMainStyleDType", {{"Normal", 0}, {"DropDown", 1}}};
  return t;
}

const host::EnumType& describeEnum(TButtonValue) {
  static const host::EnumType t{"TButtonValue", {{"UnPressed", 0}, {"Pressed", 1}}};
  return t;
}

const host::EnumType& describeEnum(TCaptionAlignment) {
  static const host::EnumType t{"TCaptionAlignment", {{"Custom", 0}, {"Bottom", 1}}};
  return t;
}

}  // namespace zxp::bars
