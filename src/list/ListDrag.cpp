// Dragging rows: the DragSelected move of a row inside the list (drop line, arrow and the move to
// the insertion point) and OLE drags of rows (OLEDrag, or OLEDragMode automatic on a row).
//
// Both show the row under way as a drag image made from its pixels as they are painted: the
// row's band is copied from the list's surface into a 32-bit bitmap, framed by a 1-pixel rectangle
// (DragLineBorderColor for a row drag, OLEDragLineBorderColor for an OLE drag) and handed to the
// platform's drag-image service (an image list's drag image, drawn over the screen and never into
// a window) with an alpha of 176 inside the frame, so what lies under the row shows through. The
// pixel under the pointer stays under it while the image follows the cursor.
//
// An OLE drag offers the dragged rows (the selected rows, or the current row when none is
// selected) as text, format 1: one line per row, cells separated by TABs, lines by CR LF; it is
// filled in after the host's OLEStartDrag, unless the handler has put text there itself.
// Dropping onto the list (OLEDropMode manual) raises OLEDragOver and OLEDragDrop and adds nothing
// by itself: what a drop means is the application's to decide.
#include <algorithm>
#include <string>

#include "list/ZorvaXPListBox.h"
#include "platform/gfx/Gdi.h"
#include "platform/gfx/SysColors.h"
#include "platform/host/DataObject.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/User.h"

namespace zxp::list {

namespace {
constexpr uint32_t kDragImageAlpha = 176;
constexpr int kTextFormat = 1;
}  // namespace

// ---- Drag image -------------------------------------------------------------------------------------

bool ZorvaXPListBox::beginDragImage(int32_t row, OLE_COLOR frame, POINT grab) {
  endDragImage();
  if (row < topRow_ || row > lastRow_ || rowBands_.empty() || !UserControl.hDC()) return false;
  const Band& band = rowBands_[static_cast<size_t>(row - topRow_)];
  const int left = 1, right = rowAreaRight();
  const int top = std::max(band.top, rowAreaTop()), bottom = std::min(band.bottom, rowAreaBottom());
  const int w = right - left, h = bottom - top;
  if (w < 3 || h < 3) return false;
  BITMAPINFO bmi{};
  bmi.bmiHeader.biWidth = w;
  bmi.bmiHeader.biHeight = -h;  // top-down: row y of the image is bits[y * w]
  void* bits = nullptr;
  GdiObject bitmap(CreateDIBSection(UserControl.hDC(), &bmi, DIB_RGB_COLORS, &bits, 0, 0));
  if (!bitmap || !bits) return false;
  {
    MemoryDC mem(UserControl.hDC());
    Selection sel(mem.get(), bitmap.get());
    BitBlt(mem.get(), 0, 0, w, h, UserControl.hDC(), left, top, SRCCOPY);
  }
  // The frame is drawn opaque, the row's pixels inside it semi-transparent.
  const uint32_t c = translateColor(frame);
  const uint32_t framePixel = 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
  auto* px = static_cast<uint32_t*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t& p = px[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
      p = (x == 0 || y == 0 || x == w - 1 || y == h - 1) ? framePixel : ((p & 0x00FFFFFFu) | (kDragImageAlpha << 24));
    }
  const HIMAGELIST images = ImageList_Create(w, h, ILC_COLOR32 | ILC_MASK, 1, 0);
  if (!images) return false;
  bool ok = ImageList_Add(images, static_cast<HBITMAP>(bitmap.get()), 0) == 0 &&
            ImageList_BeginDrag(images, 0, grab.x - left, grab.y - top);
  // The drag keeps its own copy of the image: the list goes at once.
  ImageList_Destroy(images);
  POINT p{};
  GetCursorPos(&p);
  if (ok) ok = ImageList_DragEnter(0, p.x, p.y) != FALSE;
  dragImageAt_ = p;
  dragImageShown_ = ok;
  return ok;
}

void ZorvaXPListBox::moveDragImage() {
  if (!dragImageShown_) return;
  POINT p{};
  GetCursorPos(&p);
  // The ticks of an OLE drag come every 10 ms; an image that stays put costs no recomposition.
  if (p.x == dragImageAt_.x && p.y == dragImageAt_.y) return;
  dragImageAt_ = p;
  ImageList_DragMove(p.x, p.y);
}

void ZorvaXPListBox::endDragImage() {
  tmrOLEDrag.setEnabled(false);
  if (!dragImageShown_) return;
  dragImageShown_ = false;
  ImageList_DragLeave(0);
  ImageList_EndDrag();
}

// ---- Row drag inside the list (DragSelected) ---------------------------------------------------

void ZorvaXPListBox::dragRowTo(int y) {
  if (dragRow_ < 1) {
    dragRow_ = clickedRow_;
    beginDragImage(dragRow_, m_DragLineBorderColor, pressAt_);
  }
  moveDragImage();
  // The insertion point is the row boundary nearest the pointer.
  int32_t insert = 0;
  for (const Band& b : rowBands_) {
    if (y >= b.top && y < b.bottom) {
      insert = y < (b.top + b.bottom) / 2 ? b.index : b.index + 1;
      break;
    }
  }
  if (insert == 0 && !rowBands_.empty()) insert = y < rowBands_.front().top ? rowBands_.front().index : lastRow_ + 1;
  if (insert == dragInsert_) return;
  dragInsert_ = insert;
  RedrawList();
  paintDropLine();
}

void ZorvaXPListBox::paintDropLine() {
  if (dragInsert_ < 1 || rowBands_.empty()) return;
  int y = rowBands_.back().bottom;
  for (const Band& b : rowBands_)
    if (b.index == dragInsert_) y = b.top;
  const HDC dc = UserControl.hDC();
  const int right = rowAreaRight();
  // A 2-pixel line framed in DragLineBorderColor, and an arrow at its left end in DragArrowColor.
  const COLORREF frame = translateColor(m_DragLineBorderColor), arrow = translateColor(m_DragArrowColor);
  GdiObject framePen(CreatePen(PS_SOLID, 1, frame));
  {
    Selection s(dc, framePen.get());
    MoveToEx(dc, 1, y - 2, nullptr);
    LineTo(dc, right, y - 2);
    MoveToEx(dc, 1, y + 1, nullptr);
    LineTo(dc, right, y + 1);
  }
  GdiObject arrowPen(CreatePen(PS_SOLID, 1, arrow));
  Selection s(dc, arrowPen.get());
  MoveToEx(dc, 1, y - 1, nullptr);
  LineTo(dc, right, y - 1);
  MoveToEx(dc, 1, y, nullptr);
  LineTo(dc, right, y);
  for (int i = 0; i < 5; ++i) {
    MoveToEx(dc, 2 + i, y - 5 + i, nullptr);
    LineTo(dc, 2 + i, y + 5 - i);
  }
}

void ZorvaXPListBox::dropRow() {
  const int32_t from = dragRow_, insert = dragInsert_;
  endDragImage();
  dragRow_ = 0;
  dragInsert_ = 0;
  if (from < 1 || insert < 1 || from > data_.ListCount()) {
    RedrawList();
    return;
  }
  const int32_t to = std::min(insert > from ? insert - 1 : insert, data_.ListCount());
  if (to != from) {
    const bool lock = m_LockUpdate;
    m_LockUpdate = data_.LockUpdate = true;
    // The row moves by neighbour swaps; selection flags belong to positions, so they follow it.
    const int32_t step = to > from ? 1 : -1;
    const bool wasSelected = data_.Selected(from);
    for (int32_t r = from; r != to; r += step) data_.SwapItems(r, r + step);
    data_.setSelected(from, false);
    data_.setSelected(to, wasSelected);
    m_LockUpdate = data_.LockUpdate = lock;
    moveCurrent(to);
  }
  RedrawList();
}

// ---- OLE drag of rows -------------------------------------------------------------------------------

std::string ZorvaXPListBox::draggedRowsText() const {
  std::string text;
  auto add = [&](int32_t r) {
    if (!text.empty()) text += "\r\n";
    text += data_.List(r);
  };
  if (data_.SelectedCount() > 0) {
    for (int32_t r = 1; r <= data_.ListCount(); ++r)
      if (data_.Selected(r)) add(r);
  } else if (data_.ListIndex() >= 1) {
    add(data_.ListIndex());
  }
  return text;
}

void ZorvaXPListBox::OLEDrag() {
  if (!UserControl.exists()) return;
  UserControl.OLEDrag();
  // The drag's own loop took the mouse: the press that started it is over.
  endDragImage();
  press_ = Part::None;
  clickedRow_ = 0;
}

void ZorvaXPListBox::oleStartDrag(host::Variant& data, int32_t allowed) {
  if ((allowed & 7) == 0) return;  // the application called the drag off
  if (auto d = host::dataObjectOf(data); d && !d->GetFormat(kTextFormat)) {
    const std::string text = draggedRowsText();
    if (!text.empty()) d->SetData(host::Variant(text), host::Variant(int32_t{kTextFormat}));
  }
  // The image is held where the row was pressed, or under the pointer for a drag by program.
  POINT grab{};
  GetCursorPos(&grab);
  ScreenToClient(hWnd(), &grab);
  if (press_ == Part::Rows) grab = pressAt_;
  if (beginDragImage(data_.ListIndex(), m_OLEDragLineBorderColor, grab)) tmrOLEDrag.setEnabled(true);
}

}  // namespace zxp::list
