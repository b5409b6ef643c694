// A shared cache of painted control faces: what a control paints under its caption and picture
// (background, gradient, border, frame) depends on a few inputs only, not on the caption, so a
// form of many controls of one size and look paints that face once and then copies it.
//
// The control describes the face by a FaceKey (its own tag, the size and up to kKeyValues values
// such as the look, flags and colours, all of which together decide every pixel) and hands a
// painter that draws the face into a device context at (0, 0). draw() copies the cached pixels
// into the control's DC through the DC (SetDIBitsToDevice), so the window's region and the DC's
// clip apply exactly as they apply to the drawing itself; on a miss the painter draws into a
// fresh memory surface first. The painter must paint every pixel of width x height, and the
// key must capture everything the pixels depend on.
//
// The cache is bounded: at most kMaxFaces faces and kMaxPixels pixels in all, the least recently
// used face leaving first; a face larger than an eighth of that is painted straight into the DC.
//
// A second, smaller cache, looks(), keeps whole looks, caption included: those are one control's
// own (the caption tells them apart), so only the few last drawn are kept, which is what a
// pointer moving over a control and off it again draws. It keeps a look only when it is asked
// for again soon after a miss (its key among the last kRecentMisses missed): a look drawn once,
// as every button of a form repainting in turn draws its own, is painted straight into the DC,
// which spares it the memory surface and the two copies that keeping it would cost.
// A kept look is shown in a window without copying where the platform allows it
// (gfx::showSharedPixels: the window's surface shares the look's pixels until it is next drawn
// on), so a pointer going on and off a button swaps two pictures instead of copying them.
// It holds no GDI handles between calls (plain pixel buffers), so it never shows up as a leaked
// handle. Where the DC would paint differently from a plain memory DC (a mix mode other than
// R2_COPYPEN, a moved viewport origin) the painter draws straight into the DC as well.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/Gdi.h"

namespace zxp::foundation {

struct FaceKey {
  static constexpr size_t kKeyValues = 8;
  // Tells the faces of different controls apart: the address of something of the control's own.
  const void* owner = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  std::array<uint32_t, kKeyValues> values{};
  // What else the pixels depend on that does not fit the values (a caption, a font's
  // description), compared byte for byte.
  std::string text;

  bool operator==(const FaceKey&) const = default;
};

class FaceCache {
 public:
  static constexpr size_t kMaxFaces = 32;
  static constexpr size_t kMaxPixels = size_t{1} << 20;  // 4 MB of pixels
  static constexpr size_t kMaxFacePixels = kMaxPixels / 8;  // the largest face shared() keeps
  static constexpr size_t kMaxLooks = 4;
  static constexpr size_t kMaxLookPixels = size_t{1} << 18;  // 1 MB of pixels
  static constexpr size_t kRecentMisses = 8;

  // keepOnSecondMiss: keep a face only when it misses a second time within the last
  // kRecentMisses misses (else it is painted straight into the DC and only remembered).
  // shareWhole: a kept face is shown by sharing its pixels where the DC allows it (whole looks,
  // which nothing is drawn over).
  explicit FaceCache(size_t maxFaces = kMaxFaces, size_t maxPixels = kMaxPixels, bool keepOnSecondMiss = false,
                     bool shareWhole = false)
      : maxFaces_(maxFaces), maxPixels_(maxPixels), keepOnSecondMiss_(keepOnSecondMiss), shareWhole_(shareWhole) {}

  // The faces the controls share.
  static FaceCache& shared();
  // The last few whole looks (face and caption) drawn.
  static FaceCache& looks();

  // Puts the face of `key` at (0, 0) of dc: from the cache, or painted by paint(HDC) into a
  // memory surface and kept. Returns true when the face was copied from a kept surface, false
  // when it was painted straight into dc (bypassed, too large, or a DC that paints differently).
  template <class Paint>
  bool draw(HDC dc, const FaceKey& key, const Paint& paint) {
    return drawFace(dc, key, [](const void* p, HDC target) { (*static_cast<const Paint*>(p))(target); }, &paint);
  }

  // With bypass on, every face is painted straight into the DC (for comparing the two paths).
  void setBypassed(bool b) { bypassed_ = b; }
  bool bypassed() const { return bypassed_; }
  void clear();
  size_t faceCount() const { return faces_.size(); }
  size_t pixelCount() const { return pixels_; }

 private:
  struct Face {
    FaceKey key;
    int stretchMode = 0;
    uint64_t used = 0;  // when it was last shown (clock_)
    std::shared_ptr<uint32_t[]> pixels;  // shared with the windows showing them
  };
  using PaintFn = void (*)(const void*, HDC);
  bool drawFace(HDC dc, const FaceKey& key, PaintFn paint, const void* painter);
  // Paints a new face and keeps it; nullptr when no memory surface could be made.
  Face* paintNew(HDC dc, const FaceKey& key, int stretchMode, PaintFn paint, const void* painter);
  void blit(HDC dc, const Face& face) const;
  // Whether a key missed recently; remembers it when not.
  bool missedRecently(const FaceKey& key);

  size_t maxFaces_, maxPixels_;
  bool keepOnSecondMiss_ = false;
  bool shareWhole_ = false;
  std::array<uint64_t, kRecentMisses> recentMisses_{};  // hashes of the last keys missed
  size_t nextMiss_ = 0;
  std::vector<Face> faces_;
  uint64_t clock_ = 0;  // counts the faces shown
  size_t pixels_ = 0;
  bool bypassed_ = false;
};

}  // namespace zxp::foundation
