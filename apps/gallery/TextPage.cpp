// Gallery page "fonts": faces, sizes, alignments, wrapping and ellipses, access-key underlines,
// and icons at the sizes the controls use.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "Page.h"
#include "common/PaintHelpers.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Text.h"

namespace zxp::gallery {

using namespace appkit;  // the shared painting helpers
namespace {

using namespace zxp;

// A font made from a description and selected into a DC for the object's lifetime.
class ScopedFont {
 public:
  ScopedFont(HDC dc, const char* face, double points, LONG weight = FW_NORMAL, bool italic = false,
             bool underline = false, bool strike = false)
      : font_(describe(face, points, weight, italic, underline, strike).create()), sel_(dc, font_.get()) {}

 private:
  static gfx::FontDesc describe(const char* face, double points, LONG weight, bool italic, bool underline,
                                bool strike) {
    gfx::FontDesc d;
    d.name = face;
    d.size = points;
    d.weight = static_cast<int16_t>(weight);
    d.italic = italic;
    d.underline = underline;
    d.strikethrough = strike;
    return d;
  }
  GdiObject font_;
  Selection sel_;
};


void label(HDC dc, int x, int y, const char* text) {
  ScopedFont f(dc, "Tahoma", 8);
  SetTextColor(dc, RGB(90, 90, 90));
  TextOut(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

// A glossy rounded-square icon image of `size` pixels, straight alpha, drawn with 4 x 4
// supersampling: a blue vertical gradient, a darker rim and a white highlight disc.
std::shared_ptr<gfx::Surface> glossyImage(int size, Pixel top, Pixel bottom) {
  auto s = gfx::Surface::create(size, size);
  const double r = size * 0.22, inset = size >= 24 ? 1.0 : 0.5;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double cover = 0, rim = 0, shine = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
          // Distance outside the rounded square [inset, size - inset].
          const double qx = std::max(std::abs(px - size / 2.0) - (size / 2.0 - inset - r), 0.0);
          const double qy = std::max(std::abs(py - size / 2.0) - (size / 2.0 - inset - r), 0.0);
          const double d = std::hypot(qx, qy) - r;
          if (d <= 0) {
            cover += 1;
            if (d > -std::max(1.0, size / 16.0)) rim += 1;
            if (std::hypot(px - size * 0.38, py - size * 0.32) < size * 0.2) shine += 1;
          }
        }
      if (cover == 0) {
        s->at(x, y) = 0;
        continue;
      }
      const double t = static_cast<double>(y) / (size - 1);
      auto mix = [](int a, int b, double k) { return static_cast<int>(a + (b - a) * k + 0.5); };
      int cr = mix(pixelR(top), pixelR(bottom), t), cg = mix(pixelG(top), pixelG(bottom), t),
          cb = mix(pixelB(top), pixelB(bottom), t);
      const double kr = rim / cover * 0.45, ks = shine / cover * 0.55;
      cr = mix(mix(cr, 0, kr), 255, ks);
      cg = mix(mix(cg, 0, kr), 255, ks);
      cb = mix(mix(cb, 0, kr), 255, ks);
      const auto a = static_cast<uint32_t>(cover / 16 * 255 + 0.5);
      s->at(x, y) = (a << 24) | makePixel(cr, cg, cb);
    }
  return s;
}

// An icon with 16, 32 and 48 pixel images, as icon files carry them.
HICON glossyIcon(Pixel top, Pixel bottom) {
  gfx::IconSet set;
  for (int size : {16, 32, 48}) {
    gfx::IconImage im;
    im.alpha = true;
    im.color = glossyImage(size, top, bottom);
    im.mask.resize(im.color->pixelCount());
    for (size_t i = 0; i < im.mask.size(); ++i) im.mask[i] = (im.color->bits()[i] >> 24) == 0;
    set.images.push_back(std::move(im));
  }
  return gfx::createIcon(std::move(set), 1);
}

std::shared_ptr<gfx::Surface> renderTextPage() {
  auto surface = gfx::Surface::create(840, 480);
  if (!surface) return nullptr;
  surface->fill(0xFFFFFF);
  HDC dc = gfx::CreateSurfaceDC(surface);
  SetBkMode(dc, TRANSPARENT);

  // Faces, sizes and styles.
  const char* faces[] = {"MS Sans Serif", "Tahoma", "Verdana", "Arial", "Segoe UI", "Times New Roman",
                         "Courier New"};
  int y = 10;
  label(dc, 10, y, "Faces at 8, 10 and 12 points");
  y += 16;
  for (const char* face : faces) {
    int x = 10;
    for (double pt : {8.0, 10.0, 12.0}) {
      ScopedFont f(dc, face, pt);
      SetTextColor(dc, RGB(0, 0, 0));
      std::string s = std::string(face) + " " + std::to_string(static_cast<int>(pt));
      TextOut(dc, x, y, s.c_str(), static_cast<int>(s.size()));
      SIZE sz;
      GetTextExtentPoint32(dc, s.c_str(), static_cast<int>(s.size()), &sz);
      x += sz.cx + 12;
    }
    y += 21;
  }
  {
    int x = 10;
    struct Style { const char* name; LONG w; bool i, u, s; } styles[] = {
        {"Bold", FW_BOLD, false, false, false}, {"Italic", FW_NORMAL, true, false, false},
        {"Bold italic", FW_BOLD, true, false, false}, {"Underline", FW_NORMAL, false, true, false},
        {"Strike-out", FW_NORMAL, false, false, true}};
    for (const auto& st : styles) {
      ScopedFont f(dc, "Tahoma", 10, st.w, st.i, st.u, st.s);
      SetTextColor(dc, RGB(0, 0, 128));
      TextOut(dc, x, y, st.name, static_cast<int>(std::strlen(st.name)));
      SIZE sz;
      GetTextExtentPoint32(dc, st.name, static_cast<int>(std::strlen(st.name)), &sz);
      x += sz.cx + 14;
    }
    y += 22;
    ScopedFont big(dc, "Segoe UI", 20, FW_BOLD);
    SetTextColor(dc, RGB(0x1F, 0x4E, 0x9D));
    TextOut(dc, 10, y, "ZorvaXP 20 pt", 13);
    y += 44;
  }

  // Alignments: nine single-line boxes.
  label(dc, 10, y, "DT_SINGLELINE: LEFT, CENTER, RIGHT x TOP, VCENTER, BOTTOM");
  y += 16;
  {
    ScopedFont f(dc, "MS Sans Serif", 8);
    SetTextColor(dc, RGB(0, 0, 0));
    UINT hs[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    UINT vs[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
    for (int row = 0; row < 3; ++row)
      for (int col = 0; col < 3; ++col) {
        RECT r{10 + col * 120, y + row * 42, 10 + col * 120 + 112, y + row * 42 + 36};
        frame(dc, r, RGB(200, 200, 200));
        DrawText(dc, "Caption", &r, hs[col] | vs[row] | DT_SINGLELINE);
      }
    y += 3 * 42 + 6;
  }

  // Access keys, "&&", tabs, CR LF and the opaque background mode.
  label(dc, 10, y, "Access keys, &&, CR LF, tabs, opaque background");
  y += 16;
  {
    ScopedFont f(dc, "MS Sans Serif", 8);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT r{10, y, 360, y + 60};
    DrawText(dc, "&File   E&dit   &View   Save && E&xit\r\nSecond line\r\nName:\tValue", &r, DT_EXPANDTABS);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(0x31, 0x6A, 0xC5));
    SetTextColor(dc, RGB(255, 255, 255));
    RECT o{10, y + 44, 360, y + 60};
    DrawText(dc, "Selected item (opaque)", &o, DT_SINGLELINE);
    SetBkMode(dc, TRANSPARENT);
  }

  // Wrapping and ellipses.
  const char* para =
      "The quick brown fox jumps over the lazy dog. Owner-drawn controls measure their captions "
      "first and then draw them in the rectangle the measure gave.";
  const int x0 = 480, x1 = 665;
  {
    ScopedFont f(dc, "Tahoma", 8);
    label(dc, x0, 10, "Wrapped, measured first");
    RECT m{x0, 26, x0 + 170, 26};
    DrawText(dc, para, &m, DT_WORDBREAK | DT_CALCRECT);
    gfx::fillRect(*gfx::dcFromHandle(dc), m, 0xFFF4D0);
    SetTextColor(dc, RGB(0, 0, 0));
    DrawText(dc, para, &m, DT_WORDBREAK);
    label(dc, x1, 10, "Wrapped, end ellipsis");
    RECT e{x1, 26, x1 + 165, 26 + 3 * 13};
    frame(dc, e, RGB(200, 200, 200));
    SetTextColor(dc, RGB(0, 0, 0));
    DrawText(dc, para, &e, DT_WORDBREAK | DT_END_ELLIPSIS);
    label(dc, x1, 76, "Single line, end ellipsis");
    RECT s{x1, 92, x1 + 120, 92 + 18};
    frame(dc, s, RGB(200, 200, 200));
    SetTextColor(dc, RGB(0, 0, 0));
    DrawText(dc, "A long single line of text", &s, DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER);
    label(dc, x0, 136, "Button captions: word break + word ellipsis, centred");
    const char* captions[] = {"OK", "&Apply changes", "Supercalifragilisticexpialidocious"};
    for (int i = 0; i < 3; ++i) {
      RECT b{x0 + i * 118, 152, x0 + i * 118 + 108, 152 + 34};
      frame(dc, b, RGB(0, 60, 116));
      RECT c = b;
      DrawText(dc, captions[i], &c, DT_CENTER | DT_WORDBREAK | DT_WORD_ELLIPSIS | DT_CALCRECT);
      const int ht = c.bottom - c.top;
      RECT t{b.left, b.top + (b.bottom - b.top - ht) / 2, b.right, b.bottom};
      SetTextColor(dc, RGB(0, 0, 0x40));
      DrawText(dc, captions[i], &t, DT_CENTER | DT_WORDBREAK | DT_WORD_ELLIPSIS);
    }
  }

  // Icons at the sizes the controls use, on light and dark backgrounds.
  {
    int iy = 206;
    label(dc, x0, iy, "Icons at 16, 24, 28, 32 and 48 pixels (DrawIconEx, DI_NORMAL)");
    iy += 18;
    HICON blue = glossyIcon(makePixel(0x6A, 0xB4, 0xF8), makePixel(0x10, 0x48, 0xB0));
    HICON orange = glossyIcon(makePixel(0xFF, 0xD0, 0x70), makePixel(0xD8, 0x60, 0x00));
    gfx::fillRect(*gfx::dcFromHandle(dc), Rect{x0, iy + 64, 830, iy + 128}, makePixel(0x2B, 0x33, 0x3F));
    int x = x0 + 4;
    for (int size : {16, 24, 28, 32, 48}) {
      DrawIconEx(dc, x, iy + 52 - size, blue, size, size, 0, 0, DI_NORMAL);
      DrawIconEx(dc, x, iy + 64 + 58 - size, orange, size, size, 0, 0, DI_NORMAL);
      std::string n = std::to_string(size);
      label(dc, x + size / 2 - 6, iy + 52 + 1, n.c_str());
      x += size + 22;
    }
    DestroyIcon(blue);
    DestroyIcon(orange);
  }
  DeleteDC(dc);
  return surface;
}

RegisterPage reg{stillPage("fonts", "Fonts", 20, renderTextPage)};

}  // namespace
}  // namespace zxp::gallery
