// The window system's headers come before the component model's, whose result codes are macros
// that would rewrite the platform's own constants of the same names.
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/NoCase.h"
#include "platform/ui/Edit.h"
#include "platform/ui/User.h"

#include "library/com/PropertyPage.h"

#include <algorithm>
#include <array>
#include <optional>
#include <atomic>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "library/com/Automation.h"
#include "library/com/DispatchObject.h"
#include "library/com/Server.h"
#include "library/com/SingleInterface.h"
#include "platform/ui/WindowClass.h"

namespace zxp::library::com {

namespace {

// Which control class each page edits.
struct PageRow {
  std::string_view page;
  std::string_view control;
};
constexpr PageRow kPages[] = {
    {"pPageImageList", "ZorvaXpImageList"}, {"pPageLabel", "ZorvaXPLabel"},   {"pPageStatusBar", "ZorvaXPStatusBar"},
    {"pPageTab", "ZorvaXPHookTab"},         {"pPageToolBar", "ZorvaXPToolBar"}, {"pPageListBox", "ZorvaXPListBox"},
};

// The collections a page edits beside the plain properties: items counted by a read-only
// property, each item's values read and written through indexed properties (index 1..count),
// added by a method that takes the new item's first text and removed by a method that takes its
// index. Our choice of columns: the item's values that a line of text holds and that a designer
// sets most (the others stay as the control keeps them).
struct CollectionRow {
  std::string_view page;
  std::string_view title;
  std::string_view count;
  std::string_view add;
  std::string_view addLabel;
  std::string_view remove;
  std::array<std::string_view, 5> columns;
  bool addNamesFirst = true;  // the add method's text is also the first column's value
};
constexpr CollectionRow kCollections[] = {
    {"pPageImageList", "Images", "ImageCount", "AddImageFromFile", "Image file", "RemoveItem", {"Key"}, false},
    {"pPageStatusBar", "Panels", "HeadersCount", "AddPanel", "Caption", "RemoveColumn",
     {"HeaderCaption", "HeaderWidth", "HeaderAlignment", "Style", "Tag"}},
    {"pPageTab", "Tabs", "TabsCount", "AddTab", "Caption", "RemoveTab",
     {"TabCaption", "AutoTabWidth", "TabWidth", "TabEnabled", "TabVisible"}},
    {"pPageToolBar", "Buttons", "HeadersCount", "AddButton", "Caption", "RemoveButton",
     {"HeaderCaption", "HeaderWidth", "ToolTip", "ButtonSeparator", "ButtonChecked"}},
    {"pPageListBox", "Columns", "ColumnsCount", "AddNewColumn", "Name", "RemoveColumn",
     {"ColumnText", "ColumnWidth", "ColumnAlignment", "ColumnStyle"}},
};

constexpr const char* kPageClass = "ZxpPropertyPage";
constexpr int kRowHeight = 24;
constexpr int kLabelWidth = 170;
constexpr int kMargin = 6;
constexpr int kNumberWidth = 26;   // an item's number, left of its fields
constexpr int kLinkWidth = 68;     // "Remove" and "Add", right of the fields
constexpr int kColumnWidth = 96;   // a collection's field
constexpr int kScrollWidth = 10;
constexpr int kFieldIdBase = 100;
constexpr HRESULT kUnexpected = static_cast<HRESULT>(0x8000FFFF);  // E_UNEXPECTED
constexpr COLORREF kLink = RGB(0, 0, 200);
constexpr COLORREF kTrack = RGB(236, 236, 240);
constexpr COLORREF kThumb = RGB(170, 176, 190);

bool plainType(host::Variant::Kind type) {
  using K = host::Variant::Kind;
  switch (type) {
    case K::Boolean:
    case K::Integer:
    case K::Long:
    case K::Single:
    case K::Double:
    case K::String:
    case K::Date: return true;
    default: return false;
  }
}

// Properties a line of text can hold.
bool editable(const host::Member& m) {
  return m.kind == host::MemberKind::Property && !m.indexed() && m.let && plainType(m.type);
}

// A put (value `text` converted by the control's member) or a method call through IDispatch,
// as any client of the control makes it. `index` 0: not indexed.
HRESULT invokeWith(IDispatch* d, DISPID id, WORD flags, std::vector<VARIANT>& args, VARIANT* result = nullptr) {
  DISPID named = DISPID_PROPERTYPUT;
  const bool put = flags == DISPATCH_PROPERTYPUT;
  DISPPARAMS p{args.data(), put ? &named : nullptr, static_cast<UINT>(args.size()), put ? 1u : 0u};
  EXCEPINFO excep{};
  const HRESULT hr = d->Invoke(id, &IID_NULL, 0, flags, &p, result, &excep, nullptr);
  for (VARIANT& v : args) VariantClear(&v);
  SysFreeString(excep.bstrSource);
  SysFreeString(excep.bstrDescription);
  SysFreeString(excep.bstrHelpFile);
  return hr;
}
VARIANT textArg(const std::string& text) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = allocBstr(text);
  return v;
}
VARIANT indexArg(int32_t index) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = index;
  return v;
}
HRESULT putText(IDispatch* d, DISPID id, int32_t index, const std::string& text) {
  std::vector<VARIANT> args{textArg(text)};  // the value first (last in call order)
  if (index) args.push_back(indexArg(index));
  return invokeWith(d, id, DISPATCH_PROPERTYPUT, args);
}

std::string readText(const host::Member& m, host::Dispatchable& o, int32_t index = 0) {
  try {
    return (index ? m.getAt(o, {host::Variant(index)}) : m.get(o)).toString();
  } catch (const std::exception&) {
    return {};  // a value that cannot be read shows empty
  }
}

class PropertyPage final : public SingleInterface<IPropertyPage> {
 public:
  PropertyPage(const TypeLibraryEntry& entry, std::string_view control)
      : SingleInterface(IID_IPropertyPage), entry_(entry), control_(control) {}

  HRESULT SetPageSite(IPropertyPageSite* site) override {
    if (site) site->AddRef();
    if (site_) site_->Release();
    site_ = site;
    return S_OK;
  }

  // The selection: all of the page's class, or nothing changes.
  HRESULT SetObjects(ULONG count, IUnknown** objects) override {
    if (count && !objects) return E_POINTER;
    std::vector<IDispatch*> chosen;
    HRESULT hr = S_OK;
    for (ULONG i = 0; i < count && SUCCEEDED(hr); ++i) {
      void* p = nullptr;
      DispatchObject* ours = DispatchObject::from(objects[i]);
      if (!ours || !host::equalsNoCase(ours->object().memberTable().className(), control_) ||
          FAILED(objects[i]->QueryInterface(&IID_IDispatch, &p)) || !p) {
        hr = objects[i] ? E_NOINTERFACE : E_POINTER;
        continue;
      }
      chosen.push_back(static_cast<IDispatch*>(p));
    }
    if (FAILED(hr)) {
      for (IDispatch* d : chosen) d->Release();
      return hr;
    }
    releaseObjects();
    objects_ = std::move(chosen);
    fields_.clear();
    collections_.clear();
    if (!objects_.empty()) {
      const host::MemberTable& table = DispatchObject::from(objects_.front())->object().memberTable();
      for (const host::Member& m : table.members())
        if (editable(m)) fields_.push_back(Field{&m, {}, {}, 0});
      for (const CollectionRow& row : kCollections) {
        if (row.page != entry_.name) continue;
        Collection c;
        c.row = &row;
        c.count = table.find(row.count);
        c.add = table.find(row.add);
        c.remove = table.find(row.remove);
        for (std::string_view name : row.columns)
          if (const host::Member* m = name.empty() ? nullptr : table.find(name);
              m && m->indexed() && m->argCount == 1 && m->letAt && plainType(m->type))
            c.columns.push_back(m);
        if (c.count && c.add && c.remove && !c.columns.empty()) collections_.push_back(std::move(c));
      }
    }
    readValues();
    dirty_ = false;
    if (window_) rebuildFields();
    return S_OK;
  }

  HRESULT Activate(HWND parent, const tagRECT* rect, int32_t) override {
    if (!rect) return E_POINTER;
    if (window_) return kUnexpected;
    registerPageClass();
    const DWORD style = (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE;
    window_ = CreateWindowExA(0, kPageClass, std::string(entry_.name).c_str(), style, rect->left, rect->top,
                              rect->right - rect->left, rect->bottom - rect->top, parent, 0, 0, this);
    if (!window_) return E_OUTOFMEMORY;
    // Above the frame's other children (a new child goes below its siblings).
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    scroll_ = 0;
    rebuildFields();
    return S_OK;
  }

  HRESULT Deactivate() override {
    if (!window_) return kUnexpected;
    const HWND w = window_;
    window_ = 0;
    forgetWindows();
    DestroyWindow(w);
    return S_OK;
  }

  HRESULT GetPageInfo(PROPPAGEINFO* info) override {
    if (!info) return E_POINTER;
    std::memset(info, 0, sizeof *info);
    info->cb = sizeof *info;
    const std::u16string name = toUtf16(title());
    auto* t = static_cast<OLECHAR*>(CoTaskMemAlloc((name.size() + 1) * sizeof(OLECHAR)));
    if (!t) return E_OUTOFMEMORY;
    std::memcpy(t, name.c_str(), (name.size() + 1) * sizeof(OLECHAR));
    info->pszTitle = t;
    size_t widest = 0;
    for (const Collection& c : collections_) widest = std::max(widest, c.columns.size());
    info->size.cx = std::max(kLabelWidth + 200 + 3 * kMargin,
                             static_cast<int>(kNumberWidth + widest * kColumnWidth + kLinkWidth + kScrollWidth + 3 * kMargin));
    // The page asks for its fields' height, at most 480 pixels: past that it scrolls.
    info->size.cy = std::min<LONG>(480, std::max<LONG>(contentHeight(), 4 * kRowHeight + 2 * kMargin));
    return S_OK;
  }

  HRESULT Show(UINT cmdShow) override {
    if (!window_) return kUnexpected;
    ShowWindow(window_, static_cast<int>(cmdShow));
    return S_OK;
  }
  HRESULT Move(const tagRECT* rect) override {
    if (!rect) return E_POINTER;
    if (!window_) return kUnexpected;
    MoveWindow(window_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    scrollTo(scroll_);
    return S_OK;
  }

  HRESULT IsPageDirty() override { return dirty_ ? S_OK : S_FALSE; }

  // Every change to every object: the plain values, then each collection (the removed items
  // last index first, the added ones, then every value that differs from what the object has).
  // The first refusal stops and is returned, the page staying dirty so that the user can
  // correct the value.
  HRESULT Apply() override {
    if (!dirty_) return S_OK;
    for (IDispatch* d : objects_) {
      for (const Field& f : fields_) {
        if (f.text == f.original) continue;
        const HRESULT hr = putText(d, f.member->dispid, 0, f.text);
        if (FAILED(hr)) return hr;
      }
      for (Collection& c : collections_) {
        const HRESULT hr = applyCollection(d, c);
        if (FAILED(hr)) return hr;
      }
    }
    readValues();
    dirty_ = false;
    if (window_) rebuildFields();
    return S_OK;
  }

  HRESULT Help(const OLECHAR*) override { return E_NOTIMPL; }
  HRESULT TranslateAccelerator(tagMSG* msg) override { return msg ? S_FALSE : E_POINTER; }

  // ---- For hosts that drive the page's window (PageSpot in the header) ----
  HWND fieldWindow(const PageSpot& s) const {
    if (s.collection < 0) return s.item < fields_.size() ? fields_[s.item].edit : 0;
    if (static_cast<size_t>(s.collection) >= collections_.size()) return 0;
    const Collection& c = collections_[static_cast<size_t>(s.collection)];
    if (s.item == c.items.size()) return c.addEdit;
    if (s.item > c.items.size() || s.column >= c.items[s.item].edits.size()) return 0;
    return c.items[s.item].edits[s.column];
  }
  // Where a collection's link is, in the page window's client pixels: an item's Remove, or
  // (item == the number of items) the Add link.
  std::optional<Point> linkAt(const PageSpot& s) const {
    if (s.collection < 0 || static_cast<size_t>(s.collection) >= collections_.size()) return std::nullopt;
    for (const Link& l : links_)
      if (l.collection == static_cast<size_t>(s.collection) && l.item == s.item)
        return Point{(l.box.left + l.box.right) / 2, (l.box.top + l.box.bottom) / 2 - scroll_};
    return std::nullopt;
  }
  HWND propertyField(std::string_view property) const {
    for (const Field& f : fields_)
      if (host::equalsNoCase(f.member->name, property)) return f.edit;
    return 0;
  }
  int scrollPos() const { return scroll_; }
  size_t itemCount(int collection) const {
    return collection >= 0 && static_cast<size_t>(collection) < collections_.size()
               ? collections_[static_cast<size_t>(collection)].items.size()
               : 0;
  }

 private:
  struct Field {
    const host::Member* member;
    std::string original;  // the value as the first object has it
    std::string text;      // the value as the page shows it
    HWND edit;
  };
  struct Item {
    int32_t source = 0;  // its index in the first object, 0 for an item added on the page
    std::string added;   // an added item: the text its add method takes
    std::vector<std::string> original, text;
    std::vector<HWND> edits;
  };
  struct Collection {
    const CollectionRow* row = nullptr;
    const host::Member* count = nullptr;
    const host::Member* add = nullptr;
    const host::Member* remove = nullptr;
    std::vector<const host::Member*> columns;
    int32_t originalCount = 0;
    std::vector<Item> items;
    std::string pending;  // the add field's text
    HWND addEdit = 0;
  };
  // A clickable word: an item's Remove or a collection's Add (item == the number of items).
  struct Link {
    Rect box;  // content coordinates (before scrolling)
    size_t collection, item;
  };

  ~PropertyPage() {
    if (window_) Deactivate();
    releaseObjects();
    if (site_) site_->Release();
  }

  std::string title() const {
    std::string_view n = entry_.name;
    if (n.substr(0, 5) == "pPage") n.remove_prefix(5);
    return std::string(n);
  }

  void releaseObjects() {
    for (IDispatch* d : objects_) d->Release();
    objects_.clear();
  }

  void forgetWindows() {
    for (Field& f : fields_) f.edit = 0;
    for (Collection& c : collections_) {
      c.addEdit = 0;
      for (Item& i : c.items) std::fill(i.edits.begin(), i.edits.end(), HWND{0});
    }
  }

  // The values of the first selected object (a property that cannot be read shows empty).
  void readValues() {
    if (objects_.empty()) return;
    host::Dispatchable& o = DispatchObject::from(objects_.front())->object();
    for (Field& f : fields_) {
      f.original = readText(*f.member, o);
      f.text = f.original;
    }
    for (Collection& c : collections_) {
      int32_t n = 0;
      try {
        n = c.count->get(o).toLong();
      } catch (const std::exception&) {
        n = 0;
      }
      c.originalCount = std::max(0, n);
      c.items.clear();
      c.pending.clear();
      for (int32_t i = 1; i <= c.originalCount; ++i) {
        Item item;
        item.source = i;
        for (const host::Member* m : c.columns) item.original.push_back(readText(*m, o, i));
        item.text = item.original;
        item.edits.assign(c.columns.size(), 0);
        c.items.push_back(std::move(item));
      }
    }
  }

  HRESULT applyCollection(IDispatch* d, const Collection& c) {
    // Removed: the first object's items that the page no longer lists, last index first.
    std::vector<bool> kept(static_cast<size_t>(c.originalCount) + 1, false);
    for (const Item& i : c.items)
      if (i.source) kept[static_cast<size_t>(i.source)] = true;
    for (int32_t i = c.originalCount; i >= 1; --i) {
      if (kept[static_cast<size_t>(i)]) continue;
      std::vector<VARIANT> args{indexArg(i)};
      const HRESULT hr = invokeWith(d, c.remove->dispid, DISPATCH_METHOD, args);
      if (FAILED(hr)) return hr;
    }
    // The kept items are now 1..k in their order, and the added ones follow.
    host::Dispatchable& o = DispatchObject::from(d)->object();
    int32_t at = 0;
    for (const Item& item : c.items) {
      ++at;
      if (!item.source) {
        std::vector<VARIANT> args{textArg(item.added)};
        const HRESULT hr = invokeWith(d, c.add->dispid, DISPATCH_METHOD, args);
        if (FAILED(hr)) return hr;
      }
      for (size_t k = 0; k < c.columns.size(); ++k) {
        // What the object has now at this place (an added item: what adding gave it).
        // A new item's field left empty keeps what adding gave it.
        if (!item.source && item.text[k].empty()) continue;
        const std::string now = item.source ? item.original[k] : readText(*c.columns[k], o, at);
        if (item.text[k] == now) continue;
        const HRESULT hr = putText(d, c.columns[k]->dispid, at, item.text[k]);
        if (FAILED(hr)) return hr;
      }
    }
    return S_OK;
  }

  // ---- Layout: rows of kRowHeight in content coordinates; the window shows them from scroll_ ----
  int contentHeight() const {
    int rows = static_cast<int>(fields_.size());
    for (const Collection& c : collections_) rows += 3 + static_cast<int>(c.items.size());  // title, names, items, add
    return 2 * kMargin + rows * kRowHeight;
  }
  int clientHeight() const {
    RECT client{};
    if (window_) GetClientRect(window_, &client);
    return client.bottom;
  }
  int maxScroll() const { return std::max(0, contentHeight() - clientHeight()); }

  HWND makeEdit(int x, int y, int width, const std::string& text) {
    filling_ = true;
    HWND e = CreateWindowExA(0, WC_EDITA, text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, x,
                             y - scroll_, width, kRowHeight - 4, window_, static_cast<HMENU>(kFieldIdBase), 0, nullptr);
    filling_ = false;
    return e;
  }

  void rebuildFields() {
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(window_, GW_CHILD)) DestroyWindow(child);
    forgetWindows();
    links_.clear();
    RECT client;
    GetClientRect(window_, &client);
    const int right = client.right - kScrollWidth - kMargin;
    const int width = std::max(60, right - kLabelWidth - kMargin);
    int y = kMargin;
    for (Field& f : fields_) {
      f.edit = makeEdit(kLabelWidth + kMargin, y, width, f.text);
      y += kRowHeight;
    }
    for (size_t ci = 0; ci < collections_.size(); ++ci) {
      Collection& c = collections_[ci];
      y += 2 * kRowHeight;  // the title and the column names
      const int x0 = kMargin + kNumberWidth;
      for (size_t ii = 0; ii < c.items.size(); ++ii) {
        Item& item = c.items[ii];
        for (size_t k = 0; k < c.columns.size(); ++k)
          item.edits[k] = makeEdit(x0 + static_cast<int>(k) * kColumnWidth, y, kColumnWidth - 4, item.text[k]);
        const int lx = x0 + static_cast<int>(c.columns.size()) * kColumnWidth;
        links_.push_back(Link{Rect{lx, y, lx + kLinkWidth, y + kRowHeight - 4}, ci, ii});
        y += kRowHeight;
      }
      c.addEdit = makeEdit(x0, y, static_cast<int>(c.columns.size()) * kColumnWidth - 4, c.pending);
      const int lx = x0 + static_cast<int>(c.columns.size()) * kColumnWidth;
      links_.push_back(Link{Rect{lx, y, lx + kLinkWidth, y + kRowHeight - 4}, ci, c.items.size()});
      y += kRowHeight;
    }
    scroll_ = std::clamp(scroll_, 0, maxScroll());
    InvalidateRect(window_, nullptr, TRUE);
  }

  // Moves the fields with the view: the page's content scrolls under its window.
  void scrollTo(int pos) {
    if (!window_) return;
    pos = std::clamp(pos, 0, maxScroll());
    const int delta = scroll_ - pos;
    if (!delta) return;
    scroll_ = pos;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT r{};
      GetWindowRect(child, &r);
      POINT p{r.left, r.top};
      ScreenToClient(window_, &p);
      SetWindowPos(child, 0, p.x, p.y + delta, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(window_, nullptr, TRUE);
  }

  void markDirty() {
    if (!dirty_) {
      dirty_ = true;
      if (site_) site_->OnStatusChange(PROPPAGESTATUS_DIRTY);
    }
  }

  static std::string windowText(HWND e) {
    const int n = GetWindowTextLengthA(e);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(e, text.data(), n + 1)));
    return text;
  }

  void edited(HWND e) {
    if (filling_ || !e) return;
    for (Field& f : fields_)
      if (f.edit == e) {
        f.text = windowText(e);
        markDirty();
        return;
      }
    for (Collection& c : collections_) {
      if (c.addEdit == e) {  // typing a new item's text is no change yet
        c.pending = windowText(e);
        return;
      }
      for (Item& item : c.items)
        for (size_t k = 0; k < item.edits.size(); ++k)
          if (item.edits[k] == e) {
            item.text[k] = windowText(e);
            markDirty();
            return;
          }
    }
  }

  // Add: a new item from the add field's text (its other fields empty: applied, an empty one
  // keeps what the control's add method gave it); Remove drops an item from the list.
  void follow(const Link& l) {
    Collection& c = collections_[l.collection];
    if (l.item == c.items.size()) {
      if (c.pending.empty()) return;
      Item item;
      item.added = c.pending;
      item.text.assign(c.columns.size(), std::string());
      if (c.row->addNamesFirst) item.text.front() = c.pending;
      item.original = item.text;
      item.edits.assign(c.columns.size(), 0);
      c.items.push_back(std::move(item));
      c.pending.clear();
    } else {
      c.items.erase(c.items.begin() + static_cast<ptrdiff_t>(l.item));
    }
    markDirty();
    rebuildFields();
  }

  void click(Point p) {
    SetFocus(window_);  // the wheel and Page Up / Page Down come to the page
    RECT client{};
    GetClientRect(window_, &client);
    if (p.x >= client.right - kScrollWidth && maxScroll() > 0) {
      // The scroll track: a page up or down from the thumb.
      const int thumbTop = client.bottom * scroll_ / std::max(1, contentHeight());
      scrollTo(scroll_ + (p.y < thumbTop ? -client.bottom : client.bottom));
      return;
    }
    const Point at{p.x, p.y + scroll_};
    for (const Link& l : links_)
      if (l.box.contains(at)) {
        follow(l);  // may rebuild links_
        return;
      }
  }

  void paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    auto label = [&](int x, int y, int w, const std::string& s, UINT align = DT_LEFT) {
      RECT r{x, y - scroll_, x + w, y - scroll_ + kRowHeight - 4};
      DrawTextA(dc, s.c_str(), -1, &r, align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    };
    int y = kMargin;
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    for (const Field& f : fields_) {
      label(kMargin, y, kLabelWidth - kMargin, f.member->name);
      y += kRowHeight;
    }
    for (const Collection& c : collections_) {
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      label(kMargin, y + 4, kLabelWidth, std::string(c.row->title) + " (" + std::to_string(c.items.size()) + ")");
      y += kRowHeight;
      const int x0 = kMargin + kNumberWidth;
      for (size_t k = 0; k < c.columns.size(); ++k)
        label(x0 + static_cast<int>(k) * kColumnWidth, y + 4, kColumnWidth - 4, c.columns[k]->name);
      y += kRowHeight;
      for (size_t i = 0; i < c.items.size(); ++i) {
        label(kMargin, y, kNumberWidth - 4, std::to_string(i + 1), DT_RIGHT);
        y += kRowHeight;
      }
      label(kMargin, y, kNumberWidth - 4, "+", DT_RIGHT);  // the add field
      y += kRowHeight;
    }
    SetTextColor(dc, kLink);
    for (const Link& l : links_) {
      const bool add = l.item == collections_[l.collection].items.size();
      label(l.box.left, l.box.top, l.box.width(), add ? "Add" : "Remove");
    }
    if (maxScroll() > 0) {
      const RECT track{client.right - kScrollWidth, 0, client.right, client.bottom};
      HBRUSH t = CreateSolidBrush(kTrack);
      FillRect(dc, &track, t);
      DeleteObject(t);
      const int h = std::max(1, contentHeight());
      const RECT thumb{track.left + 2, client.bottom * scroll_ / h, track.right - 2,
                       std::max<int>(client.bottom * (scroll_ + client.bottom) / h, client.bottom * scroll_ / h + 8)};
      HBRUSH b = CreateSolidBrush(kThumb);
      FillRect(dc, &thumb, b);
      DeleteObject(b);
    }
    EndPaint(window_, &ps);
  }

  static LRESULT pageProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) return ui::storeCreateParam(h, wParam, lParam);
    auto* page = ui::windowObject<PropertyPage>(h);
    if (!page || page->window_ != h) return DefWindowProcA(h, msg, wParam, lParam);
    switch (msg) {
      case WM_PAINT:
        page->paint();
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_NCDESTROY:  // the frame went first: the page is inactive from now on
        page->window_ = 0;
        page->forgetWindows();
        return DefWindowProcA(h, msg, wParam, lParam);
      case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE) page->edited(static_cast<HWND>(lParam));
        return 0;
      case WM_LBUTTONDOWN:
        page->click(Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
      case WM_MOUSEWHEEL:
        page->scrollTo(page->scroll_ - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * 3 * kRowHeight);
        return 0;
      case WM_KEYDOWN:
        if (wParam == VK_NEXT) page->scrollTo(page->scroll_ + page->clientHeight());
        else if (wParam == VK_PRIOR) page->scrollTo(page->scroll_ - page->clientHeight());
        return 0;
      default: return DefWindowProcA(h, msg, wParam, lParam);
    }
  }

  static void registerPageClass() { ui::registerClassOnce(kPageClass, pageProc); }

  const TypeLibraryEntry& entry_;
  std::string_view control_;
  IPropertyPageSite* site_ = nullptr;
  std::vector<IDispatch*> objects_;
  std::vector<Field> fields_;
  std::vector<Collection> collections_;
  std::vector<Link> links_;
  HWND window_ = 0;
  int scroll_ = 0;
  bool dirty_ = false;
  bool filling_ = false;
};

}  // namespace

std::string_view pageControl(const TypeLibraryEntry& page) {
  if (page.kind != ClassKind::PropertyPage) return {};
  for (const PageRow& r : kPages)
    if (r.page == page.name) return r.control;
  return {};
}

const TypeLibraryEntry* pageFor(std::string_view controlClass) {
  for (const PageRow& r : kPages)
    if (host::equalsNoCase(r.control, controlClass)) return findByName(r.page);
  return nullptr;
}

IPropertyPage* createPropertyPage(const TypeLibraryEntry& page) {
  const std::string_view control = pageControl(page);
  if (control.empty()) return nullptr;
  return new (std::nothrow) PropertyPage(page, control);
}

}  // namespace zxp::library::com

namespace zxp::library::com {

namespace {
PropertyPage* pageOf(HWND pageWindow) {
  char name[64] = {};
  if (!IsWindow(pageWindow) || !GetClassNameA(pageWindow, name, sizeof name) || std::string_view(name) != kPageClass)
    return nullptr;
  return ui::windowObject<PropertyPage>(pageWindow);
}
}  // namespace

HWND pageField(HWND pageWindow, const PageSpot& spot) {
  const PropertyPage* p = pageOf(pageWindow);
  return p ? p->fieldWindow(spot) : 0;
}

HWND pagePropertyField(HWND pageWindow, std::string_view property) {
  const PropertyPage* p = pageOf(pageWindow);
  return p ? p->propertyField(property) : 0;
}

std::optional<Point> pageLink(HWND pageWindow, const PageSpot& spot) {
  const PropertyPage* p = pageOf(pageWindow);
  return p ? p->linkAt(spot) : std::nullopt;
}

int pageScroll(HWND pageWindow) {
  const PropertyPage* p = pageOf(pageWindow);
  return p ? p->scrollPos() : 0;
}

size_t pageItems(HWND pageWindow, int collection) {
  const PropertyPage* p = pageOf(pageWindow);
  return p ? p->itemCount(collection) : 0;
}

}  // namespace zxp::library::com
