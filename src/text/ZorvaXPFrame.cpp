#include "text/ZorvaXPFrame.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string_view>

#include "foundation/DrawnRange.h"
#include "foundation/PenLines.h"
#include "foundation/modGeneral.h"
#include "foundation/modGradient.h"
#include "foundation/modPicEffects.h"
#include "foundation/modRegion.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/Form.h"
#include "platform/host/MemberTable.h"
#include "platform/host/PropertyBag.h"
#include "platform/ui/User.h"

namespace zxp::text {

using foundation::drawLines;
using foundation::drawOutline;

namespace {

constexpr int32_t kTwips = 15;  // per pixel
constexpr COLORREF kWhite = RGB(255, 255, 255);

int32_t half(int32_t n) { return nearest(n / 2.0); }

// The chevrons, 9 x 11: '#' the arrow, '.' the see-through key colour. Two arrows pointing up
// fold the frame (it is expanded); pointing down unfold it.
constexpr std::array<std::string_view, 11> kChevronUp = {
    ".........", ".........", "....#....", "...###...", "..##.##..", ".##...##.",
    "....#....", "...###...", "..##.##..", ".##...##.", "........."};
constexpr COLORREF kChevronInk = RGB(33, 64, 132);

// The close cross, 13 x 13, in three states: face, frame and cross colours.
struct CrossColours {
  COLORREF face, frame, cross;
};
constexpr CrossColours kCrossNormal{RGB(244, 246, 252), RGB(122, 138, 170), RGB(64, 72, 104)};
constexpr CrossColours kCrossHover{RGB(255, 226, 168), RGB(226, 142, 40), RGB(96, 48, 8)};
constexpr CrossColours kCrossPressed{RGB(230, 120, 40), RGB(170, 82, 16), RGB(255, 255, 255)};

}  // namespace

ZorvaXPFrame::ZorvaXPFrame() : ControlBase("tmrHover") {}

void ZorvaXPFrame::UserControl_Initialize() {
  picHover.create(hWnd(), Rect{0, 0, 1, 1});
  picDropDown.create(hWnd(), Rect{0, 0, 9, 11});
  picHover.setTakesFocusOnClick(false);
  picDropDown.setTakesFocusOnClick(false);
  partListeners_[kDropDownPart].listen(picDropDown, this, kDropDownPart);
  partListeners_[kHoverPart].listen(picHover, this, kHoverPart);
}

// Input on picDropDown, and on picHover, which is part of the drop-down button.
bool ZorvaXPFrame::headerButtonPart(int part) const { return part == kDropDownPart || m_DropDownButton; }
void ZorvaXPFrame::partMouseMove(int part, int16_t& b, int16_t&, float&, float&) {
  if (b == 0 && headerButtonPart(part)) ButtonMove();
}
void ZorvaXPFrame::partMouseDown(int part, int16_t&, int16_t&, float&, float&) {
  if (headerButtonPart(part)) ButtonDown();
}
void ZorvaXPFrame::partDblClick(int part) {
  if (headerButtonPart(part)) ButtonDown();
}
void ZorvaXPFrame::partMouseUp(int part, int16_t& b, int16_t&, float&, float&) {
  if (headerButtonPart(part)) ButtonUp(b);
}

void ZorvaXPFrame::UserControl_Terminate() {
  picDropDown.destroy();
  picHover.destroy();
}

// ---- Properties -------------------------------------------------------------------------------

// Every drawing property: store, redraw, notify.
#define ZXP_FRAME_SETTER(Name, Type) \
  void ZorvaXPFrame::set##Name(Type v) { letProperty(m_##Name, v, #Name, foundation::Redraw::Resting); }
ZXP_FRAME_SETTER(Appearance, vFrameAppearance)
ZXP_FRAME_SETTER(BackColor, OLE_COLOR)
ZXP_FRAME_SETTER(BorderColor, OLE_COLOR)
ZXP_FRAME_SETTER(HeaderHeight, int32_t)
ZXP_FRAME_SETTER(BackGradient, bool)
ZXP_FRAME_SETTER(GradientColor1, OLE_COLOR)
ZXP_FRAME_SETTER(GradientColor2, OLE_COLOR)
ZXP_FRAME_SETTER(HeaderGradient1, OLE_COLOR)
ZXP_FRAME_SETTER(HeaderGradient2, OLE_COLOR)
ZXP_FRAME_SETTER(Icon, host::PictureRef)
ZXP_FRAME_SETTER(IconSize, VFIconSize)
ZXP_FRAME_SETTER(Caption, const std::string&)
ZXP_FRAME_SETTER(CaptionPos, AlignmentCtl2)
ZXP_FRAME_SETTER(ForeColor, OLE_COLOR)
ZXP_FRAME_SETTER(CloseButton, bool)
ZXP_FRAME_SETTER(DropDownButton, bool)
ZXP_FRAME_SETTER(HeaderGradientMode, VHGradientMode)
ZXP_FRAME_SETTER(Picture, host::PictureRef)
ZXP_FRAME_SETTER(TransparencyLevel, int16_t)
ZXP_FRAME_SETTER(DisabledForeColor, OLE_COLOR)
ZXP_FRAME_SETTER(PicturePos, VFPicPos)
#undef ZXP_FRAME_SETTER

double ZorvaXPFrame::twipsPerUnit(bool vertical) const {
  switch (m_ScaleMode) {
    case 1: return 1;
    case 2: return 20;
    case 3: return kTwips;
    case 4: return vertical ? 240 : 120;
    case 5: return 1440;
    case 6: return 1440 / 25.4;
    case 7: return 1440 / 2.54;
    default: return 0;
  }
}

float ZorvaXPFrame::ScaleWidth() const {
  const double t = twipsPerUnit(false);
  return t > 0 ? static_cast<float>(UserControl.ScaleWidth() * kTwips / t) : m_ScaleWidth;
}

float ZorvaXPFrame::ScaleHeight() const {
  const double t = twipsPerUnit(true);
  return t > 0 ? static_cast<float>(UserControl.ScaleHeight() * kTwips / t) : m_ScaleHeight;
}

// Setting a Scale value turns the scale into a user scale that keeps the others as they are.
void ZorvaXPFrame::setScaleWidth(float v) {
  m_ScaleHeight = ScaleHeight();
  m_ScaleWidth = v;
  m_ScaleMode = 0;
  PropertyChanged("ScaleWidth");
}
void ZorvaXPFrame::setScaleHeight(float v) {
  m_ScaleWidth = ScaleWidth();
  m_ScaleHeight = v;
  m_ScaleMode = 0;
  PropertyChanged("ScaleHeight");
}
void ZorvaXPFrame::setScaleLeft(float v) {
  m_ScaleWidth = ScaleWidth();
  m_ScaleHeight = ScaleHeight();
  m_ScaleLeft = v;
  m_ScaleMode = 0;
  PropertyChanged("ScaleLeft");
}
void ZorvaXPFrame::setScaleTop(float v) {
  m_ScaleWidth = ScaleWidth();
  m_ScaleHeight = ScaleHeight();
  m_ScaleTop = v;
  m_ScaleMode = 0;
  PropertyChanged("ScaleTop");
}

void ZorvaXPFrame::setScaleMode(int16_t v) {
  if (v < 0 || v > 7) throw HostError(errInvalidPropertyValue);
  m_ScaleMode = v;
  // A standard mode puts the origin back in the corner.
  if (v != 0) m_ScaleLeft = m_ScaleTop = 0;
  PropertyChanged("ScaleMode");
}

void ZorvaXPFrame::ScaleMe(const host::Variant& X1, const host::Variant& Y1, const host::Variant& X2,
                           const host::Variant& Y2) {
  const bool none = X1.isEmpty() && Y1.isEmpty() && X2.isEmpty() && Y2.isEmpty();
  if (none) {
    setScaleMode(1);
    return;
  }
  if (X1.isEmpty() || Y1.isEmpty() || X2.isEmpty() || Y2.isEmpty())
    throw HostError(errInvalidProcedureCall, "ScaleMe takes all four corners or none");
  const float x1 = X1.toSingle(), y1 = Y1.toSingle(), x2 = X2.toSingle(), y2 = Y2.toSingle();
  m_ScaleLeft = x1;
  m_ScaleTop = y1;
  m_ScaleWidth = x2 - x1;
  m_ScaleHeight = y2 - y1;
  m_ScaleMode = 0;
}

std::vector<host::Extender*> ZorvaXPFrame::Controls() const {
  host::Extender* e = extender();
  if (!e || !e->Parent()) return {};
  return e->Parent()->controlsIn(e);
}

host::Form* ZorvaXPFrame::Parent() const { return extender() ? extender()->Parent() : nullptr; }

// ---- Persistence ------------------------------------------------------------------------------

std::string ZorvaXPFrame::defaultCaption() const {
  static constexpr std::string_view kClass = "ZorvaXPFrame";
  return captionFromDisplayName(Ambient().DisplayName, kClass, kClass.size());
}

void ZorvaXPFrame::UserControl_InitProperties() {
  m_Appearance = vFrameAppearance::Professional;
  m_BackColor = kBackColor;
  m_BorderColor = kBorderColor;
  m_HeaderHeight = kHeaderHeight;
  m_BackGradient = true;
  m_GradientColor1 = kGradientColor1;
  m_GradientColor2 = kGradientColor2;
  m_HeaderGradient1 = kHeaderGradient1;
  m_HeaderGradient2 = kHeaderGradient2;
  m_Icon = host::PictureRef();
  m_IconSize = VFIconSize::Small_16x16;
  m_Caption = defaultCaption();
  m_CaptionPos = AlignmentCtl2::VP_AlignLeft;
  m_ForeColor = kForeColor;
  UserControl.setFont(Ambient().Font);
  m_CloseButton = false;
  m_DropDownButton = false;
  m_HeaderGradientMode = VHGradientMode::Vista_Mode;
  m_Picture = host::PictureRef();
  m_TransparencyLevel = kTransparencyLevel;
  m_DisabledForeColor = kDisabledForeColor;
  m_PicturePos = VFPicPos::VFPicCenter;
  m_ScaleMode = 3;
  RedrawMe();
}

void ZorvaXPFrame::UserControl_ReadProperties(host::PropertyBag& PropBag) {
  UserControl.setMouseIcon(PropBag.read<host::PictureRef>("MouseIcon", host::PictureRef()));
  UserControl.setMousePointer(PropBag.read<int16_t>("MousePointer", int16_t{0}));
  m_PicturePos = PropBag.read<VFPicPos>("PicturePos", VFPicPos::VFPicCenter);
  m_HeaderGradientMode = PropBag.read<VHGradientMode>("HeaderGradientMode", VHGradientMode::Vista_Mode);
  m_CloseButton = PropBag.read<bool>("CloseButton", false);
  m_DropDownButton = PropBag.read<bool>("DropDownButton", false);
  UserControl.setFont(PropBag.read<host::FontRef>("Font", Ambient().Font));
  m_ForeColor = PropBag.read<OLE_COLOR>("ForeColor", kForeColor);
  m_Caption = PropBag.readText("Caption", defaultCaption());
  m_CaptionPos = PropBag.read<AlignmentCtl2>("CaptionPos", AlignmentCtl2::VP_AlignLeft);
  m_Icon = PropBag.read<host::PictureRef>("Icon", host::PictureRef());
  m_IconSize = PropBag.read<VFIconSize>("IconSize", VFIconSize::Small_16x16);
  m_GradientColor1 = PropBag.read<OLE_COLOR>("GradientColor1", kGradientColor1);
  m_GradientColor2 = PropBag.read<OLE_COLOR>("GradientColor2", kGradientColor2);
  m_HeaderGradient1 = PropBag.read<OLE_COLOR>("HeaderGradient1", kHeaderGradient1);
  m_HeaderGradient2 = PropBag.read<OLE_COLOR>("HeaderGradient2", kHeaderGradient2);
  m_BackGradient = PropBag.read<bool>("BackGradient", true);
  m_Appearance = PropBag.read<vFrameAppearance>("Appearance", vFrameAppearance::Professional);
  m_BackColor = PropBag.read<OLE_COLOR>("BackColor", kBackColor);
  m_BorderColor = PropBag.read<OLE_COLOR>("BorderColor", kBorderColor);
  m_HeaderHeight = PropBag.read<int32_t>("HeaderHeight", kHeaderHeight);
  m_TransparencyLevel = PropBag.read<int16_t>("TransparencyLevel", kTransparencyLevel);
  m_Picture = PropBag.read<host::PictureRef>("Picture", host::PictureRef());
  UserControl.setEnabled(PropBag.read<bool>("Enabled", true));
  m_DisabledForeColor = PropBag.read<OLE_COLOR>("DisabledForeColor", kDisabledForeColor);
  m_ScaleHeight = PropBag.read<float>("ScaleHeight", 197.0f);
  m_ScaleLeft = PropBag.read<float>("ScaleLeft", 0.0f);
  m_ScaleTop = PropBag.read<float>("ScaleTop", 0.0f);
  m_ScaleWidth = PropBag.read<float>("ScaleWidth", 290.0f);
  const int16_t mode = PropBag.read<int16_t>("ScaleMode", int16_t{3});
  if (mode < 0 || mode > 7) throw HostError(errInvalidPropertyValue, "ScaleMode must be 0 to 7");
  m_ScaleMode = mode;
  restingChanged();
}

void ZorvaXPFrame::UserControl_WriteProperties(host::PropertyBag& PropBag) {
  PropBag.WriteProperty("MouseIcon", MouseIcon());
  PropBag.WriteProperty("MousePointer", MousePointer(), int16_t{0});
  PropBag.WriteProperty("PicturePos", m_PicturePos, VFPicPos::VFPicCenter);
  PropBag.WriteProperty("HeaderGradientMode", m_HeaderGradientMode, VHGradientMode::Vista_Mode);
  PropBag.WriteProperty("CloseButton", m_CloseButton, false);
  PropBag.WriteProperty("DropDownButton", m_DropDownButton, false);
  PropBag.WriteProperty("Font", Font());
  PropBag.WriteProperty("ForeColor", m_ForeColor, kForeColor);
  PropBag.WriteProperty("Caption", m_Caption, defaultCaption());
  PropBag.WriteProperty("CaptionPos", m_CaptionPos, AlignmentCtl2::VP_AlignLeft);
  PropBag.WriteProperty("Icon", m_Icon);
  PropBag.WriteProperty("IconSize", m_IconSize, VFIconSize::Small_16x16);
  PropBag.WriteProperty("GradientColor1", m_GradientColor1, kGradientColor1);
  PropBag.WriteProperty("GradientColor2", m_GradientColor2, kGradientColor2);
  PropBag.WriteProperty("HeaderGradient1", m_HeaderGradient1, kHeaderGradient1);
  PropBag.WriteProperty("HeaderGradient2", m_HeaderGradient2, kHeaderGradient2);
  PropBag.WriteProperty("BackGradient", m_BackGradient, true);
  PropBag.WriteProperty("Appearance", m_Appearance, vFrameAppearance::Professional);
  PropBag.WriteProperty("BackColor", m_BackColor, kBackColor);
  PropBag.WriteProperty("BorderColor", m_BorderColor, kBorderColor);
  PropBag.WriteProperty("HeaderHeight", m_HeaderHeight, kHeaderHeight);
  PropBag.WriteProperty("TransparencyLevel", m_TransparencyLevel, kTransparencyLevel);
  PropBag.WriteProperty("Picture", m_Picture);
  PropBag.WriteProperty("Enabled", Enabled(), true);
  PropBag.WriteProperty("DisabledForeColor", m_DisabledForeColor, kDisabledForeColor);
  PropBag.WriteProperty("ScaleHeight", ScaleHeight(), 197.0f);
  PropBag.WriteProperty("ScaleLeft", m_ScaleLeft, 0.0f);
  PropBag.WriteProperty("ScaleTop", m_ScaleTop, 0.0f);
  PropBag.WriteProperty("ScaleWidth", ScaleWidth(), 290.0f);
  PropBag.WriteProperty("ScaleMode", m_ScaleMode, int16_t{3});
}

// ---- Drawing ----------------------------------------------------------------------------------

void ZorvaXPFrame::UserControl_Resize() {
  if (m_ExpandedHeight == 0) m_ExpandedHeight = UserControl.ScaleHeight();
  if (UserControl.ScaleHeight() < 22) setHeightTwips(25 * kTwips);
  if (UserControl.ScaleWidth() < 22) setWidthTwips(30 * kTwips);
  RedrawMe();
}

void ZorvaXPFrame::RedrawMe() {
  const HDC dc = UserControl.hDC();
  if (!dc) return;
  ApplyFrameRegion();
  DrawFrameBackground();
  DrawFrameBorder();
  UserControl.setForeColor(Enabled() ? m_ForeColor : m_DisabledForeColor);
  DrawFrameCaption();
  PlaceHeaderButton();
  if (!m_Picture.empty()) DrawBackPicture();
}

// The header button of the Professional look (none in the Standard look).
void ZorvaXPFrame::PlaceHeaderButton() {
  const bool professional = m_Appearance == vFrameAppearance::Professional;
  if (!professional || (!m_CloseButton && !m_DropDownButton)) {
    m_imgHoverVisible = false;
    picHover.setVisible(false);
    picDropDown.setVisible(false);
    return;
  }
  if (m_CloseButton)
    ShowGlyph(kCloseNormal);
  else
    ShowGlyph(m_Collapsed ? kChevronCollapsed : kChevronExpanded);
  const int32_t gw = picDropDown.ScaleWidth(), gh = picDropDown.ScaleHeight();
  const int32_t top = half(drawnHeaderHeight() - gh);
  const int32_t left = m_CaptionPos == AlignmentCtl2::VP_AlignRight ? 8 : UserControl.ScaleWidth() - gw - 8;
  picDropDown.Move(left, top, gw, gh);
  m_imgHover = Rect::fromXYWH(left - 5, top - 3, gw + 10, gh + 6);
  picHover.Move(m_imgHover.left, m_imgHover.top, m_imgHover.width(), m_imgHover.height());
  if (m_DropDownButton) {
    picDropDown.setVisible(true);
    m_imgHoverVisible = true;
    picHover.setVisible(false);
  } else {
    picDropDown.setVisible(true);
    m_imgHoverVisible = false;
    picHover.setVisible(false);
  }
  SetWindowPos(picDropDown.hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ZorvaXPFrame::ShowGlyph(int id) {
  m_Glyph = id;
  const bool chevron = id == kChevronExpanded || id == kChevronCollapsed;
  const int32_t w = chevron ? 9 : 13, h = chevron ? 11 : 13;
  if (picDropDown.ScaleWidth() != w || picDropDown.ScaleHeight() != h) {
    RECT r;
    GetWindowRect(picDropDown.hWnd(), &r);
    POINT at{r.left, r.top};
    ScreenToClient(hWnd(), &at);
    picDropDown.Move(at.x, at.y, w, h);
  }
  const HDC dc = picDropDown.hDC();
  if (!dc) return;
  // The previous glyph's shape would clip the new glyph's painting.
  SetWindowRgn(picDropDown.hWnd(), 0, FALSE);
  if (chevron) {
    for (int32_t y = 0; y < h; ++y) {
      const std::string_view row = kChevronUp[static_cast<size_t>(id == kChevronExpanded ? y : h - 1 - y)];
      for (int32_t x = 0; x < w; ++x) SetPixelV(dc, x, y, row[static_cast<size_t>(x)] == '#' ? kChevronInk : kGlyphKey);
    }
    HRGN shape = RegionWithoutColor(dc, RECT{0, 0, w, h}, kGlyphKey);
    if (shape && !SetWindowRgn(picDropDown.hWnd(), shape, TRUE)) DeleteObject(shape);
    return;
  }
  const CrossColours& c = id == kCloseHover ? kCrossHover : id == kClosePressed ? kCrossPressed : kCrossNormal;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
      // The cross: two diagonals two pixels thick, three pixels in from the frame.
      const bool cross = x >= 3 && x <= 9 && y >= 3 && y <= 9 && (std::abs(x - y) <= 0 || x - y == 1 ||
                                                                   x + y == 12 || x + y == 13);
      SetPixelV(dc, x, y, edge ? c.frame : cross ? c.cross : c.face);
    }
  }
  InvalidateRect(picDropDown.hWnd(), nullptr, FALSE);
}

void ZorvaXPFrame::ApplyFrameRegion() {
  const int32_t w = UserControl.ScaleWidth(), h = UserControl.ScaleHeight();
  HRGN shape = CreateRectRgn(0, 0, w, h);
  if (m_Appearance == vFrameAppearance::Standard) {
    // A 1 x 2 and a 2 x 1 notch at each corner round it.
    const RECT notches[] = {{0, 0, 1, 2},         {0, 0, 2, 1},         {w - 1, 0, w, 2}, {w - 2, 0, w, 1},
                            {0, h - 2, 1, h},     {0, h - 1, 2, h},     {w - 1, h - 2, w, h},
                            {w - 2, h - 1, w, h}};
    for (const RECT& n : notches) {
      GdiObject notch(CreateRectRgn(n.left, n.top, n.right, n.bottom));
      CombineRgn(shape, shape, static_cast<HRGN>(notch.get()), RGN_DIFF);
    }
  }
  if (!SetWindowRgn(hWnd(), shape, TRUE)) DeleteObject(shape);
}

void ZorvaXPFrame::DrawFrameBackground() {
  const HDC dc = UserControl.hDC();
  const int32_t w = UserControl.ScaleWidth(), h = UserControl.ScaleHeight();
  if (m_Appearance == vFrameAppearance::Standard) {
    if (m_BackGradient)
      GradientFillVertical(dc, w, h, m_GradientColor2, m_GradientColor1);
    else
      UserControl.setBackColor(m_BackColor);
    return;
  }
  if (m_BackGradient)
    GradientFillVerticalAt(dc, 0, drawnHeaderHeight() + 2, w, h, m_GradientColor2, m_GradientColor1);
  else
    UserControl.setBackColor(m_BackColor);
  if (m_HeaderGradientMode == VHGradientMode::Vista_Mode) {
    try {
      GradientFillPanel(dc, 0, 0, w, drawnHeaderHeight(), m_HeaderGradient2, m_HeaderGradient1);
    } catch (const HostError&) {
      // A header lower than 3 pixels has no panel; failures inside drawing stay silent.
    }
  } else {
    GradientFillVertical(dc, w, drawnHeaderHeight(), m_HeaderGradient2, m_HeaderGradient1);
  }
}

void ZorvaXPFrame::DrawFrameLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  drawLines(UserControl.hDC(), translateColor(m_BorderColor), {{{x1, y1}, {x2, y2}}});
}

void ZorvaXPFrame::DrawFrameBorder() {
  const HDC dc = UserControl.hDC();
  const int32_t w = UserControl.ScaleWidth(), h = UserControl.ScaleHeight();
  const COLORREF border = translateColor(m_BorderColor);
  if (m_Appearance == vFrameAppearance::Standard) {
    drawLines(dc, border, {{{0, 21}, {0, h - 2}}, {{w - 1, 21}, {w - 1, h - 2}}, {{2, h - 1}, {w - 2, h - 1}}});
    for (const POINT p : {POINT{1, h - 2}, POINT{w - 2, h - 2}, POINT{1, 20}, POINT{w - 2, 20}}) SetPixelV(dc, p.x, p.y, border);
    return;
  }
  const int32_t hh = drawnHeaderHeight();
  drawOutline(dc, border, 0, 0, w, h);
  drawOutline(dc, border, 0, 0, w, hh);
  drawOutline(dc, border, 0, hh + 1, w, h);
  drawOutline(dc, kWhite, 1, hh, w - 1, hh + 1);
}

void ZorvaXPFrame::DrawFrameIcon(HDC dc, const host::PictureRef& icon, int32_t x, int32_t y, int32_t width,
                                 int32_t height) {
  DrawIconEx(dc, x, y, static_cast<HICON>(icon.Handle()), width, height, 0, 0, DI_NORMAL);
  // GreyArea only asks for a non-zero bitmap handle; it reads the area itself.
  if (!Enabled()) GreyArea(dc, static_cast<HBITMAP>(icon.Handle()), x, y, width, height);
}

void ZorvaXPFrame::DrawFrameText(HDC dc, const std::string& text, int32_t left, int32_t top, int32_t right,
                                 int32_t bottom) {
  RECT r{left, top, right, bottom};
  SetBkMode(dc, TRANSPARENT);
  DrawText(dc, text, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_WORD_ELLIPSIS | DT_NOPREFIX);
}

void ZorvaXPFrame::DrawFrameCaption() {
  const HDC dc = UserControl.hDC();
  const int32_t w = UserControl.ScaleWidth();
  SIZE t{};
  GetTextExtentPoint32(dc, m_Caption.data(), static_cast<int>(m_Caption.size()), &t);
  const int32_t tw = t.cx, th = t.cy;
  const bool icon = !m_Icon.empty();
  const int32_t is = drawnIconSize();

  if (m_Appearance == vFrameAppearance::Standard) {
    switch (m_CaptionPos) {
      case AlignmentCtl2::VP_AlignCenter: {
        const int32_t s = icon ? is : 0;
        const int32_t x0 = half(w - s - tw - 2);
        if (icon) DrawFrameIcon(dc, m_Icon, x0, 10, is, is);
        DrawFrameText(dc, m_Caption, x0 + s + 2, 10, x0 + s + 2 + tw, th + 10);
        DrawFrameLine(2, 19, x0 - 1, 19);
        DrawFrameLine(x0 + s + 3 + tw, 19, w - 2, 19);
        break;
      }
      case AlignmentCtl2::VP_AlignRight:
        if (icon) {
          DrawFrameIcon(dc, m_Icon, w - is - 11, 10, is, is);
          DrawFrameText(dc, m_Caption, w - is - tw - 31, 10, w - 11, th + 10);
          DrawFrameLine(2, 19, w - is - tw - 15, 19);
          DrawFrameLine(w - 10, 19, w - 2, 19);
        } else {
          DrawFrameText(dc, m_Caption, w - tw - 13, 10, w - 13, th + 10);
          DrawFrameLine(2, 19, w - tw - 15, 19);
          DrawFrameLine(w - 13, 19, w - 2, 19);
        }
        break;
      default:  // left, and any value outside the enumeration
        if (icon) {
          DrawFrameIcon(dc, m_Icon, 10, 10, is, is);
          DrawFrameText(dc, m_Caption, is + 12, 10, tw + is + 12, th + 10);
          DrawFrameLine(2, 19, 9, 19);
          DrawFrameLine(tw + is + 13, 19, w - 2, 19);
        } else {
          DrawFrameText(dc, m_Caption, 12, 10, tw + 12, th + 10);
          DrawFrameLine(2, 19, 10, 19);
          DrawFrameLine(tw + 13, 19, w - 2, 19);
        }
        break;
    }
    return;
  }

  const int32_t hh = drawnHeaderHeight();
  const int32_t top = half(hh - th), bottom = hh - half(hh - th);
  const int32_t iconY = half(hh - 16);
  switch (m_CaptionPos) {
    case AlignmentCtl2::VP_AlignRight: {
      const int32_t right = icon ? w - is - 6 : w - 4;
      if (icon) DrawFrameIcon(dc, m_Icon, w - is - 4, iconY, is, is);
      DrawFrameText(dc, m_Caption, right - tw, top, right, bottom);
      break;
    }
    case AlignmentCtl2::VP_AlignCenter: {
      if (icon) DrawFrameIcon(dc, m_Icon, half(w - tw - is - 2), iconY, is, is);
      const int32_t x = icon ? half(w - tw + is + 2) : half(w - tw);
      DrawFrameText(dc, m_Caption, x, top, x + tw, bottom);
      break;
    }
    default: {
      if (icon) DrawFrameIcon(dc, m_Icon, 4, iconY, is, is);
      const int32_t x = icon ? is + 6 : 6;
      DrawFrameText(dc, m_Caption, x, top, x + tw, bottom);
      break;
    }
  }
}

void ZorvaXPFrame::DrawBackPicture() {
  const int32_t pw = m_Picture.width(), ph = m_Picture.height();
  const int32_t w = UserControl.ScaleWidth(), h = UserControl.ScaleHeight();
  int32_t x = 0, y = 0;
  switch (m_PicturePos) {
    case VFPicPos::VFPicCenter:
      x = half(w - pw);
      y = half(h - ph);
      break;
    case VFPicPos::VFPicBottomRight:
      x = w - pw;
      y = h - ph;
      break;
    case VFPicPos::VFPicBottomLeft:
      y = h - ph;
      break;
    default:  // tile: drawn once at the corner
      break;
  }
  AlphaBlendPicture(UserControl.hDC(), static_cast<HBITMAP>(m_Picture.Handle()), x, y, pw, ph, 0, 0, pw, ph,
                    m_TransparencyLevel);
}

// ---- The header button -------------------------------------------------------------------------

void ZorvaXPFrame::DrawButtonHover(OLE_COLOR first, OLE_COLOR second) {
  picHover.setVisible(true);
  SetWindowPos(picDropDown.hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  picHover.Cls();
  const HDC dc = picHover.hDC();
  const int32_t w = picHover.ScaleWidth(), h = picHover.ScaleHeight();
  GradientFillVertical(dc, w, h, first, second);
  drawOutline(dc, kWhite, 0, 0, w, h);
}

void ZorvaXPFrame::ButtonMove() {
  if (m_Appearance != vFrameAppearance::Professional) return;
  if (m_CloseButton) ShowGlyph(kCloseHover);
  if (m_DropDownButton) DrawButtonHover(kHoverBlue, kHoverCyan);
  tmrHover.setEnabled(true);
}

void ZorvaXPFrame::ButtonDown() {
  if (m_Appearance != vFrameAppearance::Professional) return;
  if (m_DropDownButton) DrawButtonHover(kHoverCyan, kHoverBlue);
  if (m_CloseButton) ShowGlyph(kClosePressed);
}

void ZorvaXPFrame::ButtonUp(int16_t button) {
  if (m_Appearance != vFrameAppearance::Professional) return;
  if (m_DropDownButton) {
    DrawButtonHover(kHoverBlue, kHoverCyan);
    SetCollapsed(!m_Collapsed);
    int16_t b = button;
    DropDownButtonClick.raise(b);
  }
  if (m_CloseButton) {
    ShowGlyph(kCloseHover);
    int16_t b = button;
    CloseButtonClick.raise(b);
  }
}

// The surface under the header button's hover frame (the windowless imgHover) counts as the
// drop-down button; the frame's own events are raised all the same.
bool ZorvaXPFrame::onHoverImage(float x, float y) const {
  return m_imgHoverVisible && m_DropDownButton &&
         m_imgHover.contains(Point{static_cast<int32_t>(x), static_cast<int32_t>(y)});
}

void ZorvaXPFrame::UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  if (Button == 0 && onHoverImage(X, Y)) ButtonMove();
  MouseMove.raise(Button, Shift, X, Y);
}

void ZorvaXPFrame::UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  if (onHoverImage(X, Y)) ButtonDown();
  MouseDown.raise(Button, Shift, X, Y);
}

void ZorvaXPFrame::UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  if (onHoverImage(X, Y)) ButtonUp(Button);
  MouseUp.raise(Button, Shift, X, Y);
}

void ZorvaXPFrame::tmrHover_Timer() {
  const HWND button = (m_DropDownButton && picHover.Visible()) ? picHover.hWnd() : picDropDown.hWnd();
  if (!CursorOutsideWindow(button)) return;
  picHover.setVisible(false);
  if (m_CloseButton) ShowGlyph(kCloseNormal);
  tmrHover.setEnabled(false);
}

int32_t ZorvaXPFrame::drawnHeaderHeight() const { return foundation::drawnLength(m_HeaderHeight); }
int32_t ZorvaXPFrame::drawnIconSize() const { return foundation::drawnLength(static_cast<int32_t>(m_IconSize)); }

void ZorvaXPFrame::SetCollapsed(bool flag) {
  if (flag) {
    UserControl.setTag(std::to_string(static_cast<int32_t>(m_IconSize)));
    setHeightTwips(clampToInt32((int64_t{m_HeaderHeight} + 2) * kTwips));
    m_Collapsed = true;
    m_IconSize = VFIconSize::Small_16x16;
    if (!m_CloseButton) ShowGlyph(kChevronCollapsed);
  } else {
    setHeightTwips(m_ExpandedHeight * kTwips);
    try {
      m_IconSize = static_cast<VFIconSize>(std::stoi(UserControl.Tag()));
    } catch (const std::exception&) {
      // No saved size: the icon keeps its size.
    }
    m_Collapsed = false;
    RedrawMe();
  }
}

// ---- Class ------------------------------------------------------------------------------------

const host::MemberTable& ZorvaXPFrame::memberTable() const {
  using F = ZorvaXPFrame;
  auto notByName = [](const char* what) {
    return [what](const F&) -> int32_t {
      throw HostError(errNotSupported, std::string(what) + " is an object, which late-bound calls cannot carry yet");
    };
  };
  static const host::MemberTable table = host::ClassMembers<F>("ZorvaXPFrame")
      .property("Appearance", &F::Appearance, &F::setAppearance)
      .property("BackColor", &F::BackColor, &F::setBackColor)
      .property("BorderColor", &F::BorderColor, &F::setBorderColor)
      .property("HeaderHeight", &F::HeaderHeight, &F::setHeaderHeight)
      .property("BackGradient", &F::BackGradient, &F::setBackGradient)
      .property("GradientColor1", &F::GradientColor1, &F::setGradientColor1)
      .property("GradientColor2", &F::GradientColor2, &F::setGradientColor2)
      .property("HeaderGradient1", &F::HeaderGradient1, &F::setHeaderGradient1)
      .property("HeaderGradient2", &F::HeaderGradient2, &F::setHeaderGradient2)
      .property("Icon", &F::Icon, &F::setIcon)
      .property("IconSize", &F::IconSize, &F::setIconSize)
      .property("Caption", &F::Caption, &F::setCaption)
      .property("CaptionPos", &F::CaptionPos, &F::setCaptionPos)
      .property("ForeColor", &F::ForeColor, &F::setForeColor)
      .property("Font", &F::Font, &F::setFont)
      .property("CloseButton", &F::CloseButton, &F::setCloseButton)
      .property("DropDownButton", &F::DropDownButton, &F::setDropDownButton)
      .property("HeaderGradientMode", &F::HeaderGradientMode, &F::setHeaderGradientMode)
      .property("Picture", &F::Picture, &F::setPicture)
      .property("TransparencyLevel", &F::TransparencyLevel, &F::setTransparencyLevel)
      .property("Enabled", &F::Enabled, &F::setEnabled)
      .property("DisabledForeColor", &F::DisabledForeColor, &F::setDisabledForeColor)
      .property("PicturePos", &F::PicturePos, &F::setPicturePos)
      .property("MouseIcon", &F::MouseIcon, &F::setMouseIcon)
      .property("MousePointer", &F::MousePointer, &F::setMousePointer)
      .property("ScaleMode", &F::ScaleMode, &F::setScaleMode)
      .property("ScaleHeight", &F::ScaleHeight, &F::setScaleHeight)
      .property("ScaleLeft", &F::ScaleLeft, &F::setScaleLeft)
      .property("ScaleTop", &F::ScaleTop, &F::setScaleTop)
      .property("ScaleWidth", &F::ScaleWidth, &F::setScaleWidth)
      .readOnlyProperty("hwnd", &F::hwnd)
      .readOnlyProperty("hdc", &F::hdc)
      .readOnlyProperty("Controls", notByName("Controls"))
      .readOnlyProperty("Parent", notByName("Parent"))
      .property("CurrentX", &F::CurrentX, &F::setCurrentX)
      .property("CurrentY", &F::CurrentY, &F::setCurrentY)
      .method("RedrawMe", &F::RedrawMe)
      .method("ScaleMe", &F::ScaleMe, 4).params({"X1", "Y1", "X2", "Y2"})
      .method("Refresh", &F::Refresh)
      .about(&F::About)
      .event("Click", &F::Click)
      .event("DblClick", &F::DblClick)
      .event("KeyDown", &F::KeyDown, {"KeyCode", "Shift"})
      .event("KeyPress", &F::KeyPress, {"KeyAscii"})
      .event("KeyUp", &F::KeyUp, {"KeyCode", "Shift"})
      .event("MouseDown", &F::MouseDown, {"Button", "Shift", "X", "Y"})
      .event("MouseMove", &F::MouseMove, {"Button", "Shift", "X", "Y"})
      .event("MouseUp", &F::MouseUp, {"Button", "Shift", "X", "Y"})
      .event("DropDownButtonClick", &F::DropDownButtonClick, {"Button"})
      .event("CloseButtonClick", &F::CloseButtonClick, {"Button"})
      .build();
  return table;
}

// ---- Enumerations as type information shows them ----

const host::EnumType& describeEnum(vFrameAppearance) {
  static const host::EnumType t{"vFrameAppearance", {{"Standard", 0}, {"Professional", 1}}};
  return t;
}

const host::EnumType& describeEnum(AlignmentCtl2) {
  static const host::EnumType t{"AlignmentCtl2", {{"VP - AlignLeft", 0}, {"VP - AlignCenter", 1}, {"VP - AlignRight", 2}}};
  return t;
}

const host::EnumType& describeEnum(VFIconSize) {
  static const host::EnumType t{"VFIconSize", {{"Small - 16x16", 16}, {"Medium - 24x24", 24}, {"Large - 32x32", 32}}};
  return t;
}

const host::EnumType& describeEnum(VFPicPos) {
  static const host::EnumType t{"VFPicPos", {{"VFPicCenter", 0}, {"VFPicTile", 1}, {"VFPicBottomRight", 2}, {"VFPicBottomLeft", 3}}};
  return t;
}

const host::EnumType& describeEnum(VHGradientMode) {
  static const host::EnumType t{"VHGradientMode", {{"Vista Mode", 0}, {"XP Mode", 1}}};
  return t;
}

}  // namespace zxp::text
