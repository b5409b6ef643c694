#include "library/com/TypeInfo.h"

#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "library/ClassTable.h"
#include "library/com/Automation.h"
#include "library/com/Server.h"
#include "library/com/SingleInterface.h"
#include "platform/host/NoCase.h"

namespace zxp::library::com {

namespace {

VARTYPE vartypeOf(host::Variant::Kind k) {
  using K = host::Variant::Kind;
  switch (k) {
    case K::Boolean: return VT_BOOL;
    case K::Integer: return VT_I2;
    case K::Long: return VT_I4;
    case K::Single: return VT_R4;
    case K::Double: return VT_R8;
    case K::String: return VT_BSTR;
    case K::Date: return VT_DATE;
    case K::Font:
    case K::Picture:
    case K::Object: return VT_DISPATCH;
    case K::Array: return VT_SAFEARRAY;  // of VARIANTs
    case K::Empty: break;
  }
  return VT_VARIANT;  // any value (a Variant member, or a method whose result the table leaves open)
}

bool isObjectKind(host::Variant::Kind k) {
  using K = host::Variant::Kind;
  return k == K::Font || k == K::Picture || k == K::Object;
}

size_t rowIndex(const TypeLibraryEntry& e) { return static_cast<size_t>(&e - typeLibrary().data()); }

// One function of an interface as GetFuncDesc describes it.
struct Func {
  MEMBERID memid;
  INVOKEKIND invkind;
  int16_t optional = 0;            // -1: the last parameter is a parameter array
  VARTYPE type = VT_VOID;          // the result (a get: the property's type)
  std::vector<VARTYPE> params;     // in call order
  const std::string* name;
  const std::vector<std::string>* paramNames = nullptr;  // events, and members that name theirs
  // The enumeration of a property's value (the get's result, the put's value), as a reference
  // to another type (VT_USERDEFINED, hreftype = place in the interface's list of enumerations).
  int enumRef = -1;
  bool byRef = false;  // event arguments passed by reference
};

// The element type of an array (VT_SAFEARRAY): always VARIANT.
TYPEDESC* variantDesc() {
  static TYPEDESC d = [] {
    TYPEDESC t;
    std::memset(&t, 0, sizeof t);
    t.vt = VT_VARIANT;
    return t;
  }();
  return &d;
}

// A FUNCDESC with its parameter array in one block, so that one delete releases both.
struct FuncBlock {
  FUNCDESC desc;
  std::vector<ELEMDESC> params;
};

ELEMDESC elem(VARTYPE vt, uint16_t flags, int enumRef = -1) {
  ELEMDESC e;
  std::memset(&e, 0, sizeof e);
  e.tdesc.vt = vt;
  if (vt == VT_SAFEARRAY) e.tdesc.lptdesc = variantDesc();
  if (enumRef >= 0) {
    e.tdesc.vt = VT_USERDEFINED;
    e.tdesc.hreftype = static_cast<HREFTYPE>(enumRef);
  }
  e.paramdesc.wParamFlags = flags;
  return e;
}

// An enumeration's constant as GetVarDesc describes it, with its value in the same block.
struct VarBlock {
  VARDESC desc;
  VARIANT value;
};

enum class Kind { Dispatch, Events, Class, Enum };

class TypeInfo final : public SingleInterface<ITypeInfo> {
 public:
  TypeInfo(Kind kind, const host::MemberTable* table, const TypeLibraryEntry* entry)
      : SingleInterface(IID_ITypeInfo), kind_(kind), table_(table), entry_(entry) {
    if (kind_ == Kind::Dispatch) listMembers();
    else if (kind_ == Kind::Events) listEvents();
  }
  explicit TypeInfo(const host::EnumType& e)
      : SingleInterface(IID_ITypeInfo), kind_(Kind::Enum), table_(nullptr), entry_(nullptr), enum_(&e) {}

  HRESULT GetTypeAttr(TYPEATTR** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    auto* a = new (std::nothrow) TYPEATTR;
    if (!a) return E_OUTOFMEMORY;
    std::memset(a, 0, sizeof *a);
    const Guid& g = kind_ == Kind::Class ? entry_->clsid
                    : !entry_ || kind_ == Kind::Enum ? Guid{}
                    : kind_ == Kind::Dispatch ? entry_->iid
                                              : entry_->eventsIid;
    std::memcpy(&a->guid, &g, sizeof g);
    a->memidConstructor = MEMBERID_NIL;
    a->memidDestructor = MEMBERID_NIL;
    a->cbAlignment = alignof(void*);
    a->wMajorVerNum = kTypeLibraryMajor;
    a->wMinorVerNum = kTypeLibraryMinor;
    if (kind_ == Kind::Enum) {
      a->typekind = TKIND_ENUM;
      a->cVars = static_cast<WORD>(enum_->members.size());
      a->cbSizeInstance = sizeof(int32_t);
      a->cbAlignment = alignof(int32_t);
    } else if (kind_ == Kind::Class) {
      a->typekind = TKIND_COCLASS;
      a->cImplTypes = static_cast<WORD>(implTypes());
      if (creatable()) a->wTypeFlags |= TYPEFLAG_FCANCREATE;
      if (entry_->kind == ClassKind::Control) a->wTypeFlags |= TYPEFLAG_FCONTROL;
      if (entry_->instancing == Instancing::Global) a->wTypeFlags |= TYPEFLAG_FAPPOBJECT;
    } else {
      a->typekind = TKIND_DISPATCH;
      a->cFuncs = static_cast<WORD>(funcs_.size());
      a->cbSizeVft = 7 * sizeof(void*);  // IUnknown and IDispatch
      a->wTypeFlags = TYPEFLAG_FDISPATCHABLE;
    }
    attrs_.insert(a);
    *out = a;
    return S_OK;
  }
  void ReleaseTypeAttr(TYPEATTR* a) override {
    if (attrs_.erase(a)) delete a;
  }

  HRESULT GetFuncDesc(UINT index, FUNCDESC** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index >= funcs_.size()) return TYPE_E_ELEMENTNOTFOUND;
    const Func& f = funcs_[index];
    auto* b = new (std::nothrow) FuncBlock;
    if (!b) return E_OUTOFMEMORY;
    std::unique_ptr<FuncBlock> owner(b);
    std::memset(&b->desc, 0, sizeof b->desc);
    const size_t n = f.params.size();
    for (size_t i = 0; i < n; ++i) {
      uint16_t flags = f.byRef ? PARAMFLAG_FIN | PARAMFLAG_FOUT : PARAMFLAG_FIN;
      if (f.optional > 0 && i + static_cast<size_t>(f.optional) >= n) flags |= PARAMFLAG_FOPT;
      const bool value = f.invkind != INVOKE_FUNC && f.invkind != INVOKE_PROPERTYGET && i + 1 == n;
      b->params.push_back(elem(f.params[i], flags, value ? f.enumRef : -1));
    }
    FUNCDESC& d = b->desc;
    d.memid = f.memid;
    d.lprgelemdescParam = b->params.empty() ? nullptr : b->params.data();
    d.funckind = FUNC_DISPATCH;
    d.invkind = f.invkind;
    d.callconv = CC_STDCALL;
    d.cParams = static_cast<int16_t>(n);
    d.cParamsOpt = f.optional;
    d.elemdescFunc = elem(f.type, 0, f.invkind == INVOKE_PROPERTYGET ? f.enumRef : -1);
    *out = &b->desc;
    descs_.emplace(&b->desc, std::move(owner));
    return S_OK;
  }
  void ReleaseFuncDesc(FUNCDESC* d) override { descs_.erase(d); }

  HRESULT GetNames(MEMBERID id, BSTR* names, UINT max, UINT* count) override {
    if (!names || !count) return E_POINTER;
    *count = 0;
    if (kind_ == Kind::Enum) {
      if (id < 0 || static_cast<size_t>(id) >= enum_->members.size()) return TYPE_E_ELEMENTNOTFOUND;
      if (max > 0) {
        names[0] = allocBstr(enum_->members[static_cast<size_t>(id)].first);
        *count = 1;
      }
      return S_OK;
    }
    const Func* f = byId(id);
    if (!f) return TYPE_E_ELEMENTNOTFOUND;
    std::vector<std::string_view> all{*f->name};
    if (f->paramNames)
      for (const std::string& p : *f->paramNames) all.push_back(p);
    UINT n = 0;
    for (; n < max && n < all.size(); ++n) names[n] = allocBstr(all[n]);
    *count = n;
    return S_OK;
  }

  HRESULT GetIDsOfNames(OLECHAR** names, UINT count, MEMBERID* ids) override {
    if (!names || !ids) return E_POINTER;
    if (count == 0) return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i) ids[i] = MEMBERID_NIL;
    const Func* f = nullptr;
    if (names[0]) {
      const std::string want = toUtf8(names[0]);
      for (const Func& g : funcs_)
        if (host::equalsNoCase(*g.name, want)) {
          f = &g;
          break;
        }
    }
    if (!f) return DISP_E_UNKNOWNNAME;
    ids[0] = f->memid;
    HRESULT hr = S_OK;
    for (UINT i = 1; i < count; ++i) {
      const std::string want = names[i] ? toUtf8(names[i]) : std::string();
      if (f->paramNames)
        for (size_t p = 0; p < f->paramNames->size(); ++p)
          if (host::equalsNoCase((*f->paramNames)[p], want)) ids[i] = static_cast<MEMBERID>(p);
      if (ids[i] == MEMBERID_NIL) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }

  // Late-bound calls go to the instance's own IDispatch (ours or a sink's).
  HRESULT Invoke(void* instance, MEMBERID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                 UINT* argErr) override {
    if (kind_ == Kind::Class) return TYPE_E_WRONGTYPEKIND;
    if (!instance) return E_INVALIDARG;
    auto* d = static_cast<IDispatch*>(instance);
    return d->Invoke(id, &IID_NULL, 0, flags, params, result, excep, argErr);
  }

  HRESULT GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* helpContext, BSTR* helpFile) override {
    std::string text;
    if (id == MEMBERID_NIL) {
      text = typeName();
    } else if (kind_ == Kind::Enum) {
      if (id < 0 || static_cast<size_t>(id) >= enum_->members.size()) return TYPE_E_ELEMENTNOTFOUND;
      text = enum_->members[static_cast<size_t>(id)].first;
    } else if (const Func* f = byId(id)) {
      text = *f->name;
    } else {
      return TYPE_E_ELEMENTNOTFOUND;
    }
    if (name) *name = allocBstr(text);
    if (doc) *doc = nullptr;
    if (helpContext) *helpContext = 0;
    if (helpFile) *helpFile = nullptr;
    return S_OK;
  }

  HRESULT GetRefTypeOfImplType(UINT index, HREFTYPE* ref) override {
    if (!ref) return E_POINTER;
    if (kind_ != Kind::Class || index >= implTypes()) return TYPE_E_ELEMENTNOTFOUND;
    *ref = index;
    return S_OK;
  }
  HRESULT GetImplTypeFlags(UINT index, int32_t* flags) override {
    if (!flags) return E_POINTER;
    *flags = 0;
    if (kind_ != Kind::Class || index >= implTypes()) return TYPE_E_ELEMENTNOTFOUND;
    *flags = index == 0 ? IMPLTYPEFLAG_FDEFAULT : IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE;
    return S_OK;
  }
  // A class's references: 0 its default interface, 1 its event interface.
  // An interface's references: its enumerations, by their place in enums_.
  HRESULT GetRefTypeInfo(HREFTYPE ref, ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (kind_ == Kind::Dispatch && ref < enums_.size()) {
      *out = enumTypeInfo(*enums_[ref]);
      return *out ? S_OK : E_OUTOFMEMORY;
    }
    if (kind_ != Kind::Class || ref >= implTypes()) return TYPE_E_ELEMENTNOTFOUND;
    const host::MemberTable* table = memberTableOf(*entry_);
    if (!table) return TYPE_E_ELEMENTNOTFOUND;
    *out = ref == 0 ? dispatchTypeInfo(*table, entry_) : eventsTypeInfo(*table, *entry_);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  // A class creates its objects as its class factory does.
  HRESULT CreateInstance(IUnknown* outer, const IID* riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (kind_ != Kind::Class) return TYPE_E_WRONGTYPEKIND;
    if (outer) return CLASS_E_NOAGGREGATION;
    IClassFactory* f = nullptr;
    HRESULT hr = DllGetClassObject(asIid(entry_->clsid), &IID_IClassFactory, reinterpret_cast<void**>(&f));
    if (FAILED(hr)) return hr;
    hr = f->CreateInstance(nullptr, riid, ppv);
    f->Release();
    return hr;
  }

  HRESULT GetContainingTypeLib(ITypeLib** lib, UINT* index) override {
    if (!lib) return E_POINTER;
    *lib = nullptr;
    if (!entry_) return TYPE_E_ELEMENTNOTFOUND;
    *lib = typeLib();
    if (!*lib) return E_OUTOFMEMORY;
    if (index) *index = static_cast<UINT>(rowIndex(*entry_) - 1);
    return S_OK;
  }

  HRESULT GetTypeComp(ITypeComp** comp) override {
    if (comp) *comp = nullptr;
    return E_NOTIMPL;
  }
  // Variables: an enumeration's constants (interfaces have functions only).
  HRESULT GetVarDesc(UINT index, VARDESC** desc) override {
    if (!desc) return E_POINTER;
    *desc = nullptr;
    if (kind_ != Kind::Enum || index >= enum_->members.size()) return TYPE_E_ELEMENTNOTFOUND;
    auto b = std::make_unique<VarBlock>();
    std::memset(&b->desc, 0, sizeof b->desc);
    VariantInit(&b->value);
    b->value.vt = VT_I4;
    b->value.lVal = enum_->members[index].second;
    b->desc.memid = static_cast<MEMBERID>(index);
    b->desc.lpvarValue = &b->value;
    b->desc.elemdescVar = elem(VT_I4, 0);
    b->desc.varkind = VAR_CONST;
    *desc = &b->desc;
    vars_.emplace(&b->desc, std::move(b));
    return S_OK;
  }
  void ReleaseVarDesc(VARDESC* d) override { vars_.erase(d); }
  HRESULT GetDllEntry(MEMBERID, INVOKEKIND, BSTR* dll, BSTR* name, WORD* ordinal) override {
    if (dll) *dll = nullptr;
    if (name) *name = nullptr;
    if (ordinal) *ordinal = 0;
    return TYPE_E_BADMODULEKIND;
  }
  HRESULT AddressOfMember(MEMBERID, INVOKEKIND, void** address) override {
    if (address) *address = nullptr;
    return TYPE_E_BADMODULEKIND;
  }
  HRESULT GetMops(MEMBERID, BSTR* mops) override {
    if (!mops) return E_POINTER;
    *mops = nullptr;
    return S_OK;
  }

 private:
  ~TypeInfo() {
    for (TYPEATTR* a : attrs_) delete a;
  }

  void listMembers() {
    for (const host::Member& m : table_->members()) {
      const std::vector<std::string>* names = m.params.empty() ? nullptr : &m.params;
      if (m.kind == host::MemberKind::Method) {
        Func f{m.dispid, INVOKE_FUNC, static_cast<int16_t>(m.optionalArgs), vartypeOf(m.type), {}, &m.name, names};
        f.params.assign(m.argCount, VT_VARIANT);
        if (m.varArgs && !f.params.empty()) {
          f.params.back() = VT_SAFEARRAY;
          f.optional = -1;
        }
        funcs_.push_back(std::move(f));
        continue;
      }
      Func get{m.dispid, INVOKE_PROPERTYGET, 0, vartypeOf(m.type), {}, &m.name, names, enumRef(m.enumType)};
      if (m.indexed()) get.params.assign(m.argCount, VT_VARIANT);
      funcs_.push_back(get);
      if (m.indexed() ? !m.letAt : !m.let) continue;
      Func put{m.dispid, isObjectKind(m.type) ? INVOKE_PROPERTYPUTREF : INVOKE_PROPERTYPUT, 0, VT_VOID, get.params,
               &m.name, names, get.enumRef};
      put.params.push_back(vartypeOf(m.type));
      funcs_.push_back(std::move(put));
    }
  }
  void listEvents() {
    for (const host::EventMember& e : table_->events()) {
      Func f{e.dispid, INVOKE_FUNC, 0, VT_VOID, std::vector<VARTYPE>(e.params.size(), VT_VARIANT), &e.name,
             &e.params};
      f.byRef = !e.byValue;
      funcs_.push_back(std::move(f));
    }
  }
  // The reference number of an enumeration this interface uses (-1 for none).
  int enumRef(const host::EnumType* e) {
    if (!e) return -1;
    for (size_t i = 0; i < enums_.size(); ++i)
      if (enums_[i] == e) return static_cast<int>(i);
    enums_.push_back(e);
    return static_cast<int>(enums_.size() - 1);
  }

  const Func* byId(MEMBERID id) const {
    for (const Func& f : funcs_)
      if (f.memid == id) return &f;
    return nullptr;
  }
  // A class without a member table (one only the library itself uses) names no interface: there
  // would be nothing to describe it with.
  UINT implTypes() const {
    if (entry_->iid.isNull() || !memberTableOf(*entry_)) return 0;
    return entry_->eventsIid.isNull() ? 1 : 2;
  }
  bool creatable() const {
    return registered(*entry_) && entry_->instancing != Instancing::NotCreatable;
  }
  std::string typeName() const {
    if (kind_ == Kind::Enum) return enum_->name;
    const std::string name = entry_ ? std::string(entry_->name) : table_->className();
    if (kind_ == Kind::Dispatch) return "_" + name;
    if (kind_ == Kind::Events) return "__" + name;
    return name;
  }

  Kind kind_;
  const host::MemberTable* table_;
  const TypeLibraryEntry* entry_;
  const host::EnumType* enum_ = nullptr;
  std::vector<Func> funcs_;
  std::vector<const host::EnumType*> enums_;
  std::unordered_set<TYPEATTR*> attrs_;
  std::unordered_map<FUNCDESC*, std::unique_ptr<FuncBlock>> descs_;
  std::unordered_map<VARDESC*, std::unique_ptr<VarBlock>> vars_;
};

// The library ZorvaXP: one coclass per class row, in the rows' order.
class TypeLib final : public SingleInterface<ITypeLib> {
 public:
  TypeLib() : SingleInterface(IID_ITypeLib) {}


  UINT GetTypeInfoCount() override { return static_cast<UINT>(typeLibrary().size() - 1); }
  HRESULT GetTypeInfo(UINT index, ITypeInfo** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (index >= GetTypeInfoCount()) return TYPE_E_ELEMENTNOTFOUND;
    *out = classTypeInfo(typeLibrary()[index + 1]);
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT GetTypeInfoType(UINT index, TYPEKIND* kind) override {
    if (!kind) return E_POINTER;
    if (index >= GetTypeInfoCount()) return TYPE_E_ELEMENTNOTFOUND;
    *kind = TKIND_COCLASS;
    return S_OK;
  }
  // A class by its class identifier, an interface by its own.
  HRESULT GetTypeInfoOfGuid(const GUID* guid, ITypeInfo** out) override {
    if (!guid || !out) return E_POINTER;
    *out = nullptr;
    const Guid& g = asGuid(*guid);
    if (const TypeLibraryEntry* e = findByClsid(g)) {
      *out = classTypeInfo(*e);
    } else if (const TypeLibraryEntry* i = findByIid(g)) {
      const host::MemberTable* table = memberTableOf(*i);
      if (!table) return TYPE_E_ELEMENTNOTFOUND;
      *out = g == i->iid ? dispatchTypeInfo(*table, i) : eventsTypeInfo(*table, *i);
    } else {
      return TYPE_E_ELEMENTNOTFOUND;
    }
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT GetLibAttr(TLIBATTR** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    auto* a = new (std::nothrow) TLIBATTR;
    if (!a) return E_OUTOFMEMORY;
    std::memset(a, 0, sizeof *a);
    std::memcpy(&a->guid, &typeLibraryId(), sizeof a->guid);
    a->syskind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
    a->wMajorVerNum = kTypeLibraryMajor;
    a->wMinorVerNum = kTypeLibraryMinor;
    attrs_.insert(a);
    *out = a;
    return S_OK;
  }
  void ReleaseTLibAttr(TLIBATTR* a) override {
    if (attrs_.erase(a)) delete a;
  }
  HRESULT GetTypeComp(ITypeComp** comp) override {
    if (comp) *comp = nullptr;
    return E_NOTIMPL;
  }
  // -1: the library itself; else the class at that index.
  HRESULT GetDocumentation(int32_t index, BSTR* name, BSTR* doc, DWORD* helpContext, BSTR* helpFile) override {
    std::string_view text;
    if (index == -1) text = kTypeLibraryName;
    else if (index >= 0 && static_cast<UINT>(index) < GetTypeInfoCount()) text = typeLibrary()[index + 1].name;
    else return TYPE_E_ELEMENTNOTFOUND;
    if (name) *name = allocBstr(text);
    if (doc) *doc = index == -1 ? allocBstr(kServerName) : nullptr;
    if (helpContext) *helpContext = 0;
    if (helpFile) *helpFile = nullptr;
    return S_OK;
  }
  HRESULT IsName(OLECHAR* name, ULONG, int32_t* found) override {
    if (!name || !found) return E_POINTER;
    *found = findByName(toUtf8(name)) ? 1 : 0;
    return S_OK;
  }
  // Class names only: at most one match, since the classes' names differ.
  HRESULT FindName(OLECHAR* name, ULONG, ITypeInfo** infos, MEMBERID* ids, uint16_t* found) override {
    if (!name || !infos || !ids || !found) return E_POINTER;
    const TypeLibraryEntry* e = *found ? findByName(toUtf8(name)) : nullptr;
    *found = 0;
    if (!e) return S_OK;
    infos[0] = classTypeInfo(*e);
    if (!infos[0]) return E_OUTOFMEMORY;
    ids[0] = MEMBERID_NIL;
    *found = 1;
    return S_OK;
  }

 private:
  ~TypeLib() {
    for (TLIBATTR* a : attrs_) delete a;
  }
  std::unordered_set<TLIBATTR*> attrs_;
};

}  // namespace

const host::MemberTable* memberTableOf(const TypeLibraryEntry& entry) {
  static std::map<const TypeLibraryEntry*, const host::MemberTable*> known;
  if (auto it = known.find(&entry); it != known.end()) return it->second;
  const host::MemberTable* table = nullptr;
  try {
    Creation made = create(entry);
    if (made.control) {
      std::unique_ptr<host::ControlObject> instance = made.control->create();
      if (instance) table = &instance->memberTable();
    } else if (made.object) {
      table = &made.object->memberTable();
    }
  } catch (const std::exception&) {
    return nullptr;  // asked again next time
  }
  known.emplace(&entry, table);
  return table;
}

ITypeInfo* dispatchTypeInfo(const host::MemberTable& table, const TypeLibraryEntry* entry) {
  try {
    return new TypeInfo(Kind::Dispatch, &table, entry);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

ITypeInfo* eventsTypeInfo(const host::MemberTable& table, const TypeLibraryEntry& entry) {
  try {
    return new TypeInfo(Kind::Events, &table, &entry);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

ITypeInfo* enumTypeInfo(const host::EnumType& e) {
  try {
    return new TypeInfo(e);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

ITypeInfo* classTypeInfo(const TypeLibraryEntry& entry) {
  try {
    return new TypeInfo(Kind::Class, nullptr, &entry);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

ITypeLib* typeLib() { return new (std::nothrow) TypeLib(); }

}  // namespace zxp::library::com
