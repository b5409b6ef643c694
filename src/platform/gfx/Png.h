// PNG files of surfaces, for snapshots, the gallery and the form renderer (libpng).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Surface.h"

namespace zxp::gfx {

// The bytes of the surface as an 8-bit RGB PNG (RGBA when withAlpha and a pixel is not opaque);
// empty on failure.
std::vector<uint8_t> encodePng(const Surface& s, bool withAlpha = false);
// Writes the surface as a PNG file, atomically (services/FileIo.h): on failure the old file at
// the path stays as it was, the result is false and *error (when given) says why.
bool writePng(const Surface& s, const std::string& path, bool withAlpha = false, std::string* error = nullptr);
// Reads a PNG file into a new top-down surface (alpha in the high byte); nullptr on failure.
std::shared_ptr<Surface> readPng(const std::string& path);

}  // namespace zxp::gfx
