#include "library/ToolboxBitmaps.h"

#include <cstdlib>

namespace zxp::library {

namespace {

// A few strokes on a 16 x 15 canvas, pixels 0x00RRGGBB; coordinates are inclusive.
struct Canvas {
  gfx::Surface& s;
  void px(int x, int y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < s.width() && y < s.height()) s.at(x, y) = c;
  }
  void fill(int x0, int y0, int x1, int y1, uint32_t c) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) px(x, y, c);
  }
  void frame(int x0, int y0, int x1, int y1, uint32_t c) {
    fill(x0, y0, x1, y0, c);
    fill(x0, y1, x1, y1, c);
    fill(x0, y0, x0, y1, c);
    fill(x1, y0, x1, y1, c);
  }
  // A vertical gradient from top to bottom colour.
  void vgrad(int x0, int y0, int x1, int y1, uint32_t top, uint32_t bottom) {
    const int n = y1 > y0 ? y1 - y0 : 1;
    for (int y = y0; y <= y1; ++y) {
      uint32_t c = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        const int a = static_cast<int>(top >> shift & 0xFF), b = static_cast<int>(bottom >> shift & 0xFF);
        c |= static_cast<uint32_t>(a + (b - a) * (y - y0) / n) << shift;
      }
      fill(x0, y, x1, y, c);
    }
  }
  // A small filled triangle pointing up, down, left or right, centred on (cx, cy).
  void arrow(int cx, int cy, char dir, uint32_t c) {
    for (int i = 0; i < 3; ++i) {
      switch (dir) {
        case 'u': fill(cx - i, cy - 1 + i, cx + i, cy - 1 + i, c); break;
        case 'd': fill(cx - i, cy + 1 - i, cx + i, cy + 1 - i, c); break;
        case 'l': fill(cx - 1 + i, cy - i, cx - 1 + i, cy + i, c); break;
        default: fill(cx + 1 - i, cy - i, cx + 1 - i, cy + i, c); break;
      }
    }
  }
  void disc(int cx, int cy, int r2, uint32_t c) {
    for (int y = 0; y < s.height(); ++y)
      for (int x = 0; x < s.width(); ++x)
        if ((x - cx) * (x - cx) * 4 + (y - cy) * (y - cy) * 4 <= r2) px(x, y, c);
  }
};

constexpr uint32_t kWhite = 0xFFFFFF, kBlack = 0x000000, kDark = 0x404040, kBorder = 0x003C74, kBlue = 0x316AC5,
                   kLightBlue = 0xC1D2EE, kGreen = 0x2FA82F, kRed = 0xD03030, kGrey = 0x808080, kFace = 0xECE9D8;

void draw(int id, Canvas& c) {
  switch (id) {
    case 30000:  // form skin: a window with a blue caption and its close button
      c.frame(0, 0, 15, 14, kBorder);
      c.vgrad(1, 1, 14, 4, 0x3D95FF, 0x0A246A);
      c.fill(12, 2, 13, 3, kRed);
      c.fill(1, 5, 14, 13, kFace);
      break;
    case 30001:  // list: a header row, rows with grid lines, one selected
      c.fill(0, 0, 15, 14, kWhite);
      c.frame(0, 0, 15, 14, kBorder);
      c.vgrad(1, 1, 14, 3, kWhite, 0xC8C4B0);
      for (int y = 6; y < 14; y += 3) c.fill(1, y, 14, y, 0xD8D8D8);
      c.fill(6, 1, 6, 13, 0xD8D8D8);
      c.fill(1, 7, 14, 8, kBlue);
      break;
    case 30002:  // progress bar: green blocks two thirds along
      c.frame(0, 4, 15, 10, kGrey);
      c.fill(1, 5, 14, 9, kWhite);
      for (int x = 2; x < 11; x += 3) c.vgrad(x, 6, x + 1, 8, 0x8CE68C, kGreen);
      break;
    case 30003:  // date picker: a field with a date and the drop-down button
      c.frame(0, 3, 15, 11, kBorder);
      c.fill(1, 4, 14, 10, kWhite);
      c.fill(2, 7, 8, 7, kDark);
      c.vgrad(10, 4, 14, 10, kLightBlue, 0x8AA8E8);
      c.arrow(12, 7, 'd', kBorder);
      break;
    case 30004:  // calendar: a blue header over a grid of days, today in red
      c.fill(0, 0, 15, 14, kWhite);
      c.frame(0, 0, 15, 14, kBorder);
      c.vgrad(1, 1, 14, 3, 0x6B9BE8, kBlue);
      for (int y = 5; y <= 13; y += 2)
        for (int x = 2; x <= 13; x += 2) c.px(x, y, kDark);
      c.frame(7, 8, 9, 10, kRed);
      break;
    case 30005:  // text box: a white field, a line of text and the caret
      c.frame(0, 2, 15, 12, kBorder);
      c.fill(1, 3, 14, 11, kWhite);
      c.fill(3, 7, 8, 7, kDark);
      c.fill(10, 4, 10, 10, kBlack);
      c.px(9, 4, kBlack), c.px(11, 4, kBlack), c.px(9, 10, kBlack), c.px(11, 10, kBlack);
      break;
    case 30006:  // spin box: a field with up and down arrows
      c.frame(0, 2, 15, 12, kBorder);
      c.fill(1, 3, 14, 11, kWhite);
      c.fill(2, 7, 6, 7, kDark);
      c.vgrad(9, 3, 14, 6, kLightBlue, 0x8AA8E8);
      c.vgrad(9, 8, 14, 11, kLightBlue, 0x8AA8E8);
      c.arrow(11, 5, 'u', kBorder);
      c.arrow(11, 9, 'd', kBorder);
      break;
    case 30007:  // image list: three overlapping pictures
      c.fill(0, 0, 8, 7, kBlue), c.frame(0, 0, 8, 7, kBorder);
      c.fill(3, 3, 11, 10, kGreen), c.frame(3, 3, 11, 10, 0x1E6B1E);
      c.fill(7, 7, 15, 14, 0xF0B030), c.frame(7, 7, 15, 14, 0x8A5A00);
      break;
    case 30008:  // option button: a round button with its dot, and a caption line
      c.disc(5, 7, 100, kBorder);
      c.disc(5, 7, 64, kWhite);
      c.disc(5, 7, 16, kGreen);
      c.fill(11, 7, 15, 7, kDark);
      break;
    case 30009:  // status bar: a window whose bottom bar holds panels and a grip
      c.frame(0, 0, 15, 14, kGrey);
      c.fill(1, 1, 14, 9, kWhite);
      c.fill(1, 10, 14, 13, kFace);
      c.fill(6, 11, 6, 13, kGrey), c.fill(10, 11, 10, 13, kGrey);
      c.px(13, 12, kDark), c.px(12, 13, kDark), c.px(13, 13, kDark);
      break;
    case 30010:  // tab control: three tabs over a page, the first in front
      c.fill(0, 4, 15, 14, kFace);
      c.frame(0, 4, 15, 14, kGrey);
      c.fill(1, 1, 5, 4, kFace), c.frame(0, 1, 6, 4, kGrey), c.fill(1, 1, 5, 1, 0xF0A030);
      c.fill(1, 4, 5, 4, kFace);
      c.frame(6, 2, 10, 4, kGrey), c.frame(10, 2, 14, 4, kGrey);
      break;
    case 30011:  // push button: a rounded gradient face with its caption
      c.vgrad(1, 2, 14, 12, kWhite, 0xD6D0C5);
      c.frame(0, 2, 15, 12, kBorder);
      c.px(0, 2, kToolboxBackground), c.px(15, 2, kToolboxBackground);
      c.px(0, 12, kToolboxBackground), c.px(15, 12, kToolboxBackground);
      c.fill(4, 7, 11, 7, kBlack);
      break;
    case 30012:  // tool bar: a bar with three buttons
      c.vgrad(0, 2, 15, 11, kWhite, 0xC8C4B0);
      c.frame(0, 2, 15, 11, kGrey);
      c.fill(2, 4, 4, 9, kBlue), c.fill(6, 4, 8, 9, kGreen), c.fill(10, 4, 12, 9, kRed);
      break;
    case 30013:  // vertical scroll bar: arrows at both ends and the thumb
      c.fill(4, 0, 11, 14, 0xF4F3EE);
      c.frame(4, 0, 11, 14, kGrey);
      c.vgrad(5, 1, 10, 3, kLightBlue, 0x8AA8E8), c.arrow(7, 2, 'u', kBorder);
      c.vgrad(5, 11, 10, 13, kLightBlue, 0x8AA8E8), c.arrow(7, 12, 'd', kBorder);
      c.fill(5, 5, 10, 8, 0xB9CCF5), c.frame(5, 5, 10, 8, kBlue);
      break;
    case 30014:  // label: the letter A
      for (int y = 2; y <= 12; ++y) {
        const int half = (y - 2) / 2;
        c.px(7 - half, y, kBlack), c.px(8 + half, y, kBlack);
      }
      c.fill(5, 9, 10, 9, kBlack);
      break;
    case 30015:  // frame: a group box with a caption in its top line
      c.frame(0, 3, 15, 14, kGrey);
      c.fill(2, 3, 9, 3, kToolboxBackground);
      c.fill(3, 2, 8, 4, kBorder);
      c.fill(4, 3, 7, 3, kWhite);
      break;
    case 30016:  // horizontal scroll bar
      c.fill(0, 4, 15, 10, 0xF4F3EE);
      c.frame(0, 4, 15, 10, kGrey);
      c.vgrad(1, 5, 3, 9, kLightBlue, 0x8AA8E8), c.arrow(2, 7, 'l', kBorder);
      c.vgrad(12, 5, 14, 9, kLightBlue, 0x8AA8E8), c.arrow(13, 7, 'r', kBorder);
      c.fill(5, 5, 9, 9, 0xB9CCF5), c.frame(5, 5, 9, 9, kBlue);
      break;
    case 30017:  // check box: a box with its tick, and a caption line
      c.frame(0, 3, 8, 11, kBorder);
      c.vgrad(1, 4, 7, 10, 0xDCDCD7, kWhite);
      for (int i = 0; i < 3; ++i) c.fill(2 + i, 6 + i, 2 + i, 7 + i, kGreen);
      for (int i = 0; i < 4; ++i) c.fill(5 + i / 2 + (i & 1), 8 - i, 5 + i / 2 + (i & 1), 9 - i, kGreen);
      c.fill(11, 7, 15, 7, kDark);
      break;
    case 101:  // the library's mark: a Z on a blue gradient
      c.vgrad(0, 0, 15, 14, 0x6B9BE8, 0x0A246A);
      c.fill(3, 3, 12, 4, kWhite);
      for (int i = 0; i < 6; ++i) c.fill(11 - i * 3 / 2, 5 + i, 12 - i * 3 / 2, 5 + i, kWhite);
      c.fill(3, 10, 12, 11, kWhite);
      break;
    case 102: c.arrow(7, 7, 'u', kBlack); c.fill(6, 8, 8, 11, kBlack); break;
    case 103: c.arrow(7, 7, 'd', kBlack); c.fill(6, 3, 8, 6, kBlack); break;
    case 104: c.arrow(7, 7, 'l', kBlack); c.fill(8, 6, 11, 8, kBlack); break;
    case 105: c.arrow(8, 7, 'r', kBlack); c.fill(4, 6, 7, 8, kBlack); break;
    default: break;
  }
}

}  // namespace

std::vector<int> bitmapResources() {
  std::vector<int> ids;
  for (int id = 101; id <= 105; ++id) ids.push_back(id);
  for (int id = 30000; id <= 30017; ++id) ids.push_back(id);
  return ids;
}

std::shared_ptr<gfx::Surface> bitmapResource(int resource) {
  if (!((resource >= 101 && resource <= 105) || (resource >= 30000 && resource <= 30017))) return nullptr;
  auto s = gfx::Surface::create(kToolboxWidth, kToolboxHeight, true);  // bottom-up, as bitmap resources are
  if (!s) return nullptr;
  Canvas c{*s};
  c.fill(0, 0, kToolboxWidth - 1, kToolboxHeight - 1, kToolboxBackground);
  draw(resource, c);
  return s;
}

}  // namespace zxp::library
