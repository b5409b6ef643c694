// The list control's input: hit-testing, selection, keyboard, wheel, header clicks and column
// resizing, scroll bar arrows, track and thumb (see ZorvaXPListBox.h).
#include <algorithm>
#include <cmath>

#include "list/ZorvaXPListBox.h"
#include "platform/gfx/SysColors.h"
#include "platform/ui/Messages.h"
#include "platform/ui/User.h"

namespace zxp::list {

namespace {
constexpr int kBorderTolerance = 4;  // pixels either side of a column's right edge
bool inside(int v, int lo, int hi) { return v >= lo && v < hi; }
}  // namespace

// ---- Hit-testing ------------------------------------------------------------------------------------

ZorvaXPListBox::Part ZorvaXPListBox::hitTest(int x, int y) const {
  const int W = ScaleWidth(), H = ScaleHeight();
  if (data_.multiColumn() && m_ShowHeaders && y >= 1 && y <= m_HeaderHeight && x < W - (vBarShown_ ? kScrollBarSize : 0))
    return Part::Header;
  if (vBarShown_ && x >= W - 1 - kScrollBarSize && x < W - 1) {
    const int bottom = H - 1 - (hBarShown_ ? kScrollBarSize : 0);
    const BarGeometry g = verticalBar();
    if (inside(y, 1, 1 + kScrollBarSize)) return Part::VUp;
    if (inside(y, bottom - kScrollBarSize, bottom)) return Part::VDown;
    if (inside(y, g.thumbStart, g.thumbEnd)) return Part::VThumb;
    if (inside(y, g.trackStart, g.trackEnd)) return Part::VTrack;
  }
  if (hBarShown_ && y >= H - 1 - kScrollBarSize && y < H - 1) {
    const int right = W - 1 - (vBarShown_ ? kScrollBarSize : 0);
    const BarGeometry g = horizontalBar();
    if (inside(x, g.thumbStart, g.thumbEnd)) return Part::HThumb;
    if (inside(x, 1, 1 + kScrollBarSize)) return Part::HLeft;
    if (inside(x, right - kScrollBarSize, right)) return Part::HRight;
    if (inside(x, g.trackStart, g.trackEnd)) return Part::HTrack;
  }
  if (y >= rowAreaTop() && y < rowAreaBottom() && x >= 1 && x < rowAreaRight()) return Part::Rows;
  return Part::None;
}

int32_t ZorvaXPListBox::rowAt(int y) const {
  for (const Band& b : rowBands_)
    if (y >= b.top && y < b.bottom) return b.index;
  return 0;
}

int32_t ZorvaXPListBox::columnAt(int x) const {
  if (!data_.multiColumn()) return 1;
  if (m_SetFirstColumnAsFixed && columnBands_.size() > 1 && x >= columnBands_[1].left && x < columnBands_[1].right)
    return 1;
  for (int32_t c = firstVisibleColumn_; c >= 1 && c <= lastVisibleColumn_; ++c) {
    const Band& b = columnBands_[static_cast<size_t>(c)];
    if (x >= b.left && x < b.right) return c;
  }
  return 0;
}

// ---- Scrolling ------------------------------------------------------------------------------------

void ZorvaXPListBox::scrollTo(int32_t top) {
  if (data_.ListCount() == 0) return;
  const int32_t clamped = std::clamp(top, 1, lastTopRow());
  if (clamped == topRow_) return;
  const int32_t delta = clamped - topRow_;
  // A short scroll over a background that does not change down the row area copies the rows
  // that stay in view and paints only the rows that come in (and the one the bottom cut off).
  if (!m_LockUpdate && backDC_ && !backDirty_ && vBarShown_ && !m_AutoSetRowHeight && uniformDownRows() &&
      std::abs(delta) < visibleCount_ && !rowBands_.empty()) {
    const HDC dc = UserControl.hDC();
    const int areaTop = rowAreaTop(), areaBottom = rowAreaBottom(), width = rowAreaRight() - 1;
    const int shift = delta * m_RowHeight;
    const int32_t oldTop = topRow_, oldLast = lastRow_;
    if (shift > 0)
      BitBlt(dc, 1, areaTop, width, areaBottom - areaTop - shift, dc, 1, areaTop + shift, SRCCOPY);
    else
      BitBlt(dc, 1, areaTop - shift, width, areaBottom - areaTop + shift, dc, 1, areaTop, SRCCOPY);
    topRow_ = clamped;
    layoutRows();
    for (const Band& b : rowBands_) {
      const bool incoming = delta > 0 ? b.index >= oldLast : b.index < oldTop;
      if (incoming) paintRow(b.index);
    }
    if (delta > 0 && !rowBands_.empty() && rowBands_.back().bottom < areaBottom)
      restoreBand(1, rowBands_.back().bottom, width, areaBottom - rowBands_.back().bottom);
    paintBar(true);
    return;
  }
  topRow_ = clamped;
  RedrawList();
}

bool ZorvaXPListBox::uniformDownRows() const {
  if (!m_Picture.empty()) return false;
  if (m_BackgroundStyle == LBStyle::Normal) return true;
  // A gradient whose ramp runs across (angle 0 or 180) is the same on every pixel row.
  const float a = std::fmod(std::fmod(m_BackGradientAngle, 180.0f) + 180.0f, 180.0f);
  return a == 0.0f;
}

void ZorvaXPListBox::setTopRow(int32_t row) { scrollTo(row); }

bool ZorvaXPListBox::wheel(int32_t amount) {
  if (!vBarShown_) return false;
  if (amount == 1)
    scrollTo(topRow_ - 3);
  else if (amount == -1)
    scrollTo(topRow_ + 3);
  return true;
}

void ZorvaXPListBox::scrollRowIntoView(int32_t row) {
  if (row < 1) return;
  if (row < topRow_)
    scrollTo(row);
  else if (visibleCount_ > 0 && row >= topRow_ + visibleCount_)
    scrollTo(row - visibleCount_ + 1);
}

void ZorvaXPListBox::scrollColumnIntoView(int32_t column) {
  if (!data_.multiColumn() || column < 1 || column >= static_cast<int32_t>(columnBands_.size())) return;
  if (m_SetFirstColumnAsFixed && column == 1) return;
  const Band& b = columnBands_[static_cast<size_t>(column)];
  const int left = m_SetFirstColumnAsFixed ? columnBands_[1].right : 1;
  const int right = rowAreaRight();
  if (b.left < left)
    hOffset_ -= left - b.left;
  else if (b.right > right)
    hOffset_ += std::min(b.right - right, b.left - left);
  else
    return;
  RedrawList();
}

void ZorvaXPListBox::arrowStep(Part part) {
  switch (part) {
    case Part::VUp:
    case Part::VDown: {
      const int32_t before = topRow_;
      int32_t way = part == Part::VUp ? -1 : 1;
      scrollTo(topRow_ + way);
      if (topRow_ != before) {
        int32_t top = topRow_, amount = 1;
        VerticalScrolling.raise(top, way, amount);
      }
      break;
    }
    case Part::HLeft:
      hOffset_ = std::max(0, hOffset_ - kHScrollStep);
      RedrawList();
      break;
    case Part::HRight:
      hOffset_ += kHScrollStep;
      RedrawList();
      break;
    case Part::VTrack: {
      POINT p{};
      GetCursorPos(&p);
      ScreenToClient(hWnd(), &p);
      const BarGeometry g = verticalBar();
      if (p.y < g.thumbStart) scrollTo(topRow_ - std::max(1, visibleCount_));
      else if (p.y >= g.thumbEnd) scrollTo(topRow_ + std::max(1, visibleCount_));
      break;
    }
    case Part::HTrack: {
      POINT p{};
      GetCursorPos(&p);
      ScreenToClient(hWnd(), &p);
      const BarGeometry g = horizontalBar();
      const int page = std::max(kHScrollStep, rowAreaRight() - 1);
      if (p.x < g.thumbStart) hOffset_ = std::max(0, hOffset_ - page);
      else if (p.x >= g.thumbEnd) hOffset_ += page;
      RedrawList();
      break;
    }
    default:
      break;
  }
}

void ZorvaXPListBox::onRepeatTick() {
  if (thumbDragging_) {
    thumbDrag();
    return;
  }
  // Arrows and track repeat every 25 ms while the button stays down on them.
  if (press_ == Part::VUp || press_ == Part::VDown || press_ == Part::HLeft || press_ == Part::HRight ||
      press_ == Part::VTrack || press_ == Part::HTrack) {
    POINT p{};
    GetCursorPos(&p);
    ScreenToClient(hWnd(), &p);
    if (hitTest(p.x, p.y) == press_ || press_ == Part::VTrack || press_ == Part::HTrack) arrowStep(press_);
    return;
  }
  tmrRepeat.setEnabled(false);
}

void ZorvaXPListBox::onHoverTick() {
  POINT p{};
  GetCursorPos(&p);
  RECT wr{};
  GetWindowRect(hWnd(), &wr);
  ScreenToClient(hWnd(), &p);
  POINT screen{};
  GetCursorPos(&screen);
  const bool over = PtInRect(&wr, screen) != FALSE;
  if (over && hitTest(p.x, p.y) == hover_ && hover_ != Part::None) return;
  hover_ = Part::None;
  hoverColumn_ = 0;
  tmrHoverParts.setEnabled(false);
  RedrawList();
}

// ---- Selection -------------------------------------------------------------------------------------

void ZorvaXPListBox::moveCurrent(int32_t row) {
  int32_t last = data_.ListIndex();
  if (row == last) return;
  data_.setListIndex(row);
  int32_t now = row;
  ListIndexChange.raise(now, last);
}

void ZorvaXPListBox::selectByMode(int32_t row, bool fromKeyboard) {
  if (row < 1 || row > data_.ListCount()) return;
  const int32_t previous = data_.ListIndex();
  const bool shift = shiftHeld_, ctrl = ctrlHeld_;
  if (shift && anchorRow_ < 1) anchorRow_ = previous >= 1 ? previous : row;
  if (!shift || anchorColumn_ == 0) anchorColumn_ = static_cast<int16_t>(data_.SelectedColIndex());
  const bool lock = m_LockUpdate;
  m_LockUpdate = true;  // one repaint at the end
  data_.LockUpdate = true;
  switch (m_SelectedMode) {
    case LSelectedMode::LSMMultiple:
      moveCurrent(row);
      if (!fromKeyboard) data_.setSelected(row, !data_.Selected(row));
      break;
    case LSelectedMode::LSMExtend: {
      moveCurrent(row);
      if (shift) {
        for (int32_t r = 1; r <= data_.ListCount(); ++r) {
          if (data_.Selected(r)) data_.setSelected(r, false);
        }
        const int32_t a = std::min(anchorRow_, row), b = std::max(anchorRow_, row);
        for (int32_t r = a; r <= b; ++r) data_.setSelected(r, true);
      } else if (ctrl) {
        data_.setSelected(row, !data_.Selected(row));
        anchorRow_ = row;
      } else {
        // Clearing only the flagged rows keeps a click on a million rows cheap in practice.
        if (data_.SelectedCount() > 0)
          for (int32_t r = 1; r <= data_.ListCount(); ++r)
            if (data_.Selected(r)) data_.setSelected(r, false);
        data_.setSelected(row, true);
        anchorRow_ = row;
      }
      data_.setExtendedRows(anchorRow_, row);
      data_.setExtendedCells(anchorColumn_, static_cast<int16_t>(data_.SelectedColIndex()));
      break;
    }
    case LSelectedMode::LSMSingle:
    default:
      if (previous >= 1 && previous <= data_.ListCount()) data_.setSelected(previous, false);
      data_.setSelected(row, true);
      moveCurrent(row);
      break;
  }
  // Without Shift the row becomes the anchor of the next Shift selection.
  if (!shift) anchorRow_ = row;
  m_LockUpdate = lock;
  data_.LockUpdate = lock;
  RedrawList();
}

void ZorvaXPListBox::toggleCheck(int32_t row, int32_t column) {
  if (row < 1 || row > data_.ListCount()) return;
  if (data_.multiColumn()) {
    const std::string t = data_.TextMatrix(row, column);
    data_.setTextMatrix(row, column, t == "True" || t == "1" ? "False" : "True");
  } else {
    clsLItem& item = *data_.Item(row);
    item.setiValue(!item.iValue());
  }
  if (!m_LockUpdate) paintRow(row);
}

void ZorvaXPListBox::rowClick(int16_t Button, int x, int y) {
  const int32_t row = rowAt(y);
  const int32_t column = columnAt(x);
  if (row < 1) return;
  clickedRow_ = row;
  clickedColumn_ = column;
  const bool multi = data_.multiColumn();
  if (column >= 1 && column != data_.SelectedColIndex()) {
    data_.setSelectedColIndex(column);
    if (multi && m_ShowHeaders && !m_LockUpdate) paintHeader();  // the current column's header
  }
  const Band& band = rowBands_[static_cast<size_t>(row - topRow_)];
  // The check glyph: 16 x 16 at left + 9 (or right - 25 when right-aligned), centred vertically.
  const LHStyle style = multi ? (column >= 1 ? data_.ColumnStyle(column) : LHStyle::Default) : m_CustomStyle;
  const LHAlignment align = multi ? (column >= 1 ? data_.ColumnAlignment(column) : LHAlignment::Left) : m_TextAlignment;
  const int cellLeft = multi && column >= 1 ? columnBands_[static_cast<size_t>(column)].left : 1;
  const int cellRight = multi && column >= 1 ? columnBands_[static_cast<size_t>(column)].right : rowAreaRight();
  if (style == LHStyle::CheckBox) {
    const int gx = align == LHAlignment::Right ? cellRight - 16 - 8 - 1 : cellLeft + 9;
    const int gy = nearest((band.bottom - band.top - 16) / 2.0) + band.top;
    if (x >= gx && x < gx + 16 && y >= gy && y < gy + 16) toggleCheck(row, multi ? column : 1);
  }
  PlaySoundFile(m_SoundOnClick);
  selectByMode(row, false);
  if (style == LHStyle::Button && x >= cellRight - 21 && x < cellRight - 2) {
    int32_t r = data_.ListIndex(), c = multi ? column : 1;
    std::string text = multi ? data_.TextMatrix(r, c) : std::string(data_.List(r));
    if (!multi) text.erase(std::remove_if(text.begin(), text.end(), [](char ch) { return ch == '\r' || ch == '\n' || ch == '\t'; }), text.end());
    CellButtonClick.raise(r, c, text);
  }
  (void)Button;
  if (boundEditor(multi ? column : 1)) {
    startEdit(data_.ListIndex(), multi ? column : 1);
    if (editing_) pressEditColumn_ = editColumn_;
  }
  int32_t index = data_.ListIndex();
  std::string whole(data_.List(index));
  ListClick.raise(index, whole);
}

// ---- Header ------------------------------------------------------------------------------------------

void ZorvaXPListBox::headerPress(int x, int y, int16_t Button) {
  int32_t column = columnAt(x);
  // On a column's right border the press starts a resize.
  if (m_AllowToHeadersResizing) {
    for (int32_t c = 1; c < static_cast<int32_t>(columnBands_.size()); ++c) {
      const Band& b = columnBands_[static_cast<size_t>(c)];
      if (c >= firstVisibleColumn_ && c <= lastVisibleColumn_ && std::abs(x - b.right) <= kBorderTolerance) {
        resizing_ = true;
        resizeColumn_ = c;
        resizeLineX_ = x;
        return;
      }
    }
  }
  if (column < 1) return;
  pressedColumn_ = column;
  if (m_AllowSortItems) {
    if (column == sortedColumn_)
      sortAscending_ = !sortAscending_;
    else
      sortAscending_ = true;
    sortedColumn_ = column;
    data_.ResortCol(column, sortAscending_ ? LSortMethod::LSAcesnding : LSortMethod::LSDescending);
  }
  RedrawList();
  HeaderClick.raise(column);
  int16_t button = Button;
  float fx = static_cast<float>(x), fy = static_cast<float>(y);
  HeaderAdvancedClick.raise(column, button, fx, fy);
}

void ZorvaXPListBox::finishColumnResize(int x) {
  const int32_t c = resizeColumn_;
  resizing_ = false;
  resizeLineX_ = -1;
  if (c >= 1 && c < static_cast<int32_t>(columnBands_.size())) {
    const int width = std::max(20, x - columnBands_[static_cast<size_t>(c)].left);
    data_.setColumnWidth(c, width);
  }
  resizeColumn_ = 0;
  RedrawMe();
}

// ---- Mouse ------------------------------------------------------------------------------------------

void ZorvaXPListBox::UserControl_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  const int x = static_cast<int>(X), y = static_cast<int>(Y);
  shiftHeld_ = (Shift & 1) != 0;
  ctrlHeld_ = (Shift & 2) != 0;
  commitIfFocusLeft();  // the press took the focus from an open editor: its edit is over
  const Part part = hitTest(x, y);
  press_ = part;
  hideToolTip();
  tmrToolTip.setEnabled(false);
  switch (part) {
    case Part::Header:
      if (Button == 1) headerPress(x, y, Button);
      break;
    case Part::VUp:
    case Part::VDown:
    case Part::HLeft:
    case Part::HRight:
    case Part::VTrack:
    case Part::HTrack:
      arrowStep(part);
      tmrRepeat.setEnabled(true);
      RedrawList();
      break;
    case Part::VThumb:
    case Part::HThumb:
      thumbDragging_ = true;
      dragLastY_ = part == Part::VThumb ? y : x;
      tmrRepeat.setEnabled(true);
      RedrawList();
      break;
    case Part::Rows:
      pressAt_ = POINT{x, y};
      if (Button != 2 || m_AllowToSelectUsingRightMButton) rowClick(Button, x, y);
      break;
    default:
      break;
  }
  MouseDown.raise(Button, Shift, X, Y);
}

// One pass of the thumb drag, run every 25 ms by tmrRepeat while a thumb is held: between the
// passes the event loop dispatches whatever else is pending, so the desktop stays responsive.
void ZorvaXPListBox::thumbDrag() {
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(hWnd(), &p);
  if (press_ == Part::VThumb) {
    const BarGeometry g = verticalBar();
    // Past either end of the track the list goes to that end and the drag is over.
    if (p.y >= g.trackEnd || p.y < g.trackStart) {
      scrollTo(p.y < g.trackStart ? 1 : lastTopRow());
      thumbDragging_ = false;
      tmrRepeat.setEnabled(false);
      paintBar(true);
      return;
    }
    const int length = g.trackEnd - g.trackStart;
    const int32_t rows =
        nearest(std::abs(p.y - dragLastY_) / static_cast<double>(std::max(1, length - 4)) * data_.ListCount());
    if (rows == 0) {
      paintBar(true);
      return;
    }
    int32_t top = topRow_, way = p.y < dragLastY_ ? -1 : 1, amount = way * rows;
    VerticalScrolling.raise(top, way, amount);
    scrollTo(topRow_ + way * rows);
    dragLastY_ = p.y;
  } else if (press_ == Part::HThumb) {
    const BarGeometry g = horizontalBar();
    const int length = std::max(1, g.trackEnd - g.trackStart - 4);
    const int delta = nearest(static_cast<double>(p.x - dragLastY_) / length * totalColumnWidth());
    if (delta != 0) {
      hOffset_ = std::max(0, hOffset_ + delta);
      dragLastY_ = p.x;
      RedrawList();
    }
  }
}

void ZorvaXPListBox::UserControl_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  const int x = static_cast<int>(X), y = static_cast<int>(Y);
  if (resizing_) {
    resizeLineX_ = std::max(x, columnBands_[static_cast<size_t>(resizeColumn_)].left + 20);
    RedrawList();
  } else if (thumbDragging_) {
    // The thumb follows the pointer on the drag's own 25 ms ticks (thumbDrag).
  } else {
    const Part part = hitTest(x, y);
    if (Button == 0 && part != Part::Rows && part != Part::None) {
      const int32_t column = part == Part::Header ? columnAt(x) : 0;
      if (part != hover_ || column != hoverColumn_) {
        hover_ = part;
        hoverColumn_ = column;
        tmrHoverParts.setEnabled(true);
        RedrawList();
      }
    } else if (hover_ != Part::None && part != hover_) {
      hover_ = Part::None;
      hoverColumn_ = 0;
      RedrawList();
    }
    if (m_DragSelected && Button == 1 && press_ == Part::Rows && clickedRow_ >= 1) dragRowTo(y);
    if (part == Part::Rows && !m_DragSelected && ((Button == 1 && press_ == Part::Rows) || m_HoverSelection)) {
      const int32_t row = rowAt(y);
      if (row >= 1 && row != data_.ListIndex()) {
        if (m_SelectedMode == LSelectedMode::LSMSingle) {
          PlaySoundFile(m_SoundOnOver);
          selectByMode(row, true);
        } else if (m_SelectedMode == LSelectedMode::LSMExtend) {
          PlaySoundFile(m_SoundOnOver);
          const bool shift = shiftHeld_;
          shiftHeld_ = true;
          selectByMode(row, true);
          shiftHeld_ = shift;
        }
        // The editor the press opened no longer sits on the current row: it goes until the
        // release opens it on the row then current.
        if (pressEditColumn_ && editing_ && editRow_ != data_.ListIndex()) closeEditors(false);
      }
    }
  }
  if (m_DisplayToolTipsForListItems) toolTipFollow(x, y, Button != 0 || press_ != Part::None);
  const bool oleDrag = !m_DragSelected && m_OLEDragMode == 1 && Button == 1 && press_ == Part::Rows &&
                       clickedRow_ >= 1 &&
                       (std::abs(x - pressAt_.x) >= GetSystemMetrics(SM_CXDRAG) ||
                        std::abs(y - pressAt_.y) >= GetSystemMetrics(SM_CYDRAG));
  if (oleDrag) OLEDrag();
  MouseMove.raise(Button, Shift, X, Y);
}

void ZorvaXPListBox::UserControl_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
  const Part pressed = press_;
  press_ = Part::None;
  thumbDragging_ = false;
  tmrRepeat.setEnabled(false);
  if (resizing_) finishColumnResize(static_cast<int>(X));
  if (dragRow_ >= 1) dropRow();
  const int32_t pressEdit = pressEditColumn_;
  pressEditColumn_ = 0;
  if (pressed == Part::Rows && clickedRow_ >= 1 && data_.ListIndex() >= 1) {
    // A press that opened an editor and dragged the current row elsewhere: the editor opens
    // on the row the release leaves current, the row CellClick and RowClick name.
    if (pressEdit && (!editing_ || editRow_ != data_.ListIndex())) startEdit(data_.ListIndex(), pressEdit);
    int32_t row = data_.ListIndex();
    int32_t column = data_.multiColumn() ? data_.SelectedColIndex() : 1;
    int32_t l = 0, t = 0, r = 0, b = 0;
    if (row >= topRow_ && row <= lastRow_ && !rowBands_.empty()) {
      const Band& band = rowBands_[static_cast<size_t>(row - topRow_)];
      t = band.top;
      b = band.bottom;
      l = data_.multiColumn() ? columnBands_[static_cast<size_t>(column)].left : band.left;
      r = data_.multiColumn() ? columnBands_[static_cast<size_t>(column)].right : band.right;
    }
    std::string text = data_.TextMatrix(row, column);
    CellClick.raise(row, column, l, t, r, b, text);
    std::string whole(data_.List(row));
    RowClick.raise(row, whole);
  }
  if (pressed != Part::None && pressed != Part::Rows) {
    pressedColumn_ = 0;
    RedrawList();
  }
  clickedRow_ = 0;
  MouseUp.raise(Button, Shift, X, Y);
}

// ---- Keyboard ---------------------------------------------------------------------------------------

void ZorvaXPListBox::UserControl_KeyDown(int16_t& KeyCode, int16_t& Shift) {
  if (data_.ListCount() > 0) {
    shiftHeld_ = (Shift & 1) != 0;
    ctrlHeld_ = (Shift & 2) != 0;
    if (KeyCode == VK_SHIFT && anchorRow_ < 1) anchorRow_ = data_.ListIndex();
    const int32_t count = data_.ListCount();
    const int32_t current = std::max(1, data_.ListIndex());
    const bool multi = data_.multiColumn();
    auto go = [&](int32_t row) {
      row = std::clamp(row, 1, count);
      selectByMode(row, true);
      scrollRowIntoView(row);
    };
    switch (KeyCode) {
      case VK_DOWN: go(data_.ListIndex() < 1 ? 1 : current + 1); break;
      case VK_UP: go(current - 1); break;
      case VK_NEXT: go(current + std::max(1, visibleCount_)); break;
      case VK_PRIOR: go(current - std::max(1, visibleCount_)); break;
      case VK_END: go(count); break;
      case VK_HOME: go(1); break;
      case VK_RIGHT:
      case VK_LEFT:
        if (multi) {
          const int32_t first = m_SetFirstColumnAsFixed && data_.ColumnsCount() > 1 ? 2 : 1;
          const int32_t c = std::clamp(data_.SelectedColIndex() + (KeyCode == VK_RIGHT ? 1 : -1), first,
                                       data_.ColumnsCount());
          data_.setSelectedColIndex(c);
          if (!shiftHeld_) anchorColumn_ = static_cast<int16_t>(c);
          data_.setExtendedCells(anchorColumn_, static_cast<int16_t>(c));
          RedrawList();
          scrollColumnIntoView(c);
        }
        break;
      case VK_SPACE: {
        const LHStyle style = multi ? data_.ColumnStyle(data_.SelectedColIndex()) : m_CustomStyle;
        if (style == LHStyle::CheckBox && data_.ListIndex() >= 1) toggleCheck(data_.ListIndex(), data_.SelectedColIndex());
        break;
      }
      case VK_ESCAPE:
        closeEditors(false);
        break;
      case 0x71:  // F2
        if (data_.ListIndex() >= 1 && boundEditor(data_.SelectedColIndex()))
          startEdit(data_.ListIndex(), data_.SelectedColIndex());
        break;
      case VK_RETURN: {
        if (data_.ListIndex() >= 1 && boundEditor(data_.SelectedColIndex())) {
          startEdit(data_.ListIndex(), data_.SelectedColIndex());
          break;
        }
        const LHStyle style = multi ? data_.ColumnStyle(data_.SelectedColIndex()) : m_CustomStyle;
        if (style == LHStyle::Button && data_.ListIndex() >= 1) {
          int32_t r = data_.ListIndex(), c = data_.SelectedColIndex();
          std::string text = data_.TextMatrix(r, c);
          CellButtonClick.raise(r, c, text);
        }
        break;
      }
      default:
        break;
    }
  }
  KeyDown.raise(KeyCode, Shift);
}

void ZorvaXPListBox::UserControl_KeyUp(int16_t& KeyCode, int16_t& Shift) {
  if (KeyCode == VK_SHIFT) {
    shiftHeld_ = false;
    anchorColumn_ = 0;
  }
  if (KeyCode == VK_CONTROL) ctrlHeld_ = false;
  KeyUp.raise(KeyCode, Shift);
}

// ---- Window messages --------------------------------------------------------------------------------

void ZorvaXPListBox::zSubclass_Proc(bool bBefore, bool& bHandled, LRESULT& lReturn, HWND& lng_hWnd, UINT& uMsg,
                                    WPARAM& wParam, LPARAM& lParam) {
  (void)bBefore;
  (void)lReturn;
  (void)lParam;
  switch (uMsg) {
    case WM_MOUSEMOVE:
      if (!inside_) {
        inside_ = true;
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = lng_hWnd;
        TrackMouseEvent(&tme);
        POINT p{};
        GetCursorPos(&p);
        float x = static_cast<float>(p.x), y = static_cast<float>(p.y);
        MouseEnter.raise(x, y);
      }
      break;
    case WM_MOUSELEAVE: {
      inside_ = false;
      POINT p{};
      GetCursorPos(&p);
      float x = static_cast<float>(p.x), y = static_cast<float>(p.y);
      MouseLeave.raise(x, y);
      break;
    }
    case kEditorFocusCheck:
      focusCheckPosted_ = false;
      commitIfFocusLeft();
      bHandled = true;
      break;
    case WM_MOUSEWHEEL: {
      int32_t amount = nearest(GET_WHEEL_DELTA_WPARAM(wParam) / 120.0);
      wheel(amount);
      MouseWheel.raise(amount);
      break;
    }
    default:
      break;
  }
}

}  // namespace zxp::list
