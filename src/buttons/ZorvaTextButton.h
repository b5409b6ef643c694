// ZorvaTextButton: the small private button of the text box. A vertical-gradient face
// (GradientColor1 at the top, GradientColor2 at the bottom) inside a dark blue border whose
// corners are closed by single pixels, the window cut to the rectangle without its four corner
// pixels, as the push button's XP look. An optional icon (the constituent image imgIcon) is
// stretched to 16 x 16 and placed by Alignment and Caption; the caption is drawn in one call with
// a word ellipsis. Hover shows the push button's orange frame and, when ButtonPictureOver is set,
// swaps the icon; the polling timer tmrCheck restores the resting look and ButtonPicture once the
// cursor has left. A press shows the resting gradient upside down; the release raises the one
// click notification, Click, and redraws. Disabled: a plain face RGB(231, 231, 224), an olive
// border and the icon turned grey.
//
// imgIcon is a windowless image on the surface (as the host's image control is), so its mouse
// input is the surface's own.
//
// Our choices:
//   - the grey of the disabled icon is (r + g + b + 1) / 3 for each pixel of its 16 x 16 box (the
//     face showing through the icon's transparent pixels turns grey with it);
//   - the click notification is named Click;
//   - the caption keeps ForeColor in the disabled look.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/ControlBase.h"

namespace zxp::buttons {

class ZorvaTextButton final : public foundation::ControlBase {
 public:
  static constexpr COLORREF kBorder = RGB(0, 60, 116);
  static constexpr COLORREF kCorner = RGB(122, 149, 168);
  static constexpr COLORREF kDisabledFace = RGB(231, 231, 224);
  static constexpr COLORREF kDisabledBorder = RGB(171, 171, 144);
  static constexpr OLE_COLOR kGradientColor1 = 0xFFFFFF;
  static constexpr OLE_COLOR kGradientColor2 = 0xE2A981;
  static constexpr int32_t kButtonWidth = 23;
  static constexpr int kIconSize = 16;

  ZorvaTextButton();

  // ---- Properties ----
  int32_t Alignment() const { return m_Alignment; }
  void setAlignment(int32_t New_Alignment);
  OLE_COLOR GradientColor1() const { return m_GradientColor1; }
  void setGradientColor1(OLE_COLOR New_GradientColor1);
  OLE_COLOR GradientColor2() const { return m_GradientColor2; }
  void setGradientColor2(OLE_COLOR New_GradientColor2);
  const std::string& Caption() const { return m_Caption; }
  void setCaption(const std::string& New_Caption);
  host::PictureRef ButtonPicture() const { return m_ButtonPicture; }
  void setButtonPicture(host::PictureRef New_ButtonPicture);
  // 0 becomes 23 at the next full redraw; the control's width follows it.
  int32_t ButtonWidth() const { return m_ButtonWidth; }
  void setButtonWidth(int32_t New_ButtonWidth);
  host::PictureRef ButtonPictureOver() const { return m_ButtonPictureOver; }
  void setButtonPictureOver(host::PictureRef New_ButtonPictureOver);
  void setFont(host::FontRef New_Font);
  OLE_COLOR ForeColor() const { return m_ForeColor; }
  void setForeColor(OLE_COLOR New_ForeColor);
  void setEnabled(bool New_Enabled);

  // ---- Methods ----
  // Full redraw: the width from ButtonWidth, the icon placed, the resting or disabled look.
  void RedrawMe();

  // ---- State a host or a test may look at ----
  // The picture imgIcon shows now and its box on the surface.
  const host::PictureRef& iconPicture() const { return imgIcon.picture; }
  RECT iconRect() const { return imgIcon.box; }
  // The caption's rectangle of the last drawing.
  RECT captionRect() const { return captionRect_; }

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override { RedrawMe(); }
  void UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_DblClick() override;
  void UserControl_Click() override {}  // the release raises Click itself
  void UserControl_LostFocus() override {}
  void redrawResting() override { RedrawMe(); }
  bool resizeRedrawsResting() const override { return true; }
  void redrawHover() override { DrawHoverLook(); }

 private:
  struct Image {
    host::PictureRef picture;
    RECT box{};
  };
  void placeIcon();
  void DrawBorder();
  void DrawRestingLook();
  void DrawHoverLook();
  void DrawPressedLook();
  void DrawDisabledLook();
  void DrawIcon();
  void DrawCaption();

  int32_t m_Alignment = 0;
  OLE_COLOR m_GradientColor1 = kGradientColor1;
  OLE_COLOR m_GradientColor2 = kGradientColor2;
  std::string m_Caption = "Zorv";
  host::PictureRef m_ButtonPicture;
  int32_t m_ButtonWidth = kButtonWidth;
  host::PictureRef m_ButtonPictureOver;
  OLE_COLOR m_ForeColor = 0;

  Image imgIcon;
  RECT captionRect_{};
};

}  // namespace zxp::buttons
