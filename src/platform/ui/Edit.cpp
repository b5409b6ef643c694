// The edit field's window procedure, its messages and the editing itself (text changes, undo,
// selection, keys, mouse, clipboard). Geometry, scrolling and painting are in EditView.cpp.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/base/CodePage.h"
#include "platform/gfx/TextLayout.h"
#include "platform/ui/Caret.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/EditField.h"

namespace zxp::ui {

namespace {

std::unordered_map<HWND, std::shared_ptr<EditField>>& fields() {
  static std::unordered_map<HWND, std::shared_ptr<EditField>> map;
  return map;
}

std::shared_ptr<EditField> fieldOf(HWND hwnd) {
  auto it = fields().find(hwnd);
  return it == fields().end() ? nullptr : it->second;
}

LRESULT editProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  std::shared_ptr<EditField> f = fieldOf(hwnd);  // keeps the field alive through this message
  if (!f) {
    if (msg != WM_NCCREATE) return DefWindowProcA(hwnd, msg, wParam, lParam);
    f = std::make_shared<EditField>(hwnd);
    fields()[hwnd] = f;
  }
  LRESULT r = f->handle(msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    f->dead = true;
    fields().erase(hwnd);
  }
  return r;
}

bool isBlank(char32_t c) { return c == U' ' || c == U'\t'; }
bool isBreak(char32_t c) { return c == U'\r' || c == U'\n'; }

std::u32string decode(const char* s) { return s ? gfx::decodeUtf8(s) : std::u32string(); }

EditText fromUtf8(const char* s) {
  EditText t;
  if (s) t.assignUtf8(s);
  return t;
}

// WM_CHAR codes up to 0xFF are Windows-1252 bytes; larger ones are code points.
char32_t charFromCode(uint32_t code) {
  return code <= 0xFF ? fromCp1252(static_cast<unsigned char>(code)) : static_cast<char32_t>(code);
}

bool keyDown(int vk) { return (GetKeyState(vk) & 0x8000) != 0; }

}  // namespace

void registerEditClass() {
  WNDCLASSA wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = editProc;
  wc.hCursor = LoadCursorA(0, IDC_IBEAM);
  wc.lpszClassName = WC_EDITA;
  RegisterClassA(&wc);
}

DWORD EditField::style() const { return static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)); }

bool EditField::focused() const { return GetFocus() == hwnd_; }

std::string EditField::utf8(int32_t from, int32_t to) const {
  from = std::clamp(from, 0, length());
  to = std::clamp(to, from, length());
  return text_.utf8(static_cast<size_t>(from), static_cast<size_t>(to - from));
}

bool EditField::notify(WORD code) {
  HWND parent = GetParent(hwnd_);
  if (parent) {
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetWindowLongA(hwnd_, GWL_ID), code), static_cast<LPARAM>(hwnd_));
  }
  if (dead) return false;
  if (hooks.notify) {
    auto hook = hooks.notify;  // the hook may replace the hooks
    hook(code);
  }
  return !dead;
}

// ---- Messages ---------------------------------------------------------------------------------

LRESULT EditField::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NCCREATE:
      setFont(0);
      return DefWindowProcA(hwnd_, msg, wParam, lParam);
    case WM_CREATE: {
      auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      resetRect();
      text_ = applyCase(fromUtf8(cs ? cs->lpszName : nullptr));
      laidOutWith_.reset();  // a new text: laid out whatever the parameters
      relayout();
      invalidate();
      return 0;
    }
    case WM_DESTROY:
      if (caretInfo().owner == hwnd_) DestroyCaret();
      return 0;
    case WM_SIZE:
      resetRect();
      relayout();
      scrollCaretIntoView(nullptr, nullptr);
      placeCaret();
      invalidate();
      return 0;
    case WM_STYLECHANGED:
      relayout();
      invalidate();
      return 0;
    case WM_ENABLE:
      invalidate();
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills the whole client area
    case WM_PAINT:
      paint();
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | (multiline() ? DLGC_WANTALLKEYS : 0);

    case WM_SETTEXT:
      setText(applyCase(fromUtf8(reinterpret_cast<const char*>(lParam))));
      return TRUE;
    case WM_GETTEXT: {
      // Encoded straight into the caller's buffer, whole characters only: a field of megabytes
      // is not encoded into a string first.
      auto* buf = reinterpret_cast<char*>(lParam);
      if (!buf || wParam == 0) return 0;
      const size_t n = text_.copyUtf8(buf, static_cast<size_t>(wParam) - 1);
      buf[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: {
      return static_cast<LRESULT>(text_.utf8Size());
    }
    case WM_SETFONT:
      setFont(static_cast<HFONT>(wParam));
      if (focused()) {  // the caret takes the new line height
        DestroyCaret();
        CreateCaret(hwnd_, 0, 1, lineHeight_);
        placeCaret();
        ShowCaret(hwnd_);
      }
      if (lParam) invalidate();
      return 0;
    case WM_GETFONT:
      return static_cast<LRESULT>(font_);

    case WM_SETFOCUS:
      CreateCaret(hwnd_, 0, 1, lineHeight_);
      placeCaret();
      ShowCaret(hwnd_);
      invalidate();
      notify(EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (caretInfo().owner == hwnd_) DestroyCaret();
      if (dragging_) ReleaseCapture();
      invalidate();
      notify(EN_KILLFOCUS);
      return 0;

    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR: {
      if (hooks.key) {
        auto hook = hooks.key;
        hook(msg, wParam, lParam);
        if (dead || wParam == 0) return 0;
      }
      if (msg == WM_KEYDOWN) return onKeyDown(static_cast<int>(wParam));
      if (msg == WM_CHAR) return onChar(static_cast<uint32_t>(wParam));
      return 0;
    }

    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
      onMouse(msg, wParam, lParam);
      if (!dead && hooks.mouse) {
        auto hook = hooks.mouse;
        hook(msg, wParam, lParam);
      }
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;

    case WM_CUT:
      if (!readOnly() && !password()) {
        copy();
        removeRange(selMin(), selMax(), Edit::Other);
      }
      return 0;
    case WM_COPY:
      copy();
      return 0;
    case WM_PASTE:
      paste();
      return 0;
    case WM_CLEAR:
      if (!readOnly()) removeRange(selMin(), selMax(), Edit::Other);
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      return undo() ? TRUE : FALSE;
    case EM_CANUNDO:
      return undo_.valid ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
      undo_ = Undo{};
      return 0;

    case EM_GETSEL: {
      if (auto* s = reinterpret_cast<DWORD*>(wParam)) *s = static_cast<DWORD>(selMin());
      if (auto* e = reinterpret_cast<DWORD*>(lParam)) *e = static_cast<DWORD>(selMax());
      auto half = [](int32_t v) { return v > 0xFFFF ? 0xFFFF : v; };
      return MAKELRESULT(half(selMin()), half(selMax()));
    }
    case EM_SETSEL: {
      auto a = static_cast<int32_t>(wParam), c = static_cast<int32_t>(lParam);
      if (a == -1) {
        select(caret_, caret_, false);
      } else {
        if (c < 0 || c > length()) c = length();
        select(std::clamp(a, 0, length()), c, false);
      }
      return 0;
    }
    case EM_REPLACESEL:
      replaceSelection(applyCase(decode(reinterpret_cast<const char*>(lParam))), Edit::Other, wParam != 0, false);
      return 0;
    case EM_GETMODIFY:
      return modified_ ? TRUE : FALSE;
    case EM_SETMODIFY:
      modified_ = wParam != 0;
      return 0;
    case EM_LIMITTEXT:
      limit_ = wParam == 0 ? kEditMaxLimit : static_cast<int32_t>(std::min<WPARAM>(wParam, kEditMaxLimit));
      return 0;
    case EM_GETLIMITTEXT:
      return limit_;
    case EM_SETREADONLY: {
      DWORD s = style();
      SetWindowLongA(hwnd_, GWL_STYLE, static_cast<LONG>(wParam ? (s | ES_READONLY) : (s & ~ES_READONLY)));
      invalidate();
      return TRUE;
    }
    case EM_SETPASSWORDCHAR:
      passwordChar_ = charFromCode(static_cast<uint32_t>(wParam));
      if (wParam == 0) passwordChar_ = 0;
      relayout();
      invalidate();
      return 0;
    case EM_GETPASSWORDCHAR:
      return passwordChar_ ? static_cast<LRESULT>(toCp1252(passwordChar_) & 0xFF) : 0;

    case EM_GETLINECOUNT:
      return laidOut().lineCount();
    case EM_LINEINDEX: {
      auto line = static_cast<int32_t>(wParam);
      if (line == -1) line = laidOut().lineFromChar(caret_);
      if (line < 0 || line >= laidOut().lineCount()) return -1;
      return laidOut().line(line).start;
    }
    case EM_LINELENGTH: {
      auto index = static_cast<int32_t>(wParam);
      if (index == -1) {  // the unselected characters on the lines that hold the selection
        const EditLine& a = laidOut().line(laidOut().lineFromChar(selMin()));
        const EditLine& b = laidOut().line(laidOut().lineFromChar(selMax()));
        return (selMin() - a.start) + std::max(0, b.start + b.length - selMax());
      }
      return laidOut().line(laidOut().lineFromChar(std::clamp(index, 0, length()))).length;
    }
    case EM_LINEFROMCHAR: {
      auto index = static_cast<int32_t>(wParam);
      if (index == -1) index = anchor_ != caret_ ? selMin() : caret_;
      return laidOut().lineFromChar(std::clamp(index, 0, length()));
    }
    case EM_GETLINE: {
      auto* buf = reinterpret_cast<char*>(lParam);
      auto line = multiline() ? static_cast<int32_t>(wParam) : 0;
      if (!buf || line < 0 || line >= laidOut().lineCount()) return 0;
      WORD size = 0;
      std::memcpy(&size, buf, sizeof size);
      const EditLine& l = laidOut().line(line);
      std::string s = utf8(l.start, l.start + l.length);
      size_t n = std::min<size_t>(s.size(), size);
      while (n > 0 && n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
      std::memcpy(buf, s.data(), n);  // not terminated, as on the platform
      return static_cast<LRESULT>(n);
    }
    case EM_GETFIRSTVISIBLELINE:
      if (multiline()) return firstLine_;
      return laidOut().indexAtX(text_, 0, xOffset_);
    case EM_LINESCROLL:
      if (!multiline()) return FALSE;
      scrollBy(static_cast<int32_t>(lParam), static_cast<int32_t>(wParam) * aveWidth_, false);
      return TRUE;
    case EM_SCROLL: {
      if (!multiline()) return FALSE;
      int32_t page = std::max(1, visibleLines() - 1);
      int32_t lines = 0;
      switch (LOWORD(wParam)) {
        case SB_LINEUP: lines = -1; break;
        case SB_LINEDOWN: lines = 1; break;
        case SB_PAGEUP: lines = -page; break;
        case SB_PAGEDOWN: lines = page; break;
        default: return FALSE;
      }
      return MAKELRESULT(scrollBy(lines, 0, false), TRUE);
    }
    case WM_VSCROLL:
      if (LOWORD(wParam) == SB_THUMBPOSITION || LOWORD(wParam) == SB_THUMBTRACK) {
        scrollBy(static_cast<SHORT>(HIWORD(wParam)) - firstLine_, 0, false);
      } else if (LOWORD(wParam) <= SB_PAGEDOWN) {
        handle(EM_SCROLL, LOWORD(wParam), 0);
      }
      return 0;
    case EM_SCROLLCARET:
      scrollCaretIntoView(nullptr, nullptr);
      placeCaret();
      invalidate();
      return TRUE;
    case EM_GETRECT:
      if (auto* r = reinterpret_cast<RECT*>(lParam)) *r = rect_;
      return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
      if (auto* r = reinterpret_cast<const RECT*>(lParam)) rect_ = r->normalized();
      else resetRect();
      relayout();
      placeCaret();
      if (msg == EM_SETRECT) invalidate();
      return 0;
    case EM_SETMARGINS:
      setMargins(wParam, LOWORD(static_cast<uintptr_t>(lParam)), HIWORD(static_cast<uintptr_t>(lParam)));
      return 0;
    case EM_GETMARGINS:
      return MAKELRESULT(marginLeft_, marginRight_);
    case EM_POSFROMCHAR: {
      auto index = static_cast<int32_t>(wParam);
      if (index < 0 || index >= length()) return -1;
      Point p = posOf(index);
      return MAKELRESULT(p.x, p.y);
    }
    case EM_CHARFROMPOS: {
      Point p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      int32_t index = charAt(p);
      return MAKELRESULT(std::min(index, 0xFFFF), std::min(laidOut().lineFromChar(index), 0xFFFF));
    }
    default:
      return DefWindowProcA(hwnd_, msg, wParam, lParam);
  }
}

// ---- Text changes -----------------------------------------------------------------------------

std::u32string EditField::applyCase(std::u32string s) const {
  DWORD st = style();
  if (!(st & (ES_UPPERCASE | ES_LOWERCASE))) return s;
  std::string u = gfx::encodeUtf8(s);
  return gfx::decodeUtf8((st & ES_UPPERCASE) ? upperCaseText(u) : lowerCaseText(u));
}

EditText EditField::applyCase(EditText s) const {
  DWORD st = style();
  if (!(st & (ES_UPPERCASE | ES_LOWERCASE))) return s;
  const std::string u = s.utf8(0, s.size());
  s.assignUtf8((st & ES_UPPERCASE) ? upperCaseText(u) : lowerCaseText(u));
  return s;
}

void EditField::replaceText(int32_t from, int32_t to, std::u32string_view s) {
  if (layoutStale_) {
    // Not laid out since the text or the rectangle changed: laid out whole on first use, and
    // the whole field repaints.
    text_.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), s);
    changed_ = EditLayoutChange{0, 0, true};
    changePending_ = false;
    return;
  }
  text_.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), s);
  EditLayoutChange c = layout_.update(text_, from, to - from, static_cast<int32_t>(s.size()));
  if (changePending_) {
    c.first = std::min(c.first, changed_.first);
    c.end = std::max(c.end, changed_.end);
    c.countChanged = c.countChanged || changed_.countChanged;
  }
  changed_ = c;
  changePending_ = true;
}

void EditField::setText(EditText text) {
  bool same = text == text_;
  text_ = std::move(text);
  layoutStale_ = true;
  anchor_ = caret_ = 0;
  firstLine_ = 0;
  xOffset_ = 0;
  goalX_ = -1;
  undo_ = Undo{};
  lastEdit_ = Edit::Other;
  modified_ = false;
  placeCaret();
  invalidate();
  if (same) return;
  if (notify(EN_UPDATE)) notify(EN_CHANGE);
}

bool EditField::finishChange(bool byUser) {
  modified_ = true;
  goalX_ = -1;
  bool v = clampScroll(), h = false;
  bool v2 = false;
  scrollCaretIntoView(&v2, &h);
  v = v || v2;
  placeCaret();
  // Typing repaints the lines it touched; a scroll or a change of the line count more.
  if (v || h || !changePending_) invalidate();
  else invalidateLines(changed_.first, changed_.countChanged ? -1 : changed_.end);
  changePending_ = false;
  if (!notify(EN_UPDATE) || !notify(EN_CHANGE)) return false;
  if (byUser && v && multiline() && !notify(EN_VSCROLL)) return false;
  if (byUser && h && !notify(EN_HSCROLL)) return false;
  return true;
}

bool EditField::replaceSelection(std::u32string s, Edit kind, bool canUndo, bool byUser) {
  const int32_t from = selMin(), to = selMax();
  bool maxed = false;
  // The length limit cuts the insertion short (never between CR and LF).
  int64_t room = static_cast<int64_t>(limit_) - (length() - (to - from));
  if (static_cast<int64_t>(s.size()) > room) {
    s.resize(static_cast<size_t>(std::max<int64_t>(0, room)));
    if (!s.empty() && s.back() == U'\r') s.pop_back();
    maxed = true;
  }
  if (s.empty() && from == to) {
    if (maxed) notify(EN_MAXTEXT);
    return false;
  }
  std::u32string removed = text_.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
  const auto n = static_cast<int32_t>(s.size());
  replaceText(from, to, s);
  if (!fits()) {  // no automatic scrolling: text beyond the rectangle is refused
    replaceText(from, from + n, removed);
    changePending_ = false;
    notify(EN_MAXTEXT);
    return false;
  }
  anchor_ = caret_ = from + n;
  if (!canUndo) {
    undo_ = Undo{};
  } else if (kind == Edit::Type && lastEdit_ == Edit::Type && undo_.valid && from == to &&
             from == undo_.pos + undo_.inserted) {
    undo_.inserted += n;  // the typing run goes on
  } else {
    undo_ = Undo{true, from, n, std::move(removed)};
  }
  lastEdit_ = kind;
  if (!finishChange(byUser)) return true;
  if (maxed) notify(EN_MAXTEXT);
  return true;
}

bool EditField::removeRange(int32_t from, int32_t to, Edit kind) {
  if (from >= to) return false;
  std::u32string removed = text_.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
  const int32_t n = to - from;
  bool run = lastEdit_ != Edit::Other && undo_.valid;
  if (kind == Edit::Backspace && run && undo_.inserted >= n && to == undo_.pos + undo_.inserted) {
    undo_.inserted -= n;  // erasing what the run typed
  } else if (kind == Edit::Backspace && run && undo_.inserted == 0 && to == undo_.pos) {
    undo_.pos = from;
    undo_.removed.insert(0, removed);
  } else if (kind == Edit::Delete && run && from == undo_.pos + undo_.inserted) {
    undo_.removed += removed;
  } else {
    undo_ = Undo{true, from, 0, std::move(removed)};
  }
  replaceText(from, to, U"");
  anchor_ = caret_ = from;
  lastEdit_ = kind == Edit::Other ? Edit::Other : Edit::Type;
  finishChange(true);
  return true;
}

bool EditField::undo() {
  if (!undo_.valid || readOnly()) return false;
  const int32_t from = undo_.pos, to = from + undo_.inserted;
  std::u32string current = text_.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
  std::u32string back = std::move(undo_.removed);
  replaceText(from, to, back);
  undo_ = Undo{true, from, static_cast<int32_t>(back.size()), std::move(current)};  // undoing again redoes
  anchor_ = from;
  caret_ = from + static_cast<int32_t>(back.size());
  lastEdit_ = Edit::Other;
  finishChange(false);
  return true;
}

void EditField::copy() {
  if (anchor_ == caret_ || password()) return;
  setClipboardText(utf8(selMin(), selMax()));
}

void EditField::paste() {
  if (readOnly()) return;
  auto t = clipboardText();
  if (!t) return;
  std::u32string s = gfx::decodeUtf8(*t);
  if (!multiline()) {  // a single line takes the clipboard's first line
    auto cut = std::find_if(s.begin(), s.end(), isBreak);
    s.erase(cut, s.end());
  }
  replaceSelection(applyCase(std::move(s)), Edit::Other, true, true);
}

// ---- Selection and caret movement -------------------------------------------------------------

void EditField::select(int32_t anchor, int32_t caret, bool byUser) {
  const int32_t oldMin = selMin(), oldMax = selMax();
  anchor_ = std::clamp(anchor, 0, length());
  caret_ = std::clamp(caret, 0, length());
  lastEdit_ = Edit::Other;
  bool v = false, h = false;
  scrollCaretIntoView(&v, &h);
  placeCaret();
  if (v || h) {
    invalidate();
  } else {  // only the lines whose highlight changes
    invalidateSelection(oldMin, oldMax);
    invalidateSelection(selMin(), selMax());
  }
  if (byUser && v && multiline() && !notify(EN_VSCROLL)) return;
  if (byUser && h) notify(EN_HSCROLL);
}

void EditField::moveCaret(int32_t pos, bool extend) {
  goalX_ = -1;
  select(extend ? anchor_ : pos, pos, true);
}

void EditField::moveVertically(int32_t lines, bool extend) {
  int32_t line = laidOut().lineFromChar(caret_);
  if (goalX_ < 0) goalX_ = lineOffset(line) + laidOut().xOf(text_, line, caret_);
  int32_t target = std::clamp(line + lines, 0, laidOut().lineCount() - 1);
  int32_t pos = caret_;
  if (target != line) {
    pos = std::min(laidOut().indexAtX(text_, target, goalX_ - lineOffset(target)), laidOut().lineEndForCaret(text_, target));
  }
  int32_t goal = goalX_;
  select(extend ? anchor_ : pos, pos, true);
  goalX_ = goal;
}

int32_t EditField::prevPos(int32_t i) const {
  if (i >= 2 && text_[static_cast<size_t>(i - 2)] == U'\r' && text_[static_cast<size_t>(i - 1)] == U'\n') return i - 2;
  return std::max(0, i - 1);
}

int32_t EditField::nextPos(int32_t i) const {
  if (i + 1 < length() && text_[static_cast<size_t>(i)] == U'\r' && text_[static_cast<size_t>(i + 1)] == U'\n') return i + 2;
  return std::min(length(), i + 1);
}

// Word jumps stop at the start of words; a line break counts as a word of its own.
int32_t EditField::wordLeft(int32_t i) const {
  auto at = [&](int32_t k) { return text_[static_cast<size_t>(k)]; };
  if (i > 0 && isBreak(at(i - 1))) return prevPos(i);
  while (i > 0 && isBlank(at(i - 1))) --i;
  while (i > 0 && !isBlank(at(i - 1)) && !isBreak(at(i - 1))) --i;
  return i;
}

int32_t EditField::wordRight(int32_t i) const {
  auto at = [&](int32_t k) { return text_[static_cast<size_t>(k)]; };
  const int32_t n = length();
  if (i < n && isBreak(at(i))) return nextPos(i);
  while (i < n && !isBlank(at(i)) && !isBreak(at(i))) ++i;
  while (i < n && isBlank(at(i))) ++i;
  return i;
}

// Double click: the word under the pointer and the blanks after it, or a run of blanks.
void EditField::selectWordAt(int32_t i) {
  auto at = [&](int32_t k) { return text_[static_cast<size_t>(k)]; };
  const int32_t n = length();
  if (i >= n || isBreak(at(i))) {
    if (i > 0 && !isBreak(at(i - 1))) --i;  // past the end of a line: the word before
    else return moveCaret(i, false);
  }
  int32_t a = i, b = i;
  if (isBlank(at(i))) {
    while (a > 0 && isBlank(at(a - 1))) --a;
    while (b < n && isBlank(at(b))) ++b;
  } else {
    while (a > 0 && !isBlank(at(a - 1)) && !isBreak(at(a - 1))) --a;
    while (b < n && !isBlank(at(b)) && !isBreak(at(b))) ++b;
    while (b < n && isBlank(at(b))) ++b;
  }
  goalX_ = -1;
  select(a, b, true);
}

// ---- Keys -----------------------------------------------------------------------------------

LRESULT EditField::onKeyDown(int vk) {
  const bool shift = keyDown(VK_SHIFT), ctrl = keyDown(VK_CONTROL);
  const bool sel = anchor_ != caret_;
  const int32_t line = laidOut().lineFromChar(caret_);
  switch (vk) {
    case VK_LEFT:
      if (!shift && !ctrl && sel) moveCaret(selMin(), false);
      else moveCaret(ctrl ? wordLeft(caret_) : prevPos(caret_), shift);
      break;
    case VK_RIGHT:
      if (!shift && !ctrl && sel) moveCaret(selMax(), false);
      else moveCaret(ctrl ? wordRight(caret_) : nextPos(caret_), shift);
      break;
    case VK_UP:
    case VK_DOWN:
      if (multiline()) moveVertically(vk == VK_UP ? -1 : 1, shift);
      else return onKeyDown(vk == VK_UP ? VK_LEFT : VK_RIGHT);
      break;
    case VK_PRIOR:
    case VK_NEXT:
      if (multiline()) moveVertically((vk == VK_PRIOR ? -1 : 1) * std::max(1, visibleLines() - 1), shift);
      break;
    case VK_HOME:
      moveCaret(ctrl ? 0 : laidOut().line(line).start, shift);
      break;
    case VK_END:
      moveCaret(ctrl ? length() : laidOut().lineEndForCaret(text_, line), shift);
      break;
    case VK_DELETE:
      if (shift && !ctrl) return handle(WM_CUT, 0, 0);
      if (readOnly()) break;
      if (sel) removeRange(selMin(), selMax(), Edit::Other);
      else removeRange(caret_, nextPos(caret_), Edit::Delete);
      break;
    case VK_INSERT:
      if (ctrl && !shift) copy();
      else if (shift && !ctrl) paste();
      break;
    default:
      break;
  }
  return 0;
}

LRESULT EditField::onChar(uint32_t code) {
  const char32_t ch = charFromCode(code);
  switch (ch) {
    case 0x01:  // Ctrl+A
      goalX_ = -1;
      select(0, length(), true);
      return 0;
    case 0x03:  // Ctrl+C
      copy();
      return 0;
    case 0x16:  // Ctrl+V
      paste();
      return 0;
    case 0x18:  // Ctrl+X
      return handle(WM_CUT, 0, 0);
    case 0x1A:  // Ctrl+Z
      undo();
      return 0;
    default:
      break;
  }
  if (readOnly()) return 0;
  switch (ch) {
    case 0x08:  // Backspace
      if (anchor_ != caret_) removeRange(selMin(), selMax(), Edit::Other);
      else removeRange(prevPos(caret_), caret_, Edit::Backspace);
      return 0;
    case 0x7F:  // Ctrl+Backspace: the word before the caret
      if (anchor_ != caret_) removeRange(selMin(), selMax(), Edit::Other);
      else removeRange(wordLeft(caret_), caret_, Edit::Other);
      return 0;
    case U'\r':
    case U'\n':
      if (multiline()) replaceSelection(U"\r\n", Edit::Type, true, true);
      return 0;
    case U'\t':
      if (multiline()) replaceSelection(U"\t", Edit::Type, true, true);
      return 0;
    default:
      break;
  }
  if (ch < 0x20) return 0;
  if ((style() & ES_NUMBER) && (ch < U'0' || ch > U'9')) {
    MessageBeep(0);
    return 0;
  }
  replaceSelection(applyCase(std::u32string(1, ch)), Edit::Type, true, true);
  return 0;
}

// ---- Mouse -----------------------------------------------------------------------------------

void EditField::onMouse(UINT msg, WPARAM keys, LPARAM pos) {
  const Point p{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  switch (msg) {
    case WM_LBUTTONDOWN: {
      if (!focused()) {
        SetFocus(hwnd_);
        if (dead) return;
      }
      moveCaret(charAt(p), (keys & MK_SHIFT) != 0);
      dragging_ = true;
      SetCapture(hwnd_);
      break;
    }
    case WM_MOUSEMOVE:
      if (dragging_ && (keys & MK_LBUTTON)) {
        goalX_ = -1;
        select(anchor_, charAt(p), true);
      }
      break;
    case WM_LBUTTONUP:
      if (dragging_) {
        dragging_ = false;
        ReleaseCapture();
      }
      break;
    case WM_LBUTTONDBLCLK:
      if (!focused()) {
        SetFocus(hwnd_);
        if (dead) return;
      }
      selectWordAt(charAt(p));
      break;
    case WM_MOUSEWHEEL: {
      if (!multiline()) break;
      UINT perNotch = 3;
      SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
      scrollBy(-GET_WHEEL_DELTA_WPARAM(keys) * static_cast<int32_t>(perNotch) / WHEEL_DELTA, 0, true);
      break;
    }
    default:
      break;
  }
}

}  // namespace zxp::ui

namespace zxp {

BOOL SetEditHooks(HWND edit, EditHooks hooks) {
  auto f = ui::fieldOf(edit);
  if (!f) return FALSE;
  f->hooks = std::move(hooks);
  return TRUE;
}

std::string GetEditSelText(HWND edit) {
  auto f = ui::fieldOf(edit);
  return f ? f->selectedText() : std::string();
}

}  // namespace zxp
