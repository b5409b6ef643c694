// Font matching (the face files: FontFiles.h), faces and glyphs (FreeType), GDI-style metrics, glyph cache.
#include "platform/gfx/FontEngine.h"

#include "platform/gfx/FontFiles.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <tuple>

namespace zxp::gfx {

namespace {

// ---- FreeType and fontconfig handles --------------------------------------------------------

FT_Library ftLibrary() {
  static FT_Library lib = [] {
    FT_Library l = nullptr;
    if (FT_Init_FreeType(&l) != 0) return static_cast<FT_Library>(nullptr);
    return l;
  }();
  return lib;
}

FontSource gSource = FontSource::Embedded;

// ---- Classic face names ---------------------------------------------------------------------

enum class Generic { Sans, Serif, Mono };

struct Classic {
  const char* name;
  Generic generic;
  // Installed look-alikes to try, best first (used with FontSource::System).
  std::vector<const char*> lookalikes;
};

const std::vector<Classic>& classicFaces() {
  static const std::vector<Classic> table = {
      {"ms sans serif", Generic::Sans, {"Microsoft Sans Serif", "Liberation Sans", "Arimo", "Nimbus Sans"}},
      {"microsoft sans serif", Generic::Sans, {"Liberation Sans", "Arimo", "Nimbus Sans"}},
      {"ms shell dlg", Generic::Sans, {"Microsoft Sans Serif", "Liberation Sans", "Arimo"}},
      {"ms shell dlg 2", Generic::Sans, {"Tahoma", "DejaVu Sans"}},
      {"tahoma", Generic::Sans, {"DejaVu Sans"}},
      {"verdana", Generic::Sans, {"DejaVu Sans"}},
      {"segoe ui", Generic::Sans, {"Noto Sans", "Open Sans", "DejaVu Sans"}},
      {"arial", Generic::Sans, {"Liberation Sans", "Arimo", "Nimbus Sans"}},
      {"helvetica", Generic::Sans, {"Liberation Sans", "Arimo", "Nimbus Sans"}},
      {"system", Generic::Sans, {"DejaVu Sans"}},
      {"small fonts", Generic::Sans, {"DejaVu Sans"}},
      {"trebuchet ms", Generic::Sans, {"DejaVu Sans"}},
      {"lucida sans unicode", Generic::Sans, {"DejaVu Sans"}},
      {"times new roman", Generic::Serif, {"Liberation Serif", "Tinos", "Nimbus Roman"}},
      {"times", Generic::Serif, {"Liberation Serif", "Tinos", "Nimbus Roman"}},
      {"ms serif", Generic::Serif, {"Liberation Serif", "Nimbus Roman"}},
      {"georgia", Generic::Serif, {"Gelasio", "DejaVu Serif"}},
      {"courier new", Generic::Mono, {"Liberation Mono", "Cousine", "Nimbus Mono PS"}},
      {"courier", Generic::Mono, {"Liberation Mono", "Cousine", "Nimbus Mono PS"}},
      {"lucida console", Generic::Mono, {"DejaVu Sans Mono"}},
      {"consolas", Generic::Mono, {"Inconsolata", "DejaVu Sans Mono"}},
      {"fixedsys", Generic::Mono, {"DejaVu Sans Mono"}},
      {"terminal", Generic::Mono, {"DejaVu Sans Mono"}},
  };
  return table;
}

const char* embeddedFamily(Generic g) {
  switch (g) {
    case Generic::Serif: return "DejaVu Serif";
    case Generic::Mono: return "DejaVu Sans Mono";
    case Generic::Sans:
    default: return "DejaVu Sans";
  }
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string faceNameOf(const LOGFONT& lf) {
  return std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
}

struct Match {
  std::string file;
  int index = 0;
  bool synthBold = false;
  bool synthItalic = false;
};

Match matchFace(const LOGFONT& lf) {
  std::string name = faceNameOf(lf);
  std::string key = lower(name);
  // The generic family from the pitch-and-family byte, overridden by a known classic face.
  Generic generic = Generic::Sans;
  BYTE family = lf.lfPitchAndFamily & 0xF0;
  if (family == FF_ROMAN) generic = Generic::Serif;
  if (family == FF_MODERN || (lf.lfPitchAndFamily & 0x03) == FIXED_PITCH) generic = Generic::Mono;
  const Classic* classic = nullptr;
  for (const auto& c : classicFaces())
    if (key == c.name) classic = &c;
  if (classic) generic = classic->generic;

  const int weight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp<int>(lf.lfWeight, 1, 1000);
  FaceRequest request{name, classic ? classic->lookalikes : std::vector<const char*>{}, embeddedFamily(generic),
                      weight, lf.lfItalic != 0, gSource};
  FaceFile found = findFaceFile(request);
  Match m{found.file, found.index, found.synthBold, found.synthItalic};
  if (m.file.empty()) {
    m.file = defaultFaceFile();
    m.index = 0;
    m.synthBold = weight >= FW_SEMIBOLD;
    m.synthItalic = lf.lfItalic != 0;
  }
  return m;
}

// ---- Instance caches ------------------------------------------------------------------------

uint64_t gRasterCount = 0;

std::string faceKeyString(const FaceKey& k) {
  return k.file + '\x1f' + std::to_string(k.index) + '\x1f' + std::to_string(k.height) + '\x1f' +
         std::to_string(k.width) + (k.synthBold ? "B" : "-") + (k.synthItalic ? "I" : "-");
}

// Caches are bounded: past the limit they are emptied (fonts in use stay alive through their
// handles; only the sharing of later requests is lost).
constexpr size_t kMaxCached = 256;

std::map<std::string, std::shared_ptr<FontInstance>>& instanceCache() {
  static std::map<std::string, std::shared_ptr<FontInstance>> m;
  return m;
}

using LogKey = std::tuple<std::string, LONG, LONG, LONG, bool, BYTE, int>;
std::map<LogKey, std::shared_ptr<FontInstance>>& logicalCache() {
  static std::map<LogKey, std::shared_ptr<FontInstance>> m;
  return m;
}

int32_t roundDiv(int64_t a, int64_t b) {  // a / b to the nearest, halves away from zero (b > 0)
  return static_cast<int32_t>(a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b));
}

// Pixel sizes are bounded so that one glyph stays a reasonable allocation.
constexpr int kMaxPpem = 1024;

}  // namespace

// ---- FontInstance ---------------------------------------------------------------------------

std::shared_ptr<FontInstance> FontInstance::open(const FaceKey& key) {
  std::shared_ptr<FontInstance> inst(new FontInstance(key));
  if (!inst->load()) return nullptr;
  return inst;
}

FontInstance::~FontInstance() {
  if (face_) FT_Done_Face(static_cast<FT_Face>(face_));
}

bool FontInstance::load() {
  FT_Library lib = ftLibrary();
  if (!lib) return false;
  FT_Face f = nullptr;
  if (FT_New_Face(lib, key_.file.c_str(), key_.index, &f) != 0) return false;
  face_ = f;
  if (!FT_IS_SCALABLE(f) || f->units_per_EM == 0) return false;
  const int64_t upem = f->units_per_EM;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
  auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(f, FT_SFNT_HHEA));
  int64_t winA = os2 && os2->version != 0xFFFF ? os2->usWinAscent : f->ascender;
  int64_t winD = os2 && os2->version != 0xFFFF ? os2->usWinDescent : -f->descender;
  if (winA + winD <= 0) {
    winA = f->ascender;
    winD = -f->descender;
  }
  if (winA + winD <= 0) return false;

  FontMetrics& m = metrics_;
  int ppem;
  if (key_.height < 0) {
    ppem = std::clamp<int64_t>(-static_cast<int64_t>(key_.height), 1, kMaxPpem);
    m.ascent = roundDiv(winA * ppem, upem);
    m.descent = roundDiv(winD * ppem, upem);
  } else {
    int64_t cell = std::clamp<int64_t>(key_.height, 1, kMaxPpem);
    ppem = std::clamp<int>(roundDiv(cell * upem, winA + winD), 1, kMaxPpem);
    m.ascent = roundDiv(winA * cell, winA + winD);
    m.descent = static_cast<int32_t>(cell) - m.ascent;
  }
  m.height = m.ascent + m.descent;
  m.internalLeading = std::max(0, m.height - ppem);
  if (hhea) {
    int64_t gap = hhea->Line_Gap - ((winA + winD) - (hhea->Ascender - hhea->Descender));
    m.externalLeading = std::max(0, roundDiv(gap * ppem, upem));
  }

  int ppemX = ppem;
  auto aveAt = [&](int px) {
    if (os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0)
      return std::max(1, roundDiv(int64_t{os2->xAvgCharWidth} * px, upem));
    return std::max(1, px / 2);
  };
  if (key_.width > 0) {
    ppemX = std::clamp<int>(roundDiv(int64_t{ppem} * key_.width, aveAt(ppem)), 1, kMaxPpem);
  }
  if (FT_Set_Pixel_Sizes(f, static_cast<FT_UInt>(ppemX), static_cast<FT_UInt>(ppem)) != 0) return false;
  m.aveCharWidth = key_.width > 0 ? key_.width : aveAt(ppemX);
  m.maxCharWidth = std::max(1, roundDiv((int64_t{f->bbox.xMax} - f->bbox.xMin) * ppemX, upem));
  if (key_.synthBold) {
    m.aveCharWidth += 1;
    m.maxCharWidth += 1;
  }
  m.underlineThickness = std::max(1, roundDiv(int64_t{f->underline_thickness} * ppem, upem));
  m.underlinePos = std::max(1, roundDiv(-int64_t{f->underline_position} * ppem, upem));
  if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
    m.strikeoutThickness = std::max(1, roundDiv(int64_t{os2->yStrikeoutSize} * ppem, upem));
    m.strikeoutPos = std::max(1, roundDiv(int64_t{os2->yStrikeoutPosition} * ppem, upem));
  } else {
    m.strikeoutThickness = m.underlineThickness;
    m.strikeoutPos = std::max(1, m.ascent / 3);
  }
  m.fixedPitch = FT_IS_FIXED_WIDTH(f);
  return true;
}

Glyph FontInstance::rasterise(char32_t cp) {
  ++gRasterCount;
  Glyph g;
  FT_Face f = static_cast<FT_Face>(face_);
  FT_UInt gi = FT_Get_Char_Index(f, cp);
  if (FT_Load_Glyph(f, gi, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0) return g;
  FT_GlyphSlot slot = f->glyph;
  FT_Pos advance = slot->advance.x;
  if (key_.synthItalic) FT_GlyphSlot_Oblique(slot);
  if (key_.synthBold && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    // Embolden horizontally by about a pixel per 24 pixels of size (at least one pixel), and
    // widen the advance by the same whole pixels, as the platform's simulated bold does.
    FT_Pos strength = std::max<FT_Pos>(64, (FT_Pos{f->size->metrics.y_ppem} * 64 / 24 + 32) & ~63);
    FT_Outline_EmboldenXY(&slot->outline, strength, 0);
    advance += strength;
  }
  g.advance = static_cast<int32_t>((advance + 32) >> 6);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
  const FT_Bitmap& bm = slot->bitmap;
  if (bm.pixel_mode != FT_PIXEL_MODE_GRAY || bm.width == 0 || bm.rows == 0) return g;
  g.left = slot->bitmap_left;
  g.top = slot->bitmap_top;
  g.width = static_cast<int32_t>(bm.width);
  g.height = static_cast<int32_t>(bm.rows);
  g.coverage.assign(static_cast<size_t>(g.width) * g.height + Glyph::kPad, 0);
  g.inked.assign(static_cast<size_t>(g.height), 0);
  for (int32_t y = 0; y < g.height; ++y) {
    const unsigned char* src = bm.pitch >= 0 ? bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch
                                             : bm.buffer + static_cast<ptrdiff_t>(g.height - 1 - y) * -bm.pitch;
    std::memcpy(g.coverage.data() + static_cast<size_t>(y) * g.width, src, static_cast<size_t>(g.width));
    int32_t first = 0, last = g.width;
    while (first < last && src[first] == 0) ++first;
    while (last > first && src[last - 1] == 0) --last;
    if (first < last) g.inked[static_cast<size_t>(y)] = static_cast<uint32_t>(first) | static_cast<uint32_t>(last) << 16;
  }
  return g;
}

const Glyph& FontInstance::glyph(char32_t cp) {
  if (cp < kDirect && direct_[cp]) return *direct_[cp];
  Recent& recent = recent_[cp % kRecent];
  if (recent.cp == cp && recent.glyph) return *recent.glyph;
  auto it = cache_.find(cp);
  if (it == cache_.end()) {
    Glyph g = rasterise(cp);
    const size_t bytes = sizeof(Glyph) + g.coverage.size() + g.inked.size() * sizeof(uint32_t);
    if (glyphBytes_ + bytes > kMaxGlyphBytes && !cache_.empty()) {
      cache_.clear();
      direct_.fill(nullptr);
      recent_.fill(Recent{});
      glyphBytes_ = 0;
    }
    it = cache_.emplace(cp, std::move(g)).first;
    glyphBytes_ += bytes;
  }
  if (cp < kDirect) direct_[cp] = &it->second;
  else recent = Recent{cp, &it->second};
  return it->second;
}

// ---- Realising logical fonts ------------------------------------------------------------------

std::shared_ptr<FontInstance> realizeFont(const LOGFONT& lf) {
  LONG height = lf.lfHeight == 0 ? 16 : lf.lfHeight;
  LONG width = std::max<LONG>(0, lf.lfWidth);
  LONG weight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
  LogKey lk{lower(faceNameOf(lf)), height, width, weight, lf.lfItalic != 0, lf.lfPitchAndFamily,
            static_cast<int>(gSource)};
  auto& logical = logicalCache();
  if (auto it = logical.find(lk); it != logical.end()) return it->second;

  Match m = matchFace(lf);
  FaceKey key{m.file, m.index, height, width, m.synthBold, m.synthItalic};
  auto& instances = instanceCache();
  std::string ks = faceKeyString(key);
  std::shared_ptr<FontInstance> inst;
  if (auto it = instances.find(ks); it != instances.end()) {
    inst = it->second;
  } else {
    inst = FontInstance::open(key);
    if (!inst) {  // the matched file would not load: the embedded default never fails
      key = FaceKey{defaultFaceFile(), 0, height, width, weight >= FW_SEMIBOLD,
                    lf.lfItalic != 0};
      inst = FontInstance::open(key);
    }
    if (!inst) {
      // Not even the default face: a font without glyphs that still has metrics.
      static std::shared_ptr<FontInstance> none;
      return none;
    }
    if (instances.size() >= kMaxCached) instances.clear();
    instances[ks] = inst;
  }
  if (logical.size() >= kMaxCached) logical.clear();
  logical[lk] = inst;
  return inst;
}

uint64_t glyphRasterCount() { return gRasterCount; }

FontCacheUse fontCacheUse() {
  FontCacheUse use;
  std::set<const FontInstance*> seen;
  for (const auto& [key, inst] : instanceCache())
    if (seen.insert(inst.get()).second) use.glyphBytes += inst->glyphBytes();
  for (const auto& [key, inst] : logicalCache())
    if (seen.insert(inst.get()).second) use.glyphBytes += inst->glyphBytes();
  use.fonts = seen.size();
  return use;
}

void setFontSource(FontSource s) {
  if (s == gSource) return;
  gSource = s;
  logicalCache().clear();
}

FontSource fontSource() { return gSource; }

std::string matchedFontFile(const LOGFONT& lf) {
  auto inst = realizeFont(lf);
  return inst ? inst->key().file : std::string();
}

}  // namespace zxp::gfx
