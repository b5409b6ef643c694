#include "foundation/GradientMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "platform/base/HostError.h"
#include "platform/base/Scratch.h"
#include "platform/gfx/ComputedPicture.h"

namespace zxp::gradient {

namespace {

struct Channels {
  int32_t c[3];  // red, green, blue
};

Channels channelsOf(OLE_COLOR color) {
  return Channels{{GetRValue(color), GetGValue(color), GetBValue(color)}};
}

// Adds one step per channel; a channel that drops below 0 is set to 0 and goes on from there.
void advance(Channels& cur, const Channels& step) {
  for (int k = 0; k < 3; ++k) cur.c[k] = std::max(cur.c[k] + step.c[k], 0);
}

Pixel pixelOf(const Channels& ch) { return composePixel(ch.c[0], ch.c[1], ch.c[2]); }

// The constants of the angle arithmetic, in the precision the drawing has always used: the
// degree/radian factors are single-precision values, and the intermediate angles are stored in
// single precision, so that every caller gets the same axis lengths and steps.
constexpr double kDegreesPerRadian = 57.2957763671875;
constexpr double kRadiansPerDegreeSingle = 0.01745329238474369;
constexpr double kRadiansPerDegree = 0.017453292;
constexpr double kQuarterTurn = 1.5707964;

// Rows of an angled gradient at least this wide walk the ramp in blocks (below, the table
// would cost more than it saves).
constexpr int32_t kWideRow = 256;
constexpr int32_t kBlock = 8;

// For a step per pixel below 1000: entry offsets (fraction + j * step) / 1000 for every fraction
// 0..999 and j = 0..7, kept per thread for the last step used.
const uint8_t* blockOffsets(uint32_t step) {
  ZXP_SCRATCH uint32_t tableStep = 0;
  ZXP_SCRATCH std::vector<uint8_t> table;
  if (table.empty() || tableStep != step) {
    table.resize(1000 * kBlock);
    for (uint32_t fraction = 0; fraction < 1000; ++fraction)
      for (uint32_t j = 0; j < kBlock; ++j)
        table[fraction * kBlock + j] = static_cast<uint8_t>((fraction + j * step) / 1000);
    tableStep = step;
  }
  return table.data();
}

// Writes `blocks` blocks of 8 pixels, the first starting at entry `index` with `fraction`
// thousandths; each block moves on by `whole` entries and `rest` thousandths.
#if defined(__x86_64__) && defined(__GNUC__)
// With AVX2 a block is one load of the 8 entries it can reach, one permutation and one store.
__attribute__((target("avx2"))) void walkBlocksAvx2(const Pixel* entry, const uint8_t* offsets,
                                                    uint32_t index, uint32_t fraction,
                                                    uint32_t whole, uint32_t rest, Pixel* dst,
                                                    int32_t blocks) {
  for (int32_t b = 0; b < blocks; ++b, dst += kBlock) {
    int64_t eight;
    std::memcpy(&eight, offsets + fraction * kBlock, sizeof eight);
    const __m256i lanes = _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(eight));
    const __m256i from = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(entry + index));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), _mm256_permutevar8x32_epi32(from, lanes));
    index += whole;
    fraction += rest;
    if (fraction >= 1000) {
      fraction -= 1000;
      ++index;
    }
  }
}
#endif

void walkBlocks(const Pixel* entry, const uint8_t* offsets, uint32_t index, uint32_t fraction,
                uint32_t whole, uint32_t rest, Pixel* dst, int32_t blocks) {
#if defined(__x86_64__) && defined(__GNUC__)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) return walkBlocksAvx2(entry, offsets, index, fraction, whole, rest, dst, blocks);
#endif
  for (int32_t b = 0; b < blocks; ++b, dst += kBlock) {
    const Pixel* e = entry + index;
    const uint8_t* o = offsets + fraction * kBlock;
    for (int32_t j = 0; j < kBlock; ++j) dst[j] = e[o[j]];
    index += whole;
    fraction += rest;
    if (fraction >= 1000) {
      fraction -= 1000;
      ++index;
    }
  }
}

}  // namespace

void fillColorRamp(OLE_COLOR start, OLE_COLOR end, int32_t n, Pixel* out) {
  if (n < 1) return;
  Channels s = channelsOf(start), e = channelsOf(end);
  if (n == 1) {
    out[0] = makePixel(s.c[0] / 2 + e.c[0] / 2, s.c[1] / 2 + e.c[1] / 2, s.c[2] / 2 + e.c[2] / 2);
    return;
  }
  // Per channel, (d * i) / last truncated toward zero is sign(d) * (|d| * i / last), walked
  // as a whole part and a remainder that grow by |d| / last and |d| % last per entry.
  const int32_t last = n - 1;
  int32_t sign[3], wholeStep[3], restStep[3], whole[3] = {0, 0, 0}, rest[3] = {0, 0, 0};
  for (int k = 0; k < 3; ++k) {
    const int32_t d = e.c[k] - s.c[k];
    sign[k] = d < 0 ? -1 : 1;
    wholeStep[k] = (d < 0 ? -d : d) / last;
    restStep[k] = (d < 0 ? -d : d) % last;
  }
  for (int32_t i = 0; i < n; ++i) {
    out[i] = makePixel(s.c[0] + sign[0] * whole[0], s.c[1] + sign[1] * whole[1],
                       s.c[2] + sign[2] * whole[2]);
    for (int k = 0; k < 3; ++k) {
      whole[k] += wholeStep[k];
      rest[k] += restStep[k];
      if (rest[k] >= last) {
        rest[k] -= last;
        ++whole[k];
      }
    }
  }
}

std::vector<Pixel> colorRamp(OLE_COLOR start, OLE_COLOR end, int32_t n) {
  std::vector<Pixel> ramp(static_cast<size_t>(std::max(n, 0)));
  fillColorRamp(start, end, n, ramp.data());
  return ramp;
}

AngleGeometry angleGeometry(int32_t width, int32_t height, float angle) {
  AngleGeometry g;
  // The direction counted clockwise from "up", in whole degrees 0..359.
  float a = 90.0f - angle;
  int32_t whole = nearest(a) % 360;
  if (whole < 0) whole += 360;
  g.quadrant = whole / 90;
  g.degrees = whole % 90;
  const bool even = g.quadrant % 2 == 0;

  // The axis length: the diagonal projected on the gradient direction.
  double ratio = even ? static_cast<double>(width) / height : static_cast<double>(height) / width;
  float beta = static_cast<float>(std::atan(ratio) * kDegreesPerRadian);
  float gamma = static_cast<float>((90.0 - std::fabs(g.degrees - static_cast<double>(beta))) *
                                   kRadiansPerDegreeSingle);
  double diagonal = std::sqrt(static_cast<double>(width) * width + static_cast<double>(height) * height);
  g.axisLength = std::max(nearest(diagonal * std::sin(static_cast<double>(gamma))), 1);

  g.color1First = g.quadrant < 2;
  float rho = static_cast<float>(g.degrees * kRadiansPerDegree);
  double turn = even ? static_cast<double>(rho) : kQuarterTurn - rho;
  g.stepX = nearest(std::sin(turn) * 1000);
  g.stepY = nearest(std::cos(turn) * 1000);
  g.fromTop = !even;
  return g;
}

void fillAngleBuffer(Pixel* buffer, int32_t width, int32_t height, OLE_COLOR color1,
                     OLE_COLOR color2, float angle) {
  fillAngleBufferPart(buffer, width, height, color1, color2, angle, 0, 0, width, height);
}

void fillAngleBufferPart(Pixel* buffer, int32_t width, int32_t height, OLE_COLOR color1,
                         OLE_COLOR color2, float angle, int32_t left, int32_t top,
                         int32_t partWidth, int32_t partHeight) {
  if (width < 1 || height < 1 || partWidth < 1 || partHeight < 1 || left < 0 || top < 0 ||
      partWidth > width - left || partHeight > height - top)
    return;
  const AngleRows rows(width, height, color1, color2, angle);
  for (int32_t s = top; s < top + partHeight; ++s)  // s: line of the whole, from the top
    rows.write(s, left, buffer + static_cast<size_t>(top + partHeight - 1 - s) * partWidth,
               partWidth);
}

AngleRows::AngleRows(int32_t width, int32_t height, OLE_COLOR color1, OLE_COLOR color2,
                     float angle)
    : g_(angleGeometry(width, height, angle)), height_(height) {
  // The rounded steps can carry the last pixels a little past the axis (by up to half a
  // thousandth per pixel): the ramp is extended with its end colour so those pixels get it.
  const int64_t reach =
      (int64_t{width - 1} * g_.stepX + int64_t{height - 1} * g_.stepY) / 1000 + 1;
  ramp_.resize(static_cast<size_t>(std::max<int64_t>(g_.axisLength, reach) + kBlock));
  if (g_.color1First) fillColorRamp(color1, color2, g_.axisLength, ramp_.data());
  else fillColorRamp(color2, color1, g_.axisLength, ramp_.data());
  std::fill(ramp_.begin() + g_.axisLength, ramp_.end(), ramp_[g_.axisLength - 1]);
}

void AngleRows::write(int32_t s, int32_t left, Pixel* dst, int32_t n) const {
  // Pixel (x, k) of the whole picture, k counted in walking order, reads ramp entry
  // (k * stepY + x * stepX) / 1000. The products are taken modulo 2^32 like the running sums
  // of a whole-picture walk, so any run is exactly the same window of the whole.
  const Pixel* entry = ramp_.data();
  const uint32_t stepX = static_cast<uint32_t>(g_.stepX);
  const uint32_t k = static_cast<uint32_t>(g_.fromTop ? s : height_ - 1 - s);
  const uint32_t start = k * static_cast<uint32_t>(g_.stepY) + static_cast<uint32_t>(left) * stepX;
  if (stepX == 0) {
    FillPixels(dst, n, entry[start / 1000]);  // one colour per row
  } else if (stepX == 1000) {
    std::memcpy(dst, entry + start / 1000, sizeof(Pixel) * static_cast<size_t>(n));
  } else {
    int32_t x = 0;
    if (n >= kWideRow) {
      // Blocks of 8 pixels: with the block's first pixel at 1000 * index + fraction, pixel j
      // reads entry index + (fraction + j * stepX) / 1000, an offset 0..7 that depends on the
      // fraction alone and is looked up in a table made once per step. The ramp carries
      // kBlock spare end entries, so a block may read 8 entries from any index it reaches.
      const uint8_t* offsets = blockOffsets(stepX);
      const int32_t blocks = n / kBlock;
      walkBlocks(entry, offsets, start / 1000, start % 1000, kBlock * stepX / 1000,
                 kBlock * stepX % 1000, dst, blocks);
      x = blocks * kBlock;
    }
    uint32_t accumulator = start + static_cast<uint32_t>(x) * stepX;
    for (; x < n; ++x, accumulator += stepX) dst[x] = entry[accumulator / 1000];
  }
}

std::vector<Pixel> panelEntries(int32_t height, OLE_COLOR faceColor, OLE_COLOR edgeColor) {
  std::vector<Pixel> entries;
  panelEntries(height, faceColor, edgeColor, entries);
  return entries;
}

void panelEntries(int32_t height, OLE_COLOR faceColor, OLE_COLOR edgeColor,
                  std::vector<Pixel>& entries) {
  const int32_t t = height / 3;
  if (t == 0) throw HostError(errDivisionByZero);
  const Channels face = channelsOf(faceColor), edge = channelsOf(edgeColor);
  Channels step;
  for (int k = 0; k < 3; ++k) step.c[k] = (edge.c[k] - face.c[k]) / t;

  entries.assign(static_cast<size_t>(height), oleToPixel(faceColor));
  // Upper slope: from t - 1 lines below the top line downward, t + 2 steps toward EdgeColor.
  Channels cur = face;
  for (int32_t k = t; k <= 2 * t + 1; ++k) {
    advance(cur, step);
    entries[height - k] = pixelOf(cur);
  }
  // Lower slope: from the bottom line (one step) up to line t (t + 1 steps); where the slopes
  // meet, the lower one is drawn last and wins.
  cur = face;
  for (int32_t k = t; k >= 0; --k) {
    advance(cur, step);
    entries[t - k] = pixelOf(cur);
  }
}

std::vector<Pixel> glassEntries(int32_t height, OLE_COLOR color1, OLE_COLOR color2,
                                OLE_COLOR* bottomColor) {
  std::vector<Pixel> entries;
  glassEntries(height, color1, color2, entries, bottomColor);
  return entries;
}

void glassEntries(int32_t height, OLE_COLOR color1, OLE_COLOR color2, std::vector<Pixel>& entries,
                  OLE_COLOR* bottomColor) {
  entries.resize(static_cast<size_t>(std::max(height, 0)));
  if (height < 1) return;
  const Channels first = channelsOf(color1), second = channelsOf(color2);
  Channels step;
  const double half = height / 2.0;
  for (int k = 0; k < 3; ++k) step.c[k] = nearest((second.c[k] - first.c[k]) / half);
  const int32_t k0 = nearest(height / 3.5);

  Channels cur = first;
  for (int32_t i = k0; i < height; ++i) {
    advance(cur, step);
    entries[i] = pixelOf(cur);
  }
  cur = first;
  for (int32_t i = k0; i >= 0; --i) {
    advance(cur, step);
    entries[i] = pixelOf(cur);
  }
  if (bottomColor) *bottomColor = pixelToOle(entries[0]);
}

}  // namespace zxp::gradient
