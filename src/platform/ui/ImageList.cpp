// Image lists and the drag image (see ImageList.h).
#include "platform/ui/ImageList.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Handles.h"
#include "platform/gfx/Surface.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace zxp {

namespace {

struct Image {
  std::shared_ptr<gfx::Surface> pixels;
  std::vector<uint8_t> alpha;  // one per pixel: 255 drawn, 0 transparent, between: blended
};

struct ImageListObj : HandleObject {
  int cx = 0, cy = 0;
  UINT flags = 0;
  std::vector<Image> images;
};

ImageListObj* listObj(HIMAGELIST h) { return handles().peek<ImageListObj>(h, kImageListKind); }

std::vector<HIMAGELIST>& liveLists() {
  static std::vector<HIMAGELIST> v;
  return v;
}

struct DragImage {
  bool begun = false;
  Image image;
  Point hotspot{0, 0};
  HWND lock = 0;
  Point pos{0, 0};  // relative to the lock window
  bool entered = false;
  bool shown = false;
};
DragImage& dragImage() {
  static DragImage d;
  return d;
}

Point lockOrigin() {
  RECT r{0, 0, 0, 0};
  if (dragImage().lock && GetWindowRect(dragImage().lock, &r)) return Point{r.left, r.top};
  return Point{0, 0};
}

void drawOverlay(gfx::Surface& screen) {
  const DragImage& d = dragImage();
  if (!d.entered || !d.shown || !d.image.pixels) return;
  const Point o = lockOrigin();
  const int x0 = o.x + d.pos.x - d.hotspot.x, y0 = o.y + d.pos.y - d.hotspot.y;
  const gfx::Surface& img = *d.image.pixels;
  const Rect area = Rect{x0, y0, x0 + img.width(), y0 + img.height()}.intersect(screen.bounds());
  for (int y = area.top; y < area.bottom; ++y) {
    uint32_t* dst = screen.row(y);
    const uint32_t* src = img.row(y - y0);
    const uint8_t* op = d.image.alpha.data() + static_cast<size_t>(y - y0) * static_cast<size_t>(img.width());
    for (int x = area.left; x < area.right; ++x) {
      const uint32_t a = op[x - x0];
      if (a == 255) {
        dst[x] = src[x - x0];
      } else if (a != 0) {
        const uint32_t s = src[x - x0], g = dst[x];
        uint32_t out = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
          const uint32_t c = (((s >> shift) & 0xFF) * a + ((g >> shift) & 0xFF) * (255 - a) + 127) / 255;
          out |= c << shift;
        }
        dst[x] = out;
      }
    }
  }
}

// Cuts a bitmap into images of the list's size; `transparent(x, y)` tells masked pixels.
template <class Transparent>
int addImages(HIMAGELIST list, HBITMAP image, Transparent transparent) {
  ImageListObj* l = listObj(list);
  auto src = gfx::surfaceOfBitmap(image);
  if (!l || !src || src->height() < l->cy || src->width() < l->cx) return -1;
  const int first = static_cast<int>(l->images.size());
  const int n = src->width() / l->cx;
  // A 32-bit list takes each pixel's alpha byte from a bitmap that carries one (any pixel with a
  // non-zero alpha byte); a bitmap whose alpha bytes are all 0 is opaque.
  bool hasAlpha = false;
  if ((l->flags & 0xFE) == ILC_COLOR32)
    for (int y = 0; y < l->cy && !hasAlpha; ++y)
      for (int x = 0; x < n * l->cx && !hasAlpha; ++x) hasAlpha = (src->at(x, y) >> 24) != 0;
  for (int k = 0; k < n; ++k) {
    Image im;
    im.pixels = gfx::Surface::create(l->cx, l->cy);
    if (!im.pixels) return -1;
    im.alpha.assign(static_cast<size_t>(l->cx) * static_cast<size_t>(l->cy), 255);
    for (int y = 0; y < l->cy; ++y)
      for (int x = 0; x < l->cx; ++x) {
        const int sx = k * l->cx + x;
        const uint32_t p = src->at(sx, y);
        im.pixels->at(x, y) = p & 0x00FFFFFFu;
        uint8_t& a = im.alpha[static_cast<size_t>(y) * static_cast<size_t>(l->cx) + static_cast<size_t>(x)];
        if (hasAlpha) a = static_cast<uint8_t>(p >> 24);
        if ((l->flags & ILC_MASK) && transparent(sx, y)) a = 0;
      }
    l->images.push_back(std::move(im));
  }
  return first;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow) {
  if (cx <= 0 || cy <= 0 || cx > 4096 || cy > 4096 || initial < 0 || grow < 0) return 0;
  auto l = std::make_shared<ImageListObj>();
  l->cx = cx;
  l->cy = cy;
  l->flags = flags;
  HIMAGELIST h = handles().add(kImageListKind, l);
  liveLists().push_back(h);
  return h;
}

BOOL ImageList_Destroy(HIMAGELIST list) {
  if (!listObj(list)) return FALSE;
  handles().remove(list);
  auto& v = liveLists();
  v.erase(std::remove(v.begin(), v.end(), list), v.end());
  return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
  auto m = mask ? gfx::surfaceOfBitmap(mask) : nullptr;
  return addImages(list, image, [&](int x, int y) {
    return m && x < m->width() && y < m->height() && (m->at(x, y) & 0x00FFFFFFu) != 0;
  });
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColour) {
  // COLORREF is 0x00BBGGRR, pixels 0x00RRGGBB.
  const uint32_t key = ((maskColour & 0xFF) << 16) | (maskColour & 0xFF00) | ((maskColour >> 16) & 0xFF);
  auto src = gfx::surfaceOfBitmap(image);
  return addImages(list, image, [&](int x, int y) { return (src->at(x, y) & 0x00FFFFFFu) == key; });
}

int ImageList_GetImageCount(HIMAGELIST list) {
  ImageListObj* l = listObj(list);
  return l ? static_cast<int>(l->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
  ImageListObj* l = listObj(list);
  if (!l || !cx || !cy) return FALSE;
  *cx = l->cx;
  *cy = l->cy;
  return TRUE;
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
  ImageListObj* l = listObj(list);
  if (!l) return FALSE;
  if (index == -1) {
    l->images.clear();
    return TRUE;
  }
  if (index < 0 || static_cast<size_t>(index) >= l->images.size()) return FALSE;
  l->images.erase(l->images.begin() + index);
  return TRUE;
}

BOOL ImageList_BeginDrag(HIMAGELIST list, int track, int dxHotspot, int dyHotspot) {
  ImageListObj* l = listObj(list);
  if (!l || track < 0 || static_cast<size_t>(track) >= l->images.size()) return FALSE;
  ImageList_EndDrag();
  DragImage& d = dragImage();
  d.begun = true;
  // A copy: the list may be changed or destroyed while the drag goes on.
  const Image& src = l->images[static_cast<size_t>(track)];
  d.image.pixels = gfx::Surface::create(l->cx, l->cy);
  if (!d.image.pixels) {
    d = DragImage{};
    return FALSE;
  }
  for (int y = 0; y < l->cy; ++y) std::copy_n(src.pixels->row(y), l->cx, d.image.pixels->row(y));
  d.image.alpha = src.alpha;
  d.hotspot = Point{dxHotspot, dyHotspot};
  return TRUE;
}

BOOL ImageList_DragEnter(HWND lock, int x, int y) {
  DragImage& d = dragImage();
  if (!d.begun || (lock && !IsWindow(lock))) return FALSE;
  d.lock = lock;
  d.pos = Point{x, y};
  d.entered = true;
  d.shown = true;
  ui::screenChanged();
  return TRUE;
}

BOOL ImageList_DragMove(int x, int y) {
  DragImage& d = dragImage();
  if (!d.begun) return FALSE;
  d.pos = Point{x, y};
  if (d.entered && d.shown) ui::screenChanged();
  return TRUE;
}

BOOL ImageList_DragShowNolock(BOOL show) {
  DragImage& d = dragImage();
  if (!d.begun || !d.entered) return FALSE;
  d.shown = show != FALSE;
  ui::screenChanged();
  return TRUE;
}

BOOL ImageList_DragLeave(HWND lock) {
  DragImage& d = dragImage();
  if (!d.begun || (lock && lock != d.lock && IsWindow(lock) == FALSE)) return FALSE;
  d.entered = false;
  d.shown = false;
  ui::screenChanged();
  return TRUE;
}

void ImageList_EndDrag() {
  if (dragImage().begun) ui::screenChanged();
  dragImage() = DragImage{};
}

namespace ui {

Rect dragImageRect() {
  const DragImage& d = dragImage();
  if (!d.entered || !d.shown || !d.image.pixels) return Rect{};
  const Point o = lockOrigin();
  const int x0 = o.x + d.pos.x - d.hotspot.x, y0 = o.y + d.pos.y - d.hotspot.y;
  return Rect{x0, y0, x0 + d.image.pixels->width(), y0 + d.image.pixels->height()};
}

void resetImageLists() {
  dragImage() = DragImage{};
  for (HIMAGELIST h : liveLists()) handles().remove(h);
  liveLists().clear();
  setScreenOverlay(drawOverlay);
}

}  // namespace ui

namespace {
// The overlay is installed once, when the library starts.
const bool kOverlayInstalled = [] {
  ui::setScreenOverlay(drawOverlay);
  return true;
}();
}  // namespace

}  // namespace zxp
