// The edit field's view: font and metrics, the formatting rectangle, positions on screen,
// scrolling, the caret's place and painting.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/gfx/TextLayout.h"
#include "platform/ui/Caret.h"
#include "platform/ui/EditField.h"

namespace zxp::ui {

namespace {

gfx::FontObj* fontObject(HFONT font) { return handles().peek<gfx::FontObj>(font, ObjKind::Font); }

HFONT systemFont() { return static_cast<HFONT>(GetStockObject(SYSTEM_FONT)); }

int32_t floorDiv(int32_t a, int32_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

// ---- Font and layout --------------------------------------------------------------------------

void EditField::setFont(HFONT font) {
  font_ = fontObject(font) ? font : 0;
  refreshMetrics();
  relayout();
}

HFONT EditField::liveFont() {
  if (font_ && !fontObject(font_)) setFont(0);  // the owner deleted it
  return font_ ? font_ : systemFont();
}

void EditField::refreshMetrics() {
  gfx::FontObj* f = fontObject(font_ ? font_ : systemFont());
  inst_ = f ? f->inst : nullptr;
  if (!inst_) return;
  const gfx::FontMetrics& m = inst_->metrics();
  lineHeight_ = std::max(1, m.height);
  aveWidth_ = std::max(1, m.aveCharWidth);
}

void EditField::setMargins(WPARAM which, int left, int right) {
  if (which == EC_USEFONTINFO) {
    // Margins from the font: a third of an average character, at least a pixel.
    marginLeft_ = marginRight_ = std::max(1, aveWidth_ / 3);
  } else {
    if (which & EC_LEFTMARGIN) marginLeft_ = left;
    if (which & EC_RIGHTMARGIN) marginRight_ = right;
  }
  resetRect();
  relayout();
  placeCaret();
  invalidate();
}

void EditField::resetRect() {
  RECT c{};
  GetClientRect(hwnd_, &c);
  rect_ = Rect{c.left + marginLeft_, c.top, std::max(c.left + marginLeft_, c.right - marginRight_), c.bottom};
}

const EditLayout& EditField::laidOut() const {
  if (layoutStale_) {
    layout_.rebuild(text_);
    layoutStale_ = false;
  }
  return layout_;
}

EditLayout& EditField::laidOut() {
  static_cast<const EditField*>(this)->laidOut();
  return layout_;
}

void EditField::relayout() {
  // The lines follow the text through every edit, so they need laying out again only when what
  // they were laid out with changes: a field of megabytes is not laid out again for a style,
  // a colour or a rectangle of the same width.
  const LayoutKey key{wraps(), multiline(), rect_.width(), 8 * aveWidth_, inst_, password(), passwordChar_};
  if (laidOutWith_ && *laidOutWith_ == key) {
    clampScroll();
    return;
  }
  EditLayout::Params p;
  p.wrap = key.wrap;
  p.lineBreaks = key.lineBreaks;
  p.width = key.width;
  p.tabWidth = key.tabWidth;
  std::shared_ptr<gfx::FontInstance> inst = inst_;
  if (inst && password()) {
    const int32_t w = inst->advance(passwordChar_);
    p.advance = [w](char32_t) { return w; };
  } else if (inst) {
    p.advance = [inst](char32_t c) { return inst->advance(c); };
  }
  layout_.setParams(std::move(p));
  layoutStale_ = true;
  laidOutWith_ = key;
  clampScroll();
}

// Without ES_AUTOHSCROLL a single line must fit its rectangle; without ES_AUTOVSCROLL the lines
// of a multi-line field must fit its height.
bool EditField::fits() const {
  if (!multiline()) return (style() & ES_AUTOHSCROLL) || laidOut().line(0).width <= rect_.width();
  return (style() & ES_AUTOVSCROLL) || laidOut().lineCount() * lineHeight_ <= rect_.height();
}

// ---- Geometry ---------------------------------------------------------------------------------

int32_t EditField::visibleLines() const { return std::max(1, rect_.height() / lineHeight_); }

int32_t EditField::lineOffset(int32_t line) const {
  const int32_t free = rect_.width() - laidOut().line(line).width;
  if (free <= 0) return 0;
  if (style() & ES_RIGHT) return free;
  if (style() & ES_CENTER) return free / 2;
  return 0;
}

int32_t EditField::contentWidth() const { return multiline() ? laidOut().maxWidth() : laidOut().line(0).width; }

Point EditField::posOf(int32_t index) const {
  const int32_t line = laidOut().lineFromChar(index);
  return Point{rect_.left + lineOffset(line) + laidOut().xOf(text_, line, index) - xOffset_,
               rect_.top + (line - firstLine_) * lineHeight_};
}

int32_t EditField::charAt(Point p) const {
  int32_t line = 0;
  if (multiline()) {
    line = std::clamp(firstLine_ + floorDiv(p.y - rect_.top, lineHeight_), 0, laidOut().lineCount() - 1);
  }
  int32_t index = laidOut().indexAtX(text_, line, p.x - rect_.left - lineOffset(line) + xOffset_);
  return std::min(index, laidOut().lineEndForCaret(text_, line));
}

// ---- Scrolling --------------------------------------------------------------------------------

bool EditField::clampScroll() {
  // The top-left position is always in range: no need to lay out the lines to know it.
  if (firstLine_ == 0 && xOffset_ == 0) return false;
  const int32_t first = firstLine_, x = xOffset_;
  firstLine_ = multiline() ? std::clamp(firstLine_, 0, laidOut().lineCount() - 1) : 0;
  xOffset_ = wraps() ? 0 : std::clamp(xOffset_, 0, std::max(0, contentWidth() + 1 - rect_.width()));
  return first != firstLine_ || x != xOffset_;
}

void EditField::scrollCaretIntoView(bool* vertical, bool* horizontal) {
  const int32_t first = firstLine_, x = xOffset_;
  const int32_t line = laidOut().lineFromChar(caret_);
  if (multiline()) {
    const int32_t visible = visibleLines();
    if (line < firstLine_) firstLine_ = line;
    else if (line >= firstLine_ + visible) firstLine_ = line - visible + 1;
  }
  if (!wraps()) {
    // Jump a quarter of the width past the caret, so that typing shows some text around it.
    const int32_t w = rect_.width();
    const int32_t cx = lineOffset(line) + laidOut().xOf(text_, line, caret_);
    if (cx < xOffset_) xOffset_ = std::max(0, cx - w / 4);
    else if (cx >= xOffset_ + w) xOffset_ = cx - w + 1 + w / 4;
  }
  clampScroll();
  if (vertical) *vertical = first != firstLine_;
  if (horizontal) *horizontal = x != xOffset_;
}

int32_t EditField::scrollBy(int32_t lines, int32_t pixels, bool byUser) {
  const int32_t first = firstLine_, x = xOffset_;
  firstLine_ += lines;
  xOffset_ += pixels;
  clampScroll();
  if (first == firstLine_ && x == xOffset_) return 0;
  placeCaret();
  invalidate();
  if (byUser && first != firstLine_ && !notify(EN_VSCROLL)) return firstLine_ - first;
  if (byUser && x != xOffset_) notify(EN_HSCROLL);
  return firstLine_ - first;
}

void EditField::placeCaret() {
  if (caretInfo().owner != hwnd_) return;
  Point p = posOf(caret_);
  // A caret after the last character of a line that fits stays inside the rectangle.
  if (laidOut().line(laidOut().lineFromChar(caret_)).width < rect_.width()) p.x = std::min(p.x, rect_.right - 1);
  SetCaretPos(p.x, p.y);
}

void EditField::invalidate() { InvalidateRect(hwnd_, nullptr, FALSE); }

void EditField::invalidateLines(int32_t from, int32_t to) {
  RECT client{};
  GetClientRect(hwnd_, &client);
  RECT r = client;
  if (multiline()) {
    r.top = std::max(client.top, rect_.top + (from - firstLine_) * lineHeight_);
    if (to >= 0) r.bottom = std::min(client.bottom, rect_.top + (to - firstLine_) * lineHeight_);
  }
  if (!r.empty()) InvalidateRect(hwnd_, &r, FALSE);
}

void EditField::invalidateSelection(int32_t a, int32_t b) {
  if (a >= b) return;
  invalidateLines(laidOut().lineFromChar(a), laidOut().lineFromChar(b) + 1);
}

// ---- Painting ---------------------------------------------------------------------------------

void EditField::paint() {
  // The caret is drawn by inversion: take it off while the pixels under it change.
  const bool hid = caretInfo().owner == hwnd_ && HideCaret(hwnd_);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (dc) render(dc, ps.rcPaint);
  EndPaint(hwnd_, &ps);
  if (hid && !dead) ShowCaret(hwnd_);
}

void EditField::render(HDC dc, const Rect& area) {
  const HFONT font = liveFont();
  const bool enabled = IsWindowEnabled(hwnd_) != 0;
  const bool still = readOnly() || !enabled;
  const int saved = SaveDC(dc);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(still ? COLOR_3DFACE : COLOR_WINDOW));
  HBRUSH brush = 0;
  if (HWND parent = GetParent(hwnd_)) {
    brush = static_cast<HBRUSH>(SendMessageA(parent, still ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                             static_cast<WPARAM>(dc), static_cast<LPARAM>(hwnd_)));
    if (dead) return;
  }
  if (!brush) brush = GetSysColorBrush(still ? COLOR_3DFACE : COLOR_WINDOW);
  const COLORREF fg = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);

  RECT client{};
  GetClientRect(hwnd_, &client);
  FillRect(dc, &client, brush);

  {
    Selection sel(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    IntersectClipRect(dc, rect_.left, rect_.top, rect_.right, rect_.bottom);
    const bool showSel = anchor_ != caret_ && (focused() || (style() & ES_NOHIDESEL));
    const int32_t last = std::min(laidOut().lineCount(), firstLine_ + visibleLines() + 1);
    for (int32_t line = firstLine_; line < last; ++line) {
      const int32_t y = rect_.top + (line - firstLine_) * lineHeight_;
      if (y < area.bottom && y + lineHeight_ > area.top) drawLine(dc, line, y, fg, showSel, area);
    }
  }
  RestoreDC(dc, saved);
}

void EditField::drawLine(HDC dc, int32_t line, int32_t y, COLORREF fg, bool showSel, const Rect& area) {
  const EditLine& l = laidOut().line(line);
  if (l.length == 0) return;
  // Only the characters that can reach the painted part of the text rectangle are drawn (with a
  // margin of two line heights for glyphs that reach past their cell), so a window onto a long
  // line costs what it shows.
  const int32_t x0 = rect_.left + lineOffset(line) - xOffset_;
  const int64_t margin = 2 * int64_t{lineHeight_};
  const auto offset = [&](int64_t screenX) {
    return static_cast<int32_t>(std::clamp<int64_t>(screenX - x0, INT32_MIN, INT32_MAX));
  };
  int32_t first = 0, last = 0;
  std::vector<int32_t> adv;
  const int32_t firstX = laidOut().advancesBetween(text_, line, offset(int64_t{std::max(rect_.left, area.left)} - margin),
                                                 offset(int64_t{std::min(rect_.right, area.right)} + margin), first,
                                                 last, adv);
  const int32_t a = showSel ? std::clamp(selMin(), first, last) : last;
  const int32_t b = showSel ? std::clamp(selMax(), first, last) : last;

  // Runs: before, inside and after the selection.
  int32_t x = x0 + firstX;
  const int32_t bounds[4] = {first, a, b, last};
  std::u32string shown;
  std::vector<int> dx;
  for (int run = 0; run < 3; ++run) {
    const int32_t from = bounds[run], to = bounds[run + 1];
    if (from >= to) continue;
    shown.clear();
    dx.clear();
    int32_t w = 0;
    for (int32_t i = from; i < to; ++i) {
      char32_t c = text_[static_cast<size_t>(i)];
      shown.push_back(password() ? passwordChar_ : (c == U'\t' ? U' ' : c));
      dx.push_back(adv[static_cast<size_t>(i - first)]);
      w += dx.back();
    }
    const bool selected = run == 1;
    if (selected) {
      RECT r = Rect::fromXYWH(x, y, w, lineHeight_);
      FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : fg);
    std::string s = gfx::encodeUtf8(shown);
    ExtTextOut(dc, x, y, 0, nullptr, s.data(), static_cast<UINT>(s.size()), dx.data());
    x += w;
  }
}

}  // namespace zxp::ui
