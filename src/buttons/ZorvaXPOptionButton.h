// ZorvaXPOptionButton: the option (radio) button. The round button is drawn on its own child
// surface picButton, a real 14 x 14 child window whose window region is a circle, placed 4 pixels
// from the left (Align - Left) or right (Align - Right) edge and vertically centred: a vertical
// gradient face inside a 2-pixel ring, a pressed face, and a dot (a filled circle) when Value is
// True. The caption fills the rest of the width, wrapped with word ellipsis and centred
// vertically. The background is a vertical gradient (OB -Gradient) or a plain colour (with
// AutoChangeBackColor the parent form's); with OBK -Transparent and a plain background the
// window's shape is cut down to the circle and the caption's letters (every caption pixel of the
// background colour is left out), so the parent shows through everywhere else.
//
// Group: the option buttons of the parent form whose container is the same window as this one's
// (compared by the container's window handle, so any container forms a group). Pressing a
// button, focusing it (Tab, a click) or its access key clears the group through each member's
// Value setter and selects it; Value set by code clears the group only at design time, with a
// module-wide "update under way" flag so that the members' setters do not start one of their
// own. Input on picButton raises the control's events, as input on the control does. The
// polling timer tmrHover runs at 13 ms.
//
// Choices:
//   - Locked means the user cannot change the button: pressing, focusing or the access key on a
//     locked button leave its whole group as it is, and a locked button shows its dot when Value
//     is True, so that its state stays visible. Selecting another member still clears it.
//   - An Align other than 0 or 1 places picButton on the left and draws no caption.
//   - A press on picButton gives the control the focus, as a press on the control does; picButton
//     itself never holds the focus.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/ControlBase.h"
#include "foundation/PartListener.h"
#include "foundation/SurfaceWindow.h"

namespace zxp::buttons {

enum class VOptionAlign : int16_t { Align_Left = 0, Align_Right = 1 };
enum class VOBackingStyle : int16_t { OBK_Transparent = 0, OBK_Opaque = 1 };
enum class VOBackStyle : int16_t { OB_Opaque = 0, OB_Gradient = 1 };

// Type information for the enumerations above (the interface's names and values).
const host::EnumType& describeEnum(VOptionAlign);
const host::EnumType& describeEnum(VOBackingStyle);
const host::EnumType& describeEnum(VOBackStyle);

class ZorvaXPOptionButton final : public foundation::ControlBase {
 public:
  // Fixed colours (COLORREF, 0x00BBGGRR).
  static constexpr COLORREF kRing = 0xB99D7F;
  static constexpr COLORREF kRingHover = 0xFBB613;
  static constexpr COLORREF kPressedTop = 0xE6B47D;
  static constexpr COLORREF kWhite = 0xFFFFFF;
  static constexpr int kButtonSize = 14;
  static constexpr int kMinimumSize = 23;      // pixels, either dimension
  static constexpr uint32_t kHoverInterval = 13;  // ms

  // Creation defaults.
  static constexpr OLE_COLOR kButtonGradientColor1 = 0xFFFFFF;
  static constexpr OLE_COLOR kButtonGradientColor2 = 0xE6B47D;
  static constexpr OLE_COLOR kBackColor = 0xD8E9EC;
  static constexpr OLE_COLOR kGradientColor1 = 0xFFFFFF;
  static constexpr OLE_COLOR kGradientColor2 = 0xF0C797;
  static constexpr OLE_COLOR kBorderColor = 0xB99D7F;
  static constexpr OLE_COLOR kBorderColorHover = 0xFBB613;
  static constexpr OLE_COLOR kForeColor = 0;
  static constexpr OLE_COLOR kForeColorHover = 0xD69703;
  static constexpr OLE_COLOR kTickColor = 0x99615F;
  static constexpr OLE_COLOR kTickHoverColor = 0xE08A43;
  static constexpr OLE_COLOR kDisabledForeColor = 0x808080;

  ZorvaXPOptionButton();

  // ---- Properties ----
  VOptionAlign Align() const { return m_Align; }
  void setAlign(VOptionAlign New_Align);
  OLE_COLOR ButtonGradientColor1() const { return m_ButtonGradientColor1; }
  void setButtonGradientColor1(OLE_COLOR New_ButtonGradientColor1);
  OLE_COLOR ButtonGradientColor2() const { return m_ButtonGradientColor2; }
  void setButtonGradientColor2(OLE_COLOR New_ButtonGradientColor2);
  bool AutoChangeBackColor() const { return m_AutoChangeBackColor; }
  void setAutoChangeBackColor(bool New_AutoChangeBackColor);
  OLE_COLOR BackColor() const { return m_BackColor; }
  void setBackColor(OLE_COLOR New_BackColor);
  VOBackingStyle BackingStyle() const { return m_BackingStyle; }
  void setBackingStyle(VOBackingStyle New_BackingStyle);
  OLE_COLOR GradientColor1() const { return m_GradientColor1; }
  void setGradientColor1(OLE_COLOR New_GradientColor1);
  OLE_COLOR GradientColor2() const { return m_GradientColor2; }
  void setGradientColor2(OLE_COLOR New_GradientColor2);
  VOBackStyle BackStyle() const { return m_BackStyle; }
  void setBackStyle(VOBackStyle New_BackStyle);
  bool BorderStyle() const { return m_BorderStyle; }
  void setBorderStyle(bool New_BorderStyle);
  OLE_COLOR BorderColor() const { return m_BorderColor; }
  void setBorderColor(OLE_COLOR New_BorderColor);
  const std::string& Caption() const { return m_Caption; }
  void setCaption(const std::string& New_Caption);
  OLE_COLOR BorderColorHover() const { return m_BorderColorHover; }
  void setBorderColorHover(OLE_COLOR New_BorderColorHover);
  OLE_COLOR ForeColor() const { return m_ForeColor; }
  void setForeColor(OLE_COLOR New_ForeColor);
  OLE_COLOR ForeColorHover() const { return m_ForeColorHover; }
  void setForeColorHover(OLE_COLOR New_ForeColorHover);
  OLE_COLOR TickColor() const { return m_TickColor; }
  void setTickColor(OLE_COLOR New_TickColor);
  OLE_COLOR TickHoverColor() const { return m_TickHoverColor; }
  void setTickHoverColor(OLE_COLOR New_TickHoverColor);
  bool Value() const { return m_Value; }
  // Stores, redraws and reports; at design time (and unless a group update is under way) it
  // first clears the group and keeps the new value.
  void setValue(bool New_Value);
  bool Locked() const { return m_Locked; }
  void setLocked(bool New_Locked);
  OLE_COLOR DisabledForeColor() const { return m_DisabledForeColor; }
  void setDisabledForeColor(OLE_COLOR New_DisabledForeColor);

  // ---- Methods ----
  // The whole control in its resting look (picButton placed, shaped and drawn).
  void RedrawMe();
  void Refresh() { RedrawMe(); }

  // The round button's surface, and the caption's rectangle as last laid out.
  const foundation::SurfaceWindow& buttonSurface() const { return picButton; }
  RECT captionRect() const { return m_CaptionRect; }
  // The members of this button's group, this one included, in the form's control order.
  std::vector<ZorvaXPOptionButton*> Group() const;

  const host::MemberTable& memberTable() const override;

 protected:
  void UserControl_Initialize() override;
  void UserControl_Terminate() override { picButton.destroy(); }
  void UserControl_InitProperties() override;
  void UserControl_ReadProperties(host::PropertyBag& PropBag) override;
  void UserControl_WriteProperties(host::PropertyBag& PropBag) override;
  void UserControl_Resize() override;
  void UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) override;
  void UserControl_GotFocus() override;
  void UserControl_AccessKeyPress(int16_t& KeyAscii) override;

  void redrawResting() override { RedrawMe(); }
  bool resizeRedrawsResting() const override { return true; }
  void redrawHover() override { DrawHover(); }

 private:
  std::string defaultCaption() const;
  void PlaceButton();
  void DrawFace(bool hover);
  void DrawPressedFace();
  void DrawDot(bool hover);
  void DrawBackground(bool hover);
  void DrawCaption(bool hover);
  void DrawHover();
  void ApplyTransparentShape();
  // Every member of the group, this one included, gets Value = False through its setter.
  void ClearGroup();
  // The press and release handling shared by mouse input, the focus and the access key.
  void Press(int16_t& Button, int16_t& Shift, float& X, float& Y, bool eventFirst);
  void Release(int16_t& Button, int16_t& Shift, float& X, float& Y);

  VOptionAlign m_Align = VOptionAlign::Align_Left;
  OLE_COLOR m_ButtonGradientColor1 = kButtonGradientColor1;
  OLE_COLOR m_ButtonGradientColor2 = kButtonGradientColor2;
  bool m_AutoChangeBackColor = true;
  OLE_COLOR m_BackColor = kBackColor;
  VOBackingStyle m_BackingStyle = VOBackingStyle::OBK_Opaque;
  OLE_COLOR m_GradientColor1 = kGradientColor1;
  OLE_COLOR m_GradientColor2 = kGradientColor2;
  VOBackStyle m_BackStyle = VOBackStyle::OB_Gradient;
  bool m_BorderStyle = true;
  OLE_COLOR m_BorderColor = kBorderColor;
  std::string m_Caption;
  OLE_COLOR m_BorderColorHover = kBorderColorHover;
  OLE_COLOR m_ForeColor = kForeColor;
  OLE_COLOR m_ForeColorHover = kForeColorHover;
  OLE_COLOR m_TickColor = kTickColor;
  OLE_COLOR m_TickHoverColor = kTickHoverColor;
  bool m_Value = false;
  bool m_Locked = false;
  OLE_COLOR m_DisabledForeColor = kDisabledForeColor;

  friend class foundation::PartListener<ZorvaXPOptionButton>;
  void partMouseDown(int, int16_t& b, int16_t& s, float& x, float& y);
  void partMouseUp(int, int16_t& b, int16_t& s, float& x, float& y);
  void partMouseMove(int, int16_t& b, int16_t& s, float& x, float& y);
  void partClick(int);
  void partDblClick(int);
  foundation::PartListener<ZorvaXPOptionButton> buttonListener_;  // before picButton: outlives it
  foundation::SurfaceWindow picButton;
  POINT m_ButtonPos{4, 0};  // picButton's place in the control
  RECT m_CaptionRect{0, 0, 0, 0};
};

}  // namespace zxp::buttons
