#include "bars/ZorvaXPStatusBar.h"

#include "foundation/PenLines.h"
#include "foundation/modGradient.h"
#include "platform/base/HostError.h"
#include "platform/gfx/SysColors.h"
#include "platform/host/Extender.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/ui/User.h"

namespace zxp::bars {

namespace {
ButtonStrip::Scheme statusBarScheme() {
  StripButton d;  // the read defaults of a panel's keys
  d.HeaderCaption = "ZorvaXpStatusBar";
  d.HeaderAlignment = 1;
  d.HeaderWidth = 100;
  d.PicAlignment = 0;
  return ButtonStrip::Scheme{8, false, false, 8, d};
}
}  // namespace

ZorvaXPStatusBar::ZorvaXPStatusBar() : ButtonStrip(statusBarScheme()) {
  m_MouseDownColor1 = kMouseDownColor1;
  m_MouseDownColor2 = kMouseDownColor2;
  m_HoverColor = false;
  m_MouseDownColor = false;
}

StripButton ZorvaXPStatusBar::panel(std::string caption, int32_t align, int32_t width, host::PictureRef pic,
                                    int32_t picAlign, bool visible, bool enabled, int32_t style, std::string tag) {
  StripButton b;
  b.HeaderCaption = std::move(caption);
  b.HeaderAlignment = align;
  b.HeaderWidth = width;
  b.PanelIcon = std::move(pic);
  b.PicAlignment = picAlign;
  b.Visible = visible;
  b.Enabled = enabled;
  b.Style = style;
  b.Tag = std::move(tag);
  return b;
}

void ZorvaXPStatusBar::AddPanel(std::string lpStrCaption, SHAlign HCAlign, int32_t Header_Width, host::PictureRef PanelPic,
                                SHAlign PictureAlign, bool PanelVisible, bool PanelEnabled, StyleDType PanelStyle,
                                std::string PanelTag) {
  addButton(panel(std::move(lpStrCaption), static_cast<int32_t>(HCAlign), Header_Width, std::move(PanelPic),
                  static_cast<int32_t>(PictureAlign), PanelVisible, PanelEnabled, static_cast<int32_t>(PanelStyle),
                  std::move(PanelTag)));
}

void ZorvaXPStatusBar::ChangePanel(int32_t Index, std::string lpStrCaption, SHAlign HCAlign, int32_t Header_Width,
                                   host::PictureRef PanelPic, SHAlign PictureAlign, bool PanelVisible, bool PanelEnabled,
                                   StyleDType PanelStyle, std::string PanelTag) {
  changeButton(Index, panel(std::move(lpStrCaption), static_cast<int32_t>(HCAlign), Header_Width, std::move(PanelPic),
                            static_cast<int32_t>(PictureAlign), PanelVisible, PanelEnabled,
                            static_cast<int32_t>(PanelStyle), std::move(PanelTag)));
}

// ---- Painting -------------------------------------------------------------------------------------

void ZorvaXPStatusBar::paintBackground(HDC dc, int W, int H) {
  try {
    if (m_GradientMode == SHGradientMode::XP_Gradient)
      GradientFillVertical(dc, W, H - 2, m_GradientColor1, m_GradientColor2);
    else
      GradientFillPanel(dc, 0, 0, W + 1, H - 2, m_GradientColor2, m_GradientColor1);
  } catch (const HostError&) {
    // Drawing failures stay silent (a panel lower than 3 pixels).
  }
}

void ZorvaXPStatusBar::paintSeparators(HDC dc, int H) {
  if (!m_ShowSeperators) return;
  for (size_t i = 0; i < buttons_.size(); ++i)
    if (buttons_[i].Visible) etch(dc, rects_[i].Right, H);
}

void ZorvaXPStatusBar::paintGrippers(HDC dc, int W, int H) {
  constexpr COLORREF dark = 10906949, white = 0xFFFFFF;
  for (int row = 0; row < 3; ++row) {
    for (int k = 0; k <= row; ++k) {
      const int x = W - 5 - 4 * k, y = H - 13 + 4 * row;
      SetPixelV(dc, x, y, dark);
      SetPixelV(dc, x + 1, y + 1, white);
    }
  }
}

void ZorvaXPStatusBar::paintFace(HDC dc, size_t i, bool pressed) {
  const ButtonRect& r = rects_[i];
  const int H = ScaleHeight();
  const OLE_COLOR c1 = pressed ? m_MouseDownColor1 : m_HoverColor1;
  const OLE_COLOR c2 = pressed ? m_MouseDownColor2 : m_HoverColor2;
  try {
    if (m_GradientMode == SHGradientMode::XP_Gradient)
      GradientFillVerticalAt(dc, r.Left - 1, 0, r.Right - r.Left + 4, H + 3, c2, c1);
    else
      GradientFillPanel(dc, r.Left - 1, 0, r.Right - r.Left + (pressed ? 4 : 5), H + 3, c1, c2);
  } catch (const HostError&) {
  }
  foundation::drawOutline(dc, translateColor(m_BorderColor), r.Left, 0, r.Right + 4, r.Bottom);
}

// ---- Lifecycle ------------------------------------------------------------------------------------

void ZorvaXPStatusBar::UserControl_InitProperties() {
  UserControl.setFont(Ambient().Font);
  setButtons({panel("Ready", 1, 100, {}, 0, true, true, 0, {}), panel("ZorvaXpStatusBar", 1, 100, {}, 0, true, true, 0, {})});
  if (host::Extender* e = extender(); e && e->hasMiscStatus(host::OLEMISC_ALIGNABLE))
    e->setAlign(host::Align::vbAlignBottom);
  setHeightTwips(kNewHeightTwips);
  RedrawMe(true);
}

void ZorvaXPStatusBar::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  setGradientColor1(PropBag.read<OLE_COLOR>("GradientColor1", 16759942));
  setGradientColor2(PropBag.read<OLE_COLOR>("GradientColor2", 16777215));
  setGradientMode(PropBag.read<SHGradientMode>("GradientMode", SHGradientMode::Vista_Gradient));
  setBorderColor(PropBag.read<OLE_COLOR>("BorderColor", 10841658));
  const int32_t count = PropBag.read<int32_t>("HeadersCount", 2);
  setHoverColor1(PropBag.read<OLE_COLOR>("HoverColor1", 16777215));
  setHoverColor2(PropBag.read<OLE_COLOR>("HoverColor2", 16496147));
  setMouseDownColor1(PropBag.read<OLE_COLOR>("MouseDownColor1", kMouseDownColor1));
  setMouseDownColor2(PropBag.read<OLE_COLOR>("MouseDownColor2", kMouseDownColor2));
  setForeColor(PropBag.read<OLE_COLOR>("ForeColor", 0));
  setForeColorHover(PropBag.read<OLE_COLOR>("ForeColorHover", 16711680));
  setForeColorDisabled(PropBag.read<OLE_COLOR>("ForeColorDisabled", 16777215));
  UserControl.setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
  UserControl.setMousePointer(PropBag.read<int16_t>("MousePointer", 0));
  UserControl.setMouseIcon(PropBag.read<host::PictureRef>("MouseIcon", host::PictureRef()));
  setFormatDate(PropBag.read<std::string>("FormatDate", "dd-mm-yyyy"));
  setFormatTime(PropBag.read<std::string>("FormatTime", "hh:mm:ss"));
  setShowGripper(PropBag.read<bool>("ShowGripper", true));
  setHoverColor(PropBag.read<bool>("HoverColor", false));
  setMouseDownColor(PropBag.read<bool>("MouseDownColor", false));
  setOnPanelWidthChanging(PropBag.read<bool>("OnPanelWidthChanging", false));
  setShowSeperators(PropBag.read<bool>("ShowSeperators", true));
  readButtons(PropBag, count);
  restingChanged();
}

void ZorvaXPStatusBar::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("GradientColor1", m_GradientColor1, OLE_COLOR{16759942});
  PropBag.WriteProperty("GradientColor2", m_GradientColor2, OLE_COLOR{16777215});
  PropBag.WriteProperty("GradientMode", m_GradientMode, SHGradientMode::Vista_Gradient);
  PropBag.WriteProperty("BorderColor", m_BorderColor, OLE_COLOR{10841658});
  PropBag.WriteProperty("HeadersCount", HeadersCount(), int32_t{2});
  PropBag.WriteProperty("HoverColor1", m_HoverColor1, OLE_COLOR{16777215});
  PropBag.WriteProperty("HoverColor2", m_HoverColor2, OLE_COLOR{16496147});
  PropBag.WriteProperty("MouseDownColor1", m_MouseDownColor1, kMouseDownColor1);
  PropBag.WriteProperty("MouseDownColor2", m_MouseDownColor2, kMouseDownColor2);
  PropBag.WriteProperty("ForeColor", m_ForeColor, OLE_COLOR{0});
  PropBag.WriteProperty("ForeColorHover", m_ForeColorHover, OLE_COLOR{16711680});
  PropBag.WriteProperty("ForeColorDisabled", m_ForeColorDisabled, OLE_COLOR{16777215});
  PropBag.WriteProperty("Font", Font());
  PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
  PropBag.WriteProperty("MouseIcon", MouseIcon());
  PropBag.WriteProperty("FormatDate", m_FormatDate, std::string("dd-mm-yyyy"));
  PropBag.WriteProperty("FormatTime", m_FormatTime, std::string("hh:mm:ss"));
  PropBag.WriteProperty("ShowGripper", m_ShowGripper, true);
  PropBag.WriteProperty("HoverColor", m_HoverColor, false);
  PropBag.WriteProperty("MouseDownColor", m_MouseDownColor, false);
  PropBag.WriteProperty("OnPanelWidthChanging", m_OnPanelWidthChanging, false);
  PropBag.WriteProperty("ShowSeperators", m_ShowSeperators, true);
  writeButtons(PropBag);
}

// ---- Class --------------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPStatusBar::memberTable() const {
  using B = ZorvaXPStatusBar;
  using host::Variant;
  // The declared defaults of AddPanel's and ChangePanel's optional arguments.
  const std::vector<Variant> defaults{Variant(int32_t{0}), Variant(int32_t{100}), Variant(host::PictureRef()),
                                      Variant(int32_t{0}), Variant(true),         Variant(true),
                                      Variant(int32_t{0}), Variant(std::string())};
  static const host::MemberTable table = host::ClassMembers<B>("ZorvaXPStatusBar")
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
      .property("MousePointer", &B::MousePointer, &B::setMousePointer)
      .property("MouseIcon", &B::MouseIcon, &B::setMouseIcon)
      .property("FormatDate", &B::FormatDate, &B::setFormatDate)
      .property("FormatTime", &B::FormatTime, &B::setFormatTime)
      .property("ShowGripper", &B::ShowGripper, &B::setShowGripper)
      .property("HoverColor", &B::HoverColor, &B::setHoverColor)
      .property("MouseDownColor", &B::MouseDownColor, &B::setMouseDownColor)
      .property("OnPanelWidthChanging", &B::OnPanelWidthChanging, &B::setOnPanelWidthChanging)
      .property("ShowSeperators", &B::ShowSeperators, &B::setShowSeperators)
      .indexedProperty("HeaderCaption", &B::HeaderCaption, &B::setHeaderCaption).params({"Index"})
      .indexedProperty("HeaderAlignment", &B::HeaderAlignment, &B::setHeaderAlignment).params({"Index"})
      .indexedProperty("HeaderWidth", &B::HeaderWidth, &B::setHeaderWidth).params({"Index"})
      .indexedProperty("PanelIcon", &B::PanelIcon, &B::setPanelIcon).params({"Index"})
      .indexedProperty("PicAlignment", &B::PicAlignment, &B::setPicAlignment).params({"Index"})
      .indexedProperty("Visible", &B::Visible, &B::setVisible).params({"Index"})
      .indexedProperty("Enabled", &B::Enabled, &B::setEnabled).params({"Index"})
      .indexedProperty("Style", &B::Style, &B::setStyle).params({"Index"})
      .indexedProperty("Tag", &B::Tag, &B::setTag).params({"Index"})
      .methodWithDefaults("AddPanel", &B::AddPanel, defaults).params({"lpStrCaption", "HCAlign", "Header_Width", "PanelPic", "PictureAlign", "PanelVisible", "PanelEnabled", "PanelStyle", "PanelTag"})
      .methodWithDefaults("ChangePanel", &B::ChangePanel, defaults).params({"Index", "lpStrCaption", "HCAlign", "Header_Width", "PanelPic", "PictureAlign", "PanelVisible", "PanelEnabled", "PanelStyle", "PanelTag"})
      .method("RemoveColumn", &B::RemoveColumn).params({"Index"})
      .method("ClearAll", &B::ClearAll)
      .methodWithDefaults("RedrawMe", &B::RedrawMe, {Variant(false)}).params({"blnGradient"})
      .about(&B::About)
      .event("Click", &B::Click, {"BtnIndex"})
      .event("HeaderSizing", &B::HeaderSizing, {"BtnIndex", "X", "Y"})
      .event("MouseDown", &B::MouseDown)
      .event("DblClick", &B::DblClick)
      .event("KeyPress", &B::KeyPress, {"KeyAscii"})
      .event("Timer", &B::Timer)
      .event("MouseOverTimer", &B::MouseOverTimer)
      .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(SHGradientMode) {
  static const host::EnumType t{"SHGradientMode", {{"Vista Gradient", 0}, {"XP Gradient", 1}}};
  return t;
}

const host::EnumType& describeEnum(SHAlign) {
  static const host::EnumType t{"SHAlign", {{"Left", 0}, {"Center", 1}, {"Right", 2}}};
  return t;
}

const host::EnumType& describeEnum(StyleDType) {
  static const host::EnumType t{"StyleDType", {{"Normal Text", 0}, {"Caps", 1}, {"Num", 2}, {"Ins", 3}, {"Scrl", 4}, {"CurrentTime", 5}, {"CurentDate", 6}}};
  return t;
}

}  // namespace zxp::bars
