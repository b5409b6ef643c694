// How picture objects travel through form files: as the bytes of their file form.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/host/Variant.h"

namespace zxp::host {

std::vector<uint8_t> pictureBytes(const gfx::Picture& picture);
// nullptr when the bytes are not a picture.
PictureRef pictureFromBytes(std::span<const uint8_t> bytes);

}  // namespace zxp::host
