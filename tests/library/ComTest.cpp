// The component server in process: class factories, IDispatch over the member tables (VARIANT
// conversions, named arguments, errors with EXCEPINFO), events through connection points with
// by-reference arguments, and what registration writes.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "buttons/ZorvaXPButton.h"
#include "list/ZorvaXPListBox.h"
#include "library/ClassTable.h"
#include "library/TypeLibrary.h"
#include "library/com/Automation.h"
#include "library/com/DispatchObject.h"
#include "library/com/Registration.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/User.h"
#include "platform/ui/TestInput.h"
#include "zorvaxp/zorvaxp_com.h"

namespace zxp::library::com {
namespace {

// The IUnknown part of a client-side object the test owns: it answers IUnknown and `iid`, and
// counts references without ever deleting itself.
template <class Iface, const IID& iid>
class TestUnknown : public Iface {
 public:
  HRESULT QueryInterface(const IID* riid, void** ppv) override {
    *ppv = sameIid(riid, IID_IUnknown) || sameIid(riid, iid) ? this : nullptr;
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  ULONG refs = 1;
};

// A sink that hands every event to a function.
class Sink final : public TestUnknown<IDispatch, IID_IDispatch> {
 public:
  std::function<void(DISPID, DISPPARAMS&)> onEvent;
  HRESULT GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(const IID*, OLECHAR**, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID id, const IID*, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) override {
    if (onEvent) onEvent(id, *p);
    return S_OK;
  }
};

// The window of a control, through its IOleWindow.
HWND windowOf(IDispatch* d) {
  IOleWindow* w = nullptr;
  HWND h = 0;
  if (d->QueryInterface(&IID_IOleWindow, reinterpret_cast<void**>(&w)) == S_OK) {
    w->GetWindow(&h);
    w->Release();
  }
  return h;
}

class ComTest : public ::testing::Test {
 protected:
  void SetUp() override { ui::resetWindowSystem(); }
  void TearDown() override {
    for (IDispatch* d : made) d->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    ui::resetWindowSystem();
  }

  IDispatch* create(const char* className) {
    const TypeLibraryEntry* e = findByName(className);
    EXPECT_NE(e, nullptr);
    IClassFactory* f = nullptr;
    if (DllGetClassObject(asIid(e->clsid), &IID_IClassFactory, reinterpret_cast<void**>(&f)) != S_OK) return nullptr;
    IDispatch* d = nullptr;
    EXPECT_EQ(f->CreateInstance(nullptr, &IID_IDispatch, reinterpret_cast<void**>(&d)), S_OK);
    f->Release();
    if (d) made.push_back(d);
    return d;
  }

  static DISPID id(IDispatch* d, const char* name) {
    std::u16string w = toUtf16(name);
    OLECHAR* names[] = {reinterpret_cast<OLECHAR*>(w.data())};
    DISPID out = 0;
    d->GetIDsOfNames(&IID_NULL, names, 1, 0, &out);
    return out;
  }

  // Invoke with arguments in call order; the result is kept in `result`.
  HRESULT call(IDispatch* d, DISPID member, WORD flags, std::vector<VARIANT> args, bool namedPut = false) {
    std::reverse(args.begin(), args.end());
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS p{args.data(), namedPut ? &named : nullptr, static_cast<UINT>(args.size()), namedPut ? 1u : 0u};
    VariantClear(&result);
    clearExcep();
    argErr = 99;
    const HRESULT hr = d->Invoke(member, &IID_NULL, 0, flags, &p, &result, &excep, &argErr);
    for (VARIANT& v : args) VariantClear(&v);
    return hr;
  }
  HRESULT put(IDispatch* d, const char* name, VARIANT v) {
    return call(d, id(d, name), DISPATCH_PROPERTYPUT, {v}, true);
  }
  HRESULT get(IDispatch* d, const char* name) { return call(d, id(d, name), DISPATCH_PROPERTYGET, {}); }
  void clearExcep() {
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    excep = EXCEPINFO{};
  }

  static VARIANT of(VARTYPE t) { VARIANT v{}; v.vt = t; return v; }
  static VARIANT i2(int16_t x) { VARIANT v{}; v.vt = VT_I2; v.iVal = x; return v; }
  static VARIANT i4(int32_t x) { VARIANT v{}; v.vt = VT_I4; v.lVal = x; return v; }
  static VARIANT r8(double x) { VARIANT v{}; v.vt = VT_R8; v.dblVal = x; return v; }
  static VARIANT str(const char* s) { VARIANT v{}; v.vt = VT_BSTR; v.bstrVal = allocBstr(s); return v; }
  std::string resultText() const { return result.vt == VT_BSTR ? toUtf8(result.bstrVal, SysStringLen(result.bstrVal)) : "?"; }

  std::vector<IDispatch*> made;
  VARIANT result{};
  EXCEPINFO excep{};
  UINT argErr = 0;
  ~ComTest() override {
    VariantClear(&result);
    clearExcep();
  }
};

TEST_F(ComTest, PropertiesConvertTheirArgumentsToTheMemberType) {
  IDispatch* b = create("ZorvaXPButton");
  ASSERT_NE(b, nullptr);
  // A Long colour from a 16-bit integer, a Double (halves to even) and a numeric text.
  for (auto [in, out] : {std::pair{i2(255), 255}, {r8(2.5), 2}, {str("65280"), 0xFF00}}) {
    EXPECT_EQ(put(b, "NormalColor", in), S_OK);
    EXPECT_EQ(get(b, "NormalColor"), S_OK);
    EXPECT_EQ(std::pair(result.vt, result.lVal), std::pair(VARTYPE{VT_I4}, int32_t{out}));
  }
  // Out of range and not a number: the component model's codes, the argument named.
  EXPECT_EQ(put(b, "NormalColor", r8(1e12)), DISP_E_OVERFLOW);
  EXPECT_EQ(put(b, "NormalColor", str("blue")), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argErr, 0u);
  EXPECT_EQ(put(b, "Caption", of(VT_NULL)), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(put(b, "Caption", of(0x48)), DISP_E_BADVARTYPE);  // no such type
  // A Boolean reads back as VARIANT_BOOL; a by-reference argument is read through its pointer.
  VARIANT_BOOL off = VARIANT_FALSE;
  VARIANT ref = of(VT_BYREF | VT_BOOL);
  ref.pboolVal = &off;
  EXPECT_EQ(put(b, "HiglightMouseOver", ref), S_OK);
  EXPECT_EQ(get(b, "HiglightMouseOver"), S_OK);
  EXPECT_EQ(std::pair(result.vt, result.boolVal), std::pair(VARTYPE{VT_BOOL}, VARIANT_BOOL{VARIANT_FALSE}));
  // Text round-trips through UTF-16, outside the basic plane too.
  EXPECT_EQ(put(b, "Caption", str("Grüße 😀")), S_OK);
  EXPECT_EQ(get(b, "Caption"), S_OK);
  EXPECT_EQ(resultText(), "Grüße 😀");
}

// A control's site answers through the control, as the platform's extended control does: its
// place and size in twips, visibility and name, in any case, under identifiers of their own. A
// control's own member of the same name comes first.
TEST_F(ComTest, TheSitesMembersAnswerThroughTheControl) {
  IDispatch* b = create("ZorvaXPButton");
  ASSERT_NE(b, nullptr);
  const HWND w = windowOf(b);
  ASSERT_NE(w, 0u);
  const DISPID left = id(b, "left");
  EXPECT_NE(left, DISPID_UNKNOWN);
  EXPECT_NE(left, id(b, "Caption"));
  EXPECT_EQ(put(b, "Left", i4(600)), S_OK);
  EXPECT_EQ(put(b, "TOP", str("300")), S_OK);  // converted like any property's value
  EXPECT_EQ(put(b, "Width", i4(1500)), S_OK);
  RECT r{};
  GetWindowRect(w, &r);
  POINT at{r.left, r.top};
  ScreenToClient(GetParent(w), &at);
  EXPECT_EQ(std::tuple(at.x, at.y, r.right - r.left), std::tuple(40, 20, 100));
  EXPECT_EQ(call(b, left, DISPATCH_PROPERTYGET, {}), S_OK);
  EXPECT_EQ(std::pair(result.vt, result.lVal), std::pair(VARTYPE{VT_I4}, int32_t{600}));
  EXPECT_EQ(get(b, "Name"), S_OK);
  EXPECT_EQ(result.vt, VARTYPE{VT_BSTR});
  EXPECT_EQ(put(b, "Name", str("other")), DISP_E_MEMBERNOTFOUND);  // read-only
  VARIANT off = of(VT_BOOL);
  off.boolVal = VARIANT_FALSE;
  EXPECT_EQ(put(b, "Visible", off), S_OK);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(call(b, static_cast<DISPID>(0x8001FFFFu), DISPATCH_PROPERTYGET, {}), DISP_E_MEMBERNOTFOUND);

  // The status bar's own Visible is indexed by panel; the site's does not hide it.
  IDispatch* bar = create("ZorvaXPStatusBar");
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(call(bar, id(bar, "Visible"), DISPATCH_PROPERTYGET, {i4(1)}), S_OK);
  EXPECT_EQ(call(bar, id(bar, "Visible"), DISPATCH_PROPERTYGET, {}), DISP_E_BADPARAMCOUNT);
  // Objects without a site (a row) have no such members.
  IDispatch* row = create("clsLItem");
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(id(row, "Left"), DISPID_UNKNOWN);
}

TEST_F(ComTest, BadCallsGetTheComponentModelsCodes) {
  IDispatch* b = create("ZorvaXPButton");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(id(b, "NoSuchThing"), DISPID_UNKNOWN);
  // A named parameter the table does not know.
  std::u16string n0 = toUtf16("Caption"), n1 = toUtf16("Value");
  OLECHAR* names[] = {reinterpret_cast<OLECHAR*>(n0.data()), reinterpret_cast<OLECHAR*>(n1.data())};
  DISPID ids[2];
  EXPECT_EQ(b->GetIDsOfNames(&IID_NULL, names, 2, 0, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(std::pair(ids[0], ids[1]), std::pair(DISPID{0x68030006}, DISPID{DISPID_UNKNOWN}));
  const DISPID caption = id(b, "Caption");
  EXPECT_EQ(call(b, caption, DISPATCH_PROPERTYPUT, {str("x")}), DISP_E_PARAMNOTFOUND);  // no named argument
  EXPECT_EQ(call(b, caption, DISPATCH_PROPERTYPUT, {str("x"), str("y")}, true), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(call(b, caption, DISPATCH_PROPERTYGET, {i4(1)}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(call(b, id(b, "RedrawMe"), DISPATCH_METHOD, {i4(1)}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(call(b, id(b, "RedrawMe"), DISPATCH_PROPERTYPUT, {i4(1)}, true), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(call(b, 0x600300FF, DISPATCH_METHOD, {}), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(call(b, id(b, "RedrawMe"), DISPATCH_METHOD, {}), S_OK);
  DISPPARAMS p{nullptr, nullptr, 0, 0};
  EXPECT_EQ(b->Invoke(caption, &IID_IDispatch, 0, DISPATCH_PROPERTYGET, &p, nullptr, nullptr, nullptr),
            DISP_E_UNKNOWNINTERFACE);
  void* none = nullptr;
  EXPECT_EQ(b->QueryInterface(&IID_IClassFactory, &none), E_NOINTERFACE);
  // Classes clients cannot create have no factory.
  IClassFactory* f = nullptr;
  EXPECT_EQ(DllGetClassObject(asIid(findByName("clsTimer")->clsid), &IID_IClassFactory, reinterpret_cast<void**>(&f)),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(f, nullptr);
}

TEST_F(ComTest, HostErrorsArriveInExcepInfo) {
  IDispatch* row = create("clsLItem");
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(call(row, id(row, "lvInitColumns"), DISPATCH_METHOD, {i4(3)}), S_OK);
  EXPECT_EQ(std::pair(result.vt, result.boolVal), std::pair(VARTYPE{VT_BOOL}, VARIANT_BOOL{VARIANT_TRUE}));
  // Indexed property: index then value.
  EXPECT_EQ(call(row, id(row, "iCell"), DISPATCH_PROPERTYPUT, {i4(2), str("two")}, true), S_OK);
  EXPECT_EQ(call(row, id(row, "iCell"), DISPATCH_PROPERTYGET, {i4(2)}), S_OK);
  EXPECT_EQ(resultText(), "two");
  EXPECT_EQ(call(row, id(row, "iCell"), DISPATCH_PROPERTYGET, {i4(9)}), DISP_E_EXCEPTION);
  EXPECT_EQ(std::tuple(excep.scode, toUtf8(excep.bstrDescription), toUtf8(excep.bstrSource)),
            std::tuple(ZORVAXP_HOST_ERROR(9), "Subscript out of range", "ZorvaXPProject.clsLItem"));

  // The global class answers through its one instance.
  IDispatch* g = create("GZorva");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(call(g, id(g, "zGZorva_MD5"), DISPATCH_METHOD, {str("abc")}), S_OK);
  EXPECT_EQ(resultText(), "900150983CD24FB0D6963F7D28E17F72");
}

TEST_F(ComTest, FontsAndPicturesTravelAsDispatchObjects) {
  IDispatch* b = create("ZorvaXPButton");
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(get(b, "Font"), S_OK);
  ASSERT_EQ(result.vt, VT_DISPATCH);
  IDispatch* font = result.pdispVal;
  font->AddRef();
  EXPECT_EQ(get(font, "Name"), S_OK);
  EXPECT_FALSE(resultText().empty());
  // Its type information comes from its own table, outside the type library.
  ITypeInfo* ti = nullptr;
  ASSERT_EQ(font->GetTypeInfo(0, 0, &ti), S_OK);
  BSTR name = nullptr;
  ASSERT_EQ(ti->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(toUtf8(name), "_StdFont");
  SysFreeString(name);
  ITypeLib* lib = nullptr;
  EXPECT_EQ(ti->GetContainingTypeLib(&lib, nullptr), TYPE_E_ELEMENTNOTFOUND);
  EXPECT_EQ(lib, nullptr);
  ti->Release();
  // The same font object set back is taken as the font it carries.
  VARIANT v = of(VT_DISPATCH);
  v.pdispVal = font;  // the put releases it
  EXPECT_EQ(call(b, id(b, "Font"), DISPATCH_PROPERTYPUTREF, {v}, true), S_OK);
  // An empty picture is a null object.
  EXPECT_EQ(get(b, "Picture"), S_OK);
  EXPECT_EQ(std::pair(result.vt, result.pdispVal), std::pair(VARTYPE{VT_DISPATCH}, static_cast<IDispatch*>(nullptr)));
}

TEST_F(ComTest, EventsReachSinksWithArgumentsByReference) {
  IDispatch* b = create("ZorvaXPButton");
  ASSERT_NE(b, nullptr);
  IProvideClassInfo2* info = nullptr;
  ASSERT_EQ(b->QueryInterface(&IID_IProvideClassInfo2, reinterpret_cast<void**>(&info)), S_OK);
  GUID events{};
  EXPECT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
  info->Release();
  EXPECT_EQ(asGuid(events), findByName("ZorvaXPButton")->eventsIid);

  IConnectionPointContainer* cpc = nullptr;
  ASSERT_EQ(b->QueryInterface(&IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)), S_OK);
  IConnectionPoint* cp = nullptr;
  ASSERT_EQ(cpc->FindConnectionPoint(&events, &cp), S_OK);
  Sink sink;
  std::vector<DISPID> seen;
  sink.onEvent = [&](DISPID id, DISPPARAMS& p) {
    seen.push_back(id);
    if (id == 5) {  // KeyPress(KeyAscii): the sink turns the key into "A"
      ASSERT_EQ(p.cArgs, 1u);
      ASSERT_EQ(p.rgvarg[0].vt, VT_BYREF | VT_I2);
      *p.rgvarg[0].piVal = 65;
    }
    if (id == 4) {  // MouseDown(Button, Shift, X, Y): the last argument first
      ASSERT_EQ(p.cArgs, 4u);
      EXPECT_EQ(std::tuple(p.rgvarg[3].vt, *p.rgvarg[3].piVal, p.rgvarg[0].vt),
                std::tuple(VT_BYREF | VT_I2, 1, VT_BYREF | VT_R4));
    }
  };
  DWORD cookie = 0;
  ASSERT_EQ(cp->Advise(&sink, &cookie), S_OK);
  auto& button = static_cast<buttons::ZorvaXPButton&>(DispatchObject::from(b)->object());
  int16_t keySeenAfter = 0;
  button.KeyPress.connect([&](int16_t& k) { keySeenAfter = k; });

  const HWND hwnd = windowOf(b);
  ASSERT_NE(hwnd, 0u);
  ui::TestInput in;
  in.moveTo(hwnd).click();
  in.type("z");
  EXPECT_NE(std::find(seen.begin(), seen.end(), 1), seen.end());  // Click
  EXPECT_NE(std::find(seen.begin(), seen.end(), 4), seen.end());  // MouseDown
  EXPECT_EQ(keySeenAfter, 65);

  EXPECT_EQ(sink.refs, 2u);
  EXPECT_EQ(cp->Unadvise(cookie), S_OK);
  EXPECT_EQ(sink.refs, 1u);
  seen.clear();
  in.click();
  EXPECT_TRUE(seen.empty());
  cp->Release();
  cpc->Release();
}

TEST_F(ComTest, EnumeratorsHoldWhatTheyHandOutAndKeepTheServerLoaded) {
  IDispatch* b = create("ZorvaXPButton");
  ASSERT_NE(b, nullptr);
  IConnectionPointContainer* cpc = nullptr;
  ASSERT_EQ(b->QueryInterface(&IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)), S_OK);
  IEnumConnectionPoints* points = nullptr;
  ASSERT_EQ(cpc->EnumConnectionPoints(&points), S_OK);
  // The one point, then the end; several at once need a count to say how many came.
  IConnectionPoint* got[2] = {nullptr, nullptr};
  EXPECT_EQ(points->Next(2, got, nullptr), E_POINTER);
  ULONG fetched = 9;
  EXPECT_EQ(points->Next(2, got, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 1u);
  IID iid{};
  EXPECT_EQ(got[0]->GetConnectionInterface(&iid), S_OK);
  EXPECT_EQ(asGuid(iid), findByName("ZorvaXPButton")->eventsIid);
  EXPECT_EQ(points->Next(1, got + 1, nullptr), S_FALSE);
  EXPECT_EQ(points->Skip(1), S_FALSE);
  EXPECT_EQ(points->Reset(), S_OK);
  EXPECT_EQ(points->Skip(1), S_OK);
  IEnumConnectionPoints* clone = nullptr;
  ASSERT_EQ(points->Clone(&clone), S_OK);
  EXPECT_EQ(clone->Next(1, got + 1, nullptr), S_FALSE);  // the clone stands where the original stood
  EXPECT_EQ(clone->Reset(), S_OK);
  EXPECT_EQ(clone->Next(1, got + 1, nullptr), S_OK);
  EXPECT_EQ(got[1], got[0]);
  got[1]->Release();
  clone->Release();
  points->Release();

  // Connections: a snapshot of the sinks with their cookies.
  Sink one, two;
  DWORD c1 = 0, c2 = 0;
  ASSERT_EQ(got[0]->Advise(&one, &c1), S_OK);
  ASSERT_EQ(got[0]->Advise(&two, &c2), S_OK);
  IEnumConnections* conns = nullptr;
  ASSERT_EQ(got[0]->EnumConnections(&conns), S_OK);
  EXPECT_EQ(one.refs, 3u);  // the caller, the connection, the snapshot
  ASSERT_EQ(got[0]->Unadvise(c1), S_OK);
  CONNECTDATA data[3]{};
  EXPECT_EQ(conns->Next(3, data, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  // c1 is still listed: the snapshot was taken before Unadvise.
  EXPECT_EQ(std::tuple(data[0].dwCookie, data[1].dwCookie, data[0].pUnk), std::tuple(c1, c2, static_cast<IUnknown*>(&one)));
  EXPECT_EQ(one.refs, 3u);  // the caller, the snapshot, the handed-out data
  data[0].pUnk->Release();
  data[1].pUnk->Release();
  EXPECT_EQ(conns->Skip(5), S_FALSE);
  EXPECT_EQ(conns->Next(1, data, nullptr), S_FALSE);
  EXPECT_EQ(conns->QueryInterface(&IID_IEnumConnectionPoints, reinterpret_cast<void**>(&points)), E_NOINTERFACE);

  // An enumerator outlives the object's other references and keeps the server loaded.
  ASSERT_EQ(got[0]->Unadvise(c2), S_OK);
  got[0]->Release();
  cpc->Release();
  made.clear();
  b->Release();
  EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
  conns->Release();
  EXPECT_EQ(std::pair(one.refs, two.refs), std::pair(1u, 1u));
}

// Releases type information and what it handed out, however a test ends.
struct TypeInfoHold {
  ITypeInfo* info = nullptr;
  ~TypeInfoHold() {
    if (info) info->Release();
  }
};

std::string bstrText(BSTR b) {
  std::string s = toUtf8(b, SysStringLen(b));
  SysFreeString(b);
  return s;
}

TEST_F(ComTest, TypeInformationDescribesTheDefaultInterfaceFromTheMemberTable) {
  IDispatch* b = create("ZorvaXPButton");
  ASSERT_NE(b, nullptr);
  UINT count = 0;
  EXPECT_EQ(b->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  TypeInfoHold hold;
  EXPECT_EQ(b->GetTypeInfo(1, 0, &hold.info), DISP_E_BADINDEX);
  EXPECT_EQ(hold.info, nullptr);
  ASSERT_EQ(b->GetTypeInfo(0, 0, &hold.info), S_OK);
  ITypeInfo* ti = hold.info;

  TYPEATTR* attr = nullptr;
  ASSERT_EQ(ti->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(asGuid(attr->guid), findByName("ZorvaXPButton")->iid);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  const UINT funcs = attr->cFuncs;
  ti->ReleaseTypeAttr(attr);
  TYPEATTR bogus{};
  ti->ReleaseTypeAttr(&bogus);  // not one of its own: ignored

  // Every function once: Caption as a get and a put, Font as a put by reference, About at -552.
  const DISPID caption = id(b, "Caption"), font = id(b, "Font");
  int captionGets = 0, captionPuts = 0, fontPutRefs = 0, about = 0;
  for (UINT i = 0; i < funcs; ++i) {
    FUNCDESC* f = nullptr;
    ASSERT_EQ(ti->GetFuncDesc(i, &f), S_OK);
    EXPECT_EQ(f->funckind, FUNC_DISPATCH);
    if (f->memid == caption && f->invkind == INVOKE_PROPERTYGET) {
      ++captionGets;
      EXPECT_EQ(std::tuple(f->cParams, f->elemdescFunc.tdesc.vt), std::tuple(0, VT_BSTR));
    }
    if (f->memid == caption && f->invkind == INVOKE_PROPERTYPUT) {
      ++captionPuts;
      ASSERT_EQ(f->cParams, 1);
      EXPECT_EQ(f->lprgelemdescParam[0].tdesc.vt, VT_BSTR);
    }
    if (f->memid == font && f->invkind == INVOKE_PROPERTYPUTREF) ++fontPutRefs;
    if (f->memid == DISPID_ABOUTBOX) {
      ++about;
      EXPECT_EQ(f->invkind, INVOKE_FUNC);
    }
    ti->ReleaseFuncDesc(f);
  }
  EXPECT_EQ(std::tuple(captionGets, captionPuts, fontPutRefs, about), std::tuple(1, 1, 1, 1));
  FUNCDESC* none = nullptr;
  EXPECT_EQ(ti->GetFuncDesc(funcs, &none), TYPE_E_ELEMENTNOTFOUND);
  EXPECT_EQ(none, nullptr);

  // Names and documentation by identifier; identifiers by name agree with the object's own.
  BSTR names[4] = {};
  UINT got = 0;
  ASSERT_EQ(ti->GetNames(caption, names, 4, &got), S_OK);
  ASSERT_EQ(got, 1u);
  EXPECT_EQ(bstrText(names[0]), "Caption");
  EXPECT_EQ(ti->GetNames(0x12345, names, 4, &got), TYPE_E_ELEMENTNOTFOUND);
  BSTR name = nullptr;
  ASSERT_EQ(ti->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(bstrText(name), "_ZorvaXPButton");
  ASSERT_EQ(ti->GetDocumentation(caption, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(bstrText(name), "Caption");
  std::u16string w = toUtf16("higlightmouseover");
  OLECHAR* lookup[] = {reinterpret_cast<OLECHAR*>(w.data())};
  MEMBERID mid = 0;
  EXPECT_EQ(ti->GetIDsOfNames(lookup, 1, &mid), S_OK);
  EXPECT_EQ(mid, id(b, "HiglightMouseOver"));

  // Invoke goes to the instance: a put through the type information shows on the object.
  VARIANT text = str("through the type");
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS p{&text, &named, 1, 1};
  EXPECT_EQ(ti->Invoke(b, caption, DISPATCH_PROPERTYPUT, &p, nullptr, nullptr, nullptr), S_OK);
  VariantClear(&text);
  EXPECT_EQ(get(b, "Caption"), S_OK);
  EXPECT_EQ(resultText(), "through the type");
  EXPECT_EQ(ti->Invoke(nullptr, caption, DISPATCH_PROPERTYGET, &p, nullptr, nullptr, nullptr), E_INVALIDARG);
  void* made = nullptr;
  EXPECT_EQ(ti->CreateInstance(nullptr, &IID_IDispatch, &made), TYPE_E_WRONGTYPEKIND);
}

TEST_F(ComTest, ClassInformationLeadsToTheEventInterfaceAndTheLibrary) {
  IDispatch* b = create("ZorvaXPButton");
  ASSERT_NE(b, nullptr);
  IProvideClassInfo2* pci = nullptr;
  ASSERT_EQ(b->QueryInterface(&IID_IProvideClassInfo, reinterpret_cast<void**>(&pci)), S_OK);
  TypeInfoHold coclass;
  ASSERT_EQ(pci->GetClassInfo(&coclass.info), S_OK);
  pci->Release();
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(coclass.info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(std::tuple(attr->typekind, attr->cImplTypes), std::tuple(TKIND_COCLASS, 2));
  EXPECT_EQ(asGuid(attr->guid), findByName("ZorvaXPButton")->clsid);
  EXPECT_EQ(attr->wTypeFlags & (TYPEFLAG_FCONTROL | TYPEFLAG_FCANCREATE), TYPEFLAG_FCONTROL | TYPEFLAG_FCANCREATE);
  coclass.info->ReleaseTypeAttr(attr);

  // The source interface: events with their parameter names.
  int32_t flags = 0;
  EXPECT_EQ(coclass.info->GetImplTypeFlags(1, &flags), S_OK);
  EXPECT_EQ(flags, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE);
  EXPECT_EQ(coclass.info->GetImplTypeFlags(2, &flags), TYPE_E_ELEMENTNOTFOUND);
  HREFTYPE ref = 0;
  ASSERT_EQ(coclass.info->GetRefTypeOfImplType(1, &ref), S_OK);
  TypeInfoHold events;
  ASSERT_EQ(coclass.info->GetRefTypeInfo(ref, &events.info), S_OK);
  ASSERT_EQ(events.info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(asGuid(attr->guid), findByName("ZorvaXPButton")->eventsIid);
  events.info->ReleaseTypeAttr(attr);
  std::u16string n0 = toUtf16("MouseDown"), n1 = toUtf16("x"), n2 = toUtf16("Nope");
  OLECHAR* names[] = {reinterpret_cast<OLECHAR*>(n0.data()), reinterpret_cast<OLECHAR*>(n1.data()),
                      reinterpret_cast<OLECHAR*>(n2.data())};
  MEMBERID ids[3] = {};
  EXPECT_EQ(events.info->GetIDsOfNames(names, 3, ids), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(std::tuple(ids[0], ids[1], ids[2]), std::tuple(4, 2, MEMBERID_NIL));  // X is MouseDown's third parameter
  BSTR all[8] = {};
  UINT got = 0;
  ASSERT_EQ(events.info->GetNames(4, all, 8, &got), S_OK);
  ASSERT_EQ(got, 5u);
  EXPECT_EQ(bstrText(all[0]), "MouseDown");
  for (UINT i = 1; i < got; ++i) SysFreeString(all[i]);
  ASSERT_EQ(events.info->GetNames(4, all, 2, &got), S_OK);  // no more than asked for
  EXPECT_EQ(got, 2u);
  SysFreeString(all[0]);
  SysFreeString(all[1]);

  // The library: its attributes and names, every class by its identifiers.
  ITypeLib* lib = nullptr;
  UINT index = 0;
  ASSERT_EQ(coclass.info->GetContainingTypeLib(&lib, &index), S_OK);
  BSTR name = nullptr;
  ASSERT_EQ(lib->GetDocumentation(static_cast<int32_t>(index), &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(bstrText(name), "ZorvaXPButton");
  ASSERT_EQ(lib->GetDocumentation(-1, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(bstrText(name), "ZorvaXP");
  EXPECT_EQ(lib->GetDocumentation(-2, &name, nullptr, nullptr, nullptr), TYPE_E_ELEMENTNOTFOUND);
  TLIBATTR* la = nullptr;
  ASSERT_EQ(lib->GetLibAttr(&la), S_OK);
  EXPECT_EQ(asGuid(la->guid), typeLibraryId());
  lib->ReleaseTLibAttr(la);
  EXPECT_EQ(lib->GetTypeInfoCount(), typeLibrary().size() - 1);
  for (const host::ControlClass& c : classes().classes()) {  // each control's table, read unsited
    SCOPED_TRACE(c.name);
    TypeInfoHold ti;
    ASSERT_EQ(lib->GetTypeInfoOfGuid(asIid(findByName(c.name)->iid), &ti.info), S_OK);
    ASSERT_EQ(ti.info->GetTypeAttr(&attr), S_OK);
    EXPECT_GT(attr->cFuncs, 0);
    ti.info->ReleaseTypeAttr(attr);
  }
  TypeInfoHold timer;  // described, but with nothing a client can reach
  ASSERT_EQ(lib->GetTypeInfoOfGuid(asIid(findByName("clsTimer")->clsid), &timer.info), S_OK);
  ASSERT_EQ(timer.info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(std::tuple(attr->wTypeFlags & TYPEFLAG_FCANCREATE, attr->cImplTypes), std::tuple(0, 0));
  timer.info->ReleaseTypeAttr(attr);
  // Every interface a class names can be read, as a client walking the library does, and every
  // function names each of its parameters (a property's new value has no name).
  for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
    TypeInfoHold c;
    ASSERT_EQ(lib->GetTypeInfo(i, &c.info), S_OK);
    ASSERT_EQ(c.info->GetTypeAttr(&attr), S_OK);
    const WORD implemented = attr->cImplTypes;
    c.info->ReleaseTypeAttr(attr);
    for (UINT k = 0; k < implemented; ++k) {
      SCOPED_TRACE(std::to_string(i) + "." + std::to_string(k));
      TypeInfoHold iface;
      ASSERT_EQ(c.info->GetRefTypeOfImplType(k, &ref), S_OK);
      ASSERT_EQ(c.info->GetRefTypeInfo(ref, &iface.info), S_OK);
      ASSERT_EQ(iface.info->GetTypeAttr(&attr), S_OK);
      const WORD functions = attr->cFuncs;
      iface.info->ReleaseTypeAttr(attr);
      for (UINT f = 0; f < functions; ++f) {
        FUNCDESC* fd = nullptr;
        ASSERT_EQ(iface.info->GetFuncDesc(f, &fd), S_OK);
        BSTR names[16] = {};
        UINT got = 0;
        EXPECT_EQ(iface.info->GetNames(fd->memid, names, 16, &got), S_OK);
        const bool put = fd->invkind == INVOKE_PROPERTYPUT || fd->invkind == INVOKE_PROPERTYPUTREF;
        EXPECT_EQ(got, static_cast<UINT>(fd->cParams + (put ? 0 : 1))) << (got ? toUtf8(names[0], SysStringLen(names[0])) : std::string("?"));
        for (UINT n = 0; n < got; ++n) SysFreeString(names[n]);
        iface.info->ReleaseFuncDesc(fd);
      }
    }
  }
  ITypeInfo* none = nullptr;
  EXPECT_EQ(timer.info->GetRefTypeInfo(0, &none), TYPE_E_ELEMENTNOTFOUND);
  EXPECT_EQ(lib->GetTypeInfoOfGuid(&IID_IDispatch, &none), TYPE_E_ELEMENTNOTFOUND);
  EXPECT_EQ(none, nullptr);

  // A class creates its objects as its factory does.
  TypeInfoHold row;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(asIid(findByName("clsLItem")->clsid), &row.info), S_OK);
  IDispatch* item = nullptr;
  ASSERT_EQ(row.info->CreateInstance(nullptr, &IID_IDispatch, reinterpret_cast<void**>(&item)), S_OK);
  made.push_back(item);
  EXPECT_EQ(call(item, id(item, "lvInitColumns"), DISPATCH_METHOD, {i4(2)}), S_OK);
  EXPECT_EQ(timer.info->CreateInstance(nullptr, &IID_IDispatch, reinterpret_cast<void**>(&item)),
            CLASS_E_CLASSNOTAVAILABLE);
  lib->Release();
}

// A page site that counts what the page tells it.
class PageSite final : public TestUnknown<IPropertyPageSite, IID_IPropertyPageSite> {
 public:
  HRESULT OnStatusChange(DWORD flags) override {
    if (flags & PROPPAGESTATUS_DIRTY) ++dirty;
    return S_OK;
  }
  HRESULT GetLocaleID(LCID* lcid) override {
    *lcid = 0;
    return S_OK;
  }
  HRESULT GetPageContainer(IUnknown** c) override {
    *c = nullptr;
    return E_NOTIMPL;
  }
  HRESULT TranslateAccelerator(tagMSG*) override { return S_FALSE; }
  int dirty = 0;
};

// The child of `parent` whose window class (or, for the fields of a page, whose text) is `name`.
HWND childNamed(HWND parent, const std::string& name, bool byText = false) {
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char buf[256] = {};
    byText ? GetWindowTextA(c, buf, sizeof buf) : GetClassNameA(c, buf, sizeof buf);
    if (name == buf) return c;
  }
  return 0;
}
HWND fieldShowing(HWND page, const std::string& text) { return childNamed(page, text, true); }

TEST_F(ComTest, PropertyPagesListTheirControlsPropertiesAndApplyEditsLateBound) {
  IDispatch* one = create("ZorvaXPLabel");
  IDispatch* two = create("ZorvaXPLabel");
  IDispatch* button = create("ZorvaXPButton");
  ASSERT_TRUE(one && two && button);
  EXPECT_EQ(put(one, "Caption", str("before")), S_OK);
  EXPECT_EQ(put(one, "ForeColor", i4(4242)), S_OK);

  // A control names its page; the button has none.
  ISpecifyPropertyPages* spp = nullptr;
  ASSERT_EQ(one->QueryInterface(&IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&spp)), S_OK);
  CAUUID pages{};
  ASSERT_EQ(spp->GetPages(&pages), S_OK);
  spp->Release();
  ASSERT_EQ(pages.cElems, 1u);
  const TypeLibraryEntry& labelPage = *findByName("pPageLabel");
  EXPECT_EQ(asGuid(pages.pElems[0]), labelPage.clsid);
  CoTaskMemFree(pages.pElems);
  EXPECT_EQ(button->QueryInterface(&IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&spp)), E_NOINTERFACE);

  // The page comes from its class factory.
  IClassFactory* f = nullptr;
  ASSERT_EQ(DllGetClassObject(asIid(labelPage.clsid), &IID_IClassFactory, reinterpret_cast<void**>(&f)), S_OK);
  IPropertyPage* page = nullptr;
  ASSERT_EQ(f->CreateInstance(nullptr, &IID_IPropertyPage, reinterpret_cast<void**>(&page)), S_OK);
  f->Release();
  PageSite site;
  EXPECT_EQ(page->SetPageSite(&site), S_OK);
  PROPPAGEINFO info{};
  ASSERT_EQ(page->GetPageInfo(&info), S_OK);
  EXPECT_EQ(toUtf8(info.pszTitle), "Label");
  CoTaskMemFree(info.pszTitle);

  // Only the page's class is taken, and a refused selection changes nothing.
  IUnknown* wrong[] = {one, button};
  EXPECT_EQ(page->SetObjects(2, wrong), E_NOINTERFACE);
  EXPECT_EQ(page->SetObjects(1, nullptr), E_POINTER);
  IUnknown* labels[] = {one, two};
  ASSERT_EQ(page->SetObjects(2, labels), S_OK);
  EXPECT_EQ(page->IsPageDirty(), S_FALSE);
  EXPECT_EQ(page->Show(1), static_cast<HRESULT>(0x8000FFFF));  // no window yet

  // The page's window sits in the host's frame with one field per plain property.
  const HWND frame = GetAncestor(windowOf(one), GA_ROOT);
  tagRECT where{10, 10, 400, 600};
  ASSERT_EQ(page->Activate(frame, &where, 1), S_OK);
  EXPECT_EQ(page->Activate(frame, &where, 1), static_cast<HRESULT>(0x8000FFFF));
  const HWND pageWindow = childNamed(frame, "ZxpPropertyPage");
  ASSERT_NE(pageWindow, 0u);
  EXPECT_NE(fieldShowing(pageWindow, "before"), 0u);
  EXPECT_NE(fieldShowing(pageWindow, "4242"), 0u);
  EXPECT_EQ(site.dirty, 0);  // filling the fields is no edit

  // An edit makes the page dirty (the site hears it once); Apply writes every selected object.
  SetWindowTextA(fieldShowing(pageWindow, "before"), "after");
  EXPECT_EQ(page->IsPageDirty(), S_OK);
  EXPECT_EQ(site.dirty, 1);
  EXPECT_EQ(get(one, "Caption"), S_OK);
  EXPECT_EQ(resultText(), "before");
  EXPECT_EQ(page->Apply(), S_OK);
  EXPECT_EQ(page->IsPageDirty(), S_FALSE);
  for (IDispatch* d : {one, two}) {
    EXPECT_EQ(get(d, "Caption"), S_OK);
    EXPECT_EQ(resultText(), "after");
  }
  // A value the property cannot take: the put's code, the page still dirty, nothing lost.
  SetWindowTextA(fieldShowing(pageWindow, "4242"), "blue");
  EXPECT_EQ(page->Apply(), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(page->IsPageDirty(), S_OK);
  EXPECT_EQ(get(one, "ForeColor"), S_OK);
  EXPECT_EQ(result.lVal, 4242);
  EXPECT_NE(fieldShowing(pageWindow, "blue"), 0u);

  EXPECT_EQ(page->Deactivate(), S_OK);
  EXPECT_FALSE(IsWindow(pageWindow));
  EXPECT_EQ(page->Deactivate(), static_cast<HRESULT>(0x8000FFFF));
  // A frame that goes while the page is active takes the page's window with it.
  const HWND other = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 300, 300, 0, 0, 0, nullptr);
  ASSERT_EQ(page->Activate(other, &where, 1), S_OK);
  DestroyWindow(other);
  EXPECT_EQ(page->Deactivate(), static_cast<HRESULT>(0x8000FFFF));
  SetWindowTextA(fieldShowing(pageWindow, "after"), "x");  // no window: nothing happens
  EXPECT_EQ(page->SetObjects(0, nullptr), S_OK);  // lets the labels go
  page->Release();
  EXPECT_EQ(site.refs, 1u);
}

TEST_F(ComTest, RegistrationWritesTheRegistryLayoutAndUnregistrationRemovesIt) {
  services::Registry r("/nonexistent/unused.reg");
  registerServer(r, "/opt/zorvaxp/lib/libzorvaxp.so");
  const TypeLibraryEntry& e = *findByName("ZorvaXPButton");
  const std::string key = "HKEY_CLASSES_ROOT\\CLSID\\" + e.clsid.toString();
  EXPECT_EQ(r.value("HKEY_CLASSES_ROOT\\ZorvaXPProject.ZorvaXPButton\\CLSID", "")->text, e.clsid.toString());
  EXPECT_EQ(r.value(key + "\\InprocServer32", "")->text, "/opt/zorvaxp/lib/libzorvaxp.so");
  EXPECT_EQ(r.value(key + "\\InprocServer32", "ThreadingModel")->text, "Apartment");
  EXPECT_EQ(r.value(key + "\\ProgID", "")->text, "ZorvaXPProject.ZorvaXPButton");
  EXPECT_TRUE(r.hasKey(key + "\\Control"));
  EXPECT_EQ(r.value(key + "\\MiscStatus\\1", "")->text, "168337");  // 0x29191
  EXPECT_EQ(r.value(key + "\\ToolboxBitmap32", "")->text, "/opt/zorvaxp/lib/libzorvaxp.so, 30011");
  EXPECT_EQ(r.value(key + "\\TypeLib", "")->text, typeLibraryId().toString());
  EXPECT_EQ(r.value("HKEY_CLASSES_ROOT\\Interface\\" + e.eventsIid.toString(), "")->text, "__ZorvaXPButton");
  EXPECT_EQ(r.value("HKEY_CLASSES_ROOT\\TypeLib\\" + typeLibraryId().toString() + "\\1.0", "")->text, "ZorvaXP");
  // Classes: the creatable ones as classes without the control key; the others only by interface.
  const std::string fso = "HKEY_CLASSES_ROOT\\CLSID\\" + findByName("clsFileSystemObj")->clsid.toString();
  EXPECT_TRUE(r.hasKey(fso + "\\InprocServer32"));
  EXPECT_FALSE(r.hasKey(fso + "\\Control"));
  EXPECT_FALSE(r.hasKey("HKEY_CLASSES_ROOT\\CLSID\\" + findByName("clsTimer")->clsid.toString()));
  EXPECT_TRUE(r.hasKey("HKEY_CLASSES_ROOT\\Interface\\" + findByName("clsTimer")->iid.toString()));
  EXPECT_TRUE(r.hasKey("HKEY_CLASSES_ROOT\\ZorvaXPProject.pPageLabel"));

  r.setString("HKEY_CLASSES_ROOT\\CLSID\\{00000000-0000-0000-0000-000000000001}", "", "someone else's");
  unregisterServer(r);
  EXPECT_FALSE(r.hasKey(key));
  EXPECT_FALSE(r.hasKey("HKEY_CLASSES_ROOT\\ZorvaXPProject.ZorvaXPButton"));
  EXPECT_EQ(r.subkeys("HKEY_CLASSES_ROOT\\CLSID"), std::vector<std::string>{"{00000000-0000-0000-0000-000000000001}"});
  EXPECT_TRUE(r.subkeys("HKEY_CLASSES_ROOT\\Interface").empty());
  EXPECT_TRUE(r.subkeys("HKEY_CLASSES_ROOT\\TypeLib").empty());
}

// ---- The list's surface through the dispatch interface ------------------------------------------

// A list with two columns and `rows` rows "rNc1 TAB rNc2", made by its class factory.
class ComListTest : public ComTest {
 protected:
  IDispatch* makeList(int rows) {
    IDispatch* l = create("ZorvaXPListBox");
    if (!l) return nullptr;
    EXPECT_EQ(call(l, id(l, "AddNewColumn"), DISPATCH_METHOD, {str("One")}), S_OK);
    EXPECT_EQ(call(l, id(l, "AddNewColumn"), DISPATCH_METHOD, {str("Two")}), S_OK);
    for (int r = 1; r <= rows; ++r) {
      const std::string text = "r" + std::to_string(r) + "c1\tr" + std::to_string(r) + "c2";
      EXPECT_EQ(call(l, id(l, "AddItem"), DISPATCH_METHOD, {str(text.c_str())}), S_OK);
    }
    return l;
  }
  std::string cell(IDispatch* l, int r, int c) {
    EXPECT_EQ(call(l, id(l, "TextMatrix"), DISPATCH_PROPERTYGET, {i4(r), i4(c)}), S_OK);
    return resultText();
  }
  int32_t count(IDispatch* l) {
    EXPECT_EQ(get(l, "ListCount"), S_OK);
    return result.lVal;
  }
  // The object in `result`, taken over (the caller releases it).
  IDispatch* takeObject() {
    EXPECT_EQ(result.vt, VT_DISPATCH);
    if (result.vt != VT_DISPATCH) return nullptr;
    IDispatch* d = result.pdispVal;
    VariantInit(&result);
    return d;
  }
  static VARIANT object(IDispatch* d) {
    VARIANT v{};
    v.vt = VT_DISPATCH;
    v.pdispVal = d;
    d->AddRef();
    return v;
  }
  static VARIANT array(std::vector<VARIANT> items) {
    VARIANT v{};
    v.vt = VT_ARRAY | VT_VARIANT;
    v.parray = SafeArrayCreateVector(VT_VARIANT, 1, static_cast<ULONG>(items.size()));
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
      LONG at = i + 1;
      SafeArrayPutElement(v.parray, &at, &items[static_cast<size_t>(i)]);
      VariantClear(&items[static_cast<size_t>(i)]);
    }
    return v;
  }
  void expectError(int number) {
    EXPECT_EQ(excep.scode, ZORVAXP_HOST_ERROR(number));
    EXPECT_NE(toUtf8(excep.bstrDescription), "");
    EXPECT_NE(toUtf8(excep.bstrSource), "");
  }
};

TEST_F(ComListTest, CellsAreIndexedPropertiesWithALet) {
  IDispatch* l = makeList(2);
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(call(l, id(l, "TextMatrix"), DISPATCH_PROPERTYPUT, {i4(1), i4(2), str("x")}, true), S_OK);
  EXPECT_EQ(call(l, id(l, "Cell"), DISPATCH_PROPERTYPUT, {i4(2), i4(1), str("y")}, true), S_OK);
  EXPECT_EQ(std::tuple(cell(l, 1, 2), cell(l, 2, 1), cell(l, 1, 1)), std::tuple("x", "y", "r1c1"));
  // One index is a wrong count; a row outside the list is ignored, as the let says.
  EXPECT_EQ(call(l, id(l, "TextMatrix"), DISPATCH_PROPERTYPUT, {i4(1), str("z")}, true), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(call(l, id(l, "TextMatrix"), DISPATCH_PROPERTYPUT, {i4(9), i4(1), str("z")}, true), S_OK);
  // The interface: 313 functions (a property's get and its let apart).
  TypeInfoHold hold;
  ASSERT_EQ(l->GetTypeInfo(0, 0, &hold.info), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(hold.info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->cFuncs, 313);
  hold.info->ReleaseTypeAttr(attr);
  // Parent is the form the list is placed on, an object with the form's members.
  EXPECT_EQ(get(l, "Parent"), S_OK);
  IDispatch* parent = takeObject();
  ASSERT_NE(parent, nullptr);
  EXPECT_NE(id(parent, "Caption"), DISPID_UNKNOWN);
  parent->Release();
}

TEST_F(ComListTest, RowsTravelAsClsLItemObjects) {
  IDispatch* l = makeList(5);
  ASSERT_NE(l, nullptr);
  const DISPID item = id(l, "Item");
  // Item(2) is the live row: a change through it shows in the list.
  ASSERT_EQ(call(l, item, DISPATCH_PROPERTYGET, {i4(2)}), S_OK);
  IDispatch* row2 = takeObject();
  ASSERT_NE(row2, nullptr);
  EXPECT_EQ(call(row2, id(row2, "iCell"), DISPATCH_PROPERTYGET, {i4(2)}), S_OK);
  EXPECT_EQ(resultText(), "r2c2");
  EXPECT_EQ(call(row2, id(row2, "iCell"), DISPATCH_PROPERTYPUT, {i4(1), str("live")}, true), S_OK);
  EXPECT_EQ(cell(l, 2, 1), "live");

  // A row made by the class factory is appended itself; then it is the list's row 6.
  IDispatch* fresh = create("clsLItem");
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(call(fresh, id(fresh, "lvInitColumns"), DISPATCH_METHOD, {i4(2)}), S_OK);
  EXPECT_EQ(call(fresh, id(fresh, "iCell"), DISPATCH_PROPERTYPUT, {i4(1), str("made")}, true), S_OK);
  EXPECT_EQ(call(l, id(l, "AddItemEx"), DISPATCH_METHOD, {object(fresh)}), S_OK);
  EXPECT_EQ(std::pair(result.vt, result.boolVal), std::pair(VARTYPE{VT_BOOL}, VARIANT_BOOL{VARIANT_TRUE}));
  EXPECT_EQ(std::pair(count(l), cell(l, 6, 1)), std::pair(6, std::string("made")));
  EXPECT_EQ(call(fresh, id(fresh, "iCell"), DISPATCH_PROPERTYPUT, {i4(2), str("same")}, true), S_OK);
  EXPECT_EQ(cell(l, 6, 2), "same");

  // Item let (by reference) and ReplaceAItem take either kind of row.
  EXPECT_EQ(call(l, item, DISPATCH_PROPERTYPUTREF, {i4(3), object(row2)}, true), S_OK);
  EXPECT_EQ(cell(l, 3, 1), "live");
  EXPECT_EQ(call(l, id(l, "ReplaceAItem"), DISPATCH_METHOD, {i4(4), object(fresh)}), S_OK);
  EXPECT_EQ(std::pair(result.vt, result.boolVal), std::pair(VARTYPE{VT_BOOL}, VARIANT_BOOL{VARIANT_TRUE}));
  EXPECT_EQ(cell(l, 4, 1), "made");
  row2->Release();

  // Out of range and not a row: the host's errors, with their records.
  EXPECT_EQ(call(l, item, DISPATCH_PROPERTYGET, {i4(99)}), DISP_E_EXCEPTION);
  expectError(9);
  EXPECT_EQ(toUtf8(excep.bstrDescription), "Subscript out of range");
  EXPECT_EQ(call(l, item, DISPATCH_PROPERTYPUTREF, {i4(1), str("text")}, true), DISP_E_EXCEPTION);
  expectError(13);
  EXPECT_EQ(call(l, id(l, "AddItemEx"), DISPATCH_METHOD, {of(VT_EMPTY)}), DISP_E_EXCEPTION);
  expectError(91);
}

TEST_F(ComListTest, ArraysAndParameterArraysAppendOneRowPerElement) {
  IDispatch* l = makeList(0);
  ASSERT_NE(l, nullptr);
  EXPECT_EQ(call(l, id(l, "AddItemsByArray"), DISPATCH_METHOD, {array({str("a"), i4(2), r8(2.5)})}), S_OK);
  EXPECT_EQ(std::pair(result.vt, result.boolVal), std::pair(VARTYPE{VT_BOOL}, VARIANT_BOOL{VARIANT_TRUE}));
  EXPECT_EQ(std::tuple(count(l), cell(l, 1, 1), cell(l, 2, 1), cell(l, 3, 1)), std::tuple(3, "a", "2", "2.5"));
  EXPECT_EQ(call(l, id(l, "AddItemsByCollection"), DISPATCH_METHOD, {array({str("b")})}), S_OK);
  EXPECT_EQ(std::pair(count(l), cell(l, 4, 1)), std::pair(4, std::string("b")));
  // A parameter array takes any number of arguments, none included.
  const DISPID byParams = id(l, "AddItemsByParamArray");
  EXPECT_EQ(call(l, byParams, DISPATCH_METHOD, {str("p1"), str("p2"), i4(3)}), S_OK);
  EXPECT_EQ(std::pair(result.vt, result.boolVal), std::pair(VARTYPE{VT_BOOL}, VARIANT_BOOL{VARIANT_TRUE}));
  EXPECT_EQ(std::tuple(count(l), cell(l, 5, 1), cell(l, 7, 1)), std::tuple(7, "p1", "3"));
  EXPECT_EQ(call(l, byParams, DISPATCH_METHOD, {}), S_OK);
  EXPECT_EQ(count(l), 7);
  // A text is no array.
  EXPECT_EQ(call(l, id(l, "AddItemsByArray"), DISPATCH_METHOD, {str("a")}), DISP_E_EXCEPTION);
  expectError(13);

  // The type information: Boolean results, and the parameter array as a SAFEARRAY of VARIANT.
  TypeInfoHold hold;
  ASSERT_EQ(l->GetTypeInfo(0, 0, &hold.info), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(hold.info->GetTypeAttr(&attr), S_OK);
  std::map<DISPID, std::pair<VARTYPE, int16_t>> funcs;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* f = nullptr;
    ASSERT_EQ(hold.info->GetFuncDesc(i, &f), S_OK);
    if (f->invkind == INVOKE_FUNC) funcs[f->memid] = {f->elemdescFunc.tdesc.vt, f->cParamsOpt};
    if (f->memid == byParams) {
      EXPECT_EQ(f->lprgelemdescParam[f->cParams - 1].tdesc.vt, VT_SAFEARRAY);
    }
    hold.info->ReleaseFuncDesc(f);
  }
  hold.info->ReleaseTypeAttr(attr);
  for (const char* m : {"AddItemEx", "AddItemsByArray", "AddItemsByCollection"})
    EXPECT_EQ(funcs[id(l, m)], std::pair(VARTYPE{VT_BOOL}, int16_t{0})) << m;
  EXPECT_EQ(funcs[byParams], std::pair(VARTYPE{VT_BOOL}, int16_t{-1}));
}

TEST_F(ComListTest, ArgumentsGoByNameAndTheTypeInformationNamesThem) {
  IDispatch* l = makeList(3);
  ASSERT_NE(l, nullptr);
  std::u16string n0 = toUtf16("FindItem"), n1 = toUtf16("istartrowindex"), n2 = toUtf16("iFindString");
  OLECHAR* names[] = {reinterpret_cast<OLECHAR*>(n0.data()), reinterpret_cast<OLECHAR*>(n1.data()),
                      reinterpret_cast<OLECHAR*>(n2.data())};
  DISPID ids[3] = {};
  ASSERT_EQ(l->GetIDsOfNames(&IID_NULL, names, 3, 0, ids), S_OK);
  EXPECT_EQ(std::pair(ids[1], ids[2]), std::pair(DISPID{2}, DISPID{0}));
  // FindItem(iFindString:="R2C1", iStartRowIndex:=1): named arguments come first, last first.
  VARIANT args[] = {i4(1), str("R2C1")};
  DISPID named[] = {2, 0};
  DISPPARAMS p{args, named, 2, 2};
  VariantClear(&result);
  ASSERT_EQ(l->Invoke(ids[0], &IID_NULL, 0, DISPATCH_METHOD, &p, &result, nullptr, nullptr), S_OK);
  EXPECT_EQ(std::pair(result.vt, result.lVal), std::pair(VARTYPE{VT_I4}, 2));
  // A place the method does not have.
  DISPID wrong[] = {5, 0};
  p.rgdispidNamedArgs = wrong;
  EXPECT_EQ(l->Invoke(ids[0], &IID_NULL, 0, DISPATCH_METHOD, &p, &result, nullptr, nullptr), DISP_E_PARAMNOTFOUND);
  VariantClear(&args[1]);

  TypeInfoHold hold;
  ASSERT_EQ(l->GetTypeInfo(0, 0, &hold.info), S_OK);
  BSTR got[5] = {};
  UINT n = 0;
  ASSERT_EQ(hold.info->GetNames(ids[0], got, 5, &n), S_OK);
  std::vector<std::string> texts;
  for (UINT i = 0; i < n; ++i) texts.push_back(bstrText(got[i]));
  EXPECT_EQ(texts, (std::vector<std::string>{"FindItem", "iFindString", "iColumnIndex", "iStartRowIndex"}));
  MEMBERID mids[2] = {};
  ASSERT_EQ(hold.info->GetIDsOfNames(names, 2, mids), S_OK);
  EXPECT_EQ(mids[1], 2);
}

TEST_F(ComListTest, EnumerationsAreTypesWithNamesAndValues) {
  IDispatch* l = makeList(0);
  ASSERT_NE(l, nullptr);
  TypeInfoHold hold;
  ASSERT_EQ(l->GetTypeInfo(0, 0, &hold.info), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(hold.info->GetTypeAttr(&attr), S_OK);
  const DISPID gridLines = id(l, "GridLines");
  HREFTYPE ref = ~0u;
  VARTYPE putType = 0;
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* f = nullptr;
    ASSERT_EQ(hold.info->GetFuncDesc(i, &f), S_OK);
    if (f->memid == gridLines && f->invkind == INVOKE_PROPERTYGET) {
      EXPECT_EQ(f->elemdescFunc.tdesc.vt, VT_USERDEFINED);
      ref = f->elemdescFunc.tdesc.hreftype;
    }
    if (f->memid == gridLines && f->invkind == INVOKE_PROPERTYPUT) putType = f->lprgelemdescParam[0].tdesc.vt;
    hold.info->ReleaseFuncDesc(f);
  }
  hold.info->ReleaseTypeAttr(attr);
  EXPECT_EQ(putType, VT_USERDEFINED);
  TypeInfoHold e;
  ASSERT_EQ(hold.info->GetRefTypeInfo(ref, &e.info), S_OK);
  TYPEATTR* ea = nullptr;
  ASSERT_EQ(e.info->GetTypeAttr(&ea), S_OK);
  EXPECT_EQ(std::pair(ea->typekind, ea->cVars), std::pair(TKIND_ENUM, WORD{4}));
  e.info->ReleaseTypeAttr(ea);
  BSTR name = nullptr;
  ASSERT_EQ(e.info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(bstrText(name), "LGridLines");
  std::vector<std::pair<std::string, int32_t>> members;
  for (UINT i = 0; i < 4; ++i) {
    VARDESC* v = nullptr;
    ASSERT_EQ(e.info->GetVarDesc(i, &v), S_OK);
    EXPECT_EQ(v->varkind, VAR_CONST);
    BSTR n[1] = {};
    UINT got = 0;
    ASSERT_EQ(e.info->GetNames(v->memid, n, 1, &got), S_OK);
    members.emplace_back(bstrText(n[0]), v->lpvarValue->lVal);
    e.info->ReleaseVarDesc(v);
  }
  EXPECT_EQ(members, (std::vector<std::pair<std::string, int32_t>>{
                         {"LGLNone", 0}, {"LGLVertical", 1}, {"LGLHorizantal", 2}, {"LGLBoth", 3}}));
  VARDESC* none = nullptr;
  EXPECT_EQ(e.info->GetVarDesc(4, &none), TYPE_E_ELEMENTNOTFOUND);
}

TEST_F(ComListTest, ListClickPassesItsArgumentsByValue) {
  IDispatch* l = makeList(1);
  ASSERT_NE(l, nullptr);
  IConnectionPointContainer* cpc = nullptr;
  ASSERT_EQ(l->QueryInterface(&IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)), S_OK);
  IConnectionPoint* cp = nullptr;
  const GUID events = *asIid(findByName("ZorvaXPListBox")->eventsIid);
  ASSERT_EQ(cpc->FindConnectionPoint(&events, &cp), S_OK);
  Sink sink;
  std::map<DISPID, std::vector<VARTYPE>> seen;
  sink.onEvent = [&](DISPID id, DISPPARAMS& p) {
    for (UINT i = 0; i < p.cArgs; ++i) seen[id].push_back(p.rgvarg[i].vt);
    if (id == 13 && p.cArgs == 2 && p.rgvarg[0].vt == VT_BSTR) {
      EXPECT_EQ(toUtf8(p.rgvarg[0].bstrVal), "shown");
    }
  };
  DWORD cookie = 0;
  ASSERT_EQ(cp->Advise(&sink, &cookie), S_OK);
  auto& control = static_cast<zxp::list::ZorvaXPListBox&>(DispatchObject::from(l)->object());
  int32_t row = 1;
  std::string text = "shown";
  control.ListClick(row, text);
  control.RowClick(row, text);
  EXPECT_EQ(seen[13], (std::vector<VARTYPE>{VT_BSTR, VT_I4}));
  EXPECT_EQ(seen[24], (std::vector<VARTYPE>{VT_BYREF | VT_BSTR, VT_BYREF | VT_I4}));
  EXPECT_EQ(cp->Unadvise(cookie), S_OK);
  cp->Release();
  cpc->Release();
}

TEST_F(ComTest, PerTabAndPerImagePropertiesHaveAGetAndALet) {
  IDispatch* t = create("ZorvaXPHookTab");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(call(t, id(t, "TabCaption"), DISPATCH_PROPERTYPUT, {i4(2), str("Renamed")}, true), S_OK);
  EXPECT_EQ(call(t, id(t, "TabCaption"), DISPATCH_PROPERTYGET, {i4(2)}), S_OK);
  EXPECT_EQ(resultText(), "Renamed");
  VARIANT fixedWidth{};
  fixedWidth.vt = VT_BOOL;
  fixedWidth.boolVal = VARIANT_FALSE;
  EXPECT_EQ(call(t, id(t, "AutoTabWidth"), DISPATCH_PROPERTYPUT, {i4(1), fixedWidth}, true), S_OK);
  EXPECT_EQ(call(t, id(t, "TabWidth"), DISPATCH_PROPERTYPUT, {i4(1), i4(300)}, true), S_OK);
  EXPECT_EQ(call(t, id(t, "TabWidth"), DISPATCH_PROPERTYGET, {i4(1)}), S_OK);
  EXPECT_EQ(result.lVal, 255);  // through ModifyTab, which clamps
  EXPECT_EQ(call(t, id(t, "TabCaption"), DISPATCH_PROPERTYPUT, {i4(9), str("x")}, true), DISP_E_EXCEPTION);
  EXPECT_EQ(excep.scode, ZORVAXP_HOST_ERROR(9));

  IDispatch* images = create("ZorvaXpImageList");
  ASSERT_NE(images, nullptr);
  for (const char* name : {"ListImage", "Key"})
    EXPECT_EQ(static_cast<uint32_t>(id(images, name)) >> 16, 0x6803u) << name;  // properties
  EXPECT_EQ(call(images, id(images, "Key"), DISPATCH_PROPERTYPUT, {i4(1), str("k")}, true), DISP_E_EXCEPTION);
  EXPECT_EQ(excep.scode, ZORVAXP_HOST_ERROR(9));  // no image yet
}

// A host object whose members refuse in every way an object can: a host error with no text, one
// with a source of its own, and an exception that is no host error.
class Refuser final : public host::HostObject, public host::Dispatchable {
 public:
  std::string typeName() const override { return "Refuser"; }
  host::Dispatchable* members() override { return this; }
  const host::MemberTable& memberTable() const override {
    static const host::MemberTable table = host::ClassMembers<Refuser>("Refuser")
                                               .method("Bare", &Refuser::Bare)
                                               .method("Sourced", &Refuser::Sourced)
                                               .method("Internal", &Refuser::Internal)
                                               .build();
    return table;
  }
  void Bare() { throw HostError(5, ""); }
  void Sourced() { throw HostError(53, "File not found", "Refuser.Files"); }
  void Internal() { throw std::logic_error(""); }
};

TEST_F(ComTest, EveryExceptionCarriesAFullRecord) {
  IDispatch* d = DispatchObject::forValue(host::Variant(host::ObjectRef(std::make_shared<Refuser>())));
  ASSERT_NE(d, nullptr);
  made.push_back(d);
  std::vector<std::tuple<HRESULT, std::string, std::string>> records;
  for (const char* name : {"Bare", "Sourced", "Internal"}) {
    EXPECT_EQ(call(d, id(d, name), DISPATCH_METHOD, {}), DISP_E_EXCEPTION) << name;
    records.emplace_back(excep.scode, toUtf8(excep.bstrDescription), toUtf8(excep.bstrSource));
  }
  EXPECT_EQ(records, (std::vector<std::tuple<HRESULT, std::string, std::string>>{
                         {ZORVAXP_HOST_ERROR(5), "Invalid procedure call or argument", "Refuser"},
                         {ZORVAXP_HOST_ERROR(53), "File not found", "Refuser.Files"},
                         {ZORVAXP_HOST_ERROR(51), "Internal error", "Refuser"}}));
}

}  // namespace
}  // namespace zxp::library::com
