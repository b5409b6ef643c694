// Text on device contexts: fonts and metrics, DrawText's measuring and drawing, prefixes,
// alignment, clipping, the glyph cache and handle leaks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/FontEngine.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Text.h"
#include "platform/gfx/TextCanvas.h"

namespace zxp {
namespace {

using testing::inkBox;
using testing::samePixels;
using Canvas = testing::TextCanvas;

TEST(Text, StockFontsAndNewDcsStartWithTheSystemFont) {
  HDC dc = CreateCompatibleDC(0);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
  TEXTMETRIC tm;
  ASSERT_EQ(GetTextMetrics(dc, &tm), TRUE);
  EXPECT_EQ(std::tuple(tm.tmHeight, tm.tmWeight), std::tuple(16, FW_BOLD));
  LOGFONT lf;
  ASSERT_EQ(GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(std::tuple(std::string(lf.lfFaceName), lf.lfHeight), std::tuple("MS Sans Serif", -11));
  EXPECT_EQ(DeleteObject(GetStockObject(DEFAULT_GUI_FONT)), TRUE);  // stock: no effect
  EXPECT_EQ(GetObjectType(GetStockObject(DEFAULT_GUI_FONT)), OBJ_FONT);
  char face[LF_FACESIZE];
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  EXPECT_EQ(GetTextFace(dc, sizeof face, face), 14);
  EXPECT_STREQ(face, "MS Sans Serif");
  DeleteDC(dc);
}

// The metrics of a font, which is deleted afterwards.
TEXTMETRIC metricsOf(HFONT font) {
  GdiObject owned(font);
  MemoryDC dc(0);
  Selection selected(dc.get(), font);
  TEXTMETRIC tm{};
  GetTextMetrics(dc.get(), &tm);
  return tm;
}

TEST(Text, MetricsFollowThePointSizeAndAreIdenticalAcrossRuns) {
  using H = std::vector<int>;
  EXPECT_EQ((H{gfx::heightFromPoints(8), gfx::heightFromPoints(8.25), gfx::heightFromPoints(10), gfx::heightFromPoints(12)}),
            (H{-11, -11, -13, -16}));
  // MulDiv rounds halves away from zero and answers -1 to a zero divisor.
  EXPECT_EQ((H{MulDiv(8, 96, 72), MulDiv(-3, 1, 2), MulDiv(1, 1, 0)}), (H{11, -2, -1}));

  auto metrics = [](double pt, bool bold) {
    gfx::FontDesc d;
    d.name = "Tahoma";
    d.size = pt;
    d.setBold(bold);
    return metricsOf(d.create());
  };
  for (double pt : {8.0, 10.0, 14.0}) {
    TEXTMETRIC a = metrics(pt, false), b = metrics(pt, false);
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << pt;
    EXPECT_EQ(a.tmHeight, a.tmAscent + a.tmDescent);
    // The em height is -lfHeight: cell height minus internal leading.
    EXPECT_EQ(a.tmHeight - a.tmInternalLeading, -gfx::heightFromPoints(pt));
    EXPECT_GT(a.tmAveCharWidth, 0);
    EXPECT_GE(a.tmMaxCharWidth, a.tmAveCharWidth);
    EXPECT_EQ(a.tmWeight, FW_NORMAL);
    TEXTMETRIC bold = metrics(pt, true);
    EXPECT_EQ(bold.tmWeight, FW_BOLD);
    EXPECT_EQ(bold.tmHeight, a.tmHeight);
  }
  // The embedded face pins the numbers the controls lay out with.
  TEXTMETRIC ms = metrics(8, false);
  EXPECT_EQ(std::tuple(ms.tmHeight, ms.tmAscent, ms.tmDescent), std::tuple(13, 10, 3));
  // A positive height asks for the cell height itself.
  EXPECT_EQ(metricsOf(CreateFont(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial")).tmHeight, 20);
}

TEST(Text, ExtentsAddAdvancesAndFaceNamesMapToLookAlikes) {
  Canvas c;
  EXPECT_EQ(c.width("AB"), c.width("A") + c.width("B"));
  EXPECT_EQ(c.width(""), 0);
  SIZE sz;
  ASSERT_EQ(GetTextExtentPoint32(c.dc, "\xC3\xA9", 2, &sz), TRUE);  // one character in two bytes
  EXPECT_EQ(sz.cx, c.width("\xC3\xA9"));
  EXPECT_EQ(sz.cy, 13);
  EXPECT_EQ(GetTextExtentPoint32(0, "A", 1, &sz), FALSE);
  // A broken sequence measures as the one U+FFFD it reads as, in the extent and in DrawText's
  // layout alike; a well-formed character of three bytes as itself.
  const std::string broken = "\xE4\xB8" "a\x80\xE4\xB8\xAD";
  const std::string replaced = "\xEF\xBF\xBD" "a\xEF\xBF\xBD\xE4\xB8\xAD";
  ASSERT_EQ(GetTextExtentPoint32(c.dc, broken.data(), static_cast<int>(broken.size()), &sz), TRUE);
  EXPECT_EQ(sz.cx, c.width(replaced.c_str()));
  RECT r{0, 0, 1000, 100};
  DrawText(c.dc, broken.data(), static_cast<int>(broken.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(r.right, c.width(replaced.c_str()));

  // An unknown face goes by its family.
  struct Face { const char* name; int weight; BYTE family; const char* file; };
  for (const Face f : {Face{"Courier New", 0, 0, "DejaVuSansMono"}, Face{"Times New Roman", 0, 0, "DejaVuSerif"},
                       Face{"Tahoma", FW_BOLD, 0, "DejaVuSans-Bold"}, Face{"No Such Face", 0, FF_ROMAN, "DejaVuSerif"}}) {
    LOGFONT lf;
    std::strcpy(lf.lfFaceName, f.name);
    if (f.weight) lf.lfWeight = f.weight;
    if (f.family) lf.lfPitchAndFamily = f.family;
    EXPECT_NE(gfx::matchedFontFile(lf).find(f.file), std::string::npos) << f.name;
  }
}

// With the system's fonts (fontconfig on Linux, the platform's font list on Windows), a face the
// machine has in italic is found as its own file; the embedded set only has upright files and
// slants one, and stays the default.
TEST(Text, TheSystemsFontsGiveTheInstalledItalicFile) {
  LOGFONT lf;
  std::strcpy(lf.lfFaceName, "DejaVu Sans");
  lf.lfItalic = 1;
  const std::string embedded = gfx::matchedFontFile(lf);
  gfx::setFontSource(gfx::FontSource::System);
  const std::string system = gfx::matchedFontFile(lf);
  std::strcpy(lf.lfFaceName, "No Such Face");
  const std::string fallback = gfx::matchedFontFile(lf);
  gfx::setFontSource(gfx::FontSource::Embedded);
  const auto endsWith = [](const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
  };
  EXPECT_TRUE(endsWith(embedded, "DejaVuSans.ttf")) << embedded;
  EXPECT_TRUE(endsWith(system, "DejaVuSans-Oblique.ttf")) << system;
  EXPECT_FALSE(fallback.empty());
  std::strcpy(lf.lfFaceName, "DejaVu Sans");
  EXPECT_EQ(gfx::matchedFontFile(lf), embedded);
}

TEST(Text, MeasuredRectangleIsTheOneDrawingFills) {
  const char* text = "Owner-drawn controls measure captions first, then draw them.";
  for (UINT flags : {DT_WORDBREAK, DT_WORDBREAK | DT_CENTER, DT_WORDBREAK | DT_WORD_ELLIPSIS | DT_CENTER,
                     DT_SINGLELINE | DT_END_ELLIPSIS}) {
    Canvas c;
    RECT m{10, 10, 110, 10};
    int h = DrawText(c.dc, text, -1, &m, flags | DT_CALCRECT);
    EXPECT_EQ(h, m.bottom - m.top) << flags;
    EXPECT_EQ(h % c.lineHeight(), 0);
    EXPECT_LE(m.right, 110) << flags;  // no word is wider than 100 pixels
    // Drawing in the measured rectangle gives the same lines as in the original one, all inside.
    RECT wide{10, 10, 110, 10 + h};
    EXPECT_EQ(DrawText(c.dc, text, -1, &wide, flags), h);
    auto first = c.snapshot();
    Rect ink = inkBox(*c.surface);
    c.clear();
    RECT measured = m;
    if (flags & DT_CENTER) {  // centred lines sit the same way in a rectangle of their own width
      measured = RECT{10, 10, 110, m.bottom};
    }
    DrawText(c.dc, text, -1, &measured, flags);
    EXPECT_TRUE(samePixels(*first, *c.surface)) << flags;
    // Inside, but for an italic or bold overhang of at most one pixel on the right.
    EXPECT_TRUE(ink.left >= m.left && ink.right <= m.right + 1 && ink.top >= m.top && ink.bottom <= m.bottom) << flags;
  }
  // Measuring a left-aligned paragraph in its own measured width wraps it the same way.
  Canvas c;
  RECT m{0, 0, 120, 0};
  int h = DrawText(c.dc, text, -1, &m, DT_WORDBREAK | DT_CALCRECT);
  RECT again = m;
  EXPECT_EQ(DrawText(c.dc, text, -1, &again, DT_WORDBREAK | DT_CALCRECT), h);
  EXPECT_EQ(again, m);
}

TEST(Text, CalcRectWidensForALongWordAndShrinksForShortText) {
  Canvas c;
  RECT r{0, 0, 30, 0};
  int h = DrawText(c.dc, "Supercalifragilistic", -1, &r, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(h, c.lineHeight());
  EXPECT_EQ(r.right, c.width("Supercalifragilistic"));
  RECT e{0, 0, 30, 0};
  DrawText(c.dc, "Supercalifragilistic", -1, &e, DT_WORDBREAK | DT_WORD_ELLIPSIS | DT_CALCRECT);
  EXPECT_LE(e.right, 30);
  RECT s{5, 5, 200, 5};
  DrawText(c.dc, "OK", -1, &s, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(s, (RECT{5, 5, 5 + c.width("OK"), 5 + c.lineHeight()}));
  RECT empty{5, 5, 200, 50};
  EXPECT_EQ(DrawText(c.dc, "", -1, &empty, DT_CALCRECT), c.lineHeight());
  EXPECT_EQ(empty, (RECT{5, 5, 5, 5}));
  // Two hard lines: the height of two lines, the width of the wider.
  RECT two{0, 0, 200, 0};
  EXPECT_EQ(DrawText(c.dc, "Hi\r\nWider line", -1, &two, DT_CALCRECT), 2 * c.lineHeight());
  EXPECT_EQ(two.right, c.width("Wider line"));
}

TEST(Text, SingleLinesCentreVerticallyAndAlignHorizontally) {
  Canvas c;
  const int lh = c.lineHeight();  // 13
  RECT r{20, 10, 220, 50};
  // (40 - 13) / 2 = 13 pixels below the top; the result is that offset plus the height.
  EXPECT_EQ(DrawText(c.dc, "Mid", -1, &r, DT_SINGLELINE | DT_VCENTER), 13 + lh);
  EXPECT_EQ(DrawText(c.dc, "Low", -1, &r, DT_SINGLELINE | DT_BOTTOM), 40);
  // Multi-line text ignores DT_VCENTER.
  EXPECT_EQ(DrawText(c.dc, "Top", -1, &r, DT_VCENTER), lh);

  // Each alignment equals TextOut at the position the platform computes.
  const char* s = "Align me";
  const int w = c.width(s);
  struct Case { UINT flags; int x; int y; } cases[] = {
      {DT_SINGLELINE, 20, 10}, {DT_SINGLELINE | DT_CENTER, (20 + 220 - w) / 2, 10},
      {DT_SINGLELINE | DT_RIGHT, 220 - w, 10}, {DT_SINGLELINE | DT_VCENTER | DT_RIGHT, 220 - w, 10 + (40 - lh) / 2},
      {DT_SINGLELINE | DT_BOTTOM | DT_CENTER, (20 + 220 - w) / 2, 50 - lh},
  };
  for (const auto& k : cases) {
    c.clear();
    DrawText(c.dc, s, -1, &r, k.flags);
    auto drawn = c.snapshot();
    c.clear();
    TextOut(c.dc, k.x, k.y, s, static_cast<int>(std::strlen(s)));
    EXPECT_TRUE(samePixels(*drawn, *c.surface)) << k.flags;
  }
}

TEST(Text, PrefixUnderlinesOneCharacterAndDoubleAmpersandDrawsOne) {
  Canvas c;
  TEXTMETRIC tm;
  GetTextMetrics(c.dc, &tm);
  RECT r{10, 10, 200, 40};
  DrawText(c.dc, "&File", -1, &r, DT_SINGLELINE);
  auto marked = c.snapshot();
  c.clear();
  DrawText(c.dc, "File", -1, &r, DT_SINGLELINE);
  // The two differ only in a line under "F", below the baseline.
  const int fw = c.width("F");
  Rect diff{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 240; ++x)
      if (marked->at(x, y) != c.surface->at(x, y)) {
        diff.left = std::min(diff.left, x);
        diff.right = std::max(diff.right, x + 1);
        diff.top = std::min(diff.top, y);
        diff.bottom = std::max(diff.bottom, y + 1);
        EXPECT_EQ(marked->at(x, y) & 0xFFFFFF, 0u);  // solid text colour
      }
  EXPECT_EQ(std::pair(diff.left, diff.right), std::pair(10, 10 + fw));
  EXPECT_TRUE(diff.top >= 10 + tm.tmAscent && diff.bottom <= 10 + tm.tmHeight) << diff.top << ".." << diff.bottom;

  // "&&" draws one ampersand: the same pixels as the text with DT_NOPREFIX.
  c.clear();
  DrawText(c.dc, "Save && Exit", -1, &r, DT_SINGLELINE);
  marked = c.snapshot();
  c.clear();
  DrawText(c.dc, "Save & Exit", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_TRUE(samePixels(*marked, *c.surface));
}

TEST(Text, CrLfStartsNewLinesOneLineHeightApart) {
  Canvas c;
  const int lh = c.lineHeight();
  RECT r{0, 0, 200, 100};
  EXPECT_EQ(DrawText(c.dc, "One\r\nTwo\nThree", -1, &r, DT_LEFT), 3 * lh);
  // The lines drawn alone one line height apart give the same pixels.
  auto all = c.snapshot();
  c.clear();
  TextOut(c.dc, 0, 0, "One", 3);
  TextOut(c.dc, 0, lh, "Two", 3);
  TextOut(c.dc, 0, 2 * lh, "Three", 5);
  EXPECT_TRUE(samePixels(*all, *c.surface));
  EXPECT_EQ(DrawText(c.dc, "One\r\nTwo", -1, &r, DT_SINGLELINE), lh);
}

// (The clip to the rectangle itself is checked pixel by pixel with the DC's clip below.)
TEST(Text, NoClipDrawsPastTheRectangleButNotPastTheDcClip) {
  Canvas c;
  RECT r{10, 10, 40, 30};
  DrawText(c.dc, "A caption wider than its box", -1, &r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(inkBox(*c.surface).right, 100);
  // The DC's clip region applies as well.
  c.clear();
  HRGN clip = CreateRectRgn(0, 0, 20, 120);
  SelectClipRgn(c.dc, clip);
  DeleteObject(clip);
  DrawText(c.dc, "A caption wider than its box", -1, &r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_LE(inkBox(*c.surface).right, 20);
}

TEST(Text, OpaqueModeFillsTheLineBoxAndColoursFollowTheDc) {
  Canvas c;
  SetBkMode(c.dc, OPAQUE);
  SetBkColor(c.dc, RGB(0, 0, 255));
  SetTextColor(c.dc, RGB(255, 0, 0));
  RECT r{10, 10, 200, 40};
  DrawText(c.dc, "Hi", -1, &r, DT_SINGLELINE);
  const int w = c.width("Hi");
  EXPECT_EQ(inkBox(*c.surface), (Rect{10, 10, 10 + w, 10 + c.lineHeight()}));
  bool red = false;
  for (int y = 10; y < 23; ++y)
    for (int x = 10; x < 10 + w; ++x) {
      Pixel p = c.surface->at(x, y) & 0xFFFFFF;
      EXPECT_EQ(pixelG(p), 0);  // only red text blended on blue
      red |= p == 0xFF0000;
    }
  EXPECT_TRUE(red);
}

TEST(Text, TextAlignPlacesTheReferencePointAndUpdatesTheCurrentPosition) {
  Canvas c;
  TEXTMETRIC tm;
  GetTextMetrics(c.dc, &tm);
  TextOut(c.dc, 50, 20, "Ref", 3);
  auto topLeft = c.snapshot();
  const int w = c.width("Ref");
  c.clear();
  SetTextAlign(c.dc, TA_RIGHT | TA_BASELINE);
  TextOut(c.dc, 50 + w, 20 + tm.tmAscent, "Ref", 3);
  EXPECT_TRUE(samePixels(*topLeft, *c.surface));
  c.clear();
  SetTextAlign(c.dc, TA_LEFT | TA_TOP | TA_UPDATECP);
  MoveToEx(c.dc, 50, 20, nullptr);
  TextOut(c.dc, 0, 0, "R", 1);
  TextOut(c.dc, 0, 0, "ef", 2);
  POINT cur;
  GetCurrentPositionEx(c.dc, &cur);
  EXPECT_EQ(cur, (POINT{50 + w, 20}));
  EXPECT_EQ(GetTextAlign(c.dc), TA_UPDATECP);
}

TEST(Text, UnderlineAndStrikeOutFollowTheFontMetrics) {
  Canvas c;
  gfx::FontDesc d;
  d.name = "Arial";
  d.size = 14;
  d.underline = true;
  GdiObject u(d.create());
  d.underline = false;
  d.strikethrough = true;
  GdiObject s(d.create());
  Selection selected(c.dc, u.get());
  TEXTMETRIC tm;
  GetTextMetrics(c.dc, &tm);
  EXPECT_EQ(tm.tmUnderlined, 1);
  TextOut(c.dc, 0, 0, "____", 0);  // nothing at all
  EXPECT_EQ(inkBox(*c.surface), Rect{});
  TextOut(c.dc, 0, 0, "ab", 2);
  SIZE sz;
  GetTextExtentPoint32(c.dc, "ab", 2, &sz);
  // A full-width run of text-coloured pixels in rows [top, bottom).
  auto lineIn = [&](int top, int bottom) {
    for (int y = top; y < bottom; ++y) {
      bool row = true;
      for (int x = 0; x < sz.cx; ++x) row &= (c.surface->at(x, y) & 0xFFFFFF) == 0;
      if (row) return true;
    }
    return false;
  };
  EXPECT_TRUE(lineIn(tm.tmAscent, tm.tmHeight));  // the underline, below the baseline
  c.clear();
  SelectObject(c.dc, s.get());
  TextOut(c.dc, 0, 0, "ab", 2);
  EXPECT_TRUE(lineIn(0, tm.tmAscent));  // the strike-out, above it
}

TEST(Text, SecondDrawingOfACaptionRasterisesNothing) {
  Canvas c(240, 40, "Verdana", 9.75);
  RECT r{0, 0, 240, 40};
  const char* caption = "Glyph cache: drawn twice, rendered once";
  DrawText(c.dc, caption, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  auto first = c.snapshot();
  const uint64_t before = gfx::glyphRasterCount();
  c.clear();
  DrawText(c.dc, caption, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  EXPECT_EQ(gfx::glyphRasterCount(), before);
  EXPECT_TRUE(samePixels(*first, *c.surface));
  // A second font handle for the same face and size shares the cache.
  Canvas again(240, 40, "Verdana", 9.75);
  DrawText(again.dc, caption, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  EXPECT_EQ(gfx::glyphRasterCount(), before);
}

// A large font drawing many characters keeps a bounded cache: past its budget it starts again,
// and a glyph drawn again after that is the same glyph.
TEST(Text, TheGlyphCacheOfALargeFontStaysWithinItsBudget) {
  Canvas c(240, 40, "Verdana", 150.0);
  gfx::FontInstance& font = *handles().peek<gfx::FontObj>(c.font, ObjKind::Font)->inst;
  const gfx::Glyph& first = font.glyph(U'A');
  const std::vector<uint8_t> coverageOfA = first.coverage;
  const int32_t advanceOfA = first.advance;
  size_t most = 0;
  for (char32_t cp = 0x20; cp < 0x20 + 3000; ++cp) {
    font.glyph(cp);
    most = std::max(most, font.glyphBytes());
  }
  EXPECT_LE(most, gfx::FontInstance::kMaxGlyphBytes);
  EXPECT_LT(font.glyphBytes(), most);  // it started again at least once
  const gfx::Glyph& again = font.glyph(U'A');
  EXPECT_EQ(again.advance, advanceOfA);
  EXPECT_EQ(again.coverage, coverageOfA);
}

// Sets the canvas up to draw in `colour` on the baseline and gives the glyph of `ch` in its font.
const gfx::Glyph& glyphFor(Canvas& c, Pixel colour, char ch) {
  SetTextColor(c.dc, pixelToOle(colour));
  SetTextAlign(c.dc, TA_BASELINE);
  return handles().peek<gfx::FontObj>(c.font, ObjKind::Font)->inst->glyph(static_cast<char32_t>(ch));
}

// Draws `ch` with its glyph box's left column at 20 and baseline at 25 over a background with a
// distinct value and a high byte in every pixel, under `clip`, and checks every pixel against the
// per-pixel rule: the destination kept whole (high byte included) where the coverage is 0 or the
// pixel lies outside the clip (inside(x, y) false), the text colour where it is 255, and
// blendPixel (high byte 0) in between.
template <class Inside>
void expectPerPixelRule(Canvas& c, const gfx::Glyph& g, char ch, Pixel colour, HRGN clip, const Inside& inside,
                        const std::string& what) {
  for (int32_t y = 0; y < 40; ++y)
    for (int32_t x = 0; x < 64; ++x)
      c.surface->at(x, y) = 0xA5000000u | static_cast<uint32_t>((x * 37 + y * 101) * 0x010203) % 0xFFFFFF;
  const auto before = gfx::Surface::create(64, 40);
  for (int32_t y = 0; y < 40; ++y) std::memcpy(before->row(y), c.surface->row(y), 64 * 4);
  SelectClipRgn(c.dc, clip);
  TextOut(c.dc, 20 - g.left, 25, &ch, 1);
  for (int32_t y = 0; y < 40; ++y)
    for (int32_t x = 0; x < 64; ++x) {
      const int32_t gx = x - 20, gy = y - (25 - g.top);
      uint32_t a = 0;
      if (inside(x, y) && gx >= 0 && gx < g.width && gy >= 0 && gy < g.height)
        a = g.coverage[static_cast<size_t>(gy) * g.width + gx];
      const uint32_t d = before->at(x, y);
      const uint32_t want = a == 0 ? d : (a == 255 ? colour : blendPixel(d, colour, a));
      ASSERT_EQ(c.surface->at(x, y), want) << ch << " at " << x << "," << y << " " << what;
    }
}

// Glyph edges are blended several pixels at a time where the machine allows it, and glyph rows
// are drawn over their inked columns only, the last group perhaps running past a row's ink while
// the clip leaves room. Glyphs of many widths meet a clip ending at every column, and a one-column
// or one-row gap between two clip rectangles moving across them, so every glyph column and row
// meets a clip edge from each side, with and without room past it: each pixel must be as the
// per-pixel rule gives.
TEST(Text, GlyphsBlendExactlyAsThePerPixelRuleAtEveryClipEdge) {
  Canvas c(64, 40);
  const std::string chars = "W@mil.%QBj|-1_";
  for (size_t i = 0; i < chars.size(); ++i) {
    const char ch = chars[i];
    const Pixel colour = i % 2 ? makePixel(12, 250, 140) : makePixel(200, 30, 91);
    const gfx::Glyph& g = glyphFor(c, colour, ch);
    const int32_t top = 25 - g.top;
    for (int gap = 0; gap <= std::max(g.width, g.height) + 1; ++gap) {
      // The clip ends at column 20 + gap (kind 0), or leaves out that column (1) or row (2).
      for (int kind : {0, 1, 2}) {
        const int32_t holeX = kind == 1 ? 20 + gap - 1 : -1, holeY = kind == 2 ? top + gap - 1 : -1;
        GdiObject clip(kind == 0 ? CreateRectRgn(0, 0, 20 + gap, 40)
                                 : kind == 1 ? CreateRectRgn(0, 0, holeX, 40) : CreateRectRgn(0, 0, 64, holeY));
        GdiObject rest(kind == 1 ? CreateRectRgn(holeX + 1, 0, 64, 40) : CreateRectRgn(0, holeY + 1, 64, 40));
        if (kind) CombineRgn(clip.get(), clip.get(), rest.get(), RGN_OR);
        expectPerPixelRule(c, g, ch, colour, static_cast<HRGN>(clip.get()),
                           [&](int x, int y) { return kind == 0 ? x < 20 + gap : x != holeX && y != holeY; },
                           "gap " + std::to_string(gap) + " kind " + std::to_string(kind));
      }
    }
  }
}

// DrawText cuts the DC's clip to its rectangle: a clip of a few rectangles directly, a longer one
// through the region. Either way each pixel is the unclipped drawing's inside both and untouched
// outside.
TEST(Text, DrawTextClipsToTheDcClipAndItsRectangle) {
  Canvas plain(120, 40), clipped(120, 40);
  const RECT textRect{20, 3, 80, 36};  // narrower than the text
  const char* text = "Clip me: WWWW gjpq";
  RECT r = textRect;
  DrawText(plain.dc, text, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  GdiObject bars(CreateRectRgn(0, 0, 30, 40)), right(CreateRectRgn(40, 10, 120, 25));
  CombineRgn(bars.get(), bars.get(), right.get(), RGN_OR);
  GdiObject ellipse(CreateEllipticRgn(10, 0, 115, 40));
  for (HRGN clip : {static_cast<HRGN>(bars.get()), static_cast<HRGN>(ellipse.get())}) {
    clipped.clear();
    SelectClipRgn(clipped.dc, clip);
    r = textRect;
    DrawText(clipped.dc, text, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    size_t wrong = 0;
    for (int32_t y = 0; y < 40; ++y)
      for (int32_t x = 0; x < 120; ++x) {
        const bool inside = PtInRegion(clip, x, y) && textRect.contains(Point{x, y});
        wrong += clipped.surface->at(x, y) != (inside ? plain.surface->at(x, y) : testing::kTextWhite);
      }
    EXPECT_EQ(wrong, 0u);
  }
}

// Glyph rows step through the surface by its row order: text on a bottom-up surface shows the
// same picture as on a top-down one, clipped the same.
TEST(Text, BottomUpSurfacesShowTheSameText) {
  Canvas top(120, 30);
  auto flipped = gfx::Surface::create(120, 30, /*bottomUp=*/true);
  flipped->fill(testing::kTextWhite);
  HDC dc = gfx::CreateSurfaceDC(flipped);
  SelectObject(dc, top.font);
  SetBkMode(dc, TRANSPARENT);
  GdiObject clip(CreateRectRgn(3, 4, 90, 22));
  for (HDC each : {top.dc, dc}) {
    SelectClipRgn(each, clip.get());
    RECT r{0, 0, 120, 30};
    DrawText(each, "Bottom-up: gjpqy", -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
  size_t differ = 0, inked = 0;
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 120; ++x) {
      differ += top.surface->at(x, y) != flipped->at(x, y);
      inked += top.surface->at(x, y) != testing::kTextWhite;
    }
  EXPECT_EQ(differ, 0u);
  EXPECT_GT(inked, 50u);
  DeleteDC(dc);
}

TEST(Text, FontHandlesDoNotLeakAndBadHandlesFail) {
  const size_t before = handles().liveCount();
  {
    Canvas c;
    for (int i = 0; i < 20; ++i) {
      HFONT f = CreateFont(-8 - i, 0, 0, 0, i % 2 ? FW_BOLD : FW_NORMAL, i % 3 == 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
      HGDIOBJ old = SelectObject(c.dc, f);
      RECT r{0, 0, 100, 100};
      DrawText(c.dc, "x", -1, &r, DT_WORDBREAK);
      SelectObject(c.dc, old);
      EXPECT_EQ(DeleteObject(f), TRUE);
    }
  }
  EXPECT_EQ(handles().liveCount(), before);
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(DrawText(0, "x", -1, &r, 0), 0);
  EXPECT_EQ(TextOut(0, 0, 0, "x", 1), FALSE);
  TEXTMETRIC tm;
  EXPECT_EQ(GetTextMetrics(0, &tm), FALSE);
  EXPECT_EQ(CreateFontIndirect(nullptr), 0u);
  // A font deleted while selected stays usable by the DC until deselected.
  Canvas c;
  HFONT f = CreateFont(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  SelectObject(c.dc, f);
  DeleteObject(f);
  GetTextMetrics(c.dc, &tm);
  EXPECT_GT(tm.tmHeight, 20);
}

TEST(Text, FontDescriptionRoundTripsThroughLogFont) {
  gfx::FontDesc d;
  EXPECT_EQ(std::pair(d.name, d.bold()), std::pair(std::string("MS Sans Serif"), false));
  d.setBold(true);
  EXPECT_EQ(d.weight, FW_BOLD);
  d.size = 12;
  d.italic = d.strikethrough = true;
  LOGFONT lf = d.toLogFont();
  EXPECT_EQ(std::pair(lf.lfHeight, lf.lfWeight), std::pair(LONG{-16}, LONG{FW_BOLD}));
  EXPECT_EQ(gfx::FontDesc::fromLogFont(lf), d);
  // A cell height converts to the size of the em inside it.
  LOGFONT cell;
  cell.lfHeight = 13;
  EXPECT_DOUBLE_EQ(gfx::FontDesc::fromLogFont(cell).size, 8.25);
}

}  // namespace
}  // namespace zxp
