// Test pictures made on the spot: icons, bitmaps, PNG, JPEG and GIF bytes, and a small PE file
// with icon resources. Nothing here comes from an existing icon or picture file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/ImageFiles.h"

namespace zxp::testing {

using ByteVec = std::vector<uint8_t>;

// Appends little-endian fields: each a value and its size in bytes (bytes past the fourth are 0).
void put(ByteVec& v, std::initializer_list<std::pair<uint32_t, int>> fields);

// A size x size straight-alpha picture: a disc of `color` (0xRRGGBB) on transparency, with a
// soft one-pixel edge.
std::shared_ptr<gfx::Surface> discImage(int size, uint32_t color);
// An icon set with one alpha disc per size, each in its own colour (colors[i] for sizes[i]).
gfx::IconSet discIcons(const std::vector<int>& sizes, const std::vector<uint32_t>& colors);

ByteVec pngBytes(const gfx::Surface& argb);
ByteVec jpegBytes(const gfx::Surface& argb, int quality = 95);
// A GIF of `frames` frames with a 4-colour palette; each frame's pixels are palette indices.
// `transparent` (or -1) is the transparent index of every frame.
ByteVec gifBytes(int w, int h, const uint32_t palette[4], const std::vector<std::vector<uint8_t>>& frames,
                 int transparent);

// One DIB icon image (header with doubled height, palette, XOR bits, AND bits) from palette
// indices (bpp 1, 4 or 8) and AND-mask bits (1 = transparent).
ByteVec paletteIconEntry(int w, int h, int bpp, const std::vector<uint32_t>& palette,
                         const std::vector<uint8_t>& indices, const std::vector<uint8_t>& mask);
// An .ico (or .cur) file around raw image entries.
ByteVec icoFile(const std::vector<ByteVec>& entries, const std::vector<std::pair<int, int>>& sizes,
                bool cursor = false, std::pair<int, int> hotspot = {0, 0});

// A minimal PE32 file whose resources hold icon groups (RT_GROUP_ICON with the given ids), each
// listing its images (RT_ICON).
ByteVec peFile(const std::vector<std::pair<uint16_t, gfx::IconSet>>& groups);

// Writes bytes to a fresh file in the temporary directory and returns its path.
std::string writeTemp(const std::string& name, const ByteVec& bytes);

}  // namespace zxp::testing
