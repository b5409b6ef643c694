// ZorvaXPButton: the push button. A rectangle with one-pixel rounded corners (the window's shape
// leaves out its four corner pixels), painted in one of two looks: Vista, a two-band glass face,
// or XP, a vertical gradient face; or flat faces with a bevel when GradientColor is False. Four
// visual states: resting, hover (orange frame), pressed (embossed or flat) and disabled. The
// caption wraps and may carry an access key; an icon sits in one of five places around it.
//
// Input: a mouse press shows the pressed look and plays SoundOnClicked; the release shows the
// hover look. Space shows pressed, then hover on release, and raises no Click; Enter raises
// OnEnter and Escape OnKeyEsc (each before KeyPress). The pressed flag stays set until the focus
// leaves, so after a click the hover look stays while the button keeps the focus. The polling
// timer tmr1 returns the resting look once the cursor has left an unfocused button.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "foundation/ControlBase.h"

namespace zxp::foundation {
struct FaceKey;
}

namespace zxp::buttons {

enum class ButtonStyleDType : int16_t { Vista = 0, XP = 1 };
enum class ClickButtonStyleDType : int32_t { Embossed = 0, Flat = 1 };
enum class PicSizeDtype : int32_t { IMG_16X16 = 16, IMG_24X24 = 24, IMG_28X28 = 28, IMG_32X32 = 32 };
enum class PicturePositionDType : int16_t { Left = 0, Right = 1, Top = 2, Bottom = 3, Center = 4 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(ButtonStyleDType);
const host::EnumType& describeEnum(ClickButtonStyleDType);
const host::EnumType& describeEnum(PicSizeDtype);
const host::EnumType& describeEnum(PicturePositionDType);

class ZorvaXPButton final : public foundation::ControlBase {
 public:
  // Fixed colours of the drawing (COLORREF, 0x00BBGGRR).
  static constexpr COLORREF kCornerColor = RGB(122, 149, 168);
  static constexpr COLORREF kLightFace = 0xFEFED6;
  static constexpr COLORREF kWhite = 0xFFFFFF;
  static constexpr OLE_COLOR kDisabledFace = 0xDFE0E0;
  static constexpr COLORREF kDisabledBorder = RGB(160, 168, 143);
  static constexpr COLORREF kBevelLight = RGB(230, 230, 207);
  static constexpr COLORREF kBevelLighter = RGB(241, 244, 234);
  static constexpr COLORREF kBevelShadow = RGB(207, 207, 201);
  static constexpr COLORREF kFrameTop = RGB(225, 243, 206);
  static constexpr COLORREF kFrameTop2 = RGB(255, 219, 140);
  static constexpr COLORREF kFrameSide = RGB(255, 178, 49);
  static constexpr COLORREF kFrameSide2 = RGB(255, 201, 107);
  static constexpr COLORREF kFrameBottom2 = RGB(231, 150, 0);
  static constexpr COLORREF kPressShadow = RGB(148, 180, 179);
  static constexpr COLORREF kPressShadow2 = RGB(223, 223, 208);

  // Creation defaults.
  static constexpr OLE_COLOR kGradientColorXP1 = 0xFFFFFF;
  static constexpr OLE_COLOR kGradientColorVistaXP2 = 0xE2A981;
  static constexpr OLE_COLOR kGradientColorHighlight = 0xFBB613;
  static constexpr OLE_COLOR kForeColorNormal = 0x400000;
  static constexpr OLE_COLOR kForeColorHighlight = 0x800000;
  static constexpr OLE_COLOR kForeColorClick = 0xC00000;
  static constexpr OLE_COLOR kNormalColor = 0xFFFFFF;
  static constexpr OLE_COLOR kNormalColorHighlight = 0xE8FBFF;
  static constexpr OLE_COLOR kBorderColorClick = 0xFF0000;
  static constexpr OLE_COLOR kBorderColorNormal = 0xC00000;
  static constexpr OLE_COLOR kBorderColorHighlight = 0xFF0000;

  ZorvaXPButton();

  // ---- Properties ----
  ButtonStyleDType ButtonStyle() const { return m_ButtonStyle; }
  void setButtonStyle(ButtonStyleDType New_ButtonStyle);
  OLE_COLOR GradientColorXP1() const { return m_GradientColorXP1; }
  void setGradientColorXP1(OLE_COLOR New_GradientColorXP1);
  OLE_COLOR GradientColorVistaXP2() const { return m_GradientColorVistaXP2; }
  void setGradientColorVistaXP2(OLE_COLOR New_GradientColorVistaXP2);
  bool HiglightMouseOver() const { return m_HiglightMouseOver; }
  void setHiglightMouseOver(bool New_HiglightMouseOver);
  ClickButtonStyleDType ClickButtonStyle() const { return m_ClickButtonStyle; }
  void setClickButtonStyle(ClickButtonStyleDType New_ClickButtonStyle);
  OLE_COLOR GradientColorHighlight() const { return m_GradientColorHighlight; }
  void setGradientColorHighlight(OLE_COLOR New_GradientColorHighlight);
  const std::string& Caption() const { return m_Caption; }
  void setCaption(std::string New_Caption);
  OLE_COLOR ForeColorNormal() const { return m_ForeColorNormal; }
  void setForeColorNormal(OLE_COLOR New_ForeColorNormal);
  OLE_COLOR ForeColorHighlight() const { return m_ForeColorHighlight; }
  void setForeColorHighlight(OLE_COLOR New_ForeColorHighlight);
  OLE_COLOR ForeColorClick() const { return m_ForeColorClick; }
  void setForeColorClick(OLE_COLOR New_ForeColorClick);
  host::PictureRef Picture() const { return rare().picture; }
  void setPicture(host::PictureRef New_Picture);
  PicSizeDtype PictureSize() const { return m_PictureSize; }
  void setPictureSize(PicSizeDtype New_PictureSize);
  PicturePositionDType PicturePosition() const { return m_PicturePosition; }
  void setPicturePosition(PicturePositionDType New_PicturePosition);
  host::PictureRef PictureHighlight() const { return rare().pictureHighlight; }
  void setPictureHighlight(host::PictureRef New_PictureHighlight);
  PicSizeDtype PictureSizeHighlight() const { return m_PictureSizeHighlight; }
  void setPictureSizeHighlight(PicSizeDtype New_PictureSizeHighlight);
  OLE_COLOR NormalColor() const { return m_NormalColor; }
  void setNormalColor(OLE_COLOR New_NormalColor);
  OLE_COLOR NormalColorHighlight() const { return m_NormalColorHighlight; }
  void setNormalColorHighlight(OLE_COLOR New_NormalColorHighlight);
  bool GradientColor() const { return m_GradientColor; }
  // True also resets NormalColor to white.
  void setGradientColor(bool New_GradientColor);
  const std::string& SoundOnOver() const { return rare().soundOnOver; }
  void setSoundOnOver(const std::string& New_SoundOnOver);
  const std::string& SoundOnClicked() const { return rare().soundOnClicked; }
  void setSoundOnClicked(const std::string& New_SoundOnClicked);
  OLE_COLOR BorderColorClick() const { return m_BorderColorClick; }
  void setBorderColorClick(OLE_COLOR New_BorderColorClick);
  OLE_COLOR BorderColorNormal() const { return m_BorderColorNormal; }
  void setBorderColorNormal(OLE_COLOR New_BorderColorNormal);
  OLE_COLOR BorderColorHighlight() const { return m_BorderColorHighlight; }
  void setBorderColorHighlight(OLE_COLOR New_BorderColorHighlight);

  // ---- Methods ----
  // Full redraw: clears the surface, grows an inner size below 8 pixels to 120 twips, cuts the
  // window's shape and draws the resting look.
  void RedrawMe();
  // The resting look (or the disabled look when disabled) with its caption and icon.
  void DrawNormalButton();

  // The orange hover frame inside the border of an sw x sh button face (shared with the text
  // button): its two top lines, two orange lines down each side and two bottom lines.
  static void DrawHoverFrame(HDC dc, int sw, int sh);

  // ---- Events of the button's own (the others come from the control base) ----
  host::Event<> OnEnter;
  host::Event<> OnKeyEsc;

  // Whether the hover or pressed look is showing (it picks the highlight icon).
  bool pictureMode() const { return m_PictureMode; }

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
  void UserControl_KeyPress(int16_t& KeyAscii) override;
  void UserControl_KeyUp(int16_t& KeyCode, int16_t& Shift) override;
  void UserControl_GotFocus() override;

  void redrawResting() override { DrawNormalButton(); }
  // RedrawMe ends with DrawNormalButton.
  bool resizeRedrawsResting() const override { return true; }
  void redrawHover() override { DrawHoverButton(); }

 private:
  std::string defaultCaption() const;
  void CutWindowShape();
  void DrawBorder(HDC dc, COLORREF color, COLORREF corner = kCornerColor) const;
  void DrawGradientFace(HDC dc, OLE_COLOR color, OLE_COLOR xpTop, OLE_COLOR vistaLight) const;

  // What each look paints before its caption and picture. The face depends only on the look,
  // the style, the gradient flag, the look's colours, the size and the colour it clears to, so
  // buttons that agree on those share one painted face (foundation/FaceCache.h).
  enum class Face : uint8_t { Resting, Disabled, Hover, Pressed, PressedFlat };
  // The key of a look's face; sets the surface's BackColor as painting the look does and gives
  // the colour the face clears to.
  foundation::FaceKey PrepareFace(Face face, COLORREF& clear);
  // Leaves the DC's current position where painting the face of a sw x sh button leaves it.
  void FinishFace(Face face, int sw, int sh);
  // Paints the face into dc; `clear` is the colour the look clears to before its gradient.
  void PaintFace(HDC dc, Face face, COLORREF clear) const;
  void DrawLook(Face face, const OLE_COLOR* fore, bool pictureMode);
  void DrawHoverButton();
  void DrawClickButton();
  void DrawCaptionAndPicture(HDC dc) const;

  // The properties most buttons leave empty (icons and sounds), kept apart and made only when
  // one of them is set, so that a plain button does not carry them.
  struct Rare {
    host::PictureRef picture;
    host::PictureRef pictureHighlight;
    std::string soundOnOver;
    std::string soundOnClicked;
  };
  // The set values, or the shared empty ones.
  const Rare& rare() const;
  Rare& rareForWriting();
  // Stores a value read from a property bag; an empty one needs no part of its own.
  template <class T>
  void storeRare(T Rare::*field, T value) {
    if (rare_ || !value.empty()) rareForWriting().*field = std::move(value);
  }

  ButtonStyleDType m_ButtonStyle = ButtonStyleDType::Vista;
  OLE_COLOR m_GradientColorXP1 = kGradientColorXP1;
  OLE_COLOR m_GradientColorVistaXP2 = kGradientColorVistaXP2;
  bool m_HiglightMouseOver = true;
  ClickButtonStyleDType m_ClickButtonStyle = ClickButtonStyleDType::Embossed;
  OLE_COLOR m_GradientColorHighlight = kGradientColorHighlight;
  std::string m_Caption;
  OLE_COLOR m_ForeColorNormal = kForeColorNormal;
  OLE_COLOR m_ForeColorHighlight = kForeColorHighlight;
  OLE_COLOR m_ForeColorClick = kForeColorClick;
  PicSizeDtype m_PictureSize = PicSizeDtype::IMG_16X16;
  PicturePositionDType m_PicturePosition = PicturePositionDType::Left;
  PicSizeDtype m_PictureSizeHighlight = PicSizeDtype::IMG_16X16;
  OLE_COLOR m_NormalColor = kNormalColor;
  OLE_COLOR m_NormalColorHighlight = kNormalColorHighlight;
  bool m_GradientColor = true;
  OLE_COLOR m_BorderColorClick = kBorderColorClick;
  OLE_COLOR m_BorderColorNormal = kBorderColorNormal;
  OLE_COLOR m_BorderColorHighlight = kBorderColorHighlight;

  bool m_PictureMode = false;
  std::unique_ptr<Rare> rare_;
};

}  // namespace zxp::buttons
