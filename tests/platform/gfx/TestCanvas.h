// A memory DC drawing on a 32-bit DIB section, for drawing tests: pixels are read and written
// directly through the DIB's bits (x, y counted from the picture's top-left).
#pragma once

#include <cstdint>

#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/DeviceContext.h"

namespace zxp::testing {

inline BITMAPINFO dibInfo(int width, int height) {
  BITMAPINFO bmi{};
  bmi.bmiHeader.biWidth = width;
  bmi.bmiHeader.biHeight = height;  // positive: bottom-up
  return bmi;
}

class TestCanvas {
 public:
  TestCanvas(int width, int height, bool bottomUp = false, uint32_t fill = 0)
      : w_(width), h_(height), bottomUp_(bottomUp), dc_(0) {
    BITMAPINFO bmi = dibInfo(width, bottomUp ? height : -height);
    void* bits = nullptr;
    bmp_ = GdiObject(CreateDIBSection(dc_.get(), &bmi, DIB_RGB_COLORS, &bits, 0, 0));
    bits_ = static_cast<uint32_t*>(bits);
    prev_ = SelectObject(dc_.get(), bmp_.get());
    this->fill(fill);
  }
  ~TestCanvas() { SelectObject(dc_.get(), prev_); }
  TestCanvas(const TestCanvas&) = delete;
  TestCanvas& operator=(const TestCanvas&) = delete;

  HDC dc() const { return dc_.get(); }
  HBITMAP bitmap() const { return bmp_.get(); }
  int width() const { return w_; }
  int height() const { return h_; }
  uint32_t* bits() const { return bits_; }

  uint32_t& at(int x, int y) { return bits_[static_cast<size_t>(bottomUp_ ? h_ - 1 - y : y) * w_ + x]; }
  void fill(uint32_t p) {
    for (int i = 0; i < w_ * h_; ++i) bits_[i] = p;
  }
  // Writes a distinct value into every pixel: 0x00YYXX plus a base.
  void pattern(uint32_t base = 0) {
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) at(x, y) = base + static_cast<uint32_t>(y << 8 | x);
  }

 private:
  int w_, h_;
  bool bottomUp_;
  MemoryDC dc_;
  GdiObject bmp_;
  HGDIOBJ prev_ = 0;
  uint32_t* bits_ = nullptr;
};

}  // namespace zxp::testing
