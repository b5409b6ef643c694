// Gallery page "text": faces, sizes, alignments, wrapping and ellipses, access-key underlines,
// and icons at the sizes the controls use.
#include <cstring>
#include <string>

#include "Page.h"
#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/Text.h"

namespace zxp::gallery {
namespace {

using namespace zxp;

// Selects a font for the lifetime of the object and deletes it afterwards.
class ScopedFont {
 public:
  ScopedFont(HDC dc, const char* face, double points, LONG weight = FW_NORMAL, bool italic = false,
             bool underline = false, bool strike = false)
      : dc_(dc) {
    gfx::FontDesc d;
    d.name = face;
    d.size = points;
    d.weight = static_cast<int16_t>(weight);
    d.italic = italic;
    d.underline = underline;
    d.strikethrough = strike;
    font_ = d.create();
    old_ = SelectObject(dc_, font_);
  }
  ~ScopedFont() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
  }
  ScopedFont(const ScopedFont&) = delete;
  ScopedFont& operator=(const ScopedFont&) = delete;

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

void frame(HDC dc, const RECT& r, COLORREF c) {
  auto* d = gfx::dcFromHandle(dc);
  Pixel p = oleToPixel(c);
  gfx::fillRect(*d, Rect{r.left, r.top, r.right, r.top + 1}, p);
  gfx::fillRect(*d, Rect{r.left, r.bottom - 1, r.right, r.bottom}, p);
  gfx::fillRect(*d, Rect{r.left, r.top, r.left + 1, r.bottom}, p);
  gfx::fillRect(*d, Rect{r.right - 1, r.top, r.right, r.bottom}, p);
}

void label(HDC dc, int x, int y, const char* text) {
  ScopedFont f(dc, "Tahoma", 8);
  SetTextColor(dc, RGB(90, 90, 90));
  TextOut(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

std::shared_ptr<gfx::Surface> renderTextPage() {
  auto surface = gfx::Surface::create(760, 560);
  if (!surface) return nullptr;
  surface->fill(0xFFFFFF);
  HDC dc = gfx::CreateSurfaceDC(surface);
  SetBkMode(dc, TRANSPARENT);

  // Faces and sizes.
  const char* faces[] = {"MS Sans Serif", "Tahoma", "Verdana", "Arial", "Segoe UI", "Times New Roman",
                         "Courier New"};
  int y = 10;
  label(dc, 10, y, "Faces (8, 10, 12 pt)");
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
      x += sz.cx + 14;
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
      x += sz.cx + 16;
    }
    y += 24;
    ScopedFont big(dc, "Segoe UI", 20, FW_BOLD);
    SetTextColor(dc, RGB(0x1F, 0x4E, 0x9D));
    TextOut(dc, 10, y, "ZorvaXP 20 pt", 13);
    y += 40;
  }

  // Alignments: nine single-line boxes.
  label(dc, 10, y, "DT_SINGLELINE with LEFT/CENTER/RIGHT x TOP/VCENTER/BOTTOM");
  y += 16;
  {
    ScopedFont f(dc, "MS Sans Serif", 8);
    SetTextColor(dc, RGB(0, 0, 0));
    UINT hs[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    UINT vs[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
    for (int row = 0; row < 3; ++row)
      for (int col = 0; col < 3; ++col) {
        RECT r{10 + col * 120, y + row * 44, 10 + col * 120 + 112, y + row * 44 + 38};
        frame(dc, r, RGB(200, 200, 200));
        DrawText(dc, "Caption", &r, hs[col] | vs[row] | DT_SINGLELINE);
      }
  }

  // Wrapping and ellipses.
  const char* para =
      "The quick brown fox jumps over the lazy dog. Owner-drawn controls measure their captions "
      "first and then draw them in the rectangle the measure gave.";
  {
    ScopedFont f(dc, "Tahoma", 8);
    int x0 = 390;
    int y0 = y - 16;
    label(dc, x0, y0, "DT_WORDBREAK (rectangle from DT_CALCRECT)");
    RECT m{x0, y0 + 16, x0 + 170, y0 + 16};
    SetTextColor(dc, RGB(0, 0, 0));
    DrawText(dc, para, &m, DT_WORDBREAK | DT_CALCRECT);
    gfx::fillRect(*gfx::dcFromHandle(dc), m, 0xFFF4D0);
    DrawText(dc, para, &m, DT_WORDBREAK);
    int yb = m.bottom + 8;
    label(dc, x0 + 180, y0, "DT_WORDBREAK | DT_END_ELLIPSIS");
    RECT e{x0 + 180, y0 + 16, x0 + 350, y0 + 16 + 3 * 13};
    frame(dc, e, RGB(200, 200, 200));
    SetTextColor(dc, RGB(0, 0, 0));
    DrawText(dc, para, &e, DT_WORDBREAK | DT_END_ELLIPSIS);
    label(dc, x0, yb, "DT_WORD_ELLIPSIS (a button caption)");
    RECT w{x0, yb + 16, x0 + 90, yb + 16 + 40};
    frame(dc, w, RGB(200, 200, 200));
    DrawText(dc, "Supercalifragilistic button", &w, DT_CENTER | DT_WORDBREAK | DT_WORD_ELLIPSIS);
    label(dc, x0 + 180, yb, "DT_SINGLELINE | DT_END_ELLIPSIS");
    RECT s{x0 + 180, yb + 16, x0 + 300, yb + 16 + 16};
    frame(dc, s, RGB(200, 200, 200));
    DrawText(dc, "A long single line of text", &s, DT_SINGLELINE | DT_END_ELLIPSIS | DT_VCENTER);
  }

  // Access keys, "&&", tabs and CR LF.
  y += 3 * 44 + 8;
  label(dc, 10, y, "Access keys, &&, CR LF, tabs, opaque background");
  y += 16;
  {
    ScopedFont f(dc, "MS Sans Serif", 8);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT r{10, y, 360, y + 60};
    DrawText(dc, "&File   E&dit   &View   Save && E&xit\r\nSecond line\r\nName:\tValue", &r, DT_EXPANDTABS);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(0, 0, 128));
    SetTextColor(dc, RGB(255, 255, 255));
    RECT o{10, y + 44, 360, y + 60};
    DrawText(dc, "Selected item (opaque)", &o, DT_SINGLELINE);
    SetBkMode(dc, TRANSPARENT);
  }
  DeleteDC(dc);
  return surface;
}

RegisterPage reg{Page{"text", "Text", 20, renderTextPage}};

}  // namespace
}  // namespace zxp::gallery
