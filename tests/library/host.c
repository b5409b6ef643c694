/* A host written in C: loads libzorvaxp.so with dlopen and uses only the component interfaces
 * of zorvaxp_com.h. It registers the server, finds the push button by its program identifier in
 * the registry, creates one through the class factory, sets and reads Caption by name, reads its
 * type information, sinks Click through a connection point, clicks the button through the
 * platform's input, walks the connection enumerators, creates the label's property page, checks
 * the error codes of bad calls, releases everything and expects the server to allow unloading.
 * Usage: zorvaxp-host-test PATH-TO-libzorvaxp.so (with ZORVAXP_REGISTRY naming a scratch file). */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "zorvaxp/zorvaxp_com.h"

static int failures = 0;
#define CHECK(cond)                                                  \
  do {                                                               \
    if (!(cond)) {                                                   \
      fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      ++failures;                                                    \
    }                                                                \
  } while (0)
#define CHECK_HR(expr, want)                                                                   \
  do {                                                                                         \
    HRESULT got_ = (expr);                                                                     \
    if (got_ != (HRESULT)(want)) {                                                             \
      fprintf(stderr, "%s:%d: %s gave 0x%08X, wanted 0x%08X\n", __FILE__, __LINE__, #expr,     \
              (unsigned)got_, (unsigned)(want));                                               \
      ++failures;                                                                              \
    }                                                                                          \
  } while (0)

/* The library's functions, looked up by name. */
static __typeof__(DllGetClassObject)* pDllGetClassObject;
static __typeof__(DllCanUnloadNow)* pDllCanUnloadNow;
static __typeof__(DllRegisterServer)* pDllRegisterServer;
static __typeof__(DllUnregisterServer)* pDllUnregisterServer;
static __typeof__(SysAllocString)* pSysAllocString;
static __typeof__(SysFreeString)* pSysFreeString;
static __typeof__(SysStringLen)* pSysStringLen;
static __typeof__(VariantInit)* pVariantInit;
static __typeof__(VariantClear)* pVariantClear;
static __typeof__(CLSIDFromString)* pCLSIDFromString;
static __typeof__(RegGetValueA)* pRegGetValueA;
static __typeof__(CoTaskMemFree)* pCoTaskMemFree;
static __typeof__(ZorvaXPInputMoveToWindow)* pMoveToWindow;
static __typeof__(ZorvaXPInputClick)* pClick;

static void* need(void* lib, const char* name) {
  void* p = dlsym(lib, name);
  if (!p) {
    fprintf(stderr, "missing export %s\n", name);
    exit(1);
  }
  return p;
}

/* ASCII to a NUL-terminated OLECHAR string (at most 63 characters). */
static const OLECHAR* wide(const char* s, OLECHAR* buf) {
  size_t i = 0;
  for (; s[i] && i < 63; ++i) buf[i] = (OLECHAR)(unsigned char)s[i];
  buf[i] = 0;
  return buf;
}

static int sameGuid(const GUID* a, const GUID* b) { return memcmp(a, b, sizeof *a) == 0; }

/* ---- An event sink: an IDispatch that counts Click ---- */
typedef struct Sink {
  IDispatch iface;
  ULONG refs;
  int clicks;
  int others;
} Sink;

static HRESULT sinkQueryInterface(IDispatch* self, const IID* riid, void** ppv) {
  if (sameGuid(riid, &IID_IUnknown) || sameGuid(riid, &IID_IDispatch)) {
    *ppv = self;
    self->lpVtbl->AddRef(self);
    return S_OK;
  }
  *ppv = NULL;
  return E_NOINTERFACE;
}
static ULONG sinkAddRef(IDispatch* self) { return ++((Sink*)self)->refs; }
static ULONG sinkRelease(IDispatch* self) { return --((Sink*)self)->refs; }
static HRESULT sinkGetTypeInfoCount(IDispatch* self, UINT* n) {
  (void)self;
  *n = 0;
  return S_OK;
}
static HRESULT sinkGetTypeInfo(IDispatch* self, UINT i, LCID l, struct ITypeInfo** t) {
  (void)self, (void)i, (void)l;
  *t = NULL;
  return E_NOTIMPL;
}
static HRESULT sinkGetIDsOfNames(IDispatch* self, const IID* r, OLECHAR** n, UINT c, LCID l, DISPID* ids) {
  (void)self, (void)r, (void)n, (void)c, (void)l, (void)ids;
  return E_NOTIMPL;
}
static HRESULT sinkInvoke(IDispatch* self, DISPID id, const IID* r, LCID l, WORD f, DISPPARAMS* p, VARIANT* res,
                          EXCEPINFO* e, UINT* a) {
  (void)r, (void)l, (void)f, (void)p, (void)res, (void)e, (void)a;
  Sink* s = (Sink*)self;
  if (id == 1) ++s->clicks; /* Click is the button's first event */
  else ++s->others;
  return S_OK;
}
static const IDispatchVtbl sinkVtbl = {sinkQueryInterface, sinkAddRef, sinkRelease, sinkGetTypeInfoCount,
                                       sinkGetTypeInfo, sinkGetIDsOfNames, sinkInvoke};

static DISPID idOf(IDispatch* d, const char* name) {
  OLECHAR buf[64];
  OLECHAR* names[1] = {(OLECHAR*)wide(name, buf)};
  DISPID id = 0;
  if (d->lpVtbl->GetIDsOfNames(d, &IID_NULL, names, 1, 0, &id) != S_OK) return DISPID_UNKNOWN;
  return id;
}

static HRESULT put(IDispatch* d, DISPID id, VARIANT* value, EXCEPINFO* e, UINT* argErr) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS p = {value, &named, 1, 1};
  return d->lpVtbl->Invoke(d, id, &IID_NULL, 0, DISPATCH_PROPERTYPUT, &p, NULL, e, argErr);
}

static HRESULT get(IDispatch* d, DISPID id, VARIANT* out) {
  DISPPARAMS p = {NULL, NULL, 0, 0};
  return d->lpVtbl->Invoke(d, id, &IID_NULL, 0, DISPATCH_PROPERTYGET, &p, out, NULL, NULL);
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s libzorvaxp.so\n", argv[0]);
    return 2;
  }
  void* lib = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!lib) {
    fprintf(stderr, "dlopen: %s\n", dlerror());
    return 1;
  }
  *(void**)&pDllGetClassObject = need(lib, "DllGetClassObject");
  *(void**)&pDllCanUnloadNow = need(lib, "DllCanUnloadNow");
  *(void**)&pDllRegisterServer = need(lib, "DllRegisterServer");
  *(void**)&pDllUnregisterServer = need(lib, "DllUnregisterServer");
  *(void**)&pSysAllocString = need(lib, "SysAllocString");
  *(void**)&pSysFreeString = need(lib, "SysFreeString");
  *(void**)&pSysStringLen = need(lib, "SysStringLen");
  *(void**)&pVariantInit = need(lib, "VariantInit");
  *(void**)&pVariantClear = need(lib, "VariantClear");
  *(void**)&pCLSIDFromString = need(lib, "CLSIDFromString");
  *(void**)&pRegGetValueA = need(lib, "RegGetValueA");
  *(void**)&pCoTaskMemFree = need(lib, "CoTaskMemFree");
  *(void**)&pMoveToWindow = need(lib, "ZorvaXPInputMoveToWindow");
  *(void**)&pClick = need(lib, "ZorvaXPInputClick");

  /* Register, then find the button's class through its program identifier. */
  CHECK_HR(pDllRegisterServer(), S_OK);
  char text[128];
  DWORD size = sizeof text, type = 0;
  CHECK(pRegGetValueA(HKEY_CLASSES_ROOT, "ZorvaXPProject.ZorvaXPButton\\CLSID", NULL, RRF_RT_ANY, &type, text,
                      &size) == ERROR_SUCCESS);
  CHECK(type == REG_SZ);
  OLECHAR wbuf[64];
  CLSID clsid;
  CHECK_HR(pCLSIDFromString(wide(text, wbuf), &clsid), S_OK);
  char key[160];
  snprintf(key, sizeof key, "CLSID\\%s\\InprocServer32", text);
  size = sizeof text;
  CHECK(pRegGetValueA(HKEY_CLASSES_ROOT, key, "ThreadingModel", RRF_RT_ANY, &type, text, &size) == ERROR_SUCCESS);
  CHECK(strcmp(text, "Apartment") == 0);

  /* The class factory; an unknown class has none. */
  IClassFactory* factory = NULL;
  CHECK_HR(pDllGetClassObject(&clsid, &IID_IClassFactory, (void**)&factory), S_OK);
  CLSID unknown = clsid;
  unknown.Data1 ^= 0xFFFFFFFFu;
  void* none = (void*)1;
  CHECK_HR(pDllGetClassObject(&unknown, &IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
  CHECK(none == NULL);
  if (!factory) return 1;
  CHECK_HR(factory->lpVtbl->LockServer(factory, 1), S_OK);

  IDispatch* button = NULL;
  CHECK_HR(factory->lpVtbl->CreateInstance(factory, NULL, &IID_IDispatch, (void**)&button), S_OK);
  CHECK_HR(factory->lpVtbl->CreateInstance(factory, (IUnknown*)factory, &IID_IDispatch, &none),
           CLASS_E_NOAGGREGATION);
  if (!button) return 1;
  CHECK_HR(pDllCanUnloadNow(), S_FALSE);

  /* Caption by name: put, then get. */
  DISPID caption = idOf(button, "caption");
  CHECK(caption == 0x68030006);
  CHECK(idOf(button, "About") == DISPID_ABOUTBOX);
  VARIANT v;
  pVariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = pSysAllocString(wide("Hello from C", wbuf));
  CHECK_HR(put(button, caption, &v, NULL, NULL), S_OK);
  pVariantClear(&v);
  CHECK_HR(get(button, caption, &v), S_OK);
  CHECK(v.vt == VT_BSTR && pSysStringLen(v.bstrVal) == 12 && v.bstrVal[6] == 'f');
  pVariantClear(&v);

  /* Type information: the default interface, Caption's get and put, its name. */
  UINT infos = 0;
  CHECK_HR(button->lpVtbl->GetTypeInfoCount(button, &infos), S_OK);
  CHECK(infos == 1);
  ITypeInfo* ti = NULL;
  CHECK_HR(button->lpVtbl->GetTypeInfo(button, 1, 0, &ti), DISP_E_BADINDEX);
  CHECK_HR(button->lpVtbl->GetTypeInfo(button, 0, 0, &ti), S_OK);
  if (ti) {
    TYPEATTR* attr = NULL;
    WORD funcs = 0;
    CHECK_HR(ti->lpVtbl->GetTypeAttr(ti, &attr), S_OK);
    if (attr) {
      CHECK(attr->typekind == TKIND_DISPATCH);
      funcs = attr->cFuncs;
      ti->lpVtbl->ReleaseTypeAttr(ti, attr);
    }
    int gets = 0, puts = 0;
    for (UINT i = 0; i < funcs; ++i) {
      FUNCDESC* f = NULL;
      CHECK_HR(ti->lpVtbl->GetFuncDesc(ti, i, &f), S_OK);
      if (!f) continue;
      if (f->memid == caption && f->invkind == INVOKE_PROPERTYGET && f->cParams == 0) ++gets;
      if (f->memid == caption && f->invkind == INVOKE_PROPERTYPUT && f->cParams == 1 &&
          f->lprgelemdescParam[0].tdesc.vt == VT_BSTR)
        ++puts;
      ti->lpVtbl->ReleaseFuncDesc(ti, f);
    }
    CHECK(gets == 1 && puts == 1);
    FUNCDESC* past = NULL;
    CHECK_HR(ti->lpVtbl->GetFuncDesc(ti, funcs, &past), TYPE_E_ELEMENTNOTFOUND);
    BSTR names[2] = {NULL, NULL};
    UINT got = 0;
    CHECK_HR(ti->lpVtbl->GetNames(ti, caption, names, 2, &got), S_OK);
    CHECK(got == 1 && pSysStringLen(names[0]) == 7 && names[0][0] == 'C');
    pSysFreeString(names[0]);
    BSTR name = NULL;
    CHECK_HR(ti->lpVtbl->GetDocumentation(ti, MEMBERID_NIL, &name, NULL, NULL, NULL), S_OK);
    CHECK(pSysStringLen(name) == 14 && name[0] == '_'); /* "_ZorvaXPButton" */
    pSysFreeString(name);
    CHECK(ti->lpVtbl->Release(ti) == 0);
  }

  /* A Boolean property takes VARIANT_BOOL and a number; a text that is no Boolean is refused. */
  DISPID enabled = idOf(button, "Enabled");
  v.vt = VT_BOOL;
  v.boolVal = VARIANT_TRUE;
  CHECK_HR(put(button, enabled, &v, NULL, NULL), S_OK);
  v.vt = VT_BSTR;
  v.bstrVal = pSysAllocString(wide("not a boolean", wbuf));
  UINT argErr = 99;
  CHECK_HR(put(button, enabled, &v, NULL, &argErr), DISP_E_TYPEMISMATCH);
  CHECK(argErr == 0);
  pVariantClear(&v);

  /* Bad calls: unknown name, unknown member, wrong argument count, put without its named argument. */
  CHECK(idOf(button, "NoSuchMember") == DISPID_UNKNOWN);
  CHECK_HR(get(button, 0x680300FF, &v), DISP_E_MEMBERNOTFOUND);
  VARIANT two[2];
  pVariantInit(&two[0]);
  pVariantInit(&two[1]);
  two[0].vt = VT_I4;
  two[1].vt = VT_I4;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS tooMany = {two, &named, 2, 1};
  CHECK_HR(button->lpVtbl->Invoke(button, caption, &IID_NULL, 0, DISPATCH_PROPERTYPUT, &tooMany, NULL, NULL, NULL),
           DISP_E_BADPARAMCOUNT);
  DISPPARAMS methodArgs = {two, NULL, 2, 0};
  CHECK_HR(button->lpVtbl->Invoke(button, idOf(button, "RedrawMe"), &IID_NULL, 0, DISPATCH_METHOD, &methodArgs,
                                  NULL, NULL, NULL),
           DISP_E_BADPARAMCOUNT);
  DISPPARAMS unnamed = {two, NULL, 1, 0};
  CHECK_HR(button->lpVtbl->Invoke(button, caption, &IID_NULL, 0, DISPATCH_PROPERTYPUT, &unnamed, NULL, NULL, NULL),
           DISP_E_PARAMNOTFOUND);

  /* Click through a connection point. */
  IConnectionPointContainer* container = NULL;
  CHECK_HR(button->lpVtbl->QueryInterface(button, &IID_IConnectionPointContainer, (void**)&container), S_OK);
  IConnectionPoint* point = NULL;
  CHECK_HR(container->lpVtbl->FindConnectionPoint(container, &IID_IDispatch, &point), CONNECT_E_NOCONNECTION);
  /* The button's outgoing interface, as the class describes it. */
  IID eventsIid;
  memset(&eventsIid, 0, sizeof eventsIid);
  IProvideClassInfo2* info = NULL;
  CHECK_HR(button->lpVtbl->QueryInterface(button, &IID_IProvideClassInfo2, (void**)&info), S_OK);
  if (info) {
    CHECK_HR(info->lpVtbl->GetGUID(info, GUIDKIND_DEFAULT_SOURCE_DISP_IID, &eventsIid), S_OK);
    info->lpVtbl->Release(info);
  }
  CHECK_HR(container->lpVtbl->FindConnectionPoint(container, &eventsIid, &point), S_OK);
  Sink sink = {{&sinkVtbl}, 1, 0, 0};
  DWORD cookie = 0;
  if (point) CHECK_HR(point->lpVtbl->Advise(point, (IUnknown*)&sink.iface, &cookie), S_OK);
  CHECK(sink.refs == 2);

  /* The enumerators: the container's one point, the point's one connection. */
  IEnumConnectionPoints* points = NULL;
  CHECK_HR(container->lpVtbl->EnumConnectionPoints(container, &points), S_OK);
  if (points) {
    IConnectionPoint* found[2] = {NULL, NULL};
    ULONG fetched = 0;
    CHECK_HR(points->lpVtbl->Next(points, 2, found, NULL), E_POINTER);
    CHECK_HR(points->lpVtbl->Next(points, 2, found, &fetched), S_FALSE);
    CHECK(fetched == 1 && found[0] != NULL);
    if (found[0]) {
      IID iid;
      CHECK_HR(found[0]->lpVtbl->GetConnectionInterface(found[0], &iid), S_OK);
      CHECK(sameGuid(&iid, &eventsIid));
      found[0]->lpVtbl->Release(found[0]);
    }
    CHECK_HR(points->lpVtbl->Skip(points, 1), S_FALSE);
    IEnumConnectionPoints* copy = NULL;
    CHECK_HR(points->lpVtbl->Reset(points), S_OK);
    CHECK_HR(points->lpVtbl->Clone(points, &copy), S_OK);
    CHECK(points->lpVtbl->Release(points) == 0);
    if (copy) {
      CHECK_HR(copy->lpVtbl->Next(copy, 1, found, NULL), S_OK);
      if (found[0]) found[0]->lpVtbl->Release(found[0]);
      CHECK(copy->lpVtbl->Release(copy) == 0);
    }
  }
  IEnumConnections* connections = NULL;
  if (point) CHECK_HR(point->lpVtbl->EnumConnections(point, &connections), S_OK);
  if (connections) {
    CONNECTDATA data[2];
    ULONG fetched = 0;
    memset(data, 0, sizeof data);
    CHECK_HR(connections->lpVtbl->Next(connections, 2, data, &fetched), S_FALSE);
    CHECK(fetched == 1 && data[0].dwCookie == cookie && data[0].pUnk == (IUnknown*)&sink.iface);
    CHECK(sink.refs == 4); /* the connection, the snapshot and the data handed out */
    if (data[0].pUnk) data[0].pUnk->lpVtbl->Release(data[0].pUnk);
    CHECK(connections->lpVtbl->Release(connections) == 0);
    CHECK(sink.refs == 2);
  }

  IOleWindow* window = NULL;
  HWND hwnd = 0;
  CHECK_HR(button->lpVtbl->QueryInterface(button, &IID_IOleWindow, (void**)&window), S_OK);
  if (window) {
    CHECK_HR(window->lpVtbl->GetWindow(window, &hwnd), S_OK);
    window->lpVtbl->Release(window);
  }
  CHECK_HR(pMoveToWindow(hwnd), S_OK);
  CHECK_HR(pClick(), S_OK);
  CHECK(sink.clicks == 1);
  CHECK(sink.others > 0); /* MouseMove, MouseDown, MouseUp came too */

  if (point) {
    CHECK_HR(point->lpVtbl->Unadvise(point, cookie), S_OK);
    CHECK_HR(point->lpVtbl->Unadvise(point, cookie), CONNECT_E_NOCONNECTION);
    point->lpVtbl->Release(point);
  }
  CHECK(sink.refs == 1);
  container->lpVtbl->Release(container);

  /* The label's property page, found by its program identifier: creatable, titled, and only for
   * labels. */
  size = sizeof text;
  CHECK(pRegGetValueA(HKEY_CLASSES_ROOT, "ZorvaXPProject.pPageLabel\\CLSID", NULL, RRF_RT_ANY, &type, text,
                      &size) == ERROR_SUCCESS);
  CLSID pageClsid;
  IClassFactory* pageFactory = NULL;
  CHECK_HR(pCLSIDFromString(wide(text, wbuf), &pageClsid), S_OK);
  CHECK_HR(pDllGetClassObject(&pageClsid, &IID_IClassFactory, (void**)&pageFactory), S_OK);
  if (pageFactory) {
    IPropertyPage* page = NULL;
    CHECK_HR(pageFactory->lpVtbl->CreateInstance(pageFactory, NULL, &IID_IDispatch, &none), E_NOINTERFACE);
    CHECK_HR(pageFactory->lpVtbl->CreateInstance(pageFactory, NULL, &IID_IPropertyPage, (void**)&page), S_OK);
    pageFactory->lpVtbl->Release(pageFactory);
    if (page) {
      PROPPAGEINFO info;
      CHECK_HR(page->lpVtbl->GetPageInfo(page, &info), S_OK);
      CHECK(info.pszTitle && info.pszTitle[0] == 'L' && info.size.cx > 0);
      pCoTaskMemFree(info.pszTitle);
      IUnknown* selection[1] = {(IUnknown*)button};
      CHECK_HR(page->lpVtbl->SetObjects(page, 1, selection), E_NOINTERFACE);
      CHECK_HR(page->lpVtbl->IsPageDirty(page), S_FALSE);
      CHECK_HR(page->lpVtbl->Deactivate(page), (HRESULT)0x8000FFFF); /* never activated */
      CHECK(page->lpVtbl->Release(page) == 0);
    }
  }

  /* Release everything: the server may unload once the lock is gone too. */
  CHECK(button->lpVtbl->Release(button) == 0);
  CHECK_HR(pDllCanUnloadNow(), S_FALSE);
  CHECK_HR(factory->lpVtbl->LockServer(factory, 0), S_OK);
  CHECK(factory->lpVtbl->Release(factory) == 0);
  CHECK_HR(pDllCanUnloadNow(), S_OK);

  CHECK_HR(pDllUnregisterServer(), S_OK);
  size = sizeof text;
  CHECK(pRegGetValueA(HKEY_CLASSES_ROOT, "ZorvaXPProject.ZorvaXPButton\\CLSID", NULL, RRF_RT_ANY, &type, text,
                      &size) == ERROR_FILE_NOT_FOUND);
  dlclose(lib);
  if (failures) fprintf(stderr, "%d check(s) failed\n", failures);
  else printf("C host: all checks passed\n");
  return failures ? 1 : 0;
}
