// The library's bitmap resources: the 16 x 15 toolbox pictures of the public controls (30000 to
// 30017, numbered as in the class table) and resources 101 to 105 (the library's mark and four
// arrows). Each is drawn here in a few strokes, on the toolbox's grey (kToolboxBackground, the
// colour a toolbox treats as transparent).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gfx/Surface.h"

namespace zxp::library {

constexpr int kToolboxWidth = 16;
constexpr int kToolboxHeight = 15;
constexpr uint32_t kToolboxBackground = 0xC0C0C0;  // 0x00RRGGBB

// The picture of a resource number, nullptr for a number the library does not carry.
std::shared_ptr<gfx::Surface> bitmapResource(int resource);
// Every resource number the library carries, in order.
std::vector<int> bitmapResources();

}  // namespace zxp::library
