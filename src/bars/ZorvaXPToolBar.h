// ZorvaXPToolBar: a horizontal strip of buttons painted on the control's own surface in one of
// three gradient modes (Vista Gradient: a panel fill; XP Gradient: a vertical ramp; Quorin: two
// half bands of GradientColor1 and white), with a dotted left gripper, a right sizing grip,
// etched separators, 16 x 16 pictures beside or above the captions, drop-down buttons with their
// own arrow zone and PopUpMainMenu event, toggle buttons held down while ButtonValue is 1, live
// key-lock and clock buttons, and a self-drawn tool tip: the "PicComplete" picture surface, a
// top-level pop-up window owned by the bar's form, painted as a glass gradient and shown below
// the hovered button (never for button 1, the gripper spacer). The scheme it shares with the
// status bar is ButtonStrip.
//
// Our choices: the second button of a new bar is captioned
// "Button"; the tool tip shows on the mouse move that reaches the button (no delay of its own)
// and hides on leave and on press; the right sizing grip is a three-row triangle of the left
// gripper's dots, its rows from nearest(H / 2 - 13) + 14 at a 4-pixel pitch.
#pragma once

#include <cstdint>
#include <string>

#include "bars/ButtonStrip.h"

namespace zxp::bars {

enum class THGradientMode : int32_t { Vista_Gradient = 0, XP_Gradient = 1, Quorin = 2 };
enum class THAlign : int32_t { Left = 0, Center = 1, Right = 2 };
enum class TStyleDType : int32_t { Normal_Text = 0, Caps = 1, Num = 2, Ins = 3, Scrl = 4, CurrentTime = 5, CurentDate = 6 };
enum class TMainStyleDType : int32_t { Normal = 0, DropDown = 1 };
enum class TButtonValue : int32_t { UnPressed = 0, Pressed = 1 };
enum class TCaptionAlignment : int32_t { Custom = 0, Bottom = 1 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(THGradientMode);
const host::EnumType& describeEnum(THAlign);
const host::EnumType& describeEnum(TStyleDType);
const host::EnumType& describeEnum(TMainStyleDType);
const host::EnumType& describeEnum(TButtonValue);
const host::EnumType& describeEnum(TCaptionAlignment);

class ZorvaXPToolBar final : public ButtonStrip {
 public:
  static constexpr OLE_COLOR kForeColorToolTip = 12068097;
  static constexpr OLE_COLOR kToolTipColor1 = 16777215;
  static constexpr OLE_COLOR kToolTipColor2 = 16759942;
  static constexpr int32_t kNewHeightTwips = 435;

  ZorvaXPToolBar();

  // ---- Control-wide properties of the tool bar ----
  THGradientMode GradientMode() const { return m_GradientMode; }
  void setGradientMode(THGradientMode v) { letProperty(m_GradientMode, v, "GradientMode", foundation::Redraw::Resting); }
  bool ShowGripperLeft() const { return m_ShowGripperLeft; }
  void setShowGripperLeft(bool v) { letProperty(m_ShowGripperLeft, v, "ShowGripperLeft", foundation::Redraw::Resting); }
  bool ShowGripperRight() const { return m_ShowGripperRight; }
  void setShowGripperRight(bool v) { letProperty(m_ShowGripperRight, v, "ShowGripperRight", foundation::Redraw::Resting); }
  TCaptionAlignment CaptionAlingment() const { return m_CaptionAlingment; }
  void setCaptionAlingment(TCaptionAlignment v) {
    letProperty(m_CaptionAlingment, v, "CaptionAlingment", foundation::Redraw::Resting);
  }
  OLE_COLOR ForeColorToolTip() const { return m_ForeColorToolTip; }
  void setForeColorToolTip(OLE_COLOR v) { letProperty(m_ForeColorToolTip, v, "ForeColorToolTip", foundation::Redraw::None); }
  OLE_COLOR ToolTipColor1() const { return m_ToolTipColor1; }
  void setToolTipColor1(OLE_COLOR v) { letProperty(m_ToolTipColor1, v, "ToolTipColor1", foundation::Redraw::None); }
  OLE_COLOR ToolTipColor2() const { return m_ToolTipColor2; }
  void setToolTipColor2(OLE_COLOR v) { letProperty(m_ToolTipColor2, v, "ToolTipColor2", foundation::Redraw::None); }

  // ---- Indexed properties of the tool bar's enumerated fields ----
  THAlign HeaderAlignment(int32_t Index) const { return static_cast<THAlign>(button(Index).HeaderAlignment); }
  void setHeaderAlignment(int32_t Index, THAlign v) {
    changeField(Index, &StripButton::HeaderAlignment, static_cast<int32_t>(v));
  }
  THAlign PicAlignment(int32_t Index) const { return static_cast<THAlign>(button(Index).PicAlignment); }
  void setPicAlignment(int32_t Index, THAlign v) { changeField(Index, &StripButton::PicAlignment, static_cast<int32_t>(v)); }
  TStyleDType Style(int32_t Index) const { return static_cast<TStyleDType>(button(Index).Style); }
  void setStyle(int32_t Index, TStyleDType v) { changeField(Index, &StripButton::Style, static_cast<int32_t>(v)); }
  TMainStyleDType MainStyle(int32_t Index) const { return static_cast<TMainStyleDType>(button(Index).MainStyle); }
  void setMainStyle(int32_t Index, TMainStyleDType v) {
    changeField(Index, &StripButton::MainStyle, static_cast<int32_t>(v));
  }
  bool ButtonSeparator(int32_t Index) const { return button(Index).ButtonSeparator; }
  void setButtonSeparator(int32_t Index, bool v) { changeField(Index, &StripButton::ButtonSeparator, v); }
  bool ButtonChecked(int32_t Index) const { return button(Index).ButtonChecked; }
  void setButtonChecked(int32_t Index, bool v) { changeField(Index, &StripButton::ButtonChecked, v); }
  TButtonValue ButtonValue(int32_t Index) const { return static_cast<TButtonValue>(button(Index).ButtonValue); }
  void setButtonValue(int32_t Index, TButtonValue v) {
    changeField(Index, &StripButton::ButtonValue, static_cast<int32_t>(v));
  }
  std::string ToolTip(int32_t Index) const { return button(Index).ToolTip; }
  void setToolTip(int32_t Index, std::string v) { changeField(Index, &StripButton::ToolTip, std::move(v)); }

  // ---- Methods (with the interface's defaults) ----
  void AddButton(std::string lpStrCaption, THAlign HCAlign = THAlign::Left, int32_t Header_Width = 100,
                 host::PictureRef PanelPic = {}, THAlign PictureAlign = THAlign::Left, bool PanelVisible = true,
                 bool PanelEnabled = true, TStyleDType PanelStyle = TStyleDType::Normal_Text, std::string PanelTag = {},
                 TMainStyleDType ButtonMainStyle = TMainStyleDType::Normal, bool BSepatator = false,
                 bool BChecked = false, TButtonValue BValue = TButtonValue::UnPressed, std::string BToolTip = {});
  void ChangeButton(int32_t Index, std::string lpStrCaption, THAlign HCAlign = THAlign::Left,
                    int32_t Header_Width = 100, host::PictureRef PanelPic = {}, THAlign PictureAlign = THAlign::Left,
                    bool PanelVisible = true, bool PanelEnabled = true,
                    TStyleDType PanelStyle = TStyleDType::Normal_Text, std::string PanelTag = {},
                    TMainStyleDType ButtonMainStyle = TMainStyleDType::Normal, bool BSepatator = false,
                    bool BChecked = false, TButtonValue BValue = TButtonValue::UnPressed, std::string BToolTip = {});
  void RemoveButton(int32_t Index) { removeButton(Index); }

  host::Event<int32_t, std::string, float, float> PopUpMainMenu;

  // The tool tip window and the text on show ("" when hidden).
  const foundation::SurfaceWindow& toolTipWindow() const { return PicComplete; }
  const std::string& toolTipText() const { return toolTipText_; }

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_Initialize() override;
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Terminate() override;

  void paintBackground(HDC dc, int W, int H) override;
  void paintSeparators(HDC dc, int H) override;
  bool grippersOn() const override { return m_ShowGripperLeft || m_ShowGripperRight; }
  void paintGrippers(HDC dc, int W, int H) override;
  void paintFace(HDC dc, size_t i, bool pressed) override;
  bool captionsBelowPictures() const override { return m_CaptionAlingment == TCaptionAlignment::Bottom; }
  int minHeight() const override { return captionsBelowPictures() ? 41 : 22; }
  void showToolTip(size_t i) override;
  void hideToolTip() override;
  void raisePopUp(int32_t& index, std::string& caption, float& x, float& y) override {
    PopUpMainMenu.raise(index, caption, x, y);
  }

 private:
  THGradientMode m_GradientMode = THGradientMode::Vista_Gradient;
  bool m_ShowGripperLeft = true;
  bool m_ShowGripperRight = false;
  TCaptionAlignment m_CaptionAlingment = TCaptionAlignment::Custom;
  OLE_COLOR m_ForeColorToolTip = kForeColorToolTip;
  OLE_COLOR m_ToolTipColor1 = kToolTipColor1;
  OLE_COLOR m_ToolTipColor2 = kToolTipColor2;

  foundation::SurfaceWindow PicComplete;  // the tool tip window, created at run time
  std::string toolTipText_;
};

}  // namespace zxp::bars
