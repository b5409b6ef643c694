#include "platform/gfx/Surface.h"

#include <pixman.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <cstdlib>
#include <map>
#include <mutex>
#include <new>
#include <tuple>
#include <vector>

namespace zxp::gfx {

namespace {

// Zero-filled pixels from calloc, which need not clear memory fresh from the system (and the
// allocator maps large pictures from the system on their own): creating a surface that is
// painted over at once no longer clears it twice.
std::shared_ptr<uint32_t[]> zeroedPixels(size_t count) {
  void* p = std::calloc(count, sizeof(uint32_t));
  if (!p) throw std::bad_alloc();
  return std::shared_ptr<uint32_t[]>(static_cast<uint32_t*>(p), [](uint32_t* q) { std::free(q); });
}

}  // namespace

std::shared_ptr<Surface> Surface::sized(int32_t width, int32_t height, bool bottomUp) {
  if (width < 1 || height < 1 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) return nullptr;
  if (int64_t{width} * height > kMaxSurfacePixels) return nullptr;
  // One allocation for the surface and its count (the constructor is ours to call, not
  // make_shared's, hence the local class).
  struct Made : Surface {};
  std::shared_ptr<Surface> s;
  try {
    s = std::make_shared<Made>();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  s->count_ = static_cast<size_t>(width) * static_cast<size_t>(height);
  s->width_ = width;
  s->height_ = height;
  s->bottomUp_ = bottomUp;
  return s;
}

std::shared_ptr<Surface> Surface::create(int32_t width, int32_t height, bool bottomUp) {
  std::shared_ptr<Surface> s = sized(width, height, bottomUp);
  if (!s) return nullptr;
  try {
    s->pixels_ = zeroedPixels(s->count_);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  return s;
}

std::shared_ptr<Surface> Surface::createUniform(int32_t width, int32_t height, uint32_t value) {
  std::shared_ptr<Surface> s = sized(width, height, false);
  if (s && s->fillShared(value)) return s;
  s = create(width, height);
  if (s && value != 0) s->fill(value);
  return s;
}

bool Surface::show(std::shared_ptr<uint32_t[]> pixels) {
  if (!pixels || bottomUp_) return false;
  dropPacked();
  pixels_ = std::move(pixels);
  shared_ = true;
  uniform_ = false;
  return true;
}

void Surface::takeShown() {
  if (packed_) {
    unpack();
    return;
  }
  listForPacking();
  shared_ = uniform_ = false;
  if (pixels_.use_count() == 1) return;  // nobody else holds them any more: they are ours
  std::shared_ptr<uint32_t[]> own = std::make_shared_for_overwrite<uint32_t[]>(count_);
  std::copy_n(pixels_.get(), count_, own.get());
  pixels_ = std::move(own);
}

bool Surface::sharePixelsOf(Surface& from) {
  if (&from == this || bottomUp_ || from.bottomUp_ || from.width_ != width_ || from.height_ != height_) return false;
  if (from.packed_) from.unpack();
  dropPacked();
  uniform_ = from.shared_ && from.uniform_;
  uniformValue_ = from.uniformValue_;
  pixels_ = from.pixels_;
  shared_ = true;
  from.shared_ = true;
  return true;
}

void Surface::fill(uint32_t value) { fillRect(bounds(), value); }

bool Surface::fillShared(uint32_t value) {
  if (bottomUp_) return false;
  // The kept uniform pictures, one a value, each as large as the largest surface that asked for
  // it: a uniform picture reads the same at any width, so a smaller surface shows the start of
  // it. The table holds each one too, so a surface that writes always copies first (it never
  // takes over a picture the table would hand out again). Pictures no surface shows any more stay
  // for the next window of their colour (a form opened again) until they hold more than
  // kSpareBytes in all; then they are let go before another one is made.
  struct Kept {
    std::shared_ptr<uint32_t[]> pixels;
    size_t count = 0;
  };
  constexpr size_t kSpareBytes = size_t{16} << 20;
  static std::mutex lock;
  static std::map<uint32_t, Kept> kept;
  std::lock_guard<std::mutex> hold(lock);
  Kept& k = kept[value];
  if (k.count < count_) {
    size_t spare = 0;
    for (const auto& [v, e] : kept)
      if (e.pixels.use_count() == 1) spare += e.count * sizeof(uint32_t);
    if (spare > kSpareBytes)
      std::erase_if(kept, [&](const auto& e) { return e.first != value && e.second.pixels.use_count() == 1; });
    try {
      // Any other value is written once, over memory nobody cleared first.
      if (value == 0) k.pixels = zeroedPixels(count_);
      else std::fill_n((k.pixels = std::make_shared_for_overwrite<uint32_t[]>(count_)).get(), count_, value);
    } catch (const std::bad_alloc&) {
      if (!k.pixels) kept.erase(value);
      return false;
    }
    k.count = count_;
  }
  dropPacked();
  pixels_ = k.pixels;
  shared_ = true;
  uniform_ = true;
  uniformValue_ = value;
  return true;
}

void Surface::fillRect(const Rect& r, uint32_t value) {
  if (r.empty()) return;
  if (r.width() < 16) {  // a few pixels: cheaper than pixman's dispatch
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x) row(y)[x] = value;
    return;
  }
  if (r.height() == 1) {  // one row (a shape's row span): a plain fill, without pixman's dispatch
    std::fill(row(r.top) + r.left, row(r.top) + r.right, value);
    return;
  }
  // In memory the rectangle's rows are contiguous either way: a bottom-up surface holds picture
  // rows [top, bottom) at memory rows [height - bottom, height - top).
  const int32_t memTop = bottomUp_ ? height_ - r.bottom : r.top;
  if (pixman_fill(own(), width_, 32, r.left, memTop, r.width(), r.height(), value)) return;
  for (int32_t y = r.top; y < r.bottom; ++y) std::fill(row(y) + r.left, row(y) + r.right, value);
}

// ---- Packing ----------------------------------------------------------------------------------
//
// Two packed forms, both in 32-bit words.
//
// Indexed (a picture of at most 256 colours, which most control pictures are, or of at most
// 16 384 in the wide variant): word 0 is kIndexed (and kWide) with the palette's size in its low
// bits, the palette's colours follow (three bytes each, kRgb, when they all have the same top
// byte, which word 0 then holds; four otherwise), then one 16-bit offset per row into the row
// codes, then the row codes, a byte each: a code with the top bit clear is a run of (code + 1)
// pixels of the colour whose index follows; with the top bit set, (low bits + 1) single pixels
// follow, an index each. An index is a byte, or two in the wide variant (the push button's
// gradients and text come to a few hundred colours).
//
// Runs (more colours): one offset per row (from the start of the words) to the row's runs, then
// the runs. A run is a header word and what it covers: a header with the top bit clear is a
// count of pixels of one colour, whose word follows; with the top bit set, its low bits count
// single pixels, whose words follow.
//
// In both, short repeats (fewer than three pixels) go into the single pixels, where they cost
// less, and a row equal to the row above it shares that row's codes.

namespace {

constexpr uint32_t kSingles = 0x80000000u;
constexpr uint32_t kIndexed = 0x80000000u;  // in word 0, which the runs form's row 0 offset never sets
constexpr uint32_t kWide = 0x40000000u;     // in word 0 beside kIndexed: two-byte indexes
constexpr uint32_t kRgb = 0x20000000u;      // and three-byte colours, whose top byte is bits 16-23
static_assert(std::endian::native == std::endian::little, "three-byte colours are a word's low bytes");
constexpr uint32_t kPaletteSize = 0x7FFFu;
// What packing keeps at most, in pixels: larger pictures (a whole form's background) would cost
// their full size again to unpack and pack around every drawing on them.
constexpr size_t kMaxPackedPixels = size_t{1} << 18;

// The end of the run of r[x]'s colour that starts at x: eight pixels at a time while they all
// match (what the compiler turns into vector compares), then one at a time.
int32_t runEnd(const uint32_t* r, int32_t x, int32_t w) {
  const uint32_t v = r[x];
  int32_t e = x + 1;
  while (e + 8 <= w) {
    uint32_t differ = 0;
    for (int j = 0; j < 8; ++j) differ |= r[e + j] ^ v;
    if (differ) break;
    e += 8;
  }
  while (e < w && r[e] == v) ++e;
  return e;
}

// The end of the single pixels that start at x: up to the next three equal pixels.
int32_t singlesEnd(const uint32_t* r, int32_t x, int32_t w) {
  while (x < w && !(x + 2 < w && r[x] == r[x + 1] && r[x] == r[x + 2])) ++x;
  return x;
}

// Packs `h` rows of `w` pixels into `out` in the runs form; stops (returning false) once it
// passes `limit` words.
bool packRuns(const uint32_t* p, int32_t w, int32_t h, size_t limit, std::vector<uint32_t>& out) {
  out.assign(static_cast<size_t>(h), 0);
  out.reserve(limit + static_cast<size_t>(w) + 2);  // a row may pass the limit before the check
  const uint32_t* above = nullptr;
  for (int32_t y = 0; y < h; ++y) {
    const uint32_t* r = p + static_cast<size_t>(y) * w;
    if (above && std::equal(r, r + w, above)) {
      out[y] = out[y - 1];
      above = r;
      continue;
    }
    out[y] = static_cast<uint32_t>(out.size());
    int32_t x = 0;
    while (x < w) {
      const int32_t e = runEnd(r, x, w);
      if (e - x >= 3 || e == w) {
        out.push_back(static_cast<uint32_t>(e - x));
        out.push_back(r[x]);
        x = e;
      } else {
        const int32_t to = singlesEnd(r, x, w);
        out.push_back(kSingles | static_cast<uint32_t>(to - x));
        out.insert(out.end(), r + x, r + to);
        x = to;
      }
    }
    if (out.size() > limit) return false;
    above = r;
  }
  return true;
}

// The colours of the picture being packed in the indexed form and their indexes: an open hash
// table, at most a quarter full, whose slots from earlier pictures are told apart by a
// generation count.
class Palette {
 public:
  static constexpr size_t kMaxColours = 16384;
  static constexpr size_t kNarrowColours = 256;  // what one-byte indexes reach
  void start() {
    colours.clear();
    if (slots_.size() > kKeptSlots) resize(kKeptSlots);  // the table of a picture of thousands of colours
    if (++generation_ == 0) {  // wrapped: no slot may look current
      std::fill(slots_.begin(), slots_.end(), Slot{});
      generation_ = 1;
    }
  }
  // The index of colour c, added when new; -1 once the picture has more than kMaxColours.
  __attribute__((always_inline)) int indexOf(uint32_t c) {
    for (uint32_t i = hash(c);; i = (i + 1) & mask_) {
      Slot& s = slots_[i];
      if (s.generation != generation_) {
        if (colours.size() == kMaxColours) return -1;
        s = Slot{c, generation_, static_cast<uint32_t>(colours.size())};
        colours.push_back(c);
        if (colours.size() * 4 > slots_.size()) grow();
        return static_cast<int>(colours.size() - 1);
      }
      if (s.colour == c) return static_cast<int>(s.index);
    }
  }
  std::vector<uint32_t> colours;

 private:
  // The table starts with 1 024 slots and keeps up to 4 096 (48 KB) for the next picture, enough
  // for the push button's few hundred colours without growing again each time.
  static constexpr size_t kFirstSlots = 1024, kKeptSlots = 4096;
  struct Slot {
    uint32_t colour = 0, generation = 0, index = 0;
  };
  uint32_t hash(uint32_t c) const { return (c * 2654435761u) >> shift_; }
  void resize(size_t slots) {
    slots_.assign(slots, Slot{});
    mask_ = static_cast<uint32_t>(slots - 1);
    shift_ = 32 - std::countr_zero(static_cast<uint32_t>(slots));
  }
  // Twice the slots, the colours so far placed again.
  __attribute__((noinline)) void grow() {
    resize(slots_.size() * 2);
    for (uint32_t k = 0; k < colours.size(); ++k) {
      uint32_t i = hash(colours[k]);
      while (slots_[i].generation == generation_) i = (i + 1) & mask_;
      slots_[i] = Slot{colours[k], generation_, k};
    }
  }
  std::vector<Slot> slots_ = std::vector<Slot>(kFirstSlots);
  uint32_t mask_ = kFirstSlots - 1;
  int shift_ = 32 - 10;
  uint32_t generation_ = 0;
};

enum class Indexed { Packed, TooLarge, NotIndexable };

// Rewrites the row codes written so far with one-byte indexes to two-byte ones, and the offsets
// of rows [0, rows) with them; the last code may still lack indexes, which follow two-byte.
// False when a row would start past what 16-bit offsets reach.
bool widenCodes(std::vector<uint8_t>& codes, std::vector<uint16_t>& offsets, int32_t rows) {
  thread_local std::vector<uint8_t> wide;
  wide.clear();
  int32_t y = 0;
  auto placeRows = [&](size_t at) {  // rows starting at old position `at` start at the new end
    for (; y < rows && offsets[y] <= at; ++y) {
      if (wide.size() > 0xFFFF) return false;
      offsets[y] = static_cast<uint16_t>(wide.size());
    }
    return true;
  };
  for (size_t i = 0; i < codes.size();) {
    if (!placeRows(i)) return false;
    const uint8_t code = codes[i++];
    wide.push_back(code);
    for (int n = (code & 0x80) ? (code & 0x7F) + 1 : 1; n > 0 && i < codes.size(); --n) {
      wide.push_back(codes[i++]);
      wide.push_back(0);
    }
  }
  codes.swap(wide);
  return true;
}

// Packs `h` rows of `w` pixels into `out` in the indexed form: one-byte indexes while the
// picture has shown at most 256 colours, two-byte ones (the codes so far rewritten) from the
// 257th. NotIndexable when it has more than the palette holds, when its row codes pass what
// 16-bit offsets reach, or when two-byte indexes pass `limit` words (where the runs form may
// still fit: a palette of many colours each used once costs more than their words); TooLarge
// when one-byte ones do.
Indexed packIndexed(const uint32_t* p, int32_t w, int32_t h, size_t limit, std::vector<uint32_t>& out) {
  thread_local Palette palette;
  thread_local std::vector<uint16_t> offsets;
  thread_local std::vector<uint8_t> codes;
  palette.start();
  offsets.assign(static_cast<size_t>(h), 0);
  codes.clear();
  const size_t limitBytes = limit * sizeof(uint32_t);
  bool wide = false;
  int32_t y = 0;
  auto index = [&](uint32_t c) __attribute__((always_inline)) {
    const int i = palette.indexOf(c);
    if (i == static_cast<int>(Palette::kNarrowColours) && !wide) {
      if (!widenCodes(codes, offsets, y + 1)) return false;
      wide = true;
    }
    codes.push_back(static_cast<uint8_t>(i));
    if (wide) codes.push_back(static_cast<uint8_t>(i >> 8));
    return i >= 0;
  };
  const uint32_t* above = nullptr;
  for (; y < h; ++y) {
    const uint32_t* r = p + static_cast<size_t>(y) * w;
    if (above && std::equal(r, r + w, above)) {
      offsets[y] = offsets[y - 1];
      above = r;
      continue;
    }
    if (codes.size() > 0xFFFF) return Indexed::NotIndexable;
    offsets[y] = static_cast<uint16_t>(codes.size());
    int32_t x = 0;
    while (x < w) {
      const int32_t e = runEnd(r, x, w);
      if (e - x >= 3 || e == w) {
        for (int32_t n = e - x; n > 0; n -= 128) {
          codes.push_back(static_cast<uint8_t>(std::min(n, 128) - 1));
          if (!index(r[x])) return Indexed::NotIndexable;
        }
        x = e;
      } else {
        const int32_t to = singlesEnd(r, x, w);
        for (; x < to;) {
          const int32_t n = std::min(to - x, 128);
          codes.push_back(static_cast<uint8_t>(0x80 | (n - 1)));
          for (const int32_t stop = x + n; x < stop; ++x)
            if (!index(r[x])) return Indexed::NotIndexable;
        }
      }
    }
    if (codes.size() + 2 * offsets.size() + 4 * palette.colours.size() > limitBytes)
      return wide ? Indexed::NotIndexable : Indexed::TooLarge;
    above = r;
  }
  const std::vector<uint32_t>& colours = palette.colours;
  const uint32_t top = colours.front() & 0xFF000000u;
  const bool rgb = std::all_of(colours.begin(), colours.end(), [top](uint32_t c) { return (c & 0xFF000000u) == top; });
  const size_t paletteBytes = colours.size() * (rgb ? 3 : 4);
  const size_t tail = paletteBytes + 2 * offsets.size() + codes.size();
  out.assign(1 + (tail + 3) / 4, 0);
  out[0] = kIndexed | (wide ? kWide : 0) | (rgb ? kRgb | top >> 8 : 0) | static_cast<uint32_t>(colours.size());
  auto* bytes = reinterpret_cast<uint8_t*>(out.data() + 1);
  if (rgb) {
    for (size_t i = 0; i < colours.size(); ++i) std::memcpy(bytes + 3 * i, &colours[i], 3);  // little-endian: B, G, R
  } else {
    std::memcpy(bytes, colours.data(), paletteBytes);
  }
  bytes += paletteBytes;
  std::memcpy(bytes, offsets.data(), 2 * offsets.size());
  std::memcpy(bytes + 2 * offsets.size(), codes.data(), codes.size());
  return out.size() <= limit ? Indexed::Packed : Indexed::NotIndexable;
}

// Writes pixels [x, x + n) of the packed row starting at word `at` (runs form) to out.
void unpackRunsRow(const uint32_t* words, uint32_t at, int32_t x, int32_t n, uint32_t* out) {
  const uint32_t* t = words + at;
  while (n > 0) {
    const uint32_t header = *t++;
    const int32_t len = static_cast<int32_t>(header & ~kSingles);
    if (x >= len) {  // the run lies before the pixels asked for
      x -= len;
      t += (header & kSingles) ? len : 1;
      continue;
    }
    const int32_t take = std::min(len - x, n);
    if (header & kSingles) {
      std::copy_n(t + x, take, out);
      t += len;
    } else {
      std::fill_n(out, take, *t);
      ++t;
    }
    out += take;
    n -= take;
    x = 0;
  }
}

// The same for row y of a picture of h rows packed in the indexed form with indexes of
// `IndexBytes` bytes and colours of `ColourBytes`.
template <int IndexBytes, int ColourBytes>
void unpackIndexedRow(const uint32_t* words, int32_t h, int32_t y, int32_t x, int32_t n, uint32_t* out) {
  const auto* colours = reinterpret_cast<const uint8_t*>(words + 1);
  const auto* bytes = colours + (words[0] & kPaletteSize) * ColourBytes;
  const uint32_t top = (words[0] << 8) & 0xFF000000u;
  auto indexAt = [](const uint8_t* i) { return IndexBytes == 1 ? i[0] : static_cast<uint32_t>(i[0] | i[1] << 8); };
  // A three-byte colour is read as a word too: its fourth byte is the next colour's or the first
  // row offset's, always there.
  auto palette = [colours, top](uint32_t i) {
    uint32_t c;
    std::memcpy(&c, colours + i * ColourBytes, sizeof c);
    return ColourBytes == 4 ? c : (c & 0x00FFFFFFu) | top;
  };
  uint16_t at;
  std::memcpy(&at, bytes + 2 * static_cast<size_t>(y), sizeof at);
  const uint8_t* t = bytes + 2 * static_cast<size_t>(h) + at;
  while (n > 0) {
    const uint8_t code = *t++;
    const int32_t len = (code & 0x7F) + 1;
    const bool singles = (code & 0x80) != 0;
    if (x >= len) {
      x -= len;
      t += (singles ? len : 1) * IndexBytes;
      continue;
    }
    const int32_t take = std::min(len - x, n);
    if (singles) {
      for (int32_t i = 0; i < take; ++i) out[i] = palette(indexAt(t + (x + i) * IndexBytes));
      t += len * IndexBytes;
    } else {
      std::fill_n(out, take, palette(indexAt(t)));
      t += IndexBytes;
    }
    out += take;
    n -= take;
    x = 0;
  }
}

// Writes pixels [x, x + n) of row y of a packed picture of h rows to out.
void unpackRow(const uint32_t* words, int32_t h, int32_t y, int32_t x, int32_t n, uint32_t* out) {
  switch (words[0] & (kIndexed | kWide | kRgb)) {
    case kIndexed: unpackIndexedRow<1, 4>(words, h, y, x, n, out); break;
    case kIndexed | kRgb: unpackIndexedRow<1, 3>(words, h, y, x, n, out); break;
    case kIndexed | kWide: unpackIndexedRow<2, 4>(words, h, y, x, n, out); break;
    case kIndexed | kWide | kRgb: unpackIndexedRow<2, 3>(words, h, y, x, n, out); break;
    default: unpackRunsRow(words, words[y], x, n, out); break;
  }
}

struct PackList {
  std::mutex lock;
  std::vector<std::weak_ptr<Surface>> waiting;
  // A program that draws and never composes still keeps the list to about its live surfaces:
  // when the list reaches this size, the surfaces gone meanwhile leave it.
  size_t pruneAt = 1024;
};

PackList& packList() {
  static PackList* list = new PackList;  // outlives every surface destroyed at exit
  return *list;
}

}  // namespace

void Surface::setPackable() {
  packable_ = true;
  listForPacking();
}

void Surface::listForPacking() const {
  if (!packable_ || listed_) return;
  auto* self = const_cast<Surface*>(this);
  std::weak_ptr<Surface> me = self->weak_from_this();
  if (me.expired()) return;  // not made by create(): nothing can hand it to packIdle
  PackList& list = packList();
  std::lock_guard<std::mutex> hold(list.lock);
  if (list.waiting.size() >= list.pruneAt) {
    std::erase_if(list.waiting, [](const std::weak_ptr<Surface>& w) { return w.expired(); });
    list.pruneAt = std::max<size_t>(1024, 2 * list.waiting.size());
  }
  list.waiting.push_back(std::move(me));
  self->listed_ = true;
}

bool Surface::pack() {
  // Shown pixels that nobody else holds any more (a bitmap that shared them is gone) are ours.
  if (!packable_ || packed_ || bottomUp_ || !pixels_ || pixels_.use_count() != 1 || count_ > kMaxPackedPixels)
    return false;
  thread_local std::vector<uint32_t> words;
  const size_t limit = count_ / 2;
  // A picture too large with one-byte indexes would pass the runs form's four bytes a pixel too.
  switch (packIndexed(pixels_.get(), width_, height_, limit, words)) {
    case Indexed::Packed: break;
    case Indexed::TooLarge: return false;
    case Indexed::NotIndexable:
      if (!packRuns(pixels_.get(), width_, height_, limit, words) || words.size() > limit) return false;
  }
  std::unique_ptr<uint32_t[]> kept(new (std::nothrow) uint32_t[words.size()]);
  if (!kept) return false;
  std::copy(words.begin(), words.end(), kept.get());
  packed_ = std::move(kept);
  packedWords_ = words.size();
  pixels_.reset();
  shared_ = uniform_ = false;
  return true;
}

void Surface::unpack() const {
  std::shared_ptr<uint32_t[]> p = std::make_shared_for_overwrite<uint32_t[]>(count_);
  for (int32_t y = 0; y < height_; ++y)
    unpackRow(packed_.get(), height_, y, 0, width_, p.get() + static_cast<size_t>(y) * width_);
  pixels_ = std::move(p);
  dropPacked();
  listForPacking();
}

void Surface::dropPacked() const {
  packed_.reset();
  packedWords_ = 0;
}

void Surface::readRow(int32_t y, int32_t x, int32_t n, uint32_t* out) const {
  if (packed_) unpackRow(packed_.get(), height_, y, x, n, out);
  else std::copy_n(row(y) + x, n, out);
}

void Surface::packIdle() {
  std::vector<std::weak_ptr<Surface>> waiting;
  {
    PackList& list = packList();
    std::lock_guard<std::mutex> hold(list.lock);
    waiting.swap(list.waiting);
  }
  for (auto& w : waiting)
    if (std::shared_ptr<Surface> s = w.lock()) {
      s->listed_ = false;
      s->pack();
    }
}

}  // namespace zxp::gfx
