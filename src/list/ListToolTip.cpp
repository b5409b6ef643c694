// The list control's cell tooltip: a borderless top-level pop-up that shows a cell's whole text
// about one second after the pointer comes to rest on a cell whose text is cut off.
#include <algorithm>

#include "foundation/PenLines.h"
#include "list/ZorvaXPListBox.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/ui/User.h"

namespace zxp::list {

using foundation::drawLines;
using foundation::drawOutline;
using foundation::fillSolid;

namespace {
constexpr int kMarginX = 6, kMarginY = 3, kShadow = 2;
constexpr BYTE kTipOpacity = 200;
}  // namespace

void ZorvaXPListBox::toolTipFollow(int x, int y, bool buttonHeld) {
  if (buttonHeld) {
    hideToolTip();
    tmrToolTip.setEnabled(false);
    return;
  }
  const int32_t row = hitTest(x, y) == Part::Rows ? rowAt(y) : 0;
  const int32_t column = row >= 1 ? columnAt(x) : 0;
  if (row != tipRow_ || column != tipColumn_) {
    hideToolTip();
    tipRow_ = row;
    tipColumn_ = column;
    // Restart the delay for the new cell.
    tmrToolTip.setEnabled(false);
    tmrToolTip.setEnabled(row >= 1 && column >= 1);
  }
}

void ZorvaXPListBox::tmrToolTip_Timer() {
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(hWnd(), &p);
  if (press_ == Part::Rows || hitTest(p.x, p.y) != Part::Rows) {
    tmrToolTip.setEnabled(false);
    hideToolTip();
    return;
  }
  const int32_t row = rowAt(p.y), column = columnAt(p.x);
  if (row != tipRow_ || column != tipColumn_) {
    tmrToolTip.setEnabled(false);
    return;
  }
  if (!tip_.exists() && cellClipped(row, column)) showToolTip(row, column);
}

bool ZorvaXPListBox::cellClipped(int32_t row, int32_t column) const {
  if (row < 1 || row > data_.ListCount() || row < topRow_ || row > lastRow_) return false;
  const bool multi = data_.multiColumn();
  std::string text = multi ? data_.TextMatrix(row, column) : data_.TextMatrix(row, 1);
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }),
             text.end());
  if (text.empty()) return false;
  int left = 1, right = rowAreaRight();
  if (multi) {
    if (column < 1 || column >= static_cast<int32_t>(columnBands_.size())) return false;
    left = columnBands_[static_cast<size_t>(column)].left;
    right = std::min(right, columnBands_[static_cast<size_t>(column)].right);
    if (data_.ColumnStyle(column) == LHStyle::CheckBox) return false;
  }
  SIZE size{};
  GetTextExtentPoint32(UserControl.hDC(), text.c_str(), static_cast<int>(text.size()), &size);
  // The room the painter gives the text: 3 and 2 pixels of margin, 21 more beside a cell button;
  // the fixed first column keeps 2 and 12 (its current-row arrow).
  const bool fixedCell = multi && m_SetFirstColumnAsFixed && column == 1;
  const int room = fixedCell ? right - left - 14
                             : right - left - 5 -
                                   ((multi ? data_.ColumnStyle(column) : m_CustomStyle) == LHStyle::Button ? 21 : 0);
  // A cell also counts as cut off when it runs under the left edge (scrolled partly away).
  const int visibleLeft = multi && m_SetFirstColumnAsFixed && column > 1 ? columnBands_[1].right : 1;
  return size.cx > room || left < visibleLeft;
}

void ZorvaXPListBox::showToolTip(int32_t row, int32_t column) {
  std::string text = data_.multiColumn() ? data_.TextMatrix(row, column) : data_.TextMatrix(row, 1);
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\t'; }),
             text.end());
  POINT at{};
  GetCursorPos(&at);
  if (!tip_.createPopup(GetAncestor(hWnd(), GA_ROOT), Rect{at.x, at.y + 18, at.x + 1, at.y + 19})) return;
  tip_.setTakesFocusOnClick(false);
  tip_.setEnabled(false);
  tip_.setFont(m_ToolTipTextFont ? m_ToolTipTextFont : m_Font);
  const HDC dc = tip_.hDC();
  SIZE size{};
  GetTextExtentPoint32(dc, text.c_str(), static_cast<int>(text.size()), &size);
  const int w = size.cx + 2 * kMarginX + kShadow, h = size.cy + 2 * kMarginY + kShadow;
  tip_.Move(at.x, at.y + 18, w, h);
  const RECT face{0, 0, w - kShadow, h - kShadow};
  if (m_UseSystemDefaultForToolTipText)
    fillSolid(dc, GetSysColor(COLOR_INFOBK), face);
  else
    fillAngleGradient(dc, face, m_ToolTipTextGradientColor1, m_ToolTipTextGradientColor2, m_ToolTipTextGradientAngle,
                      m_ToolTipTextGradientStyle);
  drawOutline(dc, translateColor(m_ToolTipTextBorderColor), face.left, face.top, face.right, face.bottom);
  // The shadow along the right and bottom edges, its first 4 pixels left out at each corner.
  fillSolid(dc, GetSysColor(COLOR_WINDOW), RECT{w - kShadow, 0, w, h});
  fillSolid(dc, GetSysColor(COLOR_WINDOW), RECT{0, h - kShadow, w, h});
  const COLORREF shadow = translateColor(m_ToolTipTextShadowColor);
  fillSolid(dc, shadow, RECT{w - kShadow, 4, w, h});
  fillSolid(dc, shadow, RECT{4, h - kShadow, w, h});
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, translateColor(m_ToolTipTextForeColor));
  RECT tr{kMarginX, 0, w - kShadow - kMarginX + 1, h - kShadow};
  DrawText(dc, text, &tr, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
  // Layered and transparent to the mouse, as tool tips are: the pointer keeps reaching the list
  // through the tip. Opacity 200 of 255 with ToolTipTextBlend, else opaque.
  SetWindowLongA(tip_.hWnd(), GWL_EXSTYLE,
                 GetWindowLongA(tip_.hWnd(), GWL_EXSTYLE) | static_cast<LONG>(WS_EX_LAYERED | WS_EX_TRANSPARENT));
  SetLayeredWindowAttributes(tip_.hWnd(), 0, m_ToolTipTextBlend ? kTipOpacity : BYTE{255}, LWA_ALPHA);
  tip_.setVisible(true);
}

void ZorvaXPListBox::hideToolTip() {
  if (tip_.exists()) tip_.destroy();
}

}  // namespace zxp::list
