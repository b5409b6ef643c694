// The window system's headers come before the component model's, whose result codes are macros
// that would rewrite the platform's own constants of the same names.
#include "platform/gfx/SysColors.h"
#include "platform/gfx/Text.h"
#include "platform/host/NoCase.h"
#include "platform/ui/Edit.h"
#include "platform/ui/User.h"

#include "library/com/PropertyPage.h"

#include <algorithm>
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

constexpr const char* kPageClass = "ZxpPropertyPage";
constexpr int kRowHeight = 24;
constexpr int kLabelWidth = 170;
constexpr int kMargin = 6;
constexpr int kFieldIdBase = 100;
constexpr HRESULT kUnexpected = static_cast<HRESULT>(0x8000FFFF);  // E_UNEXPECTED

// Properties a line of text can hold.
bool editable(const host::Member& m) {
  using K = host::Variant::Kind;
  if (m.kind != host::MemberKind::Property || m.indexed() || !m.let) return false;
  switch (m.type) {
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
    if (!objects_.empty()) {
      for (const host::Member& m : DispatchObject::from(objects_.front())->object().memberTable().members())
        if (editable(m)) fields_.push_back(Field{&m, {}, {}, 0});
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
    rebuildFields();
    return S_OK;
  }

  HRESULT Deactivate() override {
    if (!window_) return kUnexpected;
    const HWND w = window_;
    window_ = 0;
    for (Field& f : fields_) f.edit = 0;
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
    info->size.cx = kLabelWidth + 200 + 3 * kMargin;
    info->size.cy = static_cast<LONG>(std::max<size_t>(fields_.size(), 4) * kRowHeight + 2 * kMargin);
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
    return S_OK;
  }

  HRESULT IsPageDirty() override { return dirty_ ? S_OK : S_FALSE; }

  // Every changed value to every object; the first refusal stops and is returned, the page
  // staying dirty so that the user can correct the value.
  HRESULT Apply() override {
    if (!dirty_) return S_OK;
    for (const Field& f : fields_) {
      if (f.text == f.original) continue;
      for (IDispatch* d : objects_) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = allocBstr(f.text);
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS p{&v, &named, 1, 1};
        EXCEPINFO excep{};
        const HRESULT hr = d->Invoke(f.member->dispid, &IID_NULL, 0, DISPATCH_PROPERTYPUT, &p, nullptr, &excep, nullptr);
        VariantClear(&v);
        SysFreeString(excep.bstrSource);
        SysFreeString(excep.bstrDescription);
        SysFreeString(excep.bstrHelpFile);
        if (FAILED(hr)) return hr;
      }
    }
    readValues();
    dirty_ = false;
    showValues();
    return S_OK;
  }

  HRESULT Help(const OLECHAR*) override { return E_NOTIMPL; }
  HRESULT TranslateAccelerator(tagMSG* msg) override { return msg ? S_FALSE : E_POINTER; }

 private:
  struct Field {
    const host::Member* member;
    std::string original;  // the value as the first object has it
    std::string text;      // the value as the page shows it
    HWND edit;
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

  // The values of the first selected object (a property that cannot be read shows empty).
  void readValues() {
    if (objects_.empty()) return;
    host::Dispatchable& o = DispatchObject::from(objects_.front())->object();
    for (Field& f : fields_) {
      try {
        f.original = f.member->get(o).toString();
      } catch (const std::exception&) {
        f.original.clear();
      }
      f.text = f.original;
    }
  }

  void rebuildFields() {
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(window_, GW_CHILD)) DestroyWindow(child);
    RECT client;
    GetClientRect(window_, &client);
    const int width = std::max(60, client.right - kLabelWidth - 2 * kMargin);
    for (size_t i = 0; i < fields_.size(); ++i) {
      fields_[i].edit = CreateWindowExA(0, WC_EDITA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                                        kLabelWidth + kMargin, kMargin + static_cast<int>(i) * kRowHeight, width,
                                        kRowHeight - 4, window_, static_cast<HMENU>(kFieldIdBase + i), 0, nullptr);
    }
    showValues();
    InvalidateRect(window_, nullptr, TRUE);
  }

  void showValues() {
    filling_ = true;
    for (Field& f : fields_)
      if (f.edit) SetWindowTextA(f.edit, f.text.c_str());
    filling_ = false;
  }

  void edited(size_t index) {
    if (filling_ || index >= fields_.size() || !fields_[index].edit) return;
    Field& f = fields_[index];
    const int n = GetWindowTextLengthA(f.edit);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(f.edit, text.data(), n + 1)));
    f.text = std::move(text);
    if (!dirty_) {
      dirty_ = true;
      if (site_) site_->OnStatusChange(PROPPAGESTATUS_DIRTY);
    }
  }

  void paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    RECT client;
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < fields_.size(); ++i) {
      RECT r{kMargin, kMargin + static_cast<int>(i) * kRowHeight, kLabelWidth, kMargin + static_cast<int>(i + 1) * kRowHeight - 4};
      DrawTextA(dc, fields_[i].member->name.c_str(), -1, &r, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
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
        for (Field& f : page->fields_) f.edit = 0;
        return DefWindowProcA(h, msg, wParam, lParam);
      case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) >= kFieldIdBase)
          page->edited(LOWORD(wParam) - kFieldIdBase);
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
  HWND window_ = 0;
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
