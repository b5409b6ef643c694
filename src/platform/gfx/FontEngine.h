// The font engine behind font handles: fontconfig matching, FreeType faces at a pixel size,
// GDI-style metrics and a glyph cache. Internal to the platform (text drawing, font objects).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gfx/Font.h"

namespace zxp::gfx {

// One rasterised glyph: an 8-bit coverage bitmap placed relative to the pen position on the
// baseline (left: pixels right of the pen; top: pixels above the baseline).
struct Glyph {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t advance = 0;  // whole pixels
  // width * height, row by row from the top, then kPad bytes of 0 so that a group of eight bytes
  // can be read from any pixel of the last row.
  std::vector<uint8_t> coverage;
  // Per row, the columns holding coverage: [first, last) packed as first | last << 16 (0 for a
  // row without any), so drawing skips a glyph's empty margins and rows.
  std::vector<uint32_t> inked;
  static constexpr size_t kPad = 7;
};

// The metrics of a realised font, in pixels, with the platform's TEXTMETRIC meaning.
struct FontMetrics {
  int32_t height = 0;  // ascent + descent: the line height
  int32_t ascent = 0;
  int32_t descent = 0;
  int32_t internalLeading = 0;  // height - em size
  int32_t externalLeading = 0;
  int32_t aveCharWidth = 0;
  int32_t maxCharWidth = 0;
  int32_t underlinePos = 1;  // first underline row, below the baseline
  int32_t underlineThickness = 1;
  int32_t strikeoutPos = 3;  // first strike-out row, above the baseline
  int32_t strikeoutThickness = 1;
  bool fixedPitch = false;
};

// A face file at one pixel size with its synthesis flags: what a LOGFONT resolves to.
struct FaceKey {
  std::string file;
  int index = 0;
  int height = 0;  // as lfHeight: < 0 em height, > 0 cell height (never 0 here)
  int width = 0;   // as lfWidth: 0 keeps the face's proportions
  bool synthBold = false;
  bool synthItalic = false;
  friend bool operator==(const FaceKey&, const FaceKey&) = default;
};

class FontInstance {
 public:
  // Opens the face; nullptr when the file cannot be loaded.
  static std::shared_ptr<FontInstance> open(const FaceKey& key);
  ~FontInstance();
  FontInstance(const FontInstance&) = delete;
  FontInstance& operator=(const FontInstance&) = delete;

  const FontMetrics& metrics() const { return metrics_; }
  const FaceKey& key() const { return key_; }
  // The glyph for a code point, rasterised once and cached. The reference holds until the next
  // call: the cache keeps at most kMaxGlyphBytes of glyphs and starts again when it is full (a
  // large font drawing many characters would otherwise hold them all).
  const Glyph& glyph(char32_t cp);
  static constexpr size_t kMaxGlyphBytes = size_t{4} << 20;
  // What the cached glyphs take.
  size_t glyphBytes() const { return glyphBytes_; }
  // The advance width of a code point in whole pixels (uses the glyph cache).
  int32_t advance(char32_t cp) {
    if (cp < kDirect && direct_[cp]) return direct_[cp]->advance;
    if (const Recent& r = recent_[cp % kRecent]; r.cp == cp && r.glyph) return r.glyph->advance;
    return glyph(cp).advance;
  }

 private:
  explicit FontInstance(FaceKey key) : key_(std::move(key)) {}
  bool load();
  Glyph rasterise(char32_t cp);

  static constexpr char32_t kDirect = 256;
  FaceKey key_;
  void* face_ = nullptr;  // FT_Face
  FontMetrics metrics_;
  std::array<const Glyph*, kDirect> direct_{};  // Latin-1 fast path into cache_
  // The glyphs of other code points used last, one slot per code point modulo kRecent: a text in
  // another script repeats a few hundred characters, which then skip the hash map. Its nodes do
  // not move, so the pointers stay good.
  struct Recent {
    char32_t cp = 0;
    const Glyph* glyph = nullptr;
  };
  static constexpr char32_t kRecent = 256;
  std::array<Recent, kRecent> recent_{};
  std::unordered_map<char32_t, Glyph> cache_;
  size_t glyphBytes_ = 0;
};

// The realised font for a logical font (instances are shared between equal requests). When the
// matched file cannot be loaded the embedded default face is used; nullptr only when no font
// file at all can be loaded.
std::shared_ptr<FontInstance> realizeFont(const LOGFONT& lf);

// The object behind a font handle: the logical font as asked for and its realisation.
struct FontObj : HandleObject {
  LOGFONT lf;
  std::shared_ptr<FontInstance> inst;
};

// How many glyphs FreeType has rasterised since the process started: a second drawing of the
// same caption leaves it unchanged.
uint64_t glyphRasterCount();

// What the shared font caches hold: the realised fonts kept for later requests and the bytes of
// the glyphs those fonts have cached.
struct FontCacheUse {
  size_t fonts = 0;
  size_t glyphBytes = 0;
};
FontCacheUse fontCacheUse();

}  // namespace zxp::gfx
