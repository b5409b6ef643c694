// The list control's in-place editors: a text box, date picker or spin box of the same form
// bound to columns, moved over the clicked cell, filled with its text and focused; Enter or the
// focus leaving the editor commits the editor's value into the cell, Escape closes it without
// writing.
//
// An editor's focus sits in a window inside it (the text box's and spin box's edit field, the
// date picker's field), so losing the focus is seen on whichever of its windows had it: while an
// editor is open, a thread hook on sent messages watches WM_KILLFOCUS after the window has
// handled it (the editor has taken in its field's text by then). When the focus went to a window
// outside the editor the list posts itself a check and commits if the focus is still outside
// when it arrives (activating a top-level window passes the focus through it on the way); a
// press on the list itself commits at once, before the press is handled.
#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "dates/ZorvaXPDPicker.h"
#include "foundation/FormLookup.h"
#include "list/ZorvaXPListBox.h"
#include "platform/base/HostError.h"
#include "platform/host/Form.h"
#include "platform/host/runtime/DateParse.h"
#include "platform/host/runtime/Format.h"
#include "platform/ui/Messages.h"
#include "platform/ui/User.h"
#include "range/ZorvaXPSpin.h"
#include "text/ZorvaXPTextBox.h"

namespace zxp::list {

namespace {

constexpr int32_t kTwips = 15;
constexpr int32_t errObjectRequired = 424;
constexpr int32_t errTypeMismatch = 13;

// The lists with an open editor, and the hook that watches the focus while there are any.
std::vector<ZorvaXPListBox*>& editingLists() {
  static std::vector<ZorvaXPListBox*> lists;
  return lists;
}
HHOOK focusHook = 0;

// A cell's date as the date picker writes it: three numbers in the order of the picker's
// FormatDate ("dd-mm-yyyy" reads day, month, year), so opening and committing a cell keeps its
// date; any other text goes through the host's date parser.
std::optional<host::Date> cellDate(const std::string& text, const std::string& format) {
  std::vector<int> numbers;
  std::string digits;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      digits += text[i];
    } else if (!digits.empty()) {
      if (digits.size() > 4) return host::parseDate(text);
      numbers.push_back(std::stoi(digits));
      digits.clear();
    }
  }
  std::string order;
  for (char ch : format) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if ((c == 'd' || c == 'm' || c == 'y') && order.find(c) == std::string::npos) order += c;
  }
  if (numbers.size() == 3 && order.size() == 3) {
    int d = 0, m = 0, y = 0;
    for (size_t i = 0; i < 3; ++i) (order[i] == 'd' ? d : order[i] == 'm' ? m : y) = numbers[i];
    if (y < 100) y += y < 30 ? 2000 : 1900;
    if (auto date = host::makeDate(y, m, d)) return date;
  }
  return host::parseDate(text);
}

bool isEditor(host::Extender& e) {
  host::ControlObject& o = e.object();
  return dynamic_cast<text::ZorvaXPTextBox*>(&o) || dynamic_cast<dates::ZorvaXPDPicker*>(&o) ||
         dynamic_cast<range::ZorvaXPSpin*>(&o);
}

}  // namespace

LRESULT ZorvaXPListBox::editorFocusHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (m->message == WM_KILLFOCUS) {
      const std::vector<ZorvaXPListBox*> lists = editingLists();  // a commit changes the list
      for (ZorvaXPListBox* l : lists) {
        const auto& now = editingLists();
        if (std::find(now.begin(), now.end(), l) != now.end())
          l->editorFocusLeft(m->hwnd, static_cast<HWND>(m->wParam));
      }
    }
  }
  return CallNextHookEx(focusHook, code, wParam, lParam);
}

void ZorvaXPListBox::watchEditorFocus(bool on) {
  auto& lists = editingLists();
  const auto it = std::find(lists.begin(), lists.end(), this);
  if (on && it == lists.end()) lists.push_back(this);
  if (!on && it != lists.end()) lists.erase(it);
  if (!lists.empty() && !focusHook)
    focusHook = SetWindowsHookExA(WH_CALLWNDPROCRET, &ZorvaXPListBox::editorFocusHook, 0, GetCurrentThreadId());
  if (lists.empty() && focusHook) {
    UnhookWindowsHookEx(focusHook);
    focusHook = 0;
  }
}

bool ZorvaXPListBox::editorHas(HWND h) const {
  if (!editing_ || h == 0) return false;
  // The editor's windows: its own and its children, and a date picker's calendar, which drops
  // down as a window of its own (a click on a day passes through it).
  HWND roots[2] = {editing_->object().hWnd(), 0};
  if (auto* d = dynamic_cast<dates::ZorvaXPDPicker*>(&editing_->object())) roots[1] = d->calendar().hWnd();
  for (HWND r : roots)
    if (r != 0 && (h == r || IsChild(r, h))) return true;
  return false;
}

void ZorvaXPListBox::editorFocusLeft(HWND losing, HWND gaining) {
  // The focus may pass through another window on its way (a top-level window being activated
  // takes it first), so the list looks again once the focus change is over.
  if (!editing_ || focusCheckPosted_ || !editorHas(losing) || editorHas(gaining)) return;
  focusCheckPosted_ = PostMessageA(hWnd(), kEditorFocusCheck, 0, 0) != FALSE;
}

void ZorvaXPListBox::commitIfFocusLeft() {
  if (editing_ && !editorHas(GetFocus())) closeEditors(true, false);
}

host::Extender* ZorvaXPListBox::boundEditor(int32_t column) const {
  if (column < 1 || column > static_cast<int32_t>(editors_.size())) return nullptr;
  return editors_[static_cast<size_t>(column - 1)].editor;
}

void ZorvaXPListBox::BindObject(host::Variant objBind, int32_t iFirstColumnIndex, int32_t iCountOfColumns) {
  if (objBind.kind() != host::Variant::Kind::String) throw HostError(errTypeMismatch);
  host::Extender* editor = foundation::controlOnForm(*this, objBind.toString());
  if (!editor || !isEditor(*editor)) throw HostError(errObjectRequired);
  const int32_t columns = std::max(1, data_.ColumnsCount());
  const int32_t first = std::max(1, iFirstColumnIndex);
  const int32_t last = std::min(columns, first + std::max(1, iCountOfColumns) - 1);
  for (int32_t c = first; c <= last; ++c) bindEditor(*editor, c);
  editor->setVisible(false);
}

void ZorvaXPListBox::BindObjectArray(host::Variant objBinds) {
  const std::string names = objBinds.toString();
  int32_t column = 1;
  size_t start = 0;
  while (start <= names.size()) {
    size_t comma = names.find(',', start);
    if (comma == std::string::npos) comma = names.size();
    std::string name = names.substr(start, comma - start);
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    if (!name.empty()) BindObject(host::Variant(name), column, 1);
    ++column;
    start = comma + 1;
  }
}

void ZorvaXPListBox::UnBindObject(int32_t iColumnIndex) {
  if (iColumnIndex < 1 || iColumnIndex > static_cast<int32_t>(editors_.size())) return;
  EditorBinding& b = editors_[static_cast<size_t>(iColumnIndex - 1)];
  if (editing_ && editing_ == b.editor) closeEditors(false);
  for (auto& [event, connection] : b.connections) event->disconnect(connection);
  b = EditorBinding{};
}

void ZorvaXPListBox::bindEditor(host::Extender& editor, int32_t column) {
  if (static_cast<int32_t>(editors_.size()) < column) editors_.resize(static_cast<size_t>(column));
  UnBindObject(column);
  EditorBinding& b = editors_[static_cast<size_t>(column - 1)];
  b.editor = &editor;
  host::ControlObject& o = editor.object();
  auto hook = [&](host::Event<>& e, bool commit) {
    b.connections.emplace_back(&e, e.connect([this, commit] {
      if (editing_) closeEditors(commit);
    }));
  };
  if (auto* t = dynamic_cast<text::ZorvaXPTextBox*>(&o)) {
    hook(t->OnEnter, true);
    hook(t->OnKeyEsc, false);
  } else if (auto* d = dynamic_cast<dates::ZorvaXPDPicker*>(&o)) {
    hook(d->OnEnter, true);
    hook(d->OnEscape, false);
  } else if (auto* s = dynamic_cast<range::ZorvaXPSpin*>(&o)) {
    hook(s->OnEnter, true);
    hook(s->OnKeyEsc, false);
  }
}

void ZorvaXPListBox::startEdit(int32_t row, int32_t column) {
  host::Extender* editor = boundEditor(column);
  if (!editor || row < 1 || row > data_.ListCount()) return;
  closeEditors(false);
  scrollRowIntoView(row);
  if (row < topRow_ || row > lastRow_ || rowBands_.empty()) return;
  int32_t r = row, c = column;
  std::string text = data_.TextMatrix(row, column);
  BeforeCellEdit.raise(r, c, text);
  const Band& band = rowBands_[static_cast<size_t>(row - topRow_)];
  int left = 1, right = rowAreaRight();
  if (data_.multiColumn() && column < static_cast<int32_t>(columnBands_.size())) {
    left = std::max(1, columnBands_[static_cast<size_t>(column)].left);
    right = std::min(right, columnBands_[static_cast<size_t>(column)].right);
  }
  // The editor takes the list's font and the cell's text, gets the focus, then covers the cell.
  host::ControlObject& o = editor->object();
  if (auto* t = dynamic_cast<text::ZorvaXPTextBox*>(&o)) {
    t->setFont(m_Font);
    t->setText(text);
  } else if (auto* d = dynamic_cast<dates::ZorvaXPDPicker*>(&o)) {
    if (auto date = cellDate(text, d->FormatDate())) d->setValue(*date);
  } else if (auto* s = dynamic_cast<range::ZorvaXPSpin*>(&o)) {
    s->setFont(m_Font);
    s->setValue(static_cast<int32_t>(std::atol(text.c_str())));
  }
  editing_ = editor;
  watchEditorFocus(true);
  editRow_ = row;
  editColumn_ = column;
  host::Extender* self = extender();
  const int32_t baseLeft = self ? self->Left() : 0, baseTop = self ? self->Top() : 0;
  editor->setLeft(baseLeft + left * kTwips);
  editor->setTop(baseTop + band.top * kTwips);
  editor->setWidth((right - left) * kTwips);
  editor->setHeight((band.bottom - band.top) * kTwips);
  editor->setVisible(true);
  // Over the list, whatever the form's order of the two.
  SetWindowPos(editor->object().hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetFocus(editor->object().hWnd());
  SendMessageA(editor->object().hWnd(), WM_SETFOCUS, 0, 0);
}

void ZorvaXPListBox::closeEditors(bool commit, bool refocus) {
  host::Extender* editor = editing_;
  editing_ = nullptr;
  watchEditorFocus(false);
  if (editor && commit) {
    std::string value;
    host::ControlObject& o = editor->object();
    if (auto* t = dynamic_cast<text::ZorvaXPTextBox*>(&o)) value = t->Text();
    else if (auto* d = dynamic_cast<dates::ZorvaXPDPicker*>(&o))
      value = host::Format(host::FormatValue(d->Value()), d->FormatDate());
    else if (auto* s = dynamic_cast<range::ZorvaXPSpin*>(&o)) {
      // A spin box takes typed digits in only at its next step: the number its field shows is
      // what the user sees and what the cell gets (the spin's Value follows).
      s->setValue(s->fieldNumber());
      value = std::to_string(s->Value());
    }
    data_.setTextMatrix(editRow_, editColumn_, value);
  }
  for (EditorBinding& b : editors_)
    if (b.editor) b.editor->setVisible(false);
  if (editor) {
    if (refocus && UserControl.exists()) SetFocus(hWnd());
    if (commit) RedrawList();
  }
}

void ZorvaXPListBox::releaseEditors() {
  const host::Extender* self = extender();
  const host::Form* form = self ? self->Parent() : nullptr;
  auto alive = [&](const host::Extender* e) {
    if (!form || !e) return false;
    const auto& all = form->Controls();
    return std::find(all.begin(), all.end(), e) != all.end();
  };
  for (EditorBinding& b : editors_) {
    if (alive(b.editor)) {
      for (auto& [event, connection] : b.connections) event->disconnect(connection);
      if (b.editor == editing_) b.editor->setVisible(false);
    }
    b = EditorBinding{};
  }
  editing_ = nullptr;
  watchEditorFocus(false);
}

}  // namespace zxp::list
