// ZorvaXPFrame: a container that groups the controls placed inside it under a caption. Its class
// is a simple frame, so the host nests those controls in the frame's window: they are placed
// relative to it and move, hide, disable and tear down with it.
//
// Two looks. Standard: a group box, gradient or flat body, rounded corners cut from the window's
// region, a border whose top line breaks for the caption (and its icon) at y = 19. Professional:
// a header band HeaderHeight pixels high (Vista panel or XP gradient), a gradient body below a
// white line, and a header button at the far side from the caption: a close cross (13 x 13,
// normal, hover and pressed glyphs) or a drop-down chevron (9 x 11) that folds the frame up to
// its header and unfolds it again. The chevron's red background (0x0000FF) is cut from its
// window's region; while the cursor is over it a blue-to-cyan square (picHover) shows around it.
// A picture can be blended into the background at one of four places with TransparencyLevel as
// its alpha. The surface's scale (ScaleMode, ScaleLeft/Top/Width/Height, ScaleMe), drawing
// position (CurrentX/Y), hdc, hwnd, Controls and Parent are passed through like a picture box's.
//
// Choices: a left-aligned Professional caption without icon starts at x = 6; a centred one
// without icon is centred alone; a collapsed frame's redraw keeps the collapsed chevron; a
// position that halves a difference rounds to the nearest pixel, halves to even. Controls and
// Parent are objects, which late-bound calls cannot carry yet: by name they raise 438.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/ControlBase.h"
#include "foundation/PartListener.h"

namespace zxp::host {
class Form;
}

namespace zxp::text {

enum class vFrameAppearance : int32_t { Standard = 0, Professional = 1 };
enum class AlignmentCtl2 : int32_t { VP_AlignLeft = 0, VP_AlignCenter = 1, VP_AlignRight = 2 };
enum class VFIconSize : int32_t { Small_16x16 = 16, Medium_24x24 = 24, Large_32x32 = 32 };
enum class VFPicPos : int32_t { VFPicCenter = 0, VFPicTile = 1, VFPicBottomRight = 2, VFPicBottomLeft = 3 };
enum class VHGradientMode : int32_t { Vista_Mode = 0, XP_Mode = 1 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(vFrameAppearance);
const host::EnumType& describeEnum(AlignmentCtl2);
const host::EnumType& describeEnum(VFIconSize);
const host::EnumType& describeEnum(VFPicPos);
const host::EnumType& describeEnum(VHGradientMode);

class ZorvaXPFrame final : public foundation::ControlBase {
 public:
  // Creation defaults (OLE colours, 0x00BBGGRR).
  static constexpr OLE_COLOR kBackColor = 0xD8E9EC;
  static constexpr OLE_COLOR kBorderColor = 0xB75F31;
  static constexpr OLE_COLOR kGradientColor1 = 0xFFFFFF;
  static constexpr OLE_COLOR kGradientColor2 = 0xF0C797;
  static constexpr OLE_COLOR kHeaderGradient1 = 0xFBB613;
  static constexpr OLE_COLOR kHeaderGradient2 = 0xFFFFFF;
  static constexpr OLE_COLOR kForeColor = 0x000000;
  static constexpr OLE_COLOR kDisabledForeColor = 0x5F5F5F;
  static constexpr int32_t kHeaderHeight = 22;
  static constexpr int16_t kTransparencyLevel = 95;
  // The hover square's colours (pure blue and a light cyan) and the chevron's see-through colour.
  static constexpr OLE_COLOR kHoverBlue = 0xFF0000;
  static constexpr OLE_COLOR kHoverCyan = 0xFFFFC0;
  static constexpr COLORREF kGlyphKey = 0x0000FF;
  // The header button's glyphs.
  enum Glyph : int { kChevronExpanded = 101, kChevronCollapsed = 102, kCloseNormal = 103, kCloseHover = 104,
                     kClosePressed = 105 };

  ZorvaXPFrame();

  // ---- Properties ----
  vFrameAppearance Appearance() const { return m_Appearance; }
  void setAppearance(vFrameAppearance New_Appearance);
  OLE_COLOR BackColor() const { return m_BackColor; }
  void setBackColor(OLE_COLOR New_BackColor);
  OLE_COLOR BorderColor() const { return m_BorderColor; }
  void setBorderColor(OLE_COLOR New_BorderColor);
  int32_t HeaderHeight() const { return m_HeaderHeight; }
  void setHeaderHeight(int32_t New_HeaderHeight);
  bool BackGradient() const { return m_BackGradient; }
  void setBackGradient(bool New_BackGradient);
  OLE_COLOR GradientColor1() const { return m_GradientColor1; }
  void setGradientColor1(OLE_COLOR New_GradientColor1);
  OLE_COLOR GradientColor2() const { return m_GradientColor2; }
  void setGradientColor2(OLE_COLOR New_GradientColor2);
  OLE_COLOR HeaderGradient1() const { return m_HeaderGradient1; }
  void setHeaderGradient1(OLE_COLOR New_HeaderGradient1);
  OLE_COLOR HeaderGradient2() const { return m_HeaderGradient2; }
  void setHeaderGradient2(OLE_COLOR New_HeaderGradient2);
  host::PictureRef Icon() const { return m_Icon; }
  void setIcon(host::PictureRef New_Icon);
  VFIconSize IconSize() const { return m_IconSize; }
  void setIconSize(VFIconSize New_IconSize);
  const std::string& Caption() const { return m_Caption; }
  void setCaption(const std::string& New_Caption);
  AlignmentCtl2 CaptionPos() const { return m_CaptionPos; }
  void setCaptionPos(AlignmentCtl2 New_CaptionPos);
  OLE_COLOR ForeColor() const { return m_ForeColor; }
  void setForeColor(OLE_COLOR New_ForeColor);
  bool CloseButton() const { return m_CloseButton; }
  void setCloseButton(bool New_CloseButton);
  bool DropDownButton() const { return m_DropDownButton; }
  void setDropDownButton(bool New_DropDownButton);
  VHGradientMode HeaderGradientMode() const { return m_HeaderGradientMode; }
  void setHeaderGradientMode(VHGradientMode New_HeaderGradientMode);
  host::PictureRef Picture() const { return m_Picture; }
  void setPicture(host::PictureRef New_Picture);
  int16_t TransparencyLevel() const { return m_TransparencyLevel; }
  void setTransparencyLevel(int16_t New_TransparencyLevel);
  OLE_COLOR DisabledForeColor() const { return m_DisabledForeColor; }
  void setDisabledForeColor(OLE_COLOR New_DisabledForeColor);
  VFPicPos PicturePos() const { return m_PicturePos; }
  void setPicturePos(VFPicPos New_PicturePos);

  // The surface's coordinate system: ScaleMode 0 (user, set by the Scale values or ScaleMe),
  // 1 twips, 2 points, 3 pixels (the default), 4 characters, 5 inches, 6 millimetres,
  // 7 centimetres. In a standard mode the Scale sizes are the client area in that unit.
  int16_t ScaleMode() const { return m_ScaleMode; }
  void setScaleMode(int16_t New_ScaleMode);
  float ScaleHeight() const;
  void setScaleHeight(float New_ScaleHeight);
  float ScaleLeft() const { return m_ScaleLeft; }
  void setScaleLeft(float New_ScaleLeft);
  float ScaleTop() const { return m_ScaleTop; }
  void setScaleTop(float New_ScaleTop);
  float ScaleWidth() const;
  void setScaleWidth(float New_ScaleWidth);
  float CurrentX() const { return m_CurrentX; }
  void setCurrentX(float New_CurrentX) { m_CurrentX = New_CurrentX; }
  float CurrentY() const { return m_CurrentY; }
  void setCurrentY(float New_CurrentY) { m_CurrentY = New_CurrentY; }
  int32_t hwnd() const { return static_cast<int32_t>(hWnd()); }
  int32_t hdc() const { return static_cast<int32_t>(UserControl.hDC()); }
  // The controls directly inside the frame, and the form it is on.
  std::vector<host::Extender*> Controls() const;
  host::Form* Parent() const;

  // ---- Methods ----
  void RedrawMe();
  // A user coordinate system: (X1, Y1) the top-left corner, (X2, Y2) the bottom-right; with no
  // arguments the scale returns to twips.
  void ScaleMe(const host::Variant& X1 = {}, const host::Variant& Y1 = {}, const host::Variant& X2 = {},
               const host::Variant& Y2 = {});
  void Refresh() { RedrawMe(); }

  // ---- Events of the frame's own ----
  host::Event<int16_t> DropDownButtonClick;
  host::Event<int16_t> CloseButtonClick;

  // ---- Run-time state ----
  bool Collapsed() const { return m_Collapsed; }
  int32_t ExpandedHeight() const { return m_ExpandedHeight; }
  int glyph() const { return m_Glyph; }
  const foundation::SurfaceWindow& dropDownSurface() const { return picDropDown; }
  const foundation::SurfaceWindow& hoverSurface() const { return picHover; }
  bool hoverImageVisible() const { return m_imgHoverVisible; }
  Rect hoverImageRect() const { return m_imgHover; }

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override;
  void UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_Terminate() override;
  void tmrHover_Timer() override;
  void redrawResting() override { RedrawMe(); }
  bool resizeRedrawsResting() const override { return true; }

 private:
  // HeaderHeight and IconSize as drawn. Any Long is kept and saved as set, but drawing takes them
  // within +-2^20 pixels, far past the largest surface (a header that tall shows the same
  // pixels), so the drawing arithmetic stays inside 32 bits.
  int32_t drawnHeaderHeight() const;
  int32_t drawnIconSize() const;
  std::string defaultCaption() const;
  void DrawFrameBackground();
  void DrawFrameBorder();
  void DrawFrameCaption();
  void ApplyFrameRegion();
  void DrawFrameLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void DrawFrameIcon(HDC dc, const host::PictureRef& icon, int32_t x, int32_t y, int32_t width, int32_t height);
  void DrawFrameText(HDC dc, const std::string& text, int32_t left, int32_t top, int32_t right, int32_t bottom);
  void SetCollapsed(bool flag);
  void DrawButtonHover(OLE_COLOR first, OLE_COLOR second);
  void DrawBackPicture();
  void PlaceHeaderButton();
  // Paints one of the glyphs on picDropDown (sized to it) and cuts its see-through pixels.
  void ShowGlyph(int id);
  // The header button's input (on picDropDown and, for the drop-down button, on picHover).
  void ButtonMove();
  void ButtonDown();
  void ButtonUp(int16_t button);
  // Whether a surface point lies on the drop-down button's hover frame (imgHover).
  bool onHoverImage(float x, float y) const;
  // Twips per unit of a standard scale mode horizontally or vertically; 0 for the user mode.
  double twipsPerUnit(bool vertical) const;

  vFrameAppearance m_Appearance = vFrameAppearance::Professional;
  OLE_COLOR m_BackColor = kBackColor;
  OLE_COLOR m_BorderColor = kBorderColor;
  int32_t m_HeaderHeight = kHeaderHeight;
  bool m_BackGradient = true;
  OLE_COLOR m_GradientColor1 = kGradientColor1;
  OLE_COLOR m_GradientColor2 = kGradientColor2;
  OLE_COLOR m_HeaderGradient1 = kHeaderGradient1;
  OLE_COLOR m_HeaderGradient2 = kHeaderGradient2;
  host::PictureRef m_Icon;
  VFIconSize m_IconSize = VFIconSize::Small_16x16;
  std::string m_Caption;
  AlignmentCtl2 m_CaptionPos = AlignmentCtl2::VP_AlignLeft;
  OLE_COLOR m_ForeColor = kForeColor;
  bool m_CloseButton = false;
  bool m_DropDownButton = false;
  VHGradientMode m_HeaderGradientMode = VHGradientMode::Vista_Mode;
  host::PictureRef m_Picture;
  int16_t m_TransparencyLevel = kTransparencyLevel;
  OLE_COLOR m_DisabledForeColor = kDisabledForeColor;
  VFPicPos m_PicturePos = VFPicPos::VFPicCenter;
  int16_t m_ScaleMode = 3;
  float m_ScaleLeft = 0, m_ScaleTop = 0, m_ScaleWidth = 290, m_ScaleHeight = 197;
  float m_CurrentX = 0, m_CurrentY = 0;

  bool m_Collapsed = false;
  int32_t m_ExpandedHeight = 0;
  int m_Glyph = kCloseNormal;
  bool m_imgHoverVisible = false;
  Rect m_imgHover{};
  bool m_layingOut = false;  // RedrawMe is placing the header button

  enum { kDropDownPart, kHoverPart };
  friend class foundation::PartListener<ZorvaXPFrame>;
  bool headerButtonPart(int part) const;
  void partMouseDown(int part, int16_t& b, int16_t& s, float& x, float& y);
  void partMouseUp(int part, int16_t& b, int16_t& s, float& x, float& y);
  void partMouseMove(int part, int16_t& b, int16_t& s, float& x, float& y);
  void partClick(int) {}
  void partDblClick(int part);
  foundation::PartListener<ZorvaXPFrame> partListeners_[2];  // before the surfaces: outlives them
  foundation::SurfaceWindow picDropDown;
  foundation::SurfaceWindow picHover;
};

}  // namespace zxp::text
