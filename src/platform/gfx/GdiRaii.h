// RAII owners for GDI handles and for selections into a device context.
//
//   GdiObject   owns a pen, brush, bitmap, region or font and deletes it (DeleteObject);
//   MemoryDC    owns a memory device context (CreateCompatibleDC) and deletes it (DeleteDC);
//   Selection   selects an object into a DC and puts the previous one back.
//
// Declare the owner before the selection that uses it: the selection then ends first, so the
// object is deselected before it is deleted (a selected bitmap cannot be deleted). Regions are
// not selected through Selection: SelectObject on a region sets the clip and returns its type.
#pragma once

#include <utility>

#include "platform/gfx/Gdi.h"

namespace zxp {

class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(HGDIOBJ h) : h_(h) {}
  ~GdiObject() { reset(); }
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, 0)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, 0));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  HGDIOBJ get() const { return h_; }
  explicit operator bool() const { return h_ != 0; }
  // Gives up ownership: the caller deletes the handle.
  HGDIOBJ release() { return std::exchange(h_, 0); }
  void reset(HGDIOBJ h = 0) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }

 private:
  HGDIOBJ h_ = 0;
};

class MemoryDC {
 public:
  MemoryDC() = default;
  // A memory DC compatible with `compatible` (0: with the screen). Test with operator bool.
  explicit MemoryDC(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
  ~MemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDC(MemoryDC&& o) noexcept : dc_(std::exchange(o.dc_, 0)) {}
  MemoryDC& operator=(MemoryDC&& o) noexcept {
    if (this != &o) {
      if (dc_) DeleteDC(dc_);
      dc_ = std::exchange(o.dc_, 0);
    }
    return *this;
  }
  MemoryDC(const MemoryDC&) = delete;
  MemoryDC& operator=(const MemoryDC&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != 0; }

 private:
  HDC dc_ = 0;
};

class Selection {
 public:
  Selection(HDC dc, HGDIOBJ obj) : dc_(dc), prev_(SelectObject(dc, obj)) {}
  ~Selection() {
    if (prev_ && prev_ != HGDI_ERROR) SelectObject(dc_, prev_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

  // False when the selection failed (zero or wrong handle); then nothing is restored.
  bool ok() const { return prev_ != 0 && prev_ != HGDI_ERROR; }
  HGDIOBJ previous() const { return prev_; }

 private:
  HDC dc_;
  HGDIOBJ prev_;
};

}  // namespace zxp
