// ItemPickerBase: what the calendar's two private pickers (ZorvaYear4DBK, ZorvaMonth4DBK) share.
// A framed list of seven item rows (picture surfaces picItem 0..6, 22 pixels high each, inside a
// 1-pixel frame in BorderColor) centred on the current value: row 3 shows the value itself, the
// rows above the three before it and the rows below the three after it. Texts are centred.
//
// The row under the mouse is painted with a vertical gradient from 14987145 at the bottom to white
// at the top, until the 1 ms hover timer sees the cursor leave it; a pressed row runs from
// 0xFFFBD9 at the bottom to 14987145 at the top. Holding the button and moving above the list
// starts tmrUp, below it tmrDown (200 ms): each tick moves the value, and so the list, by one.
// Releasing on a row raises ItemSelected(Value, Text) with that row's value and text; releasing
// elsewhere reports nothing.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "foundation/ControlBase.h"

namespace zxp::dates {

class ItemPickerBase : public foundation::ControlBase {
 public:
  static constexpr OLE_COLOR kBorderColor = 12164479;
  static constexpr OLE_COLOR kHoverBottom = 14987145;
  static constexpr OLE_COLOR kPressedBottom = 0xFFFBD9;
  static constexpr int kRows = 7;
  static constexpr int kRowHeight = 22;
  static constexpr int kHeight = kRows * kRowHeight + 3;  // 157: the rows inside the frame

  OLE_COLOR BorderColor() const { return m_BorderColor; }
  void setBorderColor(OLE_COLOR New_BorderColor);
  // Lays out the rows and paints the frame and every row at rest.
  void RedrawMe();

  // (Value, Text) of the row released on.
  host::Event<int32_t, std::string> ItemSelected;

  // ---- State a host or a test may look at ----
  const foundation::SurfaceWindow& item(int i) const { return picItem[static_cast<size_t>(i)]; }
  const foundation::ControlTimer& upTimer() const { return tmrUp; }
  const foundation::ControlTimer& downTimer() const { return tmrDown; }
  // The value row i shows, none for a row outside the picker's range.
  std::optional<int32_t> rowValue(int i) const;
  std::string rowText(int i) const;

 protected:
  explicit ItemPickerBase(int width);

  // The current value, and setting it without a report (the list is redrawn).
  virtual int32_t current() const = 0;
  virtual void setCurrent(int32_t v) = 0;
  // The value `delta` places from v, none when it lies outside the picker's range.
  virtual std::optional<int32_t> offset(int32_t v, int delta) const = 0;
  virtual std::string textOf(int32_t v) const = 0;

  void UserControl_Initialize() override;
  void UserControl_Resize() override;
  void UserControl_Terminate() override;
  void redrawResting() override { RedrawMe(); }
  bool resizeRedrawsResting() const override { return true; }
  void tmrHover_Timer() override;

  OLE_COLOR m_BorderColor = kBorderColor;

 private:
  enum class Look { Rest, Hover, Pressed };
  void paintRow(int i, Look look);
  void rowMove(int i, int16_t button, float y);
  void rowUp(int i, float y);
  void step(int delta);
  int rowAt(int listY) const;  // -1 above the rows, kRows below them

  int width_;
  std::array<foundation::SurfaceWindow, kRows> picItem;
  foundation::ControlTimer tmrUp, tmrDown;
  int hoverRow_ = -1;
  bool holding_ = false;
};

}  // namespace zxp::dates
