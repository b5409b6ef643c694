// PNG files of surfaces, for snapshots, the gallery and the form renderer (libpng).
#pragma once

#include <memory>
#include <string>

#include "platform/gfx/Surface.h"

namespace zxp::gfx {

// Writes the surface as an 8-bit RGB PNG (or RGBA when withAlpha). False on any failure.
bool writePng(const Surface& s, const std::string& path, bool withAlpha = false);
// Reads a PNG file into a new top-down surface (alpha in the high byte); nullptr on failure.
std::shared_ptr<Surface> readPng(const std::string& path);

}  // namespace zxp::gfx
