// Icons and pictures.
//
// Icons (HICON, ObjKind::Icon) keep every image of their source (an .ico/.cur file or an
// executable's icon group) with its AND mask or alpha channel; DrawIconEx draws the image that
// fits the asked size best, scaled when no image has that size, and leaves transparent pixels
// untouched. A handle that is not an icon (a bitmap picture's, say) draws nothing.
//
// A Picture is the host's picture object: none, a bitmap or an icon, with its handle, type and
// size. Copies share one object, which owns its handle and deletes it with the last copy.
// Pictures load from .bmp, .ico, .cur, .png, .jpg and .gif files or bytes and save as bytes
// (for property bags and form files). Bitmap pictures from images with transparency hold
// premultiplied alpha in each pixel's high byte, as AlphaBlend's per-pixel mode expects; other
// bitmaps have a high byte of 0.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/Gdi.h"
#include "platform/gfx/ImageFiles.h"

namespace zxp {

// DrawIconEx flags.
constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT DI_COMPAT = 0x0004;
constexpr UINT DI_DEFAULTSIZE = 0x0008;
constexpr UINT DI_NOMIRROR = 0x0010;

// The platform's default icon size (SM_CXICON, SM_CYICON).
constexpr int kIconSize = 32;

struct ICONINFO {
  BOOL fIcon = TRUE;
  DWORD xHotspot = 0;
  DWORD yHotspot = 0;
  HBITMAP hbmMask = 0;   // 0x000000 opaque / 0xFFFFFF transparent per pixel
  HBITMAP hbmColor = 0;  // 32-bit; a non-zero high byte anywhere makes it per-pixel alpha
};

// Draws the icon at (x, y) scaled to cx x cy (0: the icon's own size, or the default size with
// DI_DEFAULTSIZE). `step` is ignored (no animated icons); a flicker-free brush fills the icon's
// rectangle first. FALSE, drawing nothing, for a handle that is not an icon or no DI_ flags.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int cx, int cy, UINT step, HBRUSH flickerFreeBrush,
                UINT flags);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
BOOL DestroyIcon(HICON icon);
HICON CopyIcon(HICON icon);
HICON CreateIconIndirect(const ICONINFO* info);
// New mask and colour bitmaps of the icon's main image (the caller deletes them).
BOOL GetIconInfo(HICON icon, ICONINFO* info);

// An icon from a file: an .ico or .cur file holds one (index 0); an executable or library holds
// one per icon group (index counts them; a negative index other than -1 names the resource
// identifier -index). Index -1 (0xFFFFFFFF) returns the number of icons instead of a handle.
// As on the platform, a file that exists but holds no icons at all returns 1, and a missing
// file or index returns 0. The caller destroys the icon.
HICON ExtractIcon(HINSTANCE instance, const char* file, UINT index);
inline HICON ExtractIconA(HINSTANCE instance, const char* file, UINT index) {
  return ExtractIcon(instance, file, index);
}

// Picture types.
constexpr int16_t vbPicTypeNone = 0;
constexpr int16_t vbPicTypeBitmap = 1;
constexpr int16_t vbPicTypeMetafile = 2;
constexpr int16_t vbPicTypeIcon = 3;
constexpr int16_t vbPicTypeEMetafile = 4;

}  // namespace zxp

namespace zxp::gfx {

struct IconObj;

// The icon object behind an HICON (nullptr for other handles).
IconObj* iconFromHandle(HICON h);
// A new icon owning the images of `set`; `primary` is the image its size and GetIconInfo use.
HICON createIcon(IconSet set, int primary = 0);
// A new icon from one straight-alpha ARGB image (alpha 0 is transparent).
HICON createIconFromArgb(const Surface& argb);

class Picture {
 public:
  Picture() = default;  // none
  // Pictures that take ownership of a handle (deleted with the last copy of the picture).
  static Picture fromBitmap(HBITMAP bitmap, bool hasAlpha = false);
  static Picture fromIcon(HICON icon);

  int16_t Type() const;   // vbPicTypeNone, vbPicTypeBitmap or vbPicTypeIcon
  HANDLE Handle() const;  // 0 for none
  int32_t width() const;  // pixels
  int32_t height() const;
  int32_t Width() const;  // HIMETRIC (0.01 mm): pixels * 2540 / 96, rounded
  int32_t Height() const;
  bool empty() const { return Type() == vbPicTypeNone; }
  bool hasAlpha() const;
  // The file the picture was loaded from, kept so that saving writes it back unchanged.
  std::span<const uint8_t> sourceBytes() const;

  // Copies are the same picture.
  friend bool operator==(const Picture& a, const Picture& b) { return a.d_ == b.d_; }

 private:
  struct Data;
  std::shared_ptr<const Data> d_;
  friend struct PictureAccess;
};

// A loading result: the picture, or an error text and no picture.
struct PictureLoad {
  Picture picture;
  std::string error;
  bool ok() const { return error.empty(); }
};

// Loads a picture from the bytes of a file (.bmp, .ico, .cur, .png, .jpg, .gif) or from bytes
// written by savePicture. Empty bytes give the empty picture. For icons, the image nearest to
// `iconSize` (default 32 x 32) becomes the picture's size; every image is kept for drawing.
PictureLoad loadPicture(std::span<const uint8_t> bytes, Size iconSize = {});
PictureLoad loadPictureFile(const std::string& path, Size iconSize = {});
// The host's LoadPicture: an empty path gives the empty picture; a missing file raises error 53
// and a file that is not a picture error 481 (HostError).
Picture LoadPicture(const std::string& path);

// The bytes that store a picture: nothing for none, else "lt\0\0", the 32-bit little-endian
// length and the picture's file (the original one when the picture came from a file, else a
// BMP or ICO written from its pixels).
std::vector<uint8_t> savePicture(const Picture& picture);

}  // namespace zxp::gfx
