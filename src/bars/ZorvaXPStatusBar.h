// ZorvaXPStatusBar: the tool bar's reduced sibling, a strip of panels along the bottom of a form.
// It shares the tool bar's scheme (ButtonStrip): panels laid out by width, one paint pass, hit
// records rebuilt by each pass, live Caps/Num/Ins/Scrl, time and date panels, hover and pressed
// faces, drag-to-resize of panel edges. It differs in what it draws and what it has: a
// Vista or XP background, an etched separator after every visible panel (ShowSeperators), a
// six-dot sizing grip in the last 19 pixels (ShowGripper), faces that cover the panel's full
// height and reach 4 pixels past its right edge, a hit tolerance of 8 pixels, and no drop-down
// zone, toggle, tool tip or left gripper: those members are absent from its member table.
// Hover and pressed faces are off on a new bar; a press shows its face but toggles nothing.
//
// Our choices: the first panel of a new bar is captioned "Ready";
// captions and pictures sit as in the tool bar's Custom mode; the grip is a triangle of one, two
// and three dark pixels at a 4-pixel pitch ending 5 pixels from the right and bottom edges,
// each with a white pixel below right; a GradientMode outside 0..1 paints the Vista background.
#pragma once

#include <cstdint>
#include <string>

#include "bars/ButtonStrip.h"

namespace zxp::bars {

enum class SHGradientMode : int32_t { Vista_Gradient = 0, XP_Gradient = 1 };
enum class SHAlign : int32_t { Left = 0, Center = 1, Right = 2 };
enum class StyleDType : int32_t { Normal_Text = 0, Caps = 1, Num = 2, Ins = 3, Scrl = 4, CurrentTime = 5, CurentDate = 6 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(SHGradientMode);
const host::EnumType& describeEnum(SHAlign);
const host::EnumType& describeEnum(StyleDType);

class ZorvaXPStatusBar final : public ButtonStrip {
 public:
  static constexpr OLE_COLOR kMouseDownColor1 = 14462553;
  static constexpr OLE_COLOR kMouseDownColor2 = 16703914;
  static constexpr int32_t kNewHeightTwips = 405;

  ZorvaXPStatusBar();

  SHGradientMode GradientMode() const { return m_GradientMode; }
  void setGradientMode(SHGradientMode v) { letProperty(m_GradientMode, v, "GradientMode", foundation::Redraw::Resting); }
  bool ShowGripper() const { return m_ShowGripper; }
  void setShowGripper(bool v) { letProperty(m_ShowGripper, v, "ShowGripper", foundation::Redraw::Resting); }
  bool ShowSeperators() const { return m_ShowSeperators; }
  void setShowSeperators(bool v) { letProperty(m_ShowSeperators, v, "ShowSeperators", foundation::Redraw::Resting); }

  SHAlign HeaderAlignment(int32_t Index) const { return static_cast<SHAlign>(button(Index).HeaderAlignment); }
  void setHeaderAlignment(int32_t Index, SHAlign v) {
    changeField(Index, &StripButton::HeaderAlignment, static_cast<int32_t>(v));
  }
  SHAlign PicAlignment(int32_t Index) const { return static_cast<SHAlign>(button(Index).PicAlignment); }
  void setPicAlignment(int32_t Index, SHAlign v) { changeField(Index, &StripButton::PicAlignment, static_cast<int32_t>(v)); }
  StyleDType Style(int32_t Index) const { return static_cast<StyleDType>(button(Index).Style); }
  void setStyle(int32_t Index, StyleDType v) { changeField(Index, &StripButton::Style, static_cast<int32_t>(v)); }

  void AddPanel(std::string lpStrCaption, SHAlign HCAlign = SHAlign::Left, int32_t Header_Width = 100,
                host::PictureRef PanelPic = {}, SHAlign PictureAlign = SHAlign::Left, bool PanelVisible = true,
                bool PanelEnabled = true, StyleDType PanelStyle = StyleDType::Normal_Text, std::string PanelTag = {});
  void ChangePanel(int32_t Index, std::string lpStrCaption, SHAlign HCAlign = SHAlign::Left, int32_t Header_Width = 100,
                   host::PictureRef PanelPic = {}, SHAlign PictureAlign = SHAlign::Left, bool PanelVisible = true,
                   bool PanelEnabled = true, StyleDType PanelStyle = StyleDType::Normal_Text, std::string PanelTag = {});
  void RemoveColumn(int32_t Index) { removeButton(Index); }

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;

  void paintBackground(HDC dc, int W, int H) override;
  void paintSeparators(HDC dc, int H) override;
  bool grippersOn() const override { return m_ShowGripper; }
  void paintGrippers(HDC dc, int W, int H) override;
  void paintFace(HDC dc, size_t i, bool pressed) override;

 private:
  static StripButton panel(std::string caption, int32_t align, int32_t width, host::PictureRef pic, int32_t picAlign,
                           bool visible, bool enabled, int32_t style, std::string tag);

  SHGradientMode m_GradientMode = SHGradientMode::Vista_Gradient;
  bool m_ShowGripper = true;
  bool m_ShowSeperators = true;
};

}  // namespace zxp::bars
