#include "platform/ui/EditLayout.h"

#include <algorithm>
#include <iterator>

namespace zxp::ui {

namespace {

bool isBlank(char32_t c) { return c == U' ' || c == U'\t'; }


}  // namespace

EditLayout::EditLayout() { std::fill(std::begin(ascii_), std::end(ascii_), -1); }

void EditLayout::setParams(Params p) {
  p.tabWidth = std::max(1, p.tabWidth);
  p_ = std::move(p);
  std::fill(std::begin(ascii_), std::end(ascii_), -1);
}

int32_t EditLayout::advanceAt(char32_t c, int32_t x) const {
  if (c == U'\t') return (x / p_.tabWidth + 1) * p_.tabWidth - x;
  if (!p_.advance) return 0;
  if (c < 128) {
    int32_t& a = ascii_[c];
    if (a < 0) a = p_.advance(c);
    return a;
  }
  return p_.advance(c);
}

// The loop over the characters reads them straight from the text's storage (one byte or four
// per character): a text of megabytes is laid out in one pass of plain array reads.
template <class Char>
EditLine EditLayout::layLineIn(const Char* text, int32_t n, int32_t start) const {
  EditLine line;
  line.start = start;
  int32_t x = 0;
  int32_t ink = 0;          // x after the last non-blank character
  int32_t breakAt = -1;     // the position after the latest run of blanks
  int32_t inkAtBreak = 0;   // ink before that run
  for (int32_t i = start; i < n; ++i) {
    const auto c = static_cast<char32_t>(text[i]);
    if (c == U'\r' && p_.lineBreaks && i + 1 < n && text[i + 1] == U'\n') {
      line.length = i - start;
      line.breakLength = 2;
      line.width = x;
      return line;
    }
    int32_t w = advanceAt(c, x);
    if (isBlank(c)) {
      x += w;
      breakAt = i + 1;
      inkAtBreak = ink;
      continue;
    }
    if (p_.wrap && i > start && x + w > p_.width) {
      int32_t end = breakAt > start ? breakAt : i;
      line.length = end - start;
      line.width = breakAt > start ? inkAtBreak : x;
      line.soft = true;
      return line;
    }
    x += w;
    ink = x;
  }
  line.length = n - start;
  line.width = x;
  return line;
}

EditLine EditLayout::layLine(EditTextView text, int32_t start) const {
  const auto n = static_cast<int32_t>(text.size());
  if (text.wide()) return layLineIn(text.wide(), n, start);
  if (text.narrow()) return layLineIn(text.narrow(), n, start);
  return layLineIn(static_cast<const unsigned char*>(nullptr), 0, start);
}

void EditLayout::rebuild(EditTextView text) {
  lines_.clear();
  int32_t pos = 0;
  for (;;) {
    EditLine l = layLine(text, pos);
    lines_.push_back(l);
    if (!l.soft && l.breakLength == 0) break;
    pos = l.next();
    // After the first thousand lines the room for the rest is taken at once, by the characters
    // per line so far: a text of millions of lines is not copied at every doubling.
    if (lines_.size() == 1024 && text.size() > static_cast<size_t>(pos) * 2) {
      const double perLine = static_cast<double>(pos) / static_cast<double>(lines_.size());
      lines_.reserve(static_cast<size_t>(static_cast<double>(text.size()) / perLine * 1.05) + 16);
    }
  }
}

EditLayoutChange EditLayout::update(EditTextView text, int32_t pos, int32_t removed, int32_t inserted) {
  const int32_t delta = inserted - removed;
  int32_t first = lineFromChar(pos);
  // A change may let the first word of its line move up to the end of the line before.
  if (first > 0 && lines_[static_cast<size_t>(first - 1)].soft) --first;

  // Old lines that start past the changed stretch are candidates to resynchronise with.
  size_t old = static_cast<size_t>(first) + 1;
  while (old < lines_.size() && lines_[old].start < pos + removed) ++old;

  std::vector<EditLine> fresh;
  int32_t start = lines_[static_cast<size_t>(first)].start;
  size_t resume = lines_.size();  // first old line kept (shifted), none by default
  for (;;) {
    EditLine l = layLine(text, start);
    fresh.push_back(l);
    if (!l.soft && l.breakLength == 0) break;
    start = l.next();
    while (old < lines_.size() && lines_[old].start + delta < start) ++old;
    if (old < lines_.size() && lines_[old].start + delta == start && start >= pos + inserted) {
      resume = old;
      break;
    }
  }
  for (size_t k = resume; k < lines_.size(); ++k) lines_[k].start += delta;
  const bool countChanged = fresh.size() != resume - static_cast<size_t>(first);
  lines_.erase(lines_.begin() + first, lines_.begin() + static_cast<std::ptrdiff_t>(resume));
  lines_.insert(lines_.begin() + first, fresh.begin(), fresh.end());
  return EditLayoutChange{first, first + static_cast<int32_t>(fresh.size()), countChanged};
}

int32_t EditLayout::lineFromChar(int32_t index) const {
  auto it = std::upper_bound(lines_.begin(), lines_.end(), index,
                             [](int32_t v, const EditLine& l) { return v < l.start; });
  if (it == lines_.begin()) return 0;
  return static_cast<int32_t>(it - lines_.begin()) - 1;
}

int32_t EditLayout::xOf(EditTextView text, int32_t lineIndex, int32_t index) const {
  const EditLine& l = line(lineIndex);
  int32_t end = std::clamp(index, l.start, l.start + l.length);
  int32_t x = 0;
  for (int32_t i = l.start; i < end; ++i) x += advanceAt(text[static_cast<size_t>(i)], x);
  return x;
}

int32_t EditLayout::indexAtX(EditTextView text, int32_t lineIndex, int32_t x) const {
  const EditLine& l = line(lineIndex);
  int32_t pen = 0;
  for (int32_t i = l.start; i < l.start + l.length; ++i) {
    int32_t w = advanceAt(text[static_cast<size_t>(i)], pen);
    if (x < pen + (w + 1) / 2) return i;
    pen += w;
  }
  return l.start + l.length;
}

int32_t EditLayout::lineEndForCaret(EditTextView text, int32_t lineIndex) const {
  const EditLine& l = line(lineIndex);
  int32_t end = l.start + l.length;
  if (l.soft && l.length > 0 && isBlank(text[static_cast<size_t>(end - 1)])) --end;
  return end;
}

int32_t EditLayout::maxWidth() const {
  int32_t w = 0;
  for (const auto& l : lines_) w = std::max(w, l.width);
  return w;
}

void EditLayout::advances(EditTextView text, int32_t lineIndex, std::vector<int32_t>& out) const {
  const EditLine& l = line(lineIndex);
  out.clear();
  int32_t x = 0;
  for (int32_t i = l.start; i < l.start + l.length; ++i) {
    int32_t w = advanceAt(text[static_cast<size_t>(i)], x);
    out.push_back(w);
    x += w;
  }
}

int32_t EditLayout::advancesBetween(EditTextView text, int32_t lineIndex, int32_t left, int32_t right,
                                    int32_t& from, int32_t& to, std::vector<int32_t>& out) const {
  const EditLine& l = line(lineIndex);
  const int32_t end = l.start + l.length;
  out.clear();
  int32_t x = 0, i = l.start;
  // Up to the first character that ends past `left`.
  for (; i < end; ++i) {
    const int32_t w = advanceAt(text[static_cast<size_t>(i)], x);
    if (int64_t{x} + w > left) break;
    x += w;
  }
  from = i;
  const int32_t fromX = x;
  for (; i < end && x <= right; ++i) {
    const int32_t w = advanceAt(text[static_cast<size_t>(i)], x);
    out.push_back(w);
    x += w;
  }
  to = i;
  return fromX;
}

}  // namespace zxp::ui
