/* A client of the platform's own component runtime, built with the platform's headers only (no
 * header of ours): it initialises the runtime, creates every registered class of zorvaxp.dll by
 * program identifier (CLSIDFromProgID + CoCreateInstance), sets and reads properties and calls
 * methods through IDispatch with strings, VARIANTs and arrays from the platform's automation
 * library, reads a host error from EXCEPINFO, sinks Click through a connection point, reads the
 * registered type library (LoadRegTypeLib) and finds every class's members in it as the live
 * objects answer them, releases everything and expects the runtime to unload the server.
 * Usage (after regsvr32 zorvaxp.dll): zorvaxp-com-client.exe. Exits with its number of failures. */
#define COBJMACROS
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>
#include <ocidl.h>
#include <stdio.h>
#include <string.h>

#include "support/CChecks.h"

/* Every class the server registers with a program identifier: the controls, the creatable
 * classes and the property pages. */
static const wchar_t* const kProgIds[] = {
  L"ZorvaXPProject.ZorvaForm", L"ZorvaXPProject.ZorvaXPListBox", L"ZorvaXPProject.ZorvaXPProgressBar",
  L"ZorvaXPProject.ZorvaXPDPicker", L"ZorvaXPProject.ZorvaXPCalender", L"ZorvaXPProject.ZorvaXPTextBox",
  L"ZorvaXPProject.ZorvaXPSpin", L"ZorvaXPProject.ZorvaXpImageList", L"ZorvaXPProject.ZorvaXPOptionButton",
  L"ZorvaXPProject.ZorvaXPStatusBar", L"ZorvaXPProject.ZorvaXPHookTab", L"ZorvaXPProject.ZorvaXPButton",
  L"ZorvaXPProject.ZorvaXPToolBar", L"ZorvaXPProject.ZorvaXPVScrollBar", L"ZorvaXPProject.ZorvaXPLabel",
  L"ZorvaXPProject.ZorvaXPFrame", L"ZorvaXPProject.ZorvaXPHScrollBar", L"ZorvaXPProject.ZorvaXPCheckBox",
  L"ZorvaXPProject.clsFileSystemObj", L"ZorvaXPProject.clsLItem",
  L"ZorvaXPProject.pPageImageList", L"ZorvaXPProject.pPageLabel", L"ZorvaXPProject.pPageStatusBar",
  L"ZorvaXPProject.pPageTab", L"ZorvaXPProject.pPageToolBar", L"ZorvaXPProject.pPageListBox",
};

/* ---- An event sink: an IDispatch that counts Click (the button's first event) ---- */
typedef struct Sink {
  IDispatch iface;
  LONG refs;
  int clicks;
  int others;
} Sink;

static HRESULT STDMETHODCALLTYPE sinkQueryInterface(IDispatch* self, REFIID riid, void** ppv) {
  if (IsEqualIID(riid, &IID_IUnknown) || IsEqualIID(riid, &IID_IDispatch)) {
    *ppv = self;
    IDispatch_AddRef(self);
    return S_OK;
  }
  *ppv = NULL;
  return E_NOINTERFACE;
}
static ULONG STDMETHODCALLTYPE sinkAddRef(IDispatch* self) { return (ULONG)++((Sink*)self)->refs; }
static ULONG STDMETHODCALLTYPE sinkRelease(IDispatch* self) { return (ULONG)--((Sink*)self)->refs; }
static HRESULT STDMETHODCALLTYPE sinkGetTypeInfoCount(IDispatch* self, UINT* n) {
  (void)self;
  *n = 0;
  return S_OK;
}
static HRESULT STDMETHODCALLTYPE sinkGetTypeInfo(IDispatch* self, UINT i, LCID l, ITypeInfo** t) {
  (void)self, (void)i, (void)l;
  *t = NULL;
  return E_NOTIMPL;
}
static HRESULT STDMETHODCALLTYPE sinkGetIDsOfNames(IDispatch* self, REFIID r, LPOLESTR* n, UINT c, LCID l,
                                                   DISPID* ids) {
  (void)self, (void)r, (void)n, (void)c, (void)l, (void)ids;
  return E_NOTIMPL;
}
static HRESULT STDMETHODCALLTYPE sinkInvoke(IDispatch* self, DISPID id, REFIID r, LCID l, WORD f, DISPPARAMS* p,
                                            VARIANT* res, EXCEPINFO* e, UINT* a) {
  (void)r, (void)l, (void)f, (void)p, (void)res, (void)e, (void)a;
  Sink* s = (Sink*)self;
  if (id == 1) ++s->clicks;
  else ++s->others;
  return S_OK;
}
static IDispatchVtbl sinkVtbl = {sinkQueryInterface, sinkAddRef, sinkRelease, sinkGetTypeInfoCount,
                                 sinkGetTypeInfo, sinkGetIDsOfNames, sinkInvoke};

/* ---- Calls by name ---- */
static DISPID idOf(IDispatch* d, const wchar_t* name) {
  LPOLESTR names[1] = {(LPOLESTR)name};
  DISPID id = DISPID_UNKNOWN;
  if (IDispatch_GetIDsOfNames(d, &IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id) != S_OK) return DISPID_UNKNOWN;
  return id;
}

/* Invoke with arguments in DISPPARAMS order (the last one first). */
static HRESULT call(IDispatch* d, const wchar_t* name, WORD flags, VARIANT* args, UINT count, VARIANT* out,
                    EXCEPINFO* e) {
  DISPID put = DISPID_PROPERTYPUT;
  const int isPut = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  DISPPARAMS p = {args, isPut ? &put : NULL, count, isPut ? 1u : 0u};
  if (out) VariantInit(out);
  return IDispatch_Invoke(d, idOf(d, name), &IID_NULL, LOCALE_USER_DEFAULT, flags, &p, out, e, NULL);
}

static VARIANT text(const wchar_t* s) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_BSTR;
  V_BSTR(&v) = SysAllocString(s);
  return v;
}

static VARIANT long4(LONG n) {
  VARIANT v;
  VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = n;
  return v;
}

static int isText(const VARIANT* v, const wchar_t* want) {
  return V_VT(v) == VT_BSTR && SysStringLen(V_BSTR(v)) == wcslen(want) && wcscmp(V_BSTR(v), want) == 0;
}

/* A new object of a class found by its program identifier, through the platform's runtime. */
static IDispatch* create(const wchar_t* progId) {
  IDispatch* object = NULL;
  CLSID clsid;
  CHECK_HR(CLSIDFromProgID(progId, &clsid), S_OK);
  CHECK_HR(CoCreateInstance(&clsid, NULL, CLSCTX_INPROC_SERVER, &IID_IDispatch, (void**)&object), S_OK);
  return object;
}

/* ---- What the client does ---- */

/* The type library the server registered, from the TYPELIB resource of zorvaxp.dll. */
static const GUID kLibId = {0xB4E83A7A, 0xE2F3, 0x4362, {0xA1, 0x65, 0x6D, 0x62, 0xB1, 0xE6, 0x21, 0x35}};
static ITypeLib* registeredLibrary;
static int membersCompared;

/* The registered type library describes `object` as it answers: its class's default interface
 * has the functions the object's own type information has, each with the same names (member and
 * parameters), and every name gives the identifier the object's GetIDsOfNames gives. */
static void compareWithTheTypeLibrary(const CLSID* clsid, IDispatch* object, const wchar_t* progId) {
  ITypeInfo *coclass = NULL, *registered = NULL, *live = NULL;
  if (!registeredLibrary || ITypeLib_GetTypeInfoOfGuid(registeredLibrary, clsid, &coclass) != S_OK) {
    fprintf(stderr, "the type library has no class %ls\n", progId);
    ++failures;
    return;
  }
  HREFTYPE ref = 0;
  INT flags = 0;
  CHECK_HR(ITypeInfo_GetImplTypeFlags(coclass, 0, &flags), S_OK);
  CHECK(flags == IMPLTYPEFLAG_FDEFAULT);
  CHECK_HR(ITypeInfo_GetRefTypeOfImplType(coclass, 0, &ref), S_OK);
  CHECK_HR(ITypeInfo_GetRefTypeInfo(coclass, ref, &registered), S_OK);
  CHECK_HR(IDispatch_GetTypeInfo(object, 0, 0, &live), S_OK);
  if (registered && live) {
    TYPEATTR *a = NULL, *b = NULL;
    CHECK_HR(ITypeInfo_GetTypeAttr(registered, &a), S_OK);
    CHECK_HR(ITypeInfo_GetTypeAttr(live, &b), S_OK);
    if (a && b) {
      if (!IsEqualGUID(&a->guid, &b->guid) || a->cFuncs != b->cFuncs) {
        fprintf(stderr, "%ls: the type library's interface differs (%u functions, the object's %u)\n", progId,
                a->cFuncs, b->cFuncs);
        ++failures;
      }
      for (UINT k = 0; k < a->cFuncs && k < b->cFuncs; ++k) {
        FUNCDESC *fa = NULL, *fb = NULL;
        CHECK_HR(ITypeInfo_GetFuncDesc(registered, k, &fa), S_OK);
        CHECK_HR(ITypeInfo_GetFuncDesc(live, k, &fb), S_OK);
        if (!fa || !fb) break;
        BSTR na[32] = {0}, nb[32] = {0};
        UINT ca = 0, cb = 0;
        CHECK_HR(ITypeInfo_GetNames(registered, fa->memid, na, 32, &ca), S_OK);
        CHECK_HR(ITypeInfo_GetNames(live, fb->memid, nb, 32, &cb), S_OK);
        int same = fa->memid == fb->memid && fa->invkind == fb->invkind && fa->cParams == fb->cParams && ca == cb;
        for (UINT i = 0; same && i < ca; ++i) same = wcscmp(na[i], nb[i]) == 0;
        DISPID id = DISPID_UNKNOWN;
        if (ca > 0) CHECK_HR(IDispatch_GetIDsOfNames(object, &IID_NULL, &na[0], 1, 0, &id), S_OK);
        if (!same || id != fa->memid) {
          fprintf(stderr, "%ls: %ls is %ld in the type library, %ld in the object\n", progId, ca ? na[0] : L"?",
                  (long)fa->memid, (long)id);
          ++failures;
        }
        ++membersCompared;
        for (UINT i = 0; i < ca; ++i) SysFreeString(na[i]);
        for (UINT i = 0; i < cb; ++i) SysFreeString(nb[i]);
        ITypeInfo_ReleaseFuncDesc(registered, fa);
        ITypeInfo_ReleaseFuncDesc(live, fb);
      }
    }
    if (a) ITypeInfo_ReleaseTypeAttr(registered, a);
    if (b) ITypeInfo_ReleaseTypeAttr(live, b);
  }
  if (registered) ITypeInfo_Release(registered);
  if (live) ITypeInfo_Release(live);
  ITypeInfo_Release(coclass);
}

/* Every class by program identifier: created, its interface answered, released. */
static void createEveryClass(void) {
  for (size_t i = 0; i < sizeof kProgIds / sizeof kProgIds[0]; ++i) {
    CLSID clsid;
    IUnknown* object = NULL;
    HRESULT hr = CLSIDFromProgID(kProgIds[i], &clsid);
    if (hr != S_OK) {
      fprintf(stderr, "CLSIDFromProgID(%ls) gave 0x%08lX\n", kProgIds[i], (unsigned long)hr);
      ++failures;
      continue;
    }
    hr = CoCreateInstance(&clsid, NULL, CLSCTX_INPROC_SERVER, &IID_IUnknown, (void**)&object);
    if (hr != S_OK || !object) {
      fprintf(stderr, "CoCreateInstance(%ls) gave 0x%08lX\n", kProgIds[i], (unsigned long)hr);
      ++failures;
      continue;
    }
    /* A page answers IPropertyPage; every other class IDispatch with its type information. */
    const int page = wcsstr(kProgIds[i], L".pPage") != NULL;
    void* face = NULL;
    CHECK_HR(IUnknown_QueryInterface(object, page ? &IID_IPropertyPage : &IID_IDispatch, &face), S_OK);
    if (face && !page) {
      UINT infos = 0;
      CHECK_HR(IDispatch_GetTypeInfoCount((IDispatch*)face, &infos), S_OK);
      CHECK(infos == 1);
      compareWithTheTypeLibrary(&clsid, (IDispatch*)face, kProgIds[i]);
    }
    if (face) IUnknown_Release((IUnknown*)face);
    CHECK(IUnknown_Release(object) == 0);
  }
  CLSID none;
  CHECK_HR(CLSIDFromProgID(L"ZorvaXPProject.NoSuchClass", &none), CO_E_CLASSSTRING);
}

/* A button: Caption and Enabled by name, a refused value, an unknown name, Click through a
 * connection point. */
static void driveButton(void) {
  IDispatch* button = create(L"ZorvaXPProject.ZorvaXPButton");
  if (!button) return;

  VARIANT v = text(L"Hello from C"), out;
  CHECK_HR(call(button, L"Caption", DISPATCH_PROPERTYPUT, &v, 1, NULL, NULL), S_OK);
  VariantClear(&v);
  CHECK_HR(call(button, L"caption", DISPATCH_PROPERTYGET, NULL, 0, &out, NULL), S_OK);
  CHECK(isText(&out, L"Hello from C"));
  VariantClear(&out);

  VariantInit(&v);
  V_VT(&v) = VT_BOOL;
  V_BOOL(&v) = VARIANT_FALSE;
  CHECK_HR(call(button, L"Enabled", DISPATCH_PROPERTYPUT, &v, 1, NULL, NULL), S_OK);
  CHECK_HR(call(button, L"Enabled", DISPATCH_PROPERTYGET, NULL, 0, &out, NULL), S_OK);
  CHECK(V_VT(&out) == VT_BOOL && V_BOOL(&out) == VARIANT_FALSE);
  V_BOOL(&v) = VARIANT_TRUE;
  CHECK_HR(call(button, L"Enabled", DISPATCH_PROPERTYPUT, &v, 1, NULL, NULL), S_OK);

  /* A text that is no Boolean is refused as the wrong type. */
  v = text(L"not a Boolean");
  CHECK_HR(call(button, L"Enabled", DISPATCH_PROPERTYPUT, &v, 1, NULL, NULL), DISP_E_TYPEMISMATCH);
  VariantClear(&v);
  CHECK(idOf(button, L"NoSuchMember") == DISPID_UNKNOWN);

  /* Click through the connection point of the button's outgoing interface. */
  IProvideClassInfo2* info = NULL;
  IID events;
  memset(&events, 0, sizeof events);
  CHECK_HR(IDispatch_QueryInterface(button, &IID_IProvideClassInfo2, (void**)&info), S_OK);
  if (info) {
    CHECK_HR(IProvideClassInfo2_GetGUID(info, GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events), S_OK);
    IProvideClassInfo2_Release(info);
  }
  IConnectionPointContainer* container = NULL;
  IConnectionPoint* point = NULL;
  CHECK_HR(IDispatch_QueryInterface(button, &IID_IConnectionPointContainer, (void**)&container), S_OK);
  if (container) CHECK_HR(IConnectionPointContainer_FindConnectionPoint(container, &events, &point), S_OK);
  Sink sink = {{&sinkVtbl}, 1, 0, 0};
  DWORD cookie = 0;
  if (point) CHECK_HR(IConnectionPoint_Advise(point, (IUnknown*)&sink.iface, &cookie), S_OK);

  /* The library's windows are its own: the server's input calls click the button's window. */
  HMODULE server = GetModuleHandleW(L"zorvaxp.dll");
  typedef HRESULT (*MoveToWindowFn)(UINT32);
  typedef HRESULT (*ClickFn)(void);
  MoveToWindowFn moveTo = server ? (MoveToWindowFn)(void (*)(void))GetProcAddress(server, "ZorvaXPInputMoveToWindow") : NULL;
  ClickFn click = server ? (ClickFn)(void (*)(void))GetProcAddress(server, "ZorvaXPInputClick") : NULL;
  CHECK(moveTo && click);
  IOleWindow* window = NULL;
  HWND hwnd = NULL;
  CHECK_HR(IDispatch_QueryInterface(button, &IID_IOleWindow, (void**)&window), S_OK);
  if (window) {
    CHECK_HR(IOleWindow_GetWindow(window, &hwnd), S_OK);
    IOleWindow_Release(window);
  }
  if (moveTo && click) {
    CHECK_HR(moveTo((UINT32)(UINT_PTR)hwnd), S_OK);
    CHECK_HR(click(), S_OK);
  }
  CHECK(sink.clicks == 1);
  CHECK(sink.others > 0); /* MouseMove, MouseDown and MouseUp came too */
  if (point) {
    CHECK_HR(IConnectionPoint_Unadvise(point, cookie), S_OK);
    IConnectionPoint_Release(point);
  }
  CHECK(sink.refs == 1);
  if (container) IConnectionPointContainer_Release(container);
  CHECK(IDispatch_Release(button) == 0);
}

/* A list: an array of the platform's in, a row object out, a subscript out of range. */
static void driveList(void) {
  IDispatch* list = create(L"ZorvaXPProject.ZorvaXPListBox");
  if (!list) return;
  VARIANT arg = text(L"A"), out;
  CHECK_HR(call(list, L"AddNewColumn", DISPATCH_METHOD, &arg, 1, NULL, NULL), S_OK);
  VariantClear(&arg);

  VARIANT items;
  VariantInit(&items);
  V_VT(&items) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&items) = SafeArrayCreateVector(VT_VARIANT, 0, 3);
  const wchar_t* words[3] = {L"one", L"two", L"three"};
  for (LONG i = 0; i < 3; ++i) {
    VARIANT w = text(words[i]);
    CHECK_HR(SafeArrayPutElement(V_ARRAY(&items), &i, &w), S_OK);
    VariantClear(&w);
  }
  CHECK_HR(call(list, L"AddItemsByArray", DISPATCH_METHOD, &items, 1, &out, NULL), S_OK);
  CHECK(V_VT(&out) == VT_BOOL && V_BOOL(&out) == VARIANT_TRUE);
  VariantClear(&items);

  /* Item(2) is a row object of the list's data model; its first cell reads "two". */
  arg = long4(2);
  CHECK_HR(call(list, L"Item", DISPATCH_PROPERTYGET, &arg, 1, &out, NULL), S_OK);
  CHECK(V_VT(&out) == VT_DISPATCH && V_DISPATCH(&out));
  if (V_VT(&out) == VT_DISPATCH && V_DISPATCH(&out)) {
    VARIANT cell = long4(1), got;
    CHECK_HR(call(V_DISPATCH(&out), L"iCell", DISPATCH_PROPERTYGET, &cell, 1, &got, NULL), S_OK);
    CHECK(isText(&got, L"two"));
    VariantClear(&got);
  }
  VariantClear(&out);

  EXCEPINFO e;
  memset(&e, 0, sizeof e);
  arg = long4(99);
  CHECK_HR(call(list, L"Item", DISPATCH_PROPERTYGET, &arg, 1, &out, &e), DISP_E_EXCEPTION);
  CHECK(e.scode == (SCODE)0x800A0009 && e.bstrDescription &&
        wcscmp(e.bstrDescription, L"Subscript out of range") == 0);
  SysFreeString(e.bstrDescription);
  SysFreeString(e.bstrSource);
  SysFreeString(e.bstrHelpFile);
  CHECK(IDispatch_Release(list) == 0);
}

/* The file-system class: a folder that exists, one that does not, a file written and read. */
static void driveFileSystem(void) {
  IDispatch* files = create(L"ZorvaXPProject.clsFileSystemObj");
  if (!files) return;
  wchar_t folder[MAX_PATH];
  GetWindowsDirectoryW(folder, MAX_PATH);
  VARIANT arg = text(folder), out;
  CHECK_HR(call(files, L"FolderExists", DISPATCH_METHOD | DISPATCH_PROPERTYGET, &arg, 1, &out, NULL), S_OK);
  CHECK(V_VT(&out) == VT_BOOL && V_BOOL(&out) == VARIANT_TRUE);
  VariantClear(&arg);
  arg = text(L"C:\\no\\such\\folder");
  CHECK_HR(call(files, L"FolderExists", DISPATCH_METHOD | DISPATCH_PROPERTYGET, &arg, 1, &out, NULL), S_OK);
  CHECK(V_VT(&out) == VT_BOOL && V_BOOL(&out) == VARIANT_FALSE);
  VariantClear(&arg);
  CHECK(IDispatch_Release(files) == 0);
}

int main(void) {
  CHECK_HR(CoInitialize(NULL), S_OK);
  CHECK_HR(LoadRegTypeLib(&kLibId, 1, 0, 0, &registeredLibrary), S_OK);
  createEveryClass();
  printf("%d members of the registered type library answer as the objects do\n", membersCompared);
  CHECK(membersCompared > 500);
  if (registeredLibrary) ITypeLib_Release(registeredLibrary);
  driveButton();
  driveList();
  driveFileSystem();

  /* Nothing of the server is alive: it says so, and the runtime unloads it. */
  HMODULE server = GetModuleHandleW(L"zorvaxp.dll");
  CHECK(server != NULL);
  if (server) {
    typedef HRESULT(STDAPICALLTYPE * CanUnloadFn)(void);
    CanUnloadFn canUnload = (CanUnloadFn)(void (*)(void))GetProcAddress(server, "DllCanUnloadNow");
    CHECK(canUnload && canUnload() == S_OK);
  }
  CoFreeUnusedLibrariesEx(0, 0);
  CHECK(GetModuleHandleW(L"zorvaxp.dll") == NULL);
  CoUninitialize();
  if (failures) fprintf(stderr, "%d check(s) failed\n", failures);
  else printf("the component runtime created, drove and unloaded zorvaxp.dll\n");
  return failures;
}
