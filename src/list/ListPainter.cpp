// The list control's painting: background buffer, layout of the visible rows and columns,
// rows, header strip, fixed column, built-in scroll bars and border (see ZorvaXPListBox.h).
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "bars/ZorvaXpImageList.h"
#include "foundation/DrawnRange.h"
#include "foundation/FormLookup.h"
#include "foundation/PenLines.h"
#include "list/ZorvaXPListBox.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"

namespace zxp::list {

using foundation::drawLines;
using foundation::drawOutline;
using foundation::fillSolid;

namespace {

Pixel toPixel(OLE_COLOR c) {
  const COLORREF x = translateColor(c);
  return ((x & 0xFF) << 16) | (x & 0xFF00) | ((x >> 16) & 0xFF);
}

Pixel mix(Pixel a, Pixel b, int t, int scale) {
  auto ch = [&](int shift) {
    const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    return static_cast<Pixel>(ca + (cb - ca) * t / scale) << shift;
  };
  return ch(16) | ch(8) | ch(0);
}

// The text a cell shows: CR, LF and TAB are not displayed.
std::string displayText(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s)
    if (c != '\r' && c != '\n' && c != '\t') out += c;
  return out;
}

UINT alignFlag(LHAlignment a) {
  return a == LHAlignment::Center ? DT_CENTER : a == LHAlignment::Right ? DT_RIGHT : DT_LEFT;
}

constexpr UINT kLine = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;

}  // namespace

// ---- The angle gradient ------------------------------------------------------------------------

void ZorvaXPListBox::fillAngleGradient(HDC dc, RECT r, OLE_COLOR c1, OLE_COLOR c2, float angle, LBGStyle style) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  // Direction of the ramp: 90 degrees minus the angle, normalised into 0..360; x along its sine,
  // y (downwards) along its cosine, so 90 runs top to bottom and 0 left to right.
  double theta = std::fmod(90.0 - static_cast<double>(angle), 360.0);
  if (theta < 0) theta += 360.0;
  const double rad = theta * std::numbers::pi / 180.0;
  double dx = std::sin(rad), dy = std::cos(rad);
  if (std::abs(dx) < 1e-9) dx = 0;
  if (std::abs(dy) < 1e-9) dy = 0;
  // The ramp needs only one row or column when the direction follows an axis.
  const int bw = dy == 0 || dx != 0 ? w : 1;
  const int bh = dx == 0 || dy != 0 ? h : 1;
  detail::DibBuffer dib;
  if (!dib.allocate(bw, bh, false)) return;
  const Pixel p1 = toPixel(c1), p2 = toPixel(c2);
  constexpr int kScale = 1 << 12;
  const double extent = (std::abs(dx) * w + std::abs(dy) * h) / 2.0;
  for (int y = 0; y < bh; ++y) {
    Pixel* row = dib.row(bh - 1 - y);  // bottom row first
    const double py = (y + 0.5 - (bh == 1 ? 0.5 : h / 2.0)) * dy;
    for (int x = 0; x < bw; ++x) {
      const double px = (x + 0.5 - (bw == 1 ? 0.5 : w / 2.0)) * dx;
      double t = extent > 0 ? ((px + py) / extent + 1.0) / 2.0 : 0.0;
      t = std::clamp(t, 0.0, 1.0);
      if (style == LBGStyle::XpStyle) t = 1.0 - std::abs(2.0 * t - 1.0);
      row[x] = mix(p1, p2, static_cast<int>(t * kScale), kScale);
    }
  }
  dib.paint(dc, r.left, r.top, w, h, 0, 0, bw, bh);
}

// ---- Geometry ---------------------------------------------------------------------------------

int ZorvaXPListBox::drawnHeaderHeight() const { return foundation::drawnLength(m_HeaderHeight); }

int ZorvaXPListBox::rowAreaTop() const { return data_.multiColumn() && m_ShowHeaders ? drawnHeaderHeight() + 2 : 1; }

int ZorvaXPListBox::rowAreaBottom() const {
  return ScaleHeight() - 1 - (data_.multiColumn() && hBarShown_ ? kScrollBarSize : 0);
}

int ZorvaXPListBox::rowAreaRight() const { return ScaleWidth() - 1 - (vBarShown_ ? kScrollBarSize : 0); }

// Column widths are any Long from 20 up, so their sum is taken in 64 bits.
int64_t ZorvaXPListBox::columnWidthSum() const {
  int64_t total = 0;
  for (int32_t c = 1; c <= data_.ColumnsCount(); ++c) total += data_.ColumnWidth(c);
  return total;
}

int32_t ZorvaXPListBox::totalColumnWidth() const { return clampToInt32(columnWidthSum()); }

int32_t ZorvaXPListBox::lastTopRow() const { return std::max(1, data_.ListCount() - visibleCount_ + 1); }

int32_t ZorvaXPListBox::rowHeightOf(int32_t row) const {
  if (!data_.multiColumn() || !m_AutoSetRowHeight) return m_RowHeight;
  // The tallest cell: its lines (pieces between CR LF) times one text line, at least 22, plus 8.
  TEXTMETRIC tm{};
  GetTextMetrics(UserControl.hDC(), &tm);
  const int lineHeight = std::max<int>(1, tm.tmHeight);
  const RowView item = data_.rowView(row);
  int lines = 1;
  for (int32_t c = 1; c <= item.cellCount(); ++c) {
    const std::string_view s = item.iCell(c);
    int n = 1;
    for (size_t p = s.find("\r\n"); p != std::string_view::npos; p = s.find("\r\n", p + 2)) ++n;
    lines = std::max(lines, n);
  }
  return std::max(kMinRowHeight, lines * lineHeight) + 8;
}

ZorvaXPListBox::BarGeometry ZorvaXPListBox::verticalBar() const {
  BarGeometry g;
  const int top = 1, bottom = ScaleHeight() - 1 - (hBarShown_ ? kScrollBarSize : 0);
  g.trackStart = top + kScrollBarSize;
  g.trackEnd = bottom - kScrollBarSize;
  const int length = g.trackEnd - g.trackStart;
  const int32_t count = std::max(1, data_.ListCount());
  int thumb = nearest(static_cast<float>(visibleCount_) / static_cast<float>(count) * static_cast<float>(length - 2));
  thumb = std::min(std::max(thumb, 20), std::max(0, length - 2));
  const int free = length - 2 - thumb;
  int offset;
  if (topRow_ <= 1)
    offset = 0;
  else if (topRow_ >= lastTopRow())
    offset = free;
  else
    offset = nearest(static_cast<float>(topRow_) *
                     (static_cast<float>(free) / static_cast<float>(std::max(1, count - visibleCount_))));
  offset = std::clamp(offset, 0, std::max(0, free));
  g.thumbStart = g.trackStart + 1 + offset;
  g.thumbEnd = g.thumbStart + thumb;
  return g;
}

ZorvaXPListBox::BarGeometry ZorvaXPListBox::horizontalBar() const {
  BarGeometry g;
  const int left = 1, right = ScaleWidth() - 1 - (vBarShown_ ? kScrollBarSize : 0);
  g.trackStart = left + kScrollBarSize;
  g.trackEnd = right - kScrollBarSize;
  const int length = g.trackEnd - g.trackStart;
  const int fixed = m_SetFirstColumnAsFixed && data_.ColumnsCount() > 0 ? data_.ColumnWidth(1) : 0;
  const int32_t total = std::max(1, totalColumnWidth() - fixed);
  const int visible = std::max(1, rowAreaRight() - 1 - fixed);
  int thumb = nearest(std::min(1.0f, static_cast<float>(visible) / static_cast<float>(total)) *
                      static_cast<float>(length - 2));
  thumb = std::min(std::max(thumb, 20), std::max(0, length - 2));
  const int free = length - 2 - thumb;
  const int range = std::max(1, total - visible);
  int offset = nearest(static_cast<float>(hOffset_) * static_cast<float>(free) / static_cast<float>(range));
  offset = std::clamp(offset, 0, std::max(0, free));
  g.thumbStart = g.trackStart + 1 + offset;
  g.thumbEnd = g.thumbStart + thumb;
  return g;
}

// ---- Background ---------------------------------------------------------------------------------

void ZorvaXPListBox::rebuildBackground() {
  const int W = ScaleWidth(), H = ScaleHeight();
  if (W <= 0 || H <= 0) return;
  if (!backDC_ || W != backW_ || H != backH_) {
    backDC_ = MemoryDC();
    backBitmap_.reset(CreateCompatibleBitmap(UserControl.hDC(), W, H));
    backDC_ = MemoryDC(UserControl.hDC());
    if (!backDC_ || !backBitmap_) return;
    SelectObject(backDC_.get(), backBitmap_.get());
    backW_ = W;
    backH_ = H;
  }
  const HDC dc = backDC_.get();
  const RECT all{0, 0, W, H};
  if (m_BackgroundStyle == LBStyle::Gradient)
    fillAngleGradient(dc, all, m_BackGradientColor1, m_BackGradientColor2, m_BackGradientAngle, m_BackgroundGStyle);
  else
    fillSolid(dc, translateColor(m_BackColor), all);
  if (!m_Picture.empty() && m_PictureCordWidth > 0 && m_PictureCordHeight > 0) {
    const int pw = m_PictureCordWidth, ph = m_PictureCordHeight;
    const int top = data_.multiColumn() && m_ShowHeaders ? drawnHeaderHeight() + 1 : 1;
    const int areaW = W - 2, areaH = H - 1 - top;
    const int col = static_cast<int>(m_PicturePosition) % 3, line = static_cast<int>(m_PicturePosition) / 3;
    int x = 1 + (col == 0 ? 0 : col == 1 ? (areaW - pw) / 2 : areaW - pw);
    int y = top + (line == 0 ? 0 : line == 1 ? (areaH - ph) / 2 : areaH - ph);
    if (m_PicturePosition == LPicturePos::LPicPosCustom || static_cast<int>(m_PicturePosition) > 9 ||
        static_cast<int>(m_PicturePosition) < 0) {
      x = m_PicturePosXCords;
      y = m_PicturePoxYCords;
    }
    // The picture is drawn over a copy of what lies beneath, then blended with constant alpha.
    MemoryDC tmp(dc);
    GdiObject bmp(CreateCompatibleBitmap(dc, pw, ph));
    if (tmp && bmp) {
      Selection s(tmp.get(), bmp.get());
      BitBlt(tmp.get(), 0, 0, pw, ph, dc, x, y, SRCCOPY);
      if (m_Picture.Type() == vbPicTypeIcon) {
        DrawIconEx(tmp.get(), 0, 0, static_cast<HICON>(m_Picture.Handle()), pw, ph, 0, 0, DI_NORMAL);
      } else {
        MemoryDC src(dc);
        Selection ps(src.get(), m_Picture.Handle());
        StretchBlt(tmp.get(), 0, 0, pw, ph, src.get(), 0, 0, m_Picture.width(), m_Picture.height(), SRCCOPY);
      }
      BLENDFUNCTION bf{};
      bf.SourceConstantAlpha = static_cast<BYTE>(m_TransparencyLevel & 0xFF);
      AlphaBlend(dc, x, y, pw, ph, tmp.get(), 0, 0, pw, ph, bf);
    }
  }
  backDirty_ = false;
}

void ZorvaXPListBox::restoreBand(int x, int y, int w, int h) {
  if (backDC_ && w > 0 && h > 0) BitBlt(UserControl.hDC(), x, y, w, h, backDC_.get(), x, y, SRCCOPY);
}

// ---- Layout -----------------------------------------------------------------------------------------

void ZorvaXPListBox::layoutColumns() {
  columnBands_.assign(static_cast<size_t>(data_.ColumnsCount()) + 1, Band{});
  firstVisibleColumn_ = lastVisibleColumn_ = 0;
  if (!data_.multiColumn()) return;
  const int right = rowAreaRight();
  const bool fixed = m_SetFirstColumnAsFixed;
  // Positions are worked out in 64 bits (a column may be up to 2^31 - 1 pixels wide) and kept
  // saturated: a column beyond the 32-bit range lies off the control like any other.
  const int64_t total = columnWidthSum();
  const int64_t fixedWidth = fixed ? data_.ColumnWidth(1) : 0;
  const int64_t visible = int64_t{right} - 1 - fixedWidth;
  const int64_t scrollable = total - fixedWidth;
  hOffset_ = static_cast<int>(std::clamp<int64_t>(hOffset_, 0, std::clamp<int64_t>(scrollable - visible, 0, INT32_MAX)));
  int64_t x = 1 + fixedWidth - hOffset_;
  // Within +-2^30, far past any surface, a band's width and its distance to another stay in 32 bits.
  const auto place = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, -(1 << 30), 1 << 30)); };
  for (int32_t c = 1; c <= data_.ColumnsCount(); ++c) {
    Band& b = columnBands_[static_cast<size_t>(c)];
    b.index = c;
    if (fixed && c == 1) {
      b.left = 1;
      b.right = place(1 + fixedWidth);
      continue;
    }
    b.left = place(x);
    x += data_.ColumnWidth(c);
    b.right = place(x);
  }
  for (int32_t c = 1; c <= data_.ColumnsCount(); ++c) {
    const Band& b = columnBands_[static_cast<size_t>(c)];
    if (b.right > (fixed && c > 1 ? 1 + fixedWidth : 1) && b.left < right) {
      if (firstVisibleColumn_ == 0) firstVisibleColumn_ = c;
      lastVisibleColumn_ = c;
    }
  }
}

void ZorvaXPListBox::layoutRows() {
  rowBands_.clear();
  const int32_t count = data_.ListCount();
  if (count == 0) {
    topRow_ = 0;
    lastRow_ = 0;
    visibleCount_ = 0;
    return;
  }
  if (m_RowHeight < kMinRowHeight) m_RowHeight = kMinRowHeight;
  topRow_ = std::max(1, topRow_);
  const int top = rowAreaTop(), bottom = rowAreaBottom();
  if (!data_.multiColumn())
    visibleCount_ = std::max(0, nearest(static_cast<double>(ScaleHeight() - 3) / m_RowHeight));
  else
    visibleCount_ = std::max(0, (bottom - top) / m_RowHeight);
  topRow_ = std::min(topRow_, lastTopRow());
  // One row more than fits is laid out: it shows clipped at the bottom of the row area.
  int y = top;
  int32_t r = topRow_;
  for (; r <= count && y < bottom; ++r) {
    // RowHeight keeps any Long; a row is laid out at most 2^20 pixels tall.
    const int h = foundation::drawnLength(rowHeightOf(r));
    rowBands_.push_back(Band{r, 1, y, rowAreaRight(), y + h});
    y += h;
  }
  lastRow_ = r - 1;
}

// ---- Repaint entry points -----------------------------------------------------------------------

void ZorvaXPListBox::RedrawMe() {
  if (m_LockUpdate || !UserControl.exists()) return;
  if (backDirty_ || !backDC_) rebuildBackground();
  // A background that could not be built (no area, no bitmap) paints nothing; RedrawList would
  // otherwise come back here for it without end.
  if (!backDC_ || backDirty_) return;
  const int W = ScaleWidth(), H = ScaleHeight();
  restoreBand(0, 0, W, H);
  RedrawList();
}

void ZorvaXPListBox::RedrawList() {
  if (m_LockUpdate || !UserControl.exists()) return;
  if (backDirty_ || !backDC_) {
    RedrawMe();
    return;
  }
  // Which bars show: the horizontal one needs the width left by the vertical one and the vertical
  // one the height left by the horizontal one, so decide twice.
  const bool multi = data_.multiColumn();
  const bool vAllowed = m_ScrollBars == LScrollBars::LSBoth || m_ScrollBars == LScrollBars::LSVertical;
  const bool hAllowed = m_ScrollBars == LScrollBars::LSBoth || m_ScrollBars == LScrollBars::LSHorizantal;
  const bool wasV = vBarShown_, wasH = hBarShown_;
  for (int pass = 0; pass < 2; ++pass) {
    hBarShown_ = multi && hAllowed && totalColumnWidth() > rowAreaRight() - 1;
    if (!hBarShown_) hOffset_ = 0;
    const int top = rowAreaTop(), bottom = rowAreaBottom();
    int fits = multi ? (bottom - top) / std::max(1, m_RowHeight < kMinRowHeight ? kMinRowHeight : m_RowHeight)
                     : nearest(static_cast<double>(ScaleHeight() - 3) / std::max(kMinRowHeight, m_RowHeight));
    vBarShown_ = vAllowed && data_.ListCount() > 0 && (data_.ListCount() > fits || topRow_ > 1);
  }
  layoutColumns();
  layoutRows();
  const HDC dc = UserControl.hDC();
  // The row area is restored whole (rows that are gone leave the background behind).
  const int top = rowAreaTop();
  restoreBand(1, top, rowAreaRight() - 1, rowAreaBottom() - top);
  if (wasV && !vBarShown_) restoreBand(ScaleWidth() - 1 - kScrollBarSize, 1, kScrollBarSize, ScaleHeight() - 2);
  if (wasH && !hBarShown_) restoreBand(1, ScaleHeight() - 1 - kScrollBarSize, ScaleWidth() - 2, kScrollBarSize);
  for (const Band& b : rowBands_) paintRow(b.index);
  if (multi && m_ShowHeaders) paintHeader();
  if (vBarShown_) paintBar(true);
  if (hBarShown_) paintBar(false);
  if (vBarShown_ && hBarShown_) {
    const RECT corner{ScaleWidth() - 1 - kScrollBarSize, ScaleHeight() - 1 - kScrollBarSize, ScaleWidth() - 1,
                      ScaleHeight() - 1};
    fillSolid(dc, translateColor(m_ScrollBarGradientColor2), corner);
  }
  paintBorder();
}

void ZorvaXPListBox::Refresh() {
  if (m_LockUpdate || !UserControl.exists()) return;
  paintBorder();
}

void ZorvaXPListBox::paintBorder() {
  const COLORREF c = translateColor(focused() ? m_FocusBorderColor : m_BorderColor);
  drawOutline(UserControl.hDC(), c, 0, 0, ScaleWidth(), ScaleHeight());
}

// ---- Rows -----------------------------------------------------------------------------------------

void ZorvaXPListBox::drawCheckGlyph(HDC dc, int left, int top, int state) const {
  // A 13 x 13 box centred in the 16 x 16 glyph cell: a dark frame, a light gradient face (warmer
  // while the row is selected) and a tick in TickColor when checked.
  const RECT box{left + 1, top + 1, left + 14, top + 14};
  fillAngleGradient(dc, RECT{box.left + 1, box.top + 1, box.right - 1, box.bottom - 1},
                    state == 1 ? 0xC0F0FFu : 0xE0E0E0u, 0xFFFFFFu, 45.0f, LBGStyle::VistaStyle);
  drawOutline(dc, 0x845A1C, box.left, box.top, box.right, box.bottom);
  if (state == 2) {
    const COLORREF t = translateColor(m_TickColor);
    for (int i = 0; i < 3; ++i) {
      drawLines(dc, t, {{{left + 4, top + 6 + i}, {left + 6, top + 8 + i}},
                        {{left + 6, top + 8 + i}, {left + 11, top + 3 + i}}});
    }
  }
}

void ZorvaXPListBox::drawCellButton(HDC dc, int right, int top, int bottom, bool selected) const {
  const RECT r{right - 21, top + 2, right - 21 + kButtonWidth, bottom - 2};
  if (r.bottom - r.top < 2) return;
  if (selected)
    fillAngleGradient(dc, r, m_ButtonSelectedGradient1, m_ButtonSelectedGradient2, 90.0f, LBGStyle::VistaStyle);
  else
    fillAngleGradient(dc, r, m_ButtonGradientColor1, m_ButtonGradientColor2, 90.0f, LBGStyle::VistaStyle);
  drawOutline(dc, translateColor(m_BorderColor), r.left, r.top, r.right, r.bottom);
  // Three dots in the middle of the face.
  const int cy = (r.top + r.bottom) / 2, cx = (r.left + r.right) / 2;
  for (int dx : {-4, 0, 4}) fillSolid(dc, 0x000000, RECT{cx + dx - 1, cy, cx + dx + 1, cy + 2});
}

void ZorvaXPListBox::drawImage(HDC dc, int32_t index, int x, int y) const {
  if (index < 1 || m_ImageList.empty()) return;
  const auto* images = foundation::controlOnFormAs<bars::ZorvaXpImageList>(*this, m_ImageList);
  if (!images) return;
  // The image is copied into a 16 x 16 scratch bitmap, then put down with magenta left out.
  MemoryDC tmp(dc);
  GdiObject bmp(CreateCompatibleBitmap(dc, 16, 16));
  if (!tmp || !bmp) return;
  Selection s(tmp.get(), bmp.get());
  fillSolid(tmp.get(), 0xFF00FF, RECT{0, 0, 16, 16});
  if (images->DrawImageByIndex(index, static_cast<int32_t>(tmp.get()), 0, 0))
    TransparentBlt(dc, x, y, 16, 16, tmp.get(), 0, 0, 16, 16, 0xFF00FF);
}

void ZorvaXPListBox::paintRow(int32_t r) {
  if (m_LockUpdate || r < topRow_ || r > lastRow_ || rowBands_.empty() || !backDC_) return;
  const Band& band = rowBands_[static_cast<size_t>(r - topRow_)];
  const HDC dc = UserControl.hDC();
  ++rowsPainted_;
  const bool multi = data_.multiColumn();
  const int areaRight = rowAreaRight();
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, 1, rowAreaTop(), areaRight, rowAreaBottom());
  const int top = band.top, bottom = band.bottom;
  restoreBand(1, top, areaRight - 1, bottom - top);
  const RowView item = data_.rowView(r);
  const bool selected = data_.Selected(r);
  // The row's font: Font with the row's attributes.
  const LItemUnicode u = item.iItemUnicode();
  GdiObject rowFont;
  if (u.fBold || u.fItalic || u.fUnderline || u.fStrikeThrough) {
    gfx::FontDesc f = m_Font ? *m_Font : gfx::FontDesc();
    if (u.fBold) f.setBold(true);
    f.italic = f.italic || u.fItalic;
    f.underline = f.underline || u.fUnderline;
    f.strikethrough = f.strikethrough || u.fStrikeThrough;
    rowFont.reset(f.create());
    SelectObject(dc, rowFont.get());
  }
  SetBkMode(dc, TRANSPARENT);

  auto fillSelection = [&](RECT s) {
    if (s.right <= s.left || s.bottom <= s.top) return;
    if (m_SelectionStyle == LSelectionStyle::LSSNormal)
      fillSolid(dc, translateColor(m_SelectedColor), s);
    else if (m_SelectedGradientStyle == LBGStyle::XpStyle)
      fillAngleGradient(dc, s, m_SelectedGradientColor2, m_SelectedGradientColor1, m_SelectedGradientAngle,
                        LBGStyle::VistaStyle);
    else
      fillAngleGradient(dc, s, m_SelectedGradientColor1, m_SelectedGradientColor2, m_SelectedGradientAngle,
                        LBGStyle::VistaStyle);
  };

  // One cell's contents inside (left, right): glyph, image and text.
  auto paintCell = [&](int left, int right, LHStyle style, LHAlignment align, const std::string& text, bool checked,
                       int32_t normalIcon, int32_t selectedIcon, bool cellSelected) {
    SetTextColor(dc, translateColor(cellSelected ? m_SelectedForeColor : m_ForeColor));
    RECT tr{left + 3, top + 2, right - 2, bottom - 2};
    if (style == LHStyle::Button) {
      // The button is placed from the cell's right edge: the column's closing line in a grid (the
      // band's last pixel), the control's width in a plain list, or the pixel left of the
      // vertical bar when it is shown.
      const int edge = multi ? right - 1 : vBarShown_ ? right : ScaleWidth();
      drawCellButton(dc, edge, top, bottom, cellSelected);
      tr.right = edge - 21 - 2;
    } else if (style == LHStyle::CheckBox) {
      const int gy = nearest((bottom - top - 16) / 2.0) + top;
      const int state = checked ? 2 : cellSelected ? 1 : 0;
      if (align == LHAlignment::Right) {
        const int gx = right - 16 - 8 - 1;
        drawCheckGlyph(dc, gx, gy, state);
        tr.right = gx - 2;
      } else {
        const int gx = left + 16 / 2 + 1;
        drawCheckGlyph(dc, gx, gy, state);
        tr.left = gx + 16 + 2;
      }
      if (multi) return;  // a check cell shows its glyph, not its "True"/"False" text
    } else {
      const int32_t icon = cellSelected && selectedIcon > 0 ? selectedIcon : normalIcon;
      if (icon > 0 && !m_ImageList.empty()) {
        const int iy = top + (bottom - top - 16) / 2;
        if (align == LHAlignment::Right) {
          drawImage(dc, icon, right - 18, iy);
          tr.right = right - 20;
        } else {
          drawImage(dc, icon, left + 3, iy);
          tr.left = left + 3 + 18;
        }
      }
    }
    const std::string shown = displayText(text);
    DrawText(dc, shown, &tr, kLine | alignFlag(align));
  };

  if (!multi) {
    const int right = areaRight;
    if (selected) {
      fillSelection(RECT{1, top, right, bottom});
      if (m_FocusOnSelection) {
        const RECT f{2, top, right - 1, bottom - 1};
        DrawFocusRect(dc, &f);
      }
    }
    paintCell(1, right, m_CustomStyle, m_TextAlignment, item.cellCount() >= 1 ? std::string(item.iCell(1)) : std::string(),
              item.iValue(), item.cellCount() >= 1 ? item.iNormalIcon(1) : 0,
              item.cellCount() >= 1 ? item.iSelectedIcon(1) : 0, selected);
    if (m_GridLines == LGridLines::LGLHorizantal || m_GridLines == LGridLines::LGLBoth)
      drawLines(dc, translateColor(m_GridLinesColor), {{{1, bottom - 1}, {right, bottom - 1}}});
  } else {
    const bool fixed = m_SetFirstColumnAsFixed;
    // The selection rectangle.
    RECT sel{0, 0, 0, 0};
    if (selected) {
      const int lastRight = lastVisibleColumn_ > 0 ? columnBands_[static_cast<size_t>(lastVisibleColumn_)].right : 2;
      if (m_SelectedModeStyle == LSelectedModeStyle::LSMSFullRow) {
        sel = RECT{fixed && data_.ColumnsCount() > 1 ? columnBands_[2].left : 2, top, lastRight - 1, bottom - 1};
      } else {
        int first = data_.SelectedColIndex(), last = first;
        if (m_SelectedMode == LSelectedMode::LSMExtend && data_.ExtendedCellFirst() > 0 && data_.ExtendedCellLast() > 0) {
          first = std::min<int>(data_.ExtendedCellFirst(), data_.ExtendedCellLast());
          last = std::max<int>(data_.ExtendedCellFirst(), data_.ExtendedCellLast());
        }
        first = std::clamp(first, 1, data_.ColumnsCount());
        last = std::clamp(last, 1, data_.ColumnsCount());
        sel = RECT{columnBands_[static_cast<size_t>(first)].left, top, columnBands_[static_cast<size_t>(last)].right - 1,
                   bottom - 1};
      }
      if (fixed) sel.left = std::max<LONG>(sel.left, columnBands_[1].right);
      fillSelection(sel);
      if (m_FocusOnSelection) DrawFocusRect(dc, &sel);
    }
    const bool gridV = m_GridLines == LGridLines::LGLVertical || m_GridLines == LGridLines::LGLBoth;
    const bool gridH = m_GridLines == LGridLines::LGLHorizantal || m_GridLines == LGridLines::LGLBoth;
    const int fixedRight = fixed ? columnBands_[1].right : 1;
    for (int32_t c = firstVisibleColumn_; c >= 1 && c <= lastVisibleColumn_; ++c) {
      const Band& col = columnBands_[static_cast<size_t>(c)];
      if (fixed && c == 1) continue;
      const int saved2 = SaveDC(dc);
      IntersectClipRect(dc, fixedRight, top, areaRight, bottom);
      const bool inSel = selected && col.left < sel.right && col.right > sel.left;
      const std::string text = c <= item.cellCount() ? std::string(item.iCell(c)) : std::string();
      paintCell(col.left, col.right, data_.ColumnStyle(c), data_.ColumnAlignment(c), text, text == "True",
                c <= item.cellCount() ? item.iNormalIcon(c) : 0, c <= item.cellCount() ? item.iSelectedIcon(c) : 0,
                inSel);
      if (gridV)
        drawLines(dc, translateColor(inSel ? m_SelectedGridColor : m_GridLinesColor),
                  {{{col.right - 1, top}, {col.right - 1, bottom}}});
      RestoreDC(dc, saved2);
    }
    if (gridH) drawLines(dc, translateColor(m_GridLinesColor), {{{1, bottom - 1}, {areaRight, bottom - 1}}});
    if (fixed && data_.ColumnsCount() >= 1) {
      // The fixed first column: its own gradient, the cell text and the current-row arrow.
      const Band& col = columnBands_[1];
      const RECT cell{col.left, top, col.right, bottom};
      fillAngleGradient(dc, cell, m_FixedColumnGradientColor1, m_FixedColumnGradientColor2,
                        m_FixedColumnGradientAngle, m_FixedColumnGradientStyle);
      drawLines(dc, 0xFFFFFF, {{{col.right - 1, top}, {col.right - 1, bottom}}, {{col.left, bottom - 1}, {col.right, bottom - 1}}});
      SetTextColor(dc, translateColor(m_HeaderForeColor));
      RECT tr{col.left + 2, top, col.right - 12, bottom};
      DrawText(dc, displayText(item.cellCount() >= 1 ? std::string(item.iCell(1)) : std::string()), &tr,
               kLine | alignFlag(data_.ColumnAlignment(1)));
      if (r == data_.ListIndex()) {
        const COLORREF a = translateColor(m_FixSelectedArrow);
        const int ax = col.right - 11, ay = top + (bottom - top - 14) / 2;
        GdiObject pen(CreatePen(PS_SOLID, 1, a));
        Selection sp(dc, pen.get());
        for (int i = 0; i < 8; ++i) {
          MoveToEx(dc, ax + i, ay + i, nullptr);
          LineTo(dc, ax + i, ay + i + 14 - 2 * i);
        }
      }
    }
  }
  RestoreDC(dc, saved);
}

// ---- Header -----------------------------------------------------------------------------------------

void ZorvaXPListBox::paintHeader() {
  const HDC dc = UserControl.hDC();
  const int width = ScaleWidth() - (vBarShown_ ? kScrollBarSize : 0);
  const int H = drawnHeaderHeight();
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, 1, 1, width - 1, H + 2);
  fillAngleGradient(dc, RECT{1, 1, width - 1, H + 1}, m_HeaderGradientColor1, m_HeaderGradientColor2,
                    m_HeaderGradientAngle, m_HeaderGradientStyle);
  GdiObject font(m_HeaderFont ? m_HeaderFont->create() : 0);
  if (font) SelectObject(dc, font.get());
  SetBkMode(dc, TRANSPARENT);
  const bool fixed = m_SetFirstColumnAsFixed;
  const int fixedRight = fixed && data_.ColumnsCount() > 0 ? columnBands_[1].right : 1;
  auto paintColumn = [&](int32_t c) {
    const Band& b = columnBands_[static_cast<size_t>(c)];
    const int saved2 = SaveDC(dc);
    if (!(fixed && c == 1)) IntersectClipRect(dc, fixedRight, 1, width - 1, H + 1);
    COLORREF textColor = translateColor(m_HeaderForeColor);
    const RECT face{b.left, 1, b.right, H + 1};
    // Pressed, or the current column (SelectedColIndex): the selected header look.
    const bool current = c == data_.SelectedColIndex();
    if (c == pressedColumn_ || (press_ == Part::Header && c == clickedColumn_) || current) {
      fillAngleGradient(dc, face, m_SelectedHeaderGradient1, m_SelectedHeaderGradient2, m_SelectedHeaderGradientAngle,
                        m_SelectedHeaderGradientStyle);
      drawOutline(dc, translateColor(m_SelectedHeaderBorderColor), face.left, face.top, face.right, face.bottom);
      textColor = translateColor(m_SelectedHeaderForeColor);
    } else if (c == hoverColumn_ && hover_ == Part::Header) {
      fillAngleGradient(dc, face, m_HeaderHoverGradientColor1, m_HeaderHoverGradientColor2, 90.0f, LBGStyle::VistaStyle);
      drawOutline(dc, translateColor(m_HeaderHoverBorderColor), face.left, face.top, face.right, face.bottom);
      textColor = translateColor(m_HeaderHoverForeColor);
    } else if (data_.ColumnStyle(c) == LHStyle::Button) {
      fillAngleGradient(dc, face, m_ButtonGradientColor1, m_ButtonGradientColor2, 90.0f, LBGStyle::VistaStyle);
    } else if (fixed && c == 1) {
      fillAngleGradient(dc, face, m_HeaderGradientColor1, m_HeaderGradientColor2, m_HeaderGradientAngle,
                        m_HeaderGradientStyle);
    }
    drawLines(dc, 0xFFFFFF, {{{b.right - 1, 1}, {b.right - 1, H}}});
    RECT tr{b.left + 2, 1, b.right - 2, H + 1};
    if (data_.ColumnStyle(c) == LHStyle::CheckBox) {
      drawCheckGlyph(dc, b.left + 3, 1 + (H - 16) / 2, 0);
      tr.left = b.left + 3 + 18;
    }
    const bool sorted = m_AllowSortItems && c == sortedColumn_;
    if (sorted) tr.right -= 12;
    SetTextColor(dc, textColor);
    DrawText(dc, data_.ColumnText(c), &tr, kLine | alignFlag(data_.ColumnAlignment(c)));
    if (sorted) {
      // A 7-pixel triangle on a small plate at the right end: up for ascending, down for descending.
      const int ax = b.right - 13, ay = 1 + (H - 8) / 2;
      fillSolid(dc, translateColor(c == clickedColumn_ ? m_SortedArrowBackColorSelected : m_SortedArrowBackColorNormal),
                RECT{ax, ay, ax + 10, ay + 8});
      GdiObject pen(CreatePen(PS_SOLID, 1, translateColor(m_HeaderGradientColor1)));
      Selection sp(dc, pen.get());
      for (int i = 0; i < 4; ++i) {
        const int y = sortAscending_ ? ay + 2 + i : ay + 5 - i;
        MoveToEx(dc, ax + 4 - i, y, nullptr);
        LineTo(dc, ax + 5 + i, y);
      }
    }
    RestoreDC(dc, saved2);
  };
  for (int32_t c = firstVisibleColumn_; c >= 1 && c <= lastVisibleColumn_; ++c)
    if (!(fixed && c == 1)) paintColumn(c);
  if (fixed && data_.ColumnsCount() >= 1) paintColumn(1);
  drawLines(dc, 0xFFFFFF, {{{1, H}, {width - 1, H}}});
  drawLines(dc, translateColor(m_BorderColor), {{{1, H + 1}, {width - 1, H + 1}}});
  RestoreDC(dc, saved);
  if (resizing_ && resizeLineX_ >= 0)
    drawLines(dc, translateColor(m_MouseLineColor), {{{resizeLineX_, 1}, {resizeLineX_, rowAreaBottom()}}});
}

// ---- Scroll bars ----------------------------------------------------------------------------------

ZorvaXPListBox::BarColours ZorvaXPListBox::arrowColours(Part p) const {
  if (press_ == p) return {m_ScrollBarsButtonsMDownG1, m_ScrollBarsButtonsMDownG2, m_MouseDownDropDownSignColor};
  if (hover_ == p) return {m_HoverScrollBarsButtonGradient1, m_HoverScrollBarsButtonGradient2, m_HoverDropDownSignColor};
  return {m_ScrollBarGradientColor1, m_ScrollBarGradientColor2, m_ScrollBarDropDownSignColor};
}

ZorvaXPListBox::BarColours ZorvaXPListBox::thumbColours(Part p) const {
  if (press_ == p) return {m_ScrollThumbMDownG1, m_ScrollThumbMDownG2, 0};
  if (hover_ == p) return {m_HoverScrollBarThumbGradient1, m_HoverScrollBarThumbGradient2, 0};
  return {m_ScrollBarThumbGradientColor1, m_ScrollBarThumbGradientColor2, 0};
}

// One painter for both bars, written along the bar (a) and across it (c): the vertical bar runs
// down the right edge with its gradients at 0 degrees, the horizontal one along the bottom at 90.
void ZorvaXPListBox::paintBar(bool vertical) {
  const HDC dc = UserControl.hDC();
  auto rect = [vertical](int a0, int c0, int a1, int c1) {
    return vertical ? RECT{c0, a0, c1, a1} : RECT{a0, c0, a1, c1};
  };
  auto at = [vertical](int a, int c) { return vertical ? POINT{c, a} : POINT{a, c}; };
  const int across = (vertical ? ScaleWidth() : ScaleHeight()) - 1 - kScrollBarSize;
  const int start = 1, end = vertical ? ScaleHeight() - 1 - (hBarShown_ ? kScrollBarSize : 0)
                                      : ScaleWidth() - 1 - (vBarShown_ ? kScrollBarSize : 0);
  const float angle = vertical ? 0.0f : 90.0f;
  const BarGeometry g = vertical ? verticalBar() : horizontalBar();
  const bool trackDown = press_ == (vertical ? Part::VTrack : Part::HTrack);
  fillAngleGradient(dc, rect(g.trackStart, across, g.trackEnd, across + kScrollBarSize),
                    trackDown ? m_MDownScrollTrackBarGradient1 : m_ScrollBarGradientColor1,
                    trackDown ? m_MDownScrollTrackBarGradient2 : m_ScrollBarGradientColor2, angle, LBGStyle::VistaStyle);
  // An arrow button: its gradient, its outline and a four-line triangle pointing to its own end.
  auto arrow = [&](Part p, int a0, bool towardStart) {
    const BarColours c = arrowColours(p);
    const RECT r = rect(a0, across, a0 + kScrollBarSize, across + kScrollBarSize);
    fillAngleGradient(dc, r, c.g1, c.g2, angle, LBGStyle::VistaStyle);
    drawOutline(dc, translateColor(m_BorderColor), r.left, r.top, r.right, r.bottom);
    GdiObject pen(CreatePen(PS_SOLID, 1, translateColor(c.sign)));
    Selection sp(dc, pen.get());
    for (int i = 0; i < 4; ++i) {
      const int a = towardStart ? a0 + 8 + i : a0 + 11 - i;
      const POINT from = at(a, across + 10 - i - 1), to = at(a, across + 10 + i);
      MoveToEx(dc, from.x, from.y, nullptr);
      LineTo(dc, to.x, to.y);
    }
  };
  arrow(vertical ? Part::VUp : Part::HLeft, start, true);
  arrow(vertical ? Part::VDown : Part::HRight, end - kScrollBarSize, false);
  const BarColours t = thumbColours(vertical ? Part::VThumb : Part::HThumb);
  if (g.thumbEnd - g.thumbStart > 2) {
    const RECT thumb = rect(g.thumbStart, across + 1, g.thumbEnd, across + kScrollBarSize - 1);
    fillAngleGradient(dc, thumb, t.g1, t.g2, angle, LBGStyle::XpStyle);
    drawOutline(dc, translateColor(m_BorderColor), thumb.left, thumb.top, thumb.right, thumb.bottom);
    // The gripper: four short lines across the middle of the thumb.
    const int mid = (g.thumbStart + g.thumbEnd) / 2 - 4;
    for (int i = 0; i < 4; ++i)
      fillAngleGradient(dc, rect(mid + 2 * i, across + 6, mid + 2 * i + 1, across + 14), m_GripperGradientColor1,
                        m_GripperGradientColor2, angle, LBGStyle::VistaStyle);
  }
}

}  // namespace zxp::list
