// Until picture objects exist, no bytes make a picture: form files reject embedded pictures
// with a line-numbered error, and there is no picture object to write.
#include "platform/host/PictureBytes.h"

namespace zxp::host {

std::vector<uint8_t> pictureBytes(const gfx::Picture&) { return {}; }
PictureRef pictureFromBytes(std::span<const uint8_t>) { return nullptr; }

}  // namespace zxp::host
