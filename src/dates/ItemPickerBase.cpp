#include "dates/ItemPickerBase.h"

#include "foundation/PenLines.h"
#include "foundation/modGeneral.h"
#include "foundation/modGradient.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/ui/User.h"

namespace zxp::dates {

ItemPickerBase::ItemPickerBase(int width) : width_(width), tmrUp("tmrUp", 200), tmrDown("tmrDown", 200) {}

void ItemPickerBase::setBorderColor(OLE_COLOR v) { letProperty(m_BorderColor, v, "BorderColor", foundation::Redraw::Resting); }

void ItemPickerBase::UserControl_Initialize() {
  UserControl.setBackColor(0xFFFFFF);
  for (int i = 0; i < kRows; ++i) {
    foundation::SurfaceWindow& s = picItem[static_cast<size_t>(i)];
    s.create(hWnd(), Rect::fromXYWH(1, 1 + i * kRowHeight, 1, 1));
    s.setTakesFocusOnClick(false);
    s.setBackColor(0xFFFFFF);
    s.setVisible(true);
    s.MouseMove.connect([this, i](int16_t& b, int16_t&, float&, float& y) { rowMove(i, b, y); });
    s.MouseDown.connect([this, i](int16_t& b, int16_t&, float&, float&) {
      if (b != 1) return;
      holding_ = true;
      paintRow(i, Look::Pressed);
    });
    s.MouseUp.connect([this, i](int16_t& b, int16_t&, float&, float& y) {
      if (b == 1) rowUp(i, y);
    });
  }
  tmrUp.Timer.connect([this] { step(-1); });
  tmrDown.Timer.connect([this] { step(1); });
}

void ItemPickerBase::UserControl_Terminate() {
  tmrUp.setEnabled(false);
  tmrDown.setEnabled(false);
  tmrHover.setEnabled(false);
}

// The picker keeps its size: its own width, seven rows high.
void ItemPickerBase::UserControl_Resize() {
  if (ScaleWidth() != width_) setWidthTwips(pixelsToTwips(width_));
  if (ScaleHeight() != kHeight) setHeightTwips(pixelsToTwips(kHeight));
  RedrawMe();
}

std::optional<int32_t> ItemPickerBase::rowValue(int i) const { return offset(current(), i - kRows / 2); }

std::string ItemPickerBase::rowText(int i) const {
  const std::optional<int32_t> v = rowValue(i);
  return v ? textOf(*v) : std::string();
}

void ItemPickerBase::RedrawMe() {
  if (!UserControl.exists()) return;
  const int w = ScaleWidth();
  for (int i = 0; i < kRows; ++i) {
    picItem[static_cast<size_t>(i)].Move(1, 1 + i * kRowHeight, std::max(1, w - 2), kRowHeight);
    picItem[static_cast<size_t>(i)].setFont(Font());
    paintRow(i, Look::Rest);
  }
  UserControl.Cls();
  foundation::drawOutline(UserControl.hDC(), translateColor(m_BorderColor), 0, 0, w, ScaleHeight());
}

void ItemPickerBase::paintRow(int i, Look look) {
  foundation::SurfaceWindow& s = picItem[static_cast<size_t>(i)];
  const HDC dc = s.hDC();
  if (!dc) return;
  const int w = s.ScaleWidth(), h = s.ScaleHeight();
  s.Cls();
  if (look == Look::Hover) GradientFillVertical(dc, w, h, kHoverBottom, 0xFFFFFF);
  if (look == Look::Pressed) GradientFillVertical(dc, w, h, kPressedBottom, kHoverBottom);
  const std::string t = rowText(i);
  RECT r{0, 0, w, h};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, 0);
  DrawTextA(dc, t.c_str(), static_cast<int>(t.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

int ItemPickerBase::rowAt(int listY) const {
  if (listY < 1) return -1;
  const int i = (listY - 1) / kRowHeight;
  return i >= kRows ? kRows : i;
}

void ItemPickerBase::rowMove(int i, int16_t button, float y) {
  const int at = rowAt(1 + i * kRowHeight + static_cast<int>(y));
  if (holding_ && (button & 1)) {
    // Held outside the list: scroll toward the cursor on the repeat timers.
    tmrUp.setEnabled(at < 0);
    tmrDown.setEnabled(at >= kRows);
    return;
  }
  if (hoverRow_ != i) {
    if (hoverRow_ >= 0) paintRow(hoverRow_, Look::Rest);
    hoverRow_ = i;
    paintRow(i, Look::Hover);
  }
  tmrHover.setEnabled(true);
}

void ItemPickerBase::rowUp(int i, float y) {
  holding_ = false;
  tmrUp.setEnabled(false);
  tmrDown.setEnabled(false);
  const int at = rowAt(1 + i * kRowHeight + static_cast<int>(y));
  paintRow(i, Look::Rest);
  if (at < 0 || at >= kRows) return;
  const std::optional<int32_t> v = rowValue(at);
  if (!v) return;
  int32_t value = *v;
  std::string text = textOf(value);
  ItemSelected.raise(value, text);
}

void ItemPickerBase::step(int delta) {
  const std::optional<int32_t> v = offset(current(), delta);
  if (v) setCurrent(*v);
}

void ItemPickerBase::tmrHover_Timer() {
  if (hoverRow_ < 0) {
    tmrHover.setEnabled(false);
    return;
  }
  if (!CursorOutsideWindow(picItem[static_cast<size_t>(hoverRow_)].hWnd())) return;
  paintRow(hoverRow_, Look::Rest);
  hoverRow_ = -1;
  tmrHover.setEnabled(false);
}

}  // namespace zxp::dates
