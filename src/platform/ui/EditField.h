// The object behind one edit field window (internal to Edit.cpp and EditView.cpp): the text,
// the selection, the undo record, the font and the view (formatting rectangle, layout, scroll
// position). Edit.cpp handles messages and editing, EditView.cpp geometry, scrolling and
// painting.
#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/gfx/FontEngine.h"
#include "platform/ui/Edit.h"
#include "platform/ui/EditLayout.h"
#include "platform/ui/EditText.h"

namespace zxp::ui {

class EditField {
 public:
  explicit EditField(HWND hwnd) : hwnd_(hwnd) {}
  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);

  std::string selectedText() const { return utf8(selMin(), selMax()); }

  bool dead = false;  // the window went while a notification was out
  EditHooks hooks;

 private:
  // One level of undo: the text now holds `inserted` characters at pos where `removed` was.
  struct Undo {
    bool valid = false;
    int32_t pos = 0;
    int32_t inserted = 0;
    std::u32string removed;
  };
  enum class Edit { Type, Backspace, Delete, Other };

  // ---- Style ----
  DWORD style() const;
  bool multiline() const { return (style() & ES_MULTILINE) != 0; }
  bool readOnly() const { return (style() & ES_READONLY) != 0; }
  bool wraps() const { return multiline() && !(style() & ES_AUTOHSCROLL); }
  bool password() const { return !multiline() && (style() & ES_PASSWORD) && passwordChar_ != 0; }
  bool focused() const;
  int32_t length() const { return static_cast<int32_t>(text_.size()); }
  int32_t selMin() const { return std::min(anchor_, caret_); }
  int32_t selMax() const { return std::max(anchor_, caret_); }

  // ---- Editing (Edit.cpp) ----
  LRESULT onKeyDown(int vk);
  LRESULT onChar(uint32_t code);
  void onMouse(UINT msg, WPARAM keys, LPARAM pos);
  void setText(EditText text);
  // Replaces the selection with s as the user or EM_REPLACESEL does: case styles, the length
  // limit and the rectangle apply. Returns false when nothing changed.
  bool replaceSelection(std::u32string s, Edit kind, bool canUndo, bool byUser);
  // Removes [from, to) as the user does.
  bool removeRange(int32_t from, int32_t to, Edit kind);
  bool undo();
  void copy();
  void paste();
  void select(int32_t anchor, int32_t caret, bool byUser);
  void moveCaret(int32_t pos, bool extend);
  void moveVertically(int32_t lines, bool extend);
  int32_t prevPos(int32_t i) const;
  int32_t nextPos(int32_t i) const;
  int32_t wordLeft(int32_t i) const;
  int32_t wordRight(int32_t i) const;
  void selectWordAt(int32_t i);
  std::u32string applyCase(std::u32string s) const;
  EditText applyCase(EditText s) const;
  // The text change itself, with the layout kept up to date.
  void replaceText(int32_t from, int32_t to, std::u32string_view s);
  // After a change: modified flag, view, caret, repaint, EN_UPDATE and EN_CHANGE. False when the
  // field died meanwhile.
  bool finishChange(bool byUser);
  bool notify(WORD code);
  std::string utf8(int32_t from, int32_t to) const;

  // ---- View (EditView.cpp) ----
  void setFont(HFONT font);
  // Resolves the font handle (a deleted one falls back to the system font) and lays out again
  // when it changed. Returns the handle to select for drawing.
  HFONT liveFont();
  void refreshMetrics();
  void resetRect();
  void relayout();
  bool fits() const;
  int32_t visibleLines() const;
  int32_t lineOffset(int32_t line) const;
  int32_t contentWidth() const;
  Point posOf(int32_t index) const;
  int32_t charAt(Point p) const;
  // Keeps the scroll position within range; returns true when it moved.
  bool clampScroll();
  // Scrolls so that the caret is in view; sets the flags for what moved.
  void scrollCaretIntoView(bool* vertical, bool* horizontal);
  // Scrolls the view by lines and pixels; returns the lines actually scrolled.
  int32_t scrollBy(int32_t lines, int32_t pixels, bool byUser);
  void placeCaret();
  void invalidate();
  // Repaints only lines [from, to) (to < 0: down to the bottom), or the lines holding [a, b).
  void invalidateLines(int32_t from, int32_t to);
  void invalidateSelection(int32_t a, int32_t b);
  void paint();
  // Paints the field; only lines meeting `area` (the paint rectangle) are drawn.
  void render(HDC dc, const Rect& area);
  void drawLine(HDC dc, int32_t line, int32_t y, COLORREF fg, bool showSel, const Rect& area);
  void setMargins(WPARAM which, int left, int right);

  HWND hwnd_;
  EditText text_;
  int32_t anchor_ = 0;
  int32_t caret_ = 0;
  int32_t limit_ = kEditDefaultLimit;
  bool modified_ = false;
  Undo undo_;
  Edit lastEdit_ = Edit::Other;  // typing runs merge into one undo record
  bool dragging_ = false;
  int32_t goalX_ = -1;  // the x that vertical moves aim for

  HFONT font_ = 0;
  std::shared_ptr<gfx::FontInstance> inst_;
  int32_t lineHeight_ = 16;
  int32_t aveWidth_ = 7;
  int32_t marginLeft_ = 1;
  int32_t marginRight_ = 1;
  char32_t passwordChar_ = U'*';
  Rect rect_;  // the formatting rectangle, client coordinates
  // The lines, laid out on first use after the text or what they are laid out with changed: a
  // field given a text of megabytes before it has its size lays the text out once, at the size
  // it shows it, rather than at every step of its creation.
  const EditLayout& laidOut() const;
  EditLayout& laidOut();
  mutable EditLayout layout_;
  mutable bool layoutStale_ = false;
  // What the lines were last laid out with (relayout() skips the work when that is unchanged).
  struct LayoutKey {
    bool wrap, lineBreaks;
    int32_t width, tabWidth;
    std::shared_ptr<gfx::FontInstance> font;  // held, so no later font can take its address
    bool password;
    char32_t passwordChar;
    bool operator==(const LayoutKey&) const = default;
  };
  std::optional<LayoutKey> laidOutWith_;
  EditLayoutChange changed_;  // the lines the pending change laid out anew
  bool changePending_ = false;
  int32_t firstLine_ = 0;
  int32_t xOffset_ = 0;  // pixels scrolled to the left
};

}  // namespace zxp::ui
