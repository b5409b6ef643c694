// The line layout of an edit field, apart from any window: where each line of the text starts
// and ends, its width, and the mapping between character positions and x offsets within a line.
//
// Lines end at CR LF (the two characters belong to the line they end but are not shown) or, when
// wrapping, at a soft break: after the spaces that follow the last word that fits, or between two
// characters of a word longer than the width. Spaces and tabs never push a line over the width;
// they hang past it. Tabs advance to the next multiple of the tab width from the line's start.
//
// Editing re-lays out incrementally: from the line before the change to the first line whose
// start coincides with a line start of the old layout past the change. Everything after that is
// known to be laid out as before (a greedy line break depends only on the text from its line's
// start), so it is only shifted. Typing into a long text costs a line or two, not the text.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/ui/EditText.h"

namespace zxp::ui {

struct EditLine {
  int32_t start = 0;        // first character
  int32_t length = 0;       // characters shown (the CR LF excluded)
  int32_t breakLength = 0;  // 2 after a CR LF, 0 at a soft break or at the end of the text
  int32_t width = 0;        // pixels; at a soft break without the hanging spaces
  bool soft = false;        // ends at a soft break (the next line continues the paragraph)
  int32_t next() const { return start + length + breakLength; }
};

// The lines an update laid out anew: [first, end) of the new layout. When the line count changed,
// every line after them moved too.
struct EditLayoutChange {
  int32_t first = 0;
  int32_t end = 0;
  bool countChanged = false;
};

class EditLayout {
 public:
  EditLayout();
  using Advance = std::function<int32_t(char32_t)>;
  struct Params {
    bool wrap = false;
    bool lineBreaks = true; // CR LF ends a line (multi-line fields); false: one line (single-line)
    int32_t width = 0;      // wrapping width in pixels
    int32_t tabWidth = 32;  // pixels between tab stops (at least 1)
    Advance advance;        // the advance of one character in pixels
  };

  void setParams(Params p);
  const Params& params() const { return p_; }

  // Lays out the whole text.
  void rebuild(EditTextView text);
  // The text now holds `inserted` characters at pos where `removed` characters were before.
  EditLayoutChange update(EditTextView text, int32_t pos, int32_t removed, int32_t inserted);

  int32_t lineCount() const { return static_cast<int32_t>(lines_.size()); }
  const EditLine& line(int32_t i) const { return lines_[static_cast<size_t>(i)]; }
  // The line showing the character position (a position at a soft break starts the next line;
  // positions past the end give the last line).
  int32_t lineFromChar(int32_t index) const;
  // The x offset of a position from its line's start (positions are clamped to the line).
  int32_t xOf(EditTextView text, int32_t lineIndex, int32_t index) const;
  // The position on a line nearest to an x offset from the line's start.
  int32_t indexAtX(EditTextView text, int32_t lineIndex, int32_t x) const;
  // The last position the caret may take on a line: its end, or before the hanging space of a
  // soft break (the end itself would show at the start of the next line).
  int32_t lineEndForCaret(EditTextView text, int32_t lineIndex) const;
  // The widest line.
  int32_t maxWidth() const;
  // The advance of each character shown on a line (tabs expanded), for drawing.
  void advances(EditTextView text, int32_t lineIndex, std::vector<int32_t>& out) const;
  // The same for the characters of a line that reach from x offset `left` to `right` (offsets
  // from the line's start): [from, to), their advances in out, and the x offset of `from`. The
  // characters before them are measured, those after them not read, so drawing a window onto a
  // long line costs the line up to the window, not the whole line.
  int32_t advancesBetween(EditTextView text, int32_t lineIndex, int32_t left, int32_t right, int32_t& from,
                          int32_t& to, std::vector<int32_t>& out) const;

 private:
  // The character's advance at pen position x (tabs go to the next stop).
  int32_t advanceAt(char32_t c, int32_t x) const;
  // Lays out the one line starting at `start`.
  EditLine layLine(EditTextView text, int32_t start) const;
  template <class Char>
  EditLine layLineIn(const Char* text, int32_t n, int32_t start) const;

  Params p_;
  // Advances of the ASCII characters, looked up on first use (-1): a long text is laid out
  // without a call through the advance function per character.
  mutable int32_t ascii_[128];
  std::vector<EditLine> lines_{EditLine{}};
};

}  // namespace zxp::ui
