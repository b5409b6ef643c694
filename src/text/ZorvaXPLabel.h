// ZorvaXPLabel: a caption on a gradient panel with a thin border that behaves like a hyperlink.
// The resting look is a vertical gradient (GradientColor1 at the top, GradientColor2 at the
// bottom) framed in BorderColor, with the caption in ForeColor and an optional icon at x = 2.
// While the cursor is over it the label repaints with the Over gradient, ForeColorOver, the
// hover icon and, with UnderlineOnOver, an underlined caption, and plays SoundOnOver once per
// entry; a press shows ForeColorDown and plays SoundOnClicked. The polling timer tmrChecker
// returns the resting look and raises MouseOut once the cursor has left. AutoSize fits the
// width (and without an icon the height) to the caption; a transparent label cuts its window
// region down to the pixels of its text and icon, so the parent shows (and takes clicks) between
// the letters. ExecuteLink opens Hyperlink through the shell's "open".
//
// The label draws straight onto its surface, in pixels; it never takes the focus.
// Choices: the default Hyperlink is kDefaultHyperlink (the project publishes no home page yet,
// so the default is a reserved example address that opens nothing real). FontBold, FontItalic,
// FontStrikethru and FontUnderline keep the values set through them: the underline that the
// hover look adds to the surface font does not change FontUnderline. Positions that halve a
// difference round to the nearest pixel, halves to even.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/ControlBase.h"

namespace zxp::text {

enum class BackStyle : int32_t { HBkOpaque = 0, HBkTransparent = 1 };
enum class AlignmentConst : int32_t { HAlignLeft = 0, HAlignRight = 1, HAlignCenter = 2 };
enum class PicSize : int32_t { IMG_16X16 = 16, IMG_24X24 = 24, IMG_28X28 = 28, IMG_32X32 = 32 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(BackStyle);
const host::EnumType& describeEnum(AlignmentConst);
const host::EnumType& describeEnum(PicSize);

class ZorvaXPLabel final : public foundation::ControlBase {
 public:
  static constexpr const char* kDefaultHyperlink = "https://zorvaxp.example/";
  // Creation defaults (OLE colours, 0x00BBGGRR).
  static constexpr OLE_COLOR kForeColor = 0x000000;
  static constexpr OLE_COLOR kBackColor = 0xD8E9EC;
  static constexpr OLE_COLOR kForeColorOver = 0x0080FF;
  static constexpr OLE_COLOR kForeColorDown = 0xFF8E42;
  static constexpr OLE_COLOR kGradientColor1 = 0xFFFFFF;
  static constexpr OLE_COLOR kGradientColor2 = 0xE2A981;
  static constexpr OLE_COLOR kGradientColorOver1 = 0xCDFBFD;
  static constexpr OLE_COLOR kGradientColorOver2 = 0xA0DAFE;
  static constexpr OLE_COLOR kBorderColor = 0xB99D7F;
  static constexpr COLORREF kDisabledText = 0x808080;

  ZorvaXPLabel();

  // ---- Properties ----
  text::BackStyle BackStyle() const { return m_BackStyle; }
  void setBackStyle(text::BackStyle New_BackStyle);
  AlignmentConst Alignment() const { return m_Alignment; }
  void setAlignment(AlignmentConst New_Alignment);
  const std::string& Caption() const { return m_Caption; }
  void setCaption(std::string New_Caption);
  OLE_COLOR ForeColor() const { return m_ForeColor; }
  void setForeColor(OLE_COLOR New_ForeColor);
  OLE_COLOR BackColor() const { return m_BackColor; }
  void setBackColor(OLE_COLOR New_BackColor);
  bool AutoSize() const { return m_AutoSize; }
  void setAutoSize(bool New_AutoSize);
  bool AutoChangeBackColor() const { return m_AutoChangeBackColor; }
  void setAutoChangeBackColor(bool New_AutoChangeBackColor);
  bool AllowForeColorOver() const { return m_AllowForeColorOver; }
  void setAllowForeColorOver(bool New_AllowForeColorOver);
  bool AllowForeColorDown() const { return m_AllowForeColorDown; }
  void setAllowForeColorDown(bool New_AllowForeColorDown);
  OLE_COLOR ForeColorOver() const { return m_ForeColorOver; }
  void setForeColorOver(OLE_COLOR New_ForeColorOver);
  OLE_COLOR ForeColorDown() const { return m_ForeColorDown; }
  void setForeColorDown(OLE_COLOR New_ForeColorDown);
  // Font is the surface's (ControlBase); setting it runs the resize step.
  void setLabelFont(host::FontRef New_Font);
  bool FontBold() const { return m_FontBold; }
  void setFontBold(bool New_FontBold);
  bool FontItalic() const { return m_FontItalic; }
  void setFontItalic(bool New_FontItalic);
  bool FontStrikethru() const { return m_FontStrikethru; }
  void setFontStrikethru(bool New_FontStrikethru);
  bool FontUnderline() const { return m_FontUnderline; }
  void setFontUnderline(bool New_FontUnderline);
  bool GradientOnOver() const { return m_GradientOnOver; }
  void setGradientOnOver(bool New_GradientOnOver);
  OLE_COLOR GradientColor1() const { return m_GradientColor1; }
  void setGradientColor1(OLE_COLOR New_GradientColor1);
  OLE_COLOR GradientColor2() const { return m_GradientColor2; }
  void setGradientColor2(OLE_COLOR New_GradientColor2);
  OLE_COLOR GradientColorOver1() const { return m_GradientColorOver1; }
  void setGradientColorOver1(OLE_COLOR New_GradientColorOver1);
  OLE_COLOR GradientColorOver2() const { return m_GradientColorOver2; }
  void setGradientColorOver2(OLE_COLOR New_GradientColorOver2);
  OLE_COLOR BorderColor() const { return m_BorderColor; }
  void setBorderColor(OLE_COLOR New_BorderColor);
  host::PictureRef Picture() const { return m_Picture; }
  void setPicture(host::PictureRef New_Picture);
  host::PictureRef PictureOnOver() const { return m_PictureOnOver; }
  void setPictureOnOver(host::PictureRef New_PictureOnOver);
  PicSize PictureSize() const { return m_PictureSize; }
  void setPictureSize(PicSize New_PictureSize);
  PicSize PictureOnOverSize() const { return m_PictureOnOverSize; }
  void setPictureOnOverSize(PicSize New_PictureOnOverSize);
  bool UnderlineOnOver() const { return m_UnderlineOnOver; }
  void setUnderlineOnOver(bool New_UnderlineOnOver);
  const std::string& Hyperlink() const { return m_Hyperlink; }
  void setHyperlink(const std::string& New_Hyperlink);
  const std::string& SoundOnOver() const { return m_SoundOnOver; }
  void setSoundOnOver(const std::string& New_SoundOnOver);
  const std::string& SoundOnClicked() const { return m_SoundOnClicked; }
  void setSoundOnClicked(const std::string& New_SoundOnClicked);

  // ---- Methods ----
  // Full redraw: clear, the resting gradient and border (opaque only), caption and icon.
  void RedrawMe();
  bool IsPicture() const { return !m_Picture.empty(); }
  // Asks the shell to "Open" Hyperlink (show command 9); nothing when it is empty.
  void ExecuteLink();

  // ---- Events of the label's own ----
  host::Event<> MouseOut;

  // The caption's height in pixels as last laid out.
  int32_t TextHeight() const { return m_TextHeight; }
  const foundation::ControlTimer& checkerTimer() const { return tmrHover; }
  bool CanGetFocus() const override { return false; }

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override { ResizeStep(); }
  void setUpDone() override;
  void UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_LostFocus() override {}
  void tmrHover_Timer() override;
  void redrawResting() override { RedrawMe(); }

 private:
  std::string defaultCaption() const;
  void ResizeStep();
  void DrawLabelGradient(OLE_COLOR first, OLE_COLOR second);
  void DrawLabelContents(OLE_COLOR textColor, bool hoverPicture, bool hoverUnderline);
  void DrawDisabledPicture();
  void ApplyLabelRegion();
  void ResetLabelRegion();
  void TakeContainerBackColor();
  // Sets one attribute of the surface font (a new font description with it changed).
  template <class Fn>
  void changeSurfaceFont(Fn&& change);
  void setFontFlag(bool& field, bool value, std::string_view name);
  // The control's size in pixels, set through the host only when it differs.
  void setWidthPixels(int32_t px);
  void setHeightPixels(int32_t px);
  bool opaque() const { return m_BackStyle == text::BackStyle::HBkOpaque; }

  text::BackStyle m_BackStyle = text::BackStyle::HBkOpaque;
  AlignmentConst m_Alignment = AlignmentConst::HAlignLeft;
  std::string m_Caption;
  OLE_COLOR m_ForeColor = kForeColor;
  OLE_COLOR m_BackColor = kBackColor;
  bool m_AutoSize = false;
  bool m_AutoChangeBackColor = true;
  bool m_AllowForeColorOver = true;
  bool m_AllowForeColorDown = true;
  OLE_COLOR m_ForeColorOver = kForeColorOver;
  OLE_COLOR m_ForeColorDown = kForeColorDown;
  bool m_FontBold = false, m_FontItalic = false, m_FontStrikethru = false, m_FontUnderline = false;
  bool m_GradientOnOver = true;
  OLE_COLOR m_GradientColor1 = kGradientColor1;
  OLE_COLOR m_GradientColor2 = kGradientColor2;
  OLE_COLOR m_GradientColorOver1 = kGradientColorOver1;
  OLE_COLOR m_GradientColorOver2 = kGradientColorOver2;
  OLE_COLOR m_BorderColor = kBorderColor;
  host::PictureRef m_Picture;
  host::PictureRef m_PictureOnOver;
  PicSize m_PictureSize = PicSize::IMG_16X16;
  PicSize m_PictureOnOverSize = PicSize::IMG_16X16;
  bool m_UnderlineOnOver = false;
  std::string m_Hyperlink = kDefaultHyperlink;
  std::string m_SoundOnOver;
  std::string m_SoundOnClicked;

  int32_t m_TextHeight = 0;
  int m_resizeDepth = 0;
};

}  // namespace zxp::text
