// libFuzzer target: the picture loaders. The first byte picks the entry point, the rest is the
// file: the picture-bytes loader (with saving and reloading what loads, and drawing icons), the
// ICO/CUR container, the bitmap file parser, one icon image (DIB or PNG), and the icons of a PE
// executable. Any input must load or fail with an error text; never crash, hang or leak handles.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Picture.h"

using namespace zxp;
using namespace zxp::gfx;

namespace {

// The DC icons are drawn on, made once (before any handle counting).
HDC canvas() {
  static HDC dc = CreateSurfaceDC(Surface::create(64, 64));
  return dc;
}

void drawIcon(HICON icon) {
  const HDC dc = canvas();
  for (int size : {16, 24, 32, 48}) DrawIconEx(dc, 3, 5, icon, size, size, 0, 0, DI_NORMAL);
  DrawIconEx(dc, -7, -9, icon, 0, 0, 0, 0, DI_MASK);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  const Bytes file(data + 1, size - 1);
  canvas();
  const size_t liveBefore = handles().liveCount();
  std::string error;
  switch (mode % 5) {
    case 0: {
      const int ask = (mode >> 3) * 4;  // 0, 4, ... 124: the icon size asked for
      PictureLoad r = loadPicture(file, Size{ask, ask});
      if (!r.ok() && !r.picture.empty()) std::abort();  // an error never comes with a picture
      if (r.picture.Type() == vbPicTypeIcon) drawIcon(r.picture.Handle());
      if (!r.picture.empty()) {
        // Whatever loads saves, and what it saves loads again as the same kind of picture.
        PictureLoad again = loadPicture(savePicture(r.picture), Size{ask, ask});
        if (!again.ok() || again.picture.Type() != r.picture.Type() || again.picture.width() != r.picture.width())
          std::abort();
      }
      break;
    }
    case 1:
      if (auto set = decodeIco(file, error)) {
        const int best = bestIconImage(*set, 32, 32);
        if (HICON icon = createIcon(std::move(*set), best)) {
          drawIcon(icon);
          DestroyIcon(icon);
        }
      }
      break;
    case 2:
      (void)decodeBmp(file, error);
      break;
    case 3:
      (void)decodeIconImage(file, error);
      break;
    case 4:
      (void)countExeIcons(file, error);
      (void)decodeExeIcon(file, static_cast<int8_t>(mode) >> 3, error);
      break;
  }
  if (handles().liveCount() != liveBefore) std::abort();
  return 0;
}
