#include "library/com/DispatchObject.h"

#include <cstring>
#include <new>

#include "library/ClassTable.h"
#include "library/com/Automation.h"
#include "library/com/Enumerators.h"
#include "library/com/PropertyPage.h"
#include "library/com/Server.h"
#include "library/com/TypeInfo.h"
#include "platform/base/HostError.h"
#include "platform/gfx/Font.h"
#include "platform/host/NoCase.h"

namespace zxp::library::com {

namespace {

// The host's number for a failure inside the library that is no host error.
constexpr int32_t kInternalError = 51;

// Our objects answer this private interface with themselves, so that an argument can be
// recognised as one of ours.
constexpr Guid kSelfIid = guid("6E2D87A1-0C51-4B8E-9F3D-2A7C51E4B903");

// A font handed to a client: its description, read-only (set a new font to change one).
class FontObject final : public host::Dispatchable {
 public:
  explicit FontObject(host::FontRef f) : font_(std::move(f)) {}
  const host::MemberTable& memberTable() const override {
    using F = FontObject;
    static const host::MemberTable table = host::ClassMembers<F>("StdFont")
        .readOnlyProperty("Name", &F::Name)
        .readOnlyProperty("Size", &F::Size)
        .readOnlyProperty("Bold", &F::Bold)
        .readOnlyProperty("Italic", &F::Italic)
        .readOnlyProperty("Underline", &F::Underline)
        .readOnlyProperty("Strikethrough", &F::Strikethrough)
        .readOnlyProperty("Charset", &F::Charset)
        .build();
    return table;
  }
  std::string Name() const { return font_->name; }
  double Size() const { return font_->size; }
  bool Bold() const { return font_->bold(); }
  bool Italic() const { return font_->italic; }
  bool Underline() const { return font_->underline; }
  bool Strikethrough() const { return font_->strikethrough; }
  int16_t Charset() const { return font_->charset; }

 private:
  host::FontRef font_;
};

// A picture handed to a client: handle, type and size in HIMETRIC, as the picture object shows.
class PictureObject final : public host::Dispatchable {
 public:
  explicit PictureObject(host::PictureRef p) : picture_(std::move(p)) {}
  const host::MemberTable& memberTable() const override {
    using P = PictureObject;
    static const host::MemberTable table = host::ClassMembers<P>("StdPicture")
        .readOnlyProperty("Handle", &P::Handle)
        .readOnlyProperty("hPal", &P::hPal)
        .readOnlyProperty("Type", &P::Type)
        .readOnlyProperty("Width", &P::Width)
        .readOnlyProperty("Height", &P::Height)
        .build();
    return table;
  }
  int32_t Handle() const { return static_cast<int32_t>(picture_.Handle()); }
  int32_t hPal() const { return 0; }
  int16_t Type() const { return picture_.Type(); }
  int32_t Width() const { return picture_.Width(); }
  int32_t Height() const { return picture_.Height(); }

 private:
  host::PictureRef picture_;
};

// Another host object (a drag-and-drop data object): reachable, but with no members of its own.
class OpaqueObject final : public host::Dispatchable {
 public:
  const host::MemberTable& memberTable() const override {
    static const host::MemberTable table("Object");
    return table;
  }
};


}  // namespace

// ---- ForeignObject ------------------------------------------------------------------------------

ForeignObject::ForeignObject(IUnknown* unknown) : unknown_(unknown) {
  unknown_->AddRef();
  void* p = nullptr;
  if (SUCCEEDED(unknown_->QueryInterface(&IID_IDispatch, &p))) dispatch_ = static_cast<IDispatch*>(p);
}

ForeignObject::~ForeignObject() {
  if (dispatch_) dispatch_->Release();
  unknown_->Release();
}

// ---- The connection point -----------------------------------------------------------------------

class DispatchObject::EventPoint final : public IConnectionPoint {
 public:
  explicit EventPoint(DispatchObject& owner) : owner_(owner) {}
  HRESULT QueryInterface(const IID* riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!sameIid(riid, IID_IUnknown) && !sameIid(riid, IID_IConnectionPoint)) return E_NOINTERFACE;
    AddRef();
    *ppv = static_cast<IConnectionPoint*>(this);
    return S_OK;
  }
  ULONG AddRef() override { return owner_.AddRef(); }
  ULONG Release() override { return owner_.Release(); }
  HRESULT GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    std::memcpy(iid, &owner_.entry_->eventsIid, sizeof *iid);
    return S_OK;
  }
  HRESULT GetConnectionPointContainer(IConnectionPointContainer** out) override {
    if (!out) return E_POINTER;
    owner_.AddRef();
    *out = &owner_;
    return S_OK;
  }
  HRESULT Advise(IUnknown* sink, DWORD* cookie) override { return owner_.advise(sink, cookie); }
  HRESULT Unadvise(DWORD cookie) override { return owner_.unadvise(cookie); }
  HRESULT EnumConnections(IEnumConnections** out) override {
    if (!out) return E_POINTER;
    std::vector<CONNECTDATA> now;
    for (const Advice& a : owner_.advice_) now.push_back(CONNECTDATA{a.sink, a.cookie});
    *out = enumConnections(now);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

 private:
  DispatchObject& owner_;
};

// ---- DispatchObject -----------------------------------------------------------------------------

DispatchObject::DispatchObject() { objectCreated(); }

DispatchObject::~DispatchObject() {
  unadviseAll();
  if (form_) form_.reset();  // terminates the control and closes its window
  if (formOwner_) formOwner_->Release();
  objectDestroyed();
}

DispatchObject* DispatchObject::create(const TypeLibraryEntry& entry) {
  Creation made = library::create(entry);
  if (!made.object && !made.control) return nullptr;
  std::unique_ptr<DispatchObject> o(new DispatchObject());
  o->entry_ = &entry;
  o->source_ = progId(entry);
  if (made.control) {
    host::FormOptions options;
    options.name = "ZorvaXPHost";
    options.classes = &classes();
    options.clientWidth = 1500;
    options.clientHeight = 450;
    o->form_ = std::make_unique<host::Form>(options);
    host::ExtenderRecord place;
    place.left = 0;
    place.top = 0;
    place.width = 1500;
    place.height = 450;
    o->site_ = &o->form_->add(classes(), std::string(entry.name), std::string(entry.name) + "1", place);
    o->object_ = &o->site_->object();
  } else if (made.shared) {
    // Objects that travel as host values (a row): the client's object is the host object itself.
    o->value_ = host::Variant(made.shared);
    o->hostObject_ = made.shared.get();
    o->object_ = made.object;
  } else {
    o->owned_ = std::move(made.owned);
    o->object_ = made.object;
  }
  if (!entry.eventsIid.isNull() && !o->object_->memberTable().events().empty())
    o->events_ = std::make_unique<EventPoint>(*o);
  return o.release();
}

DispatchObject* DispatchObject::forForm(std::unique_ptr<host::Form> form) {
  std::unique_ptr<DispatchObject> o(new DispatchObject());
  o->form_ = std::move(form);
  o->object_ = o->form_.get();
  o->source_ = "Form";
  return o.release();
}

DispatchObject* DispatchObject::forControl(DispatchObject& formObject, host::Extender& site) {
  std::unique_ptr<DispatchObject> o(new DispatchObject());
  const std::string className = site.object().memberTable().className();
  o->entry_ = findByName(className);
  o->source_ = o->entry_ ? progId(*o->entry_) : className;
  o->site_ = &site;
  o->object_ = &site.object();
  formObject.AddRef();
  o->formOwner_ = &formObject;
  if (o->entry_ && !o->entry_->eventsIid.isNull() && !o->object_->memberTable().events().empty())
    o->events_ = std::make_unique<EventPoint>(*o);
  return o.release();
}

DispatchObject* DispatchObject::forSite(host::Extender& site) {
  std::unique_ptr<DispatchObject> o(new DispatchObject());
  const std::string className = site.object().memberTable().className();
  o->entry_ = findByName(className);
  o->source_ = o->entry_ ? progId(*o->entry_) : className;
  o->site_ = &site;
  o->object_ = &site.object();
  return o.release();
}

DispatchObject* DispatchObject::forValue(const host::Variant& value) {
  std::unique_ptr<DispatchObject> o(new (std::nothrow) DispatchObject());
  if (!o) return nullptr;
  o->value_ = value;
  using K = host::Variant::Kind;
  if (value.kind() == K::Font) {
    o->owned_ = std::make_unique<FontObject>(value.toFont());
    o->source_ = "StdFont";
  } else if (value.kind() == K::Picture) {
    o->owned_ = std::make_unique<PictureObject>(value.toPicture());
    o->source_ = "StdPicture";
  } else if (host::HostObject* h = value.toObject().get(); h && h->members()) {
    // A host object with members of its own (a row, a form): calls reach them while it has them.
    o->hostObject_ = h;
    o->object_ = h->members();
    o->source_ = value.typeName();
    if (const TypeLibraryEntry* e = findByName(o->source_); e && e->kind == ClassKind::Class) {
      o->entry_ = e;
      o->source_ = progId(*e);
    }
    return o.release();
  } else {
    o->owned_ = std::make_unique<OpaqueObject>();
    o->source_ = value.typeName();
  }
  o->object_ = o->owned_.get();
  return o.release();
}

DispatchObject* DispatchObject::from(IUnknown* unknown) {
  if (!unknown) return nullptr;
  void* p = nullptr;
  if (FAILED(unknown->QueryInterface(asIid(kSelfIid), &p)) || !p) return nullptr;
  auto* self = static_cast<DispatchObject*>(static_cast<IDispatch*>(p));
  self->Release();  // the caller still holds its own reference
  return self;
}

bool DispatchObject::gone() const {
  if (!site_) return false;
  const host::Form* home = formOwner_ ? formOwner_->form_.get() : form_.get();
  return home && home->unloaded();
}

host::Dispatchable& DispatchObject::object() const {
  if (gone()) throw HostError(errObjectNotSet);
  if (!hostObject_) return *object_;
  host::Dispatchable* now = hostObject_->members();
  if (!now) throw HostError(errObjectNotSet);
  return *now;
}

host::Variant DispatchObject::asVariant() {
  if (!value_.isEmpty()) return value_;
  return host::Variant(host::ObjectRef(std::make_shared<ForeignObject>(static_cast<IDispatch*>(this))));
}

HRESULT DispatchObject::QueryInterface(const IID* riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!riid) return E_INVALIDARG;
  const Guid& g = asGuid(*riid);
  if (sameIid(riid, IID_IUnknown) || sameIid(riid, IID_IDispatch) || g == kSelfIid ||
      (entry_ && g == entry_->iid)) {
    *ppv = static_cast<IDispatch*>(this);
  } else if (sameIid(riid, IID_IConnectionPointContainer) && events_) {
    *ppv = static_cast<IConnectionPointContainer*>(this);
  } else if (sameIid(riid, IID_IOleWindow) && site_) {
    *ppv = static_cast<IOleWindow*>(this);
  } else if ((sameIid(riid, IID_IProvideClassInfo2) || sameIid(riid, IID_IProvideClassInfo)) && entry_) {
    *ppv = static_cast<IProvideClassInfo2*>(this);
  } else if (sameIid(riid, IID_ISpecifyPropertyPages) && site_ && pageFor(entry_->name)) {
    *ppv = static_cast<ISpecifyPropertyPages*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG DispatchObject::AddRef() { return ++refs_; }

ULONG DispatchObject::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  try {
    *info = dispatchTypeInfo(object().memberTable(), entry_);
  } catch (const HostError&) {
    return E_FAIL;  // the object has gone
  }
  return *info ? S_OK : E_OUTOFMEMORY;
}

namespace {

// The members a control's site adds (Name, Index, Left, Top, Width, Height, Align, TabStop,
// TabIndex, Visible, Default, Cancel) answer through the control itself, as the platform's
// extended control does, under identifiers of their own from this number on (base + the
// member's place in the site's table). A control's own member of the same name comes first.
constexpr DISPID kSiteMemberBase = static_cast<DISPID>(0x80010000u);

}  // namespace

host::Extender* DispatchObject::memberSite() const { return site_ && !isForm() ? site() : nullptr; }

const host::Member* DispatchObject::siteMember(DISPID id) const {
  host::Extender* s = memberSite();
  if (!s) return nullptr;
  const int64_t at = int64_t{id} - int64_t{kSiteMemberBase};  // any identifier, without overflow
  const auto& members = s->memberTable().members();
  return at >= 0 && at < static_cast<int64_t>(members.size()) ? &members[static_cast<size_t>(at)] : nullptr;
}

HRESULT DispatchObject::GetIDsOfNames(const IID* riid, OLECHAR** names, UINT count, LCID, DISPID* ids) {
  if (!names || !ids) return E_POINTER;
  if (riid && !sameIid(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  const host::Member* m = nullptr;
  DISPID id = DISPID_UNKNOWN;
  try {
    const std::string name = names[0] ? toUtf8(names[0]) : std::string();
    m = names[0] ? object().memberTable().find(name) : nullptr;
    if (m) id = m->dispid;
    else if (host::Extender* s = names[0] ? memberSite() : nullptr) {
      m = s->memberTable().find(name);
      if (m) id = kSiteMemberBase + static_cast<DISPID>(m - s->memberTable().members().data());
    }
  } catch (const HostError&) {
    m = nullptr;
  }
  if (!m) return DISP_E_UNKNOWNNAME;
  ids[0] = id;
  // Named arguments: a parameter's number is its place in the member's parameter list.
  HRESULT hr = S_OK;
  for (UINT i = 1; i < count; ++i) {
    const std::string want = names[i] ? toUtf8(names[i]) : std::string();
    for (size_t p = 0; p < m->params.size(); ++p)
      if (host::equalsNoCase(m->params[p], want)) ids[i] = static_cast<DISPID>(p);
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

// Every refusal that reaches the client as DISP_E_EXCEPTION carries its record: the host error's
// number (as scode), its text and the object's program identifier.
HRESULT DispatchObject::fail(const std::exception& e, int32_t number, EXCEPINFO* excep) const {
  if (excep) {
    std::memset(excep, 0, sizeof *excep);
    std::string text = e.what();
    std::string source = source_;
    if (const auto* h = dynamic_cast<const HostError*>(&e)) {
      text = h->description();
      if (!h->source().empty()) source = h->source();
    }
    if (text.empty()) text = number == kInternalError ? "Internal error" : hostErrorText(number);
    excep->scode = ZORVAXP_HOST_ERROR(number);
    excep->bstrSource = allocBstr(source);
    excep->bstrDescription = allocBstr(text);
  }
  return DISP_E_EXCEPTION;
}

HRESULT DispatchObject::Invoke(DISPID id, const IID* riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* excep, UINT* argErr) {
  if (riid && !sameIid(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  if (!params) params = &none;
  if ((params->cArgs && !params->rgvarg) || (params->cNamedArgs && !params->rgdispidNamedArgs) ||
      params->cNamedArgs > params->cArgs)
    return E_INVALIDARG;
  try {
    host::Dispatchable* target = &object();
    const host::Member* m = target->memberTable().findDispId(id);
    if (!m && (m = siteMember(id))) target = site();
    if (!m) return DISP_E_MEMBERNOTFOUND;
    return invokeMember(*m, *target, flags, params, result, argErr);
  } catch (const HostError& e) {
    return fail(e, e.number(), excep);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& e) {
    return fail(e, kInternalError, excep);
  }
}

HRESULT DispatchObject::invokeMember(const host::Member& member, host::Dispatchable& target, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, UINT* argErr) {
  const host::Member* m = &member;
  const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  const UINT n = params->cArgs;
  const UINT named = params->cNamedArgs;
  if (put) {
    if (m->kind != host::MemberKind::Property) return DISP_E_MEMBERNOTFOUND;
    if (named != 1 || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return DISP_E_PARAMNOTFOUND;
  } else {
    if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return E_INVALIDARG;
    if (m->kind == host::MemberKind::Method && !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
    if (named && (m->params.empty() || m->varArgs)) return DISP_E_NONAMEDARGS;
  }

  // Positional arguments in call order (DISPPARAMS holds them last first, after the named ones).
  const UINT positional = n - named;
  std::vector<host::Variant> args(positional);
  std::vector<bool> given(positional, true);
  for (UINT i = 0; i < positional; ++i) {
    const UINT at = n - 1 - i;
    const VARIANT& v = params->rgvarg[at];
    if (isMissing(v)) {  // a left-out optional argument
      given[i] = false;
      continue;
    }
    const HRESULT hr = toHost(v, args[i]);
    if (FAILED(hr)) {
      if (argErr) *argErr = at;
      return hr;
    }
  }
  host::Variant value;  // a put's value
  if (put) {
    const HRESULT hr = toHost(params->rgvarg[0], value);
    if (FAILED(hr)) {
      if (argErr) *argErr = 0;
      return hr;
    }
  } else {
    // Named arguments go to their parameter's place.
    for (UINT k = 0; k < named; ++k) {
      const DISPID p = params->rgdispidNamedArgs[k];
      if (p < 0 || static_cast<size_t>(p) >= m->params.size() ||
          (static_cast<size_t>(p) < args.size() && given[static_cast<size_t>(p)])) {
        if (argErr) *argErr = k;
        return DISP_E_PARAMNOTFOUND;
      }
      const auto at = static_cast<size_t>(p);
      if (at >= args.size()) {
        args.resize(at + 1);
        given.resize(at + 1, false);
      }
      if (isMissing(params->rgvarg[k])) continue;
      const HRESULT hr = toHost(params->rgvarg[k], args[at]);
      if (FAILED(hr)) {
        if (argErr) *argErr = k;
        return hr;
      }
      given[at] = true;
    }
  }

  host::Variant out;
  if (put) {
    if (args.size() != (m->indexed() ? m->argCount : 0)) return DISP_E_BADPARAMCOUNT;
    if (m->indexed() ? !m->letAt : !m->let) return DISP_E_MEMBERNOTFOUND;
    using K = host::Variant::Kind;
    if (m->type != K::Empty && m->type != K::Font && m->type != K::Picture && m->type != K::Object &&
        m->type != K::Array) {
      try {
        value = value.convertedTo(m->type);
      } catch (const HostError& e) {
        if (argErr) *argErr = 0;  // the value is the first in DISPPARAMS
        return e.number() == errOverflow ? DISP_E_OVERFLOW : DISP_E_TYPEMISMATCH;
      }
    }
    if (m->indexed()) m->letAt(target, args, value);
    else m->let(target, value);
  } else if (m->kind == host::MemberKind::Property) {
    if (args.size() != (m->indexed() ? m->argCount : 0)) return DISP_E_BADPARAMCOUNT;
    out = m->indexed() ? m->getAt(target, args) : m->get(target);
  } else if (m->varArgs) {
    if (args.size() + 1 < m->argCount) return DISP_E_BADPARAMCOUNT;
    out = host::callMember(target, *m, std::move(args));
  } else {
    const size_t count = args.size();
    if (count > m->argCount || count + m->optionalArgs < m->argCount) return DISP_E_BADPARAMCOUNT;
    // Every argument left out (at the end, skipped by name or passed as missing) takes its
    // declared default, or stays Empty.
    args.resize(m->argCount);
    given.resize(m->argCount, false);
    const size_t firstDefault = m->argCount - m->defaults.size();
    for (size_t i = firstDefault; i < m->argCount; ++i)
      if (!given[i]) args[i] = m->defaults[i - firstDefault];
    out = host::callMember(target, *m, std::move(args));
  }
  if (result) return fromHost(out, result);
  return S_OK;
}

HRESULT DispatchObject::EnumConnectionPoints(IEnumConnectionPoints** out) {
  if (!out) return E_POINTER;
  std::vector<IConnectionPoint*> points;
  if (events_) points.push_back(events_.get());
  *out = enumConnectionPoints(points);
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT DispatchObject::FindConnectionPoint(const IID* riid, IConnectionPoint** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!riid) return E_INVALIDARG;
  if (!events_ || asGuid(*riid) != entry_->eventsIid) return CONNECT_E_NOCONNECTION;
  AddRef();
  *out = events_.get();
  return S_OK;
}

HRESULT DispatchObject::GetWindow(HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  *hwnd = site_ && !gone() ? site_->object().hWnd() : 0;
  return *hwnd ? S_OK : E_FAIL;
}

HRESULT DispatchObject::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = classTypeInfo(*entry_);
  return *info ? S_OK : E_OUTOFMEMORY;
}

HRESULT DispatchObject::GetGUID(DWORD kind, GUID* guid) {
  if (!guid) return E_POINTER;
  std::memset(guid, 0, sizeof *guid);
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  if (!events_) return E_FAIL;
  std::memcpy(guid, &entry_->eventsIid, sizeof *guid);
  return S_OK;
}

HRESULT DispatchObject::GetPages(CAUUID* pages) {
  if (!pages) return E_POINTER;
  pages->cElems = 0;
  pages->pElems = nullptr;
  const TypeLibraryEntry* page = pageFor(entry_->name);
  if (!page) return S_OK;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
  if (!pages->pElems) return E_OUTOFMEMORY;
  std::memcpy(pages->pElems, &page->clsid, sizeof(GUID));
  pages->cElems = 1;
  return S_OK;
}

HRESULT DispatchObject::advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  *cookie = 0;
  if (gone()) return CONNECT_E_CANNOTCONNECT;
  void* p = nullptr;
  if (FAILED(sink->QueryInterface(asIid(entry_->eventsIid), &p)) || !p) {
    if (FAILED(sink->QueryInterface(&IID_IDispatch, &p)) || !p) return CONNECT_E_CANNOTCONNECT;
  }
  Advice a{nextCookie_++, static_cast<IDispatch*>(p), {}};
  IDispatch* target = a.sink;
  for (const host::EventMember& e : object_->memberTable().events()) {
    host::EventBase& ev = e.access(*object_);
    const DISPID dispid = e.dispid;
    const bool byValue = e.byValue;
    const host::Connection c = ev.connectVariant([target, dispid, byValue](std::vector<host::Variant>& args) {
      // Arguments go by reference (the sink may change them, as a handler may), unless the event
      // passes them by value.
      const size_t n = args.size();
      std::vector<VARIANT> values(n), refs(n);
      for (size_t i = 0; i < n; ++i) {
        fromHost(args[i], &values[i]);
        VARIANT& r = refs[n - 1 - i];
        VariantInit(&r);
        if (byValue) {
          r = values[i];  // a shallow copy: values[i] keeps ownership
        } else if (values[i].vt == VT_EMPTY) {
          r.vt = VT_BYREF | VT_VARIANT;
          r.pvarVal = &values[i];
        } else {
          r.vt = static_cast<VARTYPE>(VT_BYREF | values[i].vt);
          r.byref = &values[i].llVal;
        }
      }
      DISPPARAMS dp{refs.data(), nullptr, static_cast<UINT>(n), 0};
      target->AddRef();
      const HRESULT hr = target->Invoke(dispid, &IID_NULL, 0, DISPATCH_METHOD, &dp, nullptr, nullptr, nullptr);
      target->Release();
      for (size_t i = 0; i < n; ++i) {
        host::Variant back;
        if (!byValue && SUCCEEDED(hr) && SUCCEEDED(toHost(values[i], back)) && back.kind() == args[i].kind())
          args[i] = back;
        VariantClear(&values[i]);
      }
    });
    a.connections.emplace_back(&ev, c);
  }
  *cookie = a.cookie;
  advice_.push_back(std::move(a));
  return S_OK;
}

HRESULT DispatchObject::unadvise(DWORD cookie) {
  for (auto it = advice_.begin(); it != advice_.end(); ++it) {
    if (it->cookie != cookie) continue;
    Advice a = std::move(*it);
    advice_.erase(it);
    if (!gone())  // else the events went with the control
      for (auto& [ev, c] : a.connections) ev->disconnect(c);
    a.sink->Release();
    return S_OK;
  }
  return CONNECT_E_NOCONNECTION;
}

void DispatchObject::unadviseAll() {
  while (!advice_.empty()) unadvise(advice_.front().cookie);
}

}  // namespace zxp::library::com
