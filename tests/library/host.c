/* A host written in C: loads libzorvaxp.so with dlopen and uses only the component interfaces
 * of zorvaxp_com.h. It registers the server, finds the push button by its program identifier in
 * the registry, creates one through the class factory, sets and reads Caption by name, reads its
 * type information, sinks Click through a connection point, clicks the button through the
 * platform's input, walks the connection enumerators, creates the label's property page, checks
 * the error codes of bad calls, drives a list (a cell's let, rows as objects, an array of items,
 * named arguments, an enumeration's names from the type information), builds, saves, loads and
 * renders a form through the host calls, releases everything and expects the server to allow
 * unloading.
 * Usage: zorvaxp-host-test PATH-TO-libzorvaxp.so (with ZORVAXP_REGISTRY naming a scratch file). */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "zorvaxp/zorvaxp_com.h"

#include "support/CChecks.h"

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
static __typeof__(SafeArrayCreateVector)* pSafeArrayCreateVector;
static __typeof__(SafeArrayPutElement)* pSafeArrayPutElement;
static __typeof__(SafeArrayGetUBound)* pSafeArrayGetUBound;
static __typeof__(ZorvaXPFormCreate)* pFormCreate;
static __typeof__(ZorvaXPFormLoad)* pFormLoad;
static __typeof__(ZorvaXPFormSave)* pFormSave;
static __typeof__(ZorvaXPFormAddControl)* pFormAddControl;
static __typeof__(ZorvaXPFormControlCount)* pFormControlCount;
static __typeof__(ZorvaXPFormControlAt)* pFormControlAt;
static __typeof__(ZorvaXPWindowOf)* pWindowOf;
static __typeof__(ZorvaXPFormRender)* pFormRender;
static __typeof__(ZorvaXPFormPixel)* pFormPixel;
static __typeof__(ZorvaXPFontCreate)* pFontCreate;
static __typeof__(ZorvaXPPutText)* pPutText;
static __typeof__(ZorvaXPPutLong)* pPutLong;
static __typeof__(ZorvaXPPutDouble)* pPutDouble;
static __typeof__(ZorvaXPPutBool)* pPutBool;
static __typeof__(ZorvaXPPictureLoad)* pPictureLoad;
static __typeof__(ZorvaXPGetTypeLib)* pGetTypeLib;
static __typeof__(ZorvaXPRun)* pRun;
static __typeof__(ZorvaXPInputMoveTo)* pInputMoveTo;
static __typeof__(ZorvaXPInputButton)* pInputButton;
static __typeof__(ZorvaXPInputType)* pInputType;
static __typeof__(ZorvaXPInputKeyState)* pInputKeyState;
static __typeof__(ZorvaXPInputAdvance)* pAdvance;

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

/* Invoke with arguments in DISPPARAMS order (the last one first, named ones before the rest). */
static HRESULT invoke(IDispatch* d, DISPID id, WORD flags, VARIANT* args, UINT count, DISPID* named, UINT namedCount,
                      VARIANT* out, EXCEPINFO* e) {
  DISPPARAMS p = {args, named, count, namedCount};
  return d->lpVtbl->Invoke(d, id, &IID_NULL, 0, flags, &p, out, e, NULL);
}

static VARIANT text(const char* s) {
  OLECHAR buf[64];
  VARIANT v;
  pVariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = pSysAllocString(wide(s, buf));
  return v;
}

static VARIANT long4(int32_t n) {
  VARIANT v;
  pVariantInit(&v);
  v.vt = VT_I4;
  v.lVal = n;
  return v;
}

/* Whether a BSTR holds exactly the ASCII text s. */
static int sameText(BSTR b, const char* s) {
  size_t n = strlen(s);
  if (!b || pSysStringLen(b) != n) return 0;
  for (size_t i = 0; i < n; ++i)
    if (b[i] != (OLECHAR)(unsigned char)s[i]) return 0;
  return 1;
}

/* A new object of a class found by its program identifier, NULL when that fails. */
static IDispatch* createNamed(const char* progId) {
  char key[128], clsidText[128];
  DWORD size = sizeof clsidText, type = 0;
  snprintf(key, sizeof key, "%s\\CLSID", progId);
  if (pRegGetValueA(HKEY_CLASSES_ROOT, key, NULL, RRF_RT_ANY, &type, clsidText, &size) != ERROR_SUCCESS) return NULL;
  OLECHAR buf[64];
  CLSID clsid;
  IClassFactory* f = NULL;
  IDispatch* d = NULL;
  if (pCLSIDFromString(wide(clsidText, buf), &clsid) != S_OK) return NULL;
  if (pDllGetClassObject(&clsid, &IID_IClassFactory, (void**)&f) != S_OK || !f) return NULL;
  f->lpVtbl->CreateInstance(f, NULL, &IID_IDispatch, (void**)&d);
  f->lpVtbl->Release(f);
  return d;
}

/* The cell (row, column) of a list as text; 1 when it reads `want`. */
static int cellIs(IDispatch* list, int32_t row, int32_t column, const char* want) {
  VARIANT args[2] = {long4(column), long4(row)}, out;
  pVariantInit(&out);
  int same = invoke(list, idOf(list, "TextMatrix"), DISPATCH_PROPERTYGET, args, 2, NULL, 0, &out, NULL) == S_OK &&
             out.vt == VT_BSTR && sameText(out.bstrVal, want);
  pVariantClear(&out);
  return same;
}

/* A list through the dispatch interface alone. */
static void driveList(void) {
  IDispatch* list = createNamed("ZorvaXPProject.ZorvaXPListBox");
  CHECK(list != NULL);
  if (!list) return;
  VARIANT out, arg;
  EXCEPINFO e;
  pVariantInit(&out);
  const DISPID addColumn = idOf(list, "AddNewColumn");
  arg = text("A");
  CHECK_HR(invoke(list, addColumn, DISPATCH_METHOD, &arg, 1, NULL, 0, NULL, NULL), S_OK);
  pVariantClear(&arg);
  arg = text("B");
  CHECK_HR(invoke(list, addColumn, DISPATCH_METHOD, &arg, 1, NULL, 0, NULL, NULL), S_OK);
  pVariantClear(&arg);

  /* AddItemsByArray with a SAFEARRAY of three VARIANTs (indexes 1 to 3). */
  VARIANT items;
  pVariantInit(&items);
  items.vt = VT_ARRAY | VT_VARIANT;
  items.parray = pSafeArrayCreateVector(VT_VARIANT, 1, 3);
  const char* words[3] = {"a", "b", "c"};
  for (LONG i = 1; i <= 3; ++i) {
    VARIANT w = text(words[i - 1]);
    CHECK_HR(pSafeArrayPutElement(items.parray, &i, &w), S_OK);
    pVariantClear(&w);
  }
  LONG upper = 0;
  CHECK_HR(pSafeArrayGetUBound(items.parray, 1, &upper), S_OK);
  CHECK(upper == 3);
  CHECK_HR(invoke(list, idOf(list, "AddItemsByArray"), DISPATCH_METHOD, &items, 1, NULL, 0, &out, NULL), S_OK);
  CHECK(out.vt == VT_BOOL && out.boolVal == VARIANT_TRUE);
  pVariantClear(&items);
  CHECK(cellIs(list, 1, 1, "a") && cellIs(list, 3, 1, "c"));

  /* TextMatrix(1, 2) = "x": the value first, then the indexes last first. */
  DISPID putNamed = DISPID_PROPERTYPUT;
  VARIANT cellPut[3] = {text("x"), long4(2), long4(1)};
  CHECK_HR(invoke(list, idOf(list, "TextMatrix"), DISPATCH_PROPERTYPUT, cellPut, 3, &putNamed, 1, NULL, NULL), S_OK);
  pVariantClear(&cellPut[0]);
  CHECK(cellIs(list, 1, 2, "x"));

  /* Item(2) is a row object; Item(3) = that row; Item(99) is out of range, with its record. */
  const DISPID item = idOf(list, "Item");
  arg = long4(2);
  CHECK_HR(invoke(list, item, DISPATCH_PROPERTYGET, &arg, 1, NULL, 0, &out, NULL), S_OK);
  CHECK(out.vt == VT_DISPATCH && out.pdispVal != NULL);
  if (out.vt == VT_DISPATCH && out.pdispVal) {
    IDispatch* row = out.pdispVal;
    VARIANT cellIndex = long4(1), cellText;
    pVariantInit(&cellText);
    CHECK_HR(invoke(row, idOf(row, "iCell"), DISPATCH_PROPERTYGET, &cellIndex, 1, NULL, 0, &cellText, NULL), S_OK);
    CHECK(cellText.vt == VT_BSTR && sameText(cellText.bstrVal, "b"));
    pVariantClear(&cellText);
    VARIANT itemPut[2];
    itemPut[0] = out; /* the row, still owned by `out` */
    itemPut[1] = long4(3);
    CHECK_HR(invoke(list, item, DISPATCH_PROPERTYPUTREF, itemPut, 2, &putNamed, 1, NULL, NULL), S_OK);
    CHECK(cellIs(list, 3, 1, "b"));
  }
  pVariantClear(&out);
  arg = long4(99);
  memset(&e, 0, sizeof e);
  CHECK_HR(invoke(list, item, DISPATCH_PROPERTYGET, &arg, 1, NULL, 0, &out, &e), DISP_E_EXCEPTION);
  CHECK(e.scode == ZORVAXP_HOST_ERROR(9) && e.bstrDescription && e.bstrSource);
  pSysFreeString(e.bstrDescription);
  pSysFreeString(e.bstrSource);

  /* FindItem("B", iStartRowIndex:=3) with a named argument: row 3 now holds row 2's object. */
  OLECHAR n0[64], n1[64];
  OLECHAR* names[2] = {(OLECHAR*)wide("FindItem", n0), (OLECHAR*)wide("iStartRowIndex", n1)};
  DISPID ids[2] = {0, 0};
  CHECK_HR(list->lpVtbl->GetIDsOfNames(list, &IID_NULL, names, 2, 0, ids), S_OK);
  CHECK(ids[1] == 2);
  VARIANT find[2] = {long4(3), text("B")};
  CHECK_HR(invoke(list, ids[0], DISPATCH_METHOD, find, 2, &ids[1], 1, &out, NULL), S_OK);
  CHECK(out.vt == VT_I4 && out.lVal == 3);
  pVariantClear(&find[1]);
  pVariantClear(&out);

  /* GridLines is of an enumeration; its type information names the members. */
  ITypeInfo* ti = NULL;
  CHECK_HR(list->lpVtbl->GetTypeInfo(list, 0, 0, &ti), S_OK);
  const DISPID gridLines = idOf(list, "GridLines");
  int found = 0;
  if (ti) {
    TYPEATTR* attr = NULL;
    WORD funcs = 0;
    CHECK_HR(ti->lpVtbl->GetTypeAttr(ti, &attr), S_OK);
    if (attr) {
      funcs = attr->cFuncs;
      ti->lpVtbl->ReleaseTypeAttr(ti, attr);
    }
    for (UINT i = 0; i < funcs && !found; ++i) {
      FUNCDESC* f = NULL;
      if (ti->lpVtbl->GetFuncDesc(ti, i, &f) != S_OK || !f) continue;
      if (f->memid == gridLines && f->invkind == INVOKE_PROPERTYGET && f->elemdescFunc.tdesc.vt == VT_USERDEFINED) {
        ITypeInfo* en = NULL;
        CHECK_HR(ti->lpVtbl->GetRefTypeInfo(ti, f->elemdescFunc.tdesc.hreftype, &en), S_OK);
        if (en) {
          TYPEATTR* ea = NULL;
          CHECK_HR(en->lpVtbl->GetTypeAttr(en, &ea), S_OK);
          if (ea) {
            CHECK(ea->typekind == TKIND_ENUM && ea->cVars == 4);
            en->lpVtbl->ReleaseTypeAttr(en, ea);
          }
          VARDESC* var = NULL;
          CHECK_HR(en->lpVtbl->GetVarDesc(en, 3, &var), S_OK);
          if (var) {
            BSTR memberName = NULL;
            UINT got = 0;
            CHECK_HR(en->lpVtbl->GetNames(en, var->memid, &memberName, 1, &got), S_OK);
            CHECK(got == 1 && sameText(memberName, "LGLBoth"));
            CHECK(var->lpvarValue && var->lpvarValue->vt == VT_I4 && var->lpvarValue->lVal == 3);
            pSysFreeString(memberName);
            en->lpVtbl->ReleaseVarDesc(en, var);
            found = 1;
          }
          en->lpVtbl->Release(en);
        }
      }
      ti->lpVtbl->ReleaseFuncDesc(ti, f);
    }
    ti->lpVtbl->Release(ti);
  }
  CHECK(found);
  CHECK(list->lpVtbl->Release(list) == 0);
}

/* A form through the host calls: built, a control placed and clicked, saved, loaded again, drawn. */
static void driveForm(void) {
  IDispatch* form = NULL;
  EXCEPINFO e;
  memset(&e, 0, sizeof e);
  CHECK_HR(pFormCreate("From C", 3000, 1500, &form, &e), S_OK);
  if (!form) return;
  IDispatch* button = NULL;
  CHECK_HR(pFormAddControl(form, "ZorvaXPProject.ZorvaXPButton", "cmdGo", 150, 150, 1500, 450, NULL, &button, &e),
           S_OK);
  IDispatch* twin = (IDispatch*)1;
  CHECK_HR(pFormAddControl(form, "ZorvaXPButton", "cmdGo", 0, 0, 1500, 450, NULL, &twin, &e), DISP_E_EXCEPTION);
  CHECK(twin == NULL && e.scode == ZORVAXP_HOST_ERROR(5) && e.bstrDescription); /* the name is taken */
  pSysFreeString(e.bstrDescription);
  pSysFreeString(e.bstrSource);
  if (!button) {
    form->lpVtbl->Release(form);
    return;
  }
  VARIANT v = text("Go");
  CHECK_HR(put(button, idOf(button, "Caption"), &v, NULL, NULL), S_OK);
  pVariantClear(&v);
  IDispatch* font = NULL;
  CHECK_HR(pFontCreate("Tahoma", 10, 1, 0, 0, 0, &font), S_OK);
  pVariantInit(&v);
  v.vt = VT_DISPATCH;
  v.pdispVal = font;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS p = {&v, &named, 1, 1};
  CHECK_HR(button->lpVtbl->Invoke(button, idOf(button, "Font"), &IID_NULL, 0, DISPATCH_PROPERTYPUTREF, &p, NULL,
                                  NULL, NULL),
           S_OK);
  if (font) font->lpVtbl->Release(font);
  IDispatch* picture = NULL;
  CHECK_HR(pPictureLoad("not a picture", 13, &picture, &e), DISP_E_EXCEPTION);
  CHECK(e.scode == ZORVAXP_HOST_ERROR(481) && picture == NULL);
  pSysFreeString(e.bstrDescription);
  pSysFreeString(e.bstrSource);

  /* A click at the button's client point (5, 5) through the input calls. */
  HWND hwnd = 0;
  CHECK_HR(pWindowOf(button, &hwnd), S_OK);
  CHECK_HR(pInputMoveTo(hwnd, 5, 5), S_OK);
  CHECK_HR(pInputButton(1, 1), S_OK);
  CHECK_HR(pInputButton(1, 0), S_OK);
  CHECK_HR(pInputButton(3, 1), E_INVALIDARG);
  CHECK_HR(pInputType("x"), S_OK);

  const char* path = "host-form.zxf";
  CHECK_HR(pFormSave(form, path, &e), S_OK);
  IDispatch* loaded = NULL;
  CHECK_HR(pFormLoad(path, &loaded, &e), S_OK);
  int32_t count = 0;
  CHECK_HR(pFormControlCount(loaded, &count), S_OK);
  CHECK(count == 1);
  IDispatch* again = NULL;
  BSTR name = NULL;
  CHECK_HR(pFormControlAt(loaded, 0, &again, &name), S_OK);
  CHECK(sameText(name, "cmdGo"));
  pSysFreeString(name);
  if (again) {
    VARIANT caption;
    pVariantInit(&caption);
    CHECK_HR(get(again, idOf(again, "Caption"), &caption), S_OK);
    CHECK(caption.vt == VT_BSTR && sameText(caption.bstrVal, "Go"));
    pVariantClear(&caption);
    again->lpVtbl->Release(again);
  }
  CHECK_HR(pFormControlAt(loaded, 1, &again, NULL), DISP_E_BADINDEX);
  uint32_t rgb = 0;
  CHECK_HR(pFormPixel(loaded, 0, 0, &rgb), S_OK);
  CHECK_HR(pFormPixel(loaded, -1, 0, &rgb), E_INVALIDARG);
  CHECK_HR(pFormRender(loaded, "host-form.png", &e), S_OK);
  CHECK_HR(pFormLoad("no-such-form.zxf", &again, &e), DISP_E_EXCEPTION);
  CHECK(e.scode == ZORVAXP_HOST_ERROR(53) && again == NULL);
  pSysFreeString(e.bstrDescription);
  pSysFreeString(e.bstrSource);
  CHECK_HR(pFormSave(button, path, &e), E_INVALIDARG); /* a control is no form */
  remove(path);
  remove("host-form.png");

  ITypeLib* lib = NULL;
  CHECK_HR(pGetTypeLib(&lib), S_OK);
  if (lib) {
    CHECK(lib->lpVtbl->GetTypeInfoCount(lib) > 18);
    lib->lpVtbl->Release(lib);
  }
  CHECK_HR(pRun(), S_FALSE); /* headless: returns at once */

  /* Alt+F4 closes the loaded form: its controls went with it, so the form is refused and a
   * control's call raises 91. */
  IDispatch* inside = NULL;
  CHECK_HR(pFormControlAt(loaded, 0, &inside, NULL), S_OK);
  CHECK_HR(pInputKeyState(0x12, 1), S_OK);
  CHECK_HR(pInputKeyState(0x73, 1), S_OK);
  CHECK_HR(pInputKeyState(0x73, 0), S_OK);
  CHECK_HR(pInputKeyState(0x12, 0), S_OK);
  CHECK_HR(pAdvance(20), S_OK); /* the form unloads from a timer, once its messages are done */
  CHECK_HR(pFormPixel(loaded, 0, 0, &rgb), E_INVALIDARG);
  if (inside) {
    VARIANT caption;
    pVariantInit(&caption);
    memset(&e, 0, sizeof e);
    CHECK_HR(inside->lpVtbl->Invoke(inside, 0x68030006, &IID_NULL, 0, DISPATCH_PROPERTYGET, NULL, &caption, &e, NULL),
             DISP_E_EXCEPTION);
    CHECK(e.scode == ZORVAXP_HOST_ERROR(91));
    pSysFreeString(e.bstrDescription);
    pSysFreeString(e.bstrSource);
    CHECK_HR(pWindowOf(inside, &hwnd), E_FAIL);
    inside->lpVtbl->Release(inside);
  }

  /* The control keeps its form alive: the form goes with the button. */
  form->lpVtbl->Release(form);
  CHECK_HR(pDllCanUnloadNow(), S_FALSE);
  button->lpVtbl->Release(button);
  if (loaded) loaded->lpVtbl->Release(loaded);
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
  *(void**)&pSafeArrayCreateVector = need(lib, "SafeArrayCreateVector");
  *(void**)&pSafeArrayPutElement = need(lib, "SafeArrayPutElement");
  *(void**)&pSafeArrayGetUBound = need(lib, "SafeArrayGetUBound");
  *(void**)&pFormCreate = need(lib, "ZorvaXPFormCreate");
  *(void**)&pFormLoad = need(lib, "ZorvaXPFormLoad");
  *(void**)&pFormSave = need(lib, "ZorvaXPFormSave");
  *(void**)&pFormAddControl = need(lib, "ZorvaXPFormAddControl");
  *(void**)&pFormControlCount = need(lib, "ZorvaXPFormControlCount");
  *(void**)&pFormControlAt = need(lib, "ZorvaXPFormControlAt");
  *(void**)&pWindowOf = need(lib, "ZorvaXPWindowOf");
  *(void**)&pFormRender = need(lib, "ZorvaXPFormRender");
  *(void**)&pFormPixel = need(lib, "ZorvaXPFormPixel");
  *(void**)&pFontCreate = need(lib, "ZorvaXPFontCreate");
  *(void**)&pPutText = need(lib, "ZorvaXPPutText");
  *(void**)&pPutLong = need(lib, "ZorvaXPPutLong");
  *(void**)&pPutDouble = need(lib, "ZorvaXPPutDouble");
  *(void**)&pPutBool = need(lib, "ZorvaXPPutBool");
  *(void**)&pPictureLoad = need(lib, "ZorvaXPPictureLoad");
  *(void**)&pGetTypeLib = need(lib, "ZorvaXPGetTypeLib");
  *(void**)&pRun = need(lib, "ZorvaXPRun");
  *(void**)&pInputMoveTo = need(lib, "ZorvaXPInputMoveTo");
  *(void**)&pInputButton = need(lib, "ZorvaXPInputButton");
  *(void**)&pInputType = need(lib, "ZorvaXPInputType");
  *(void**)&pInputKeyState = need(lib, "ZorvaXPInputKeyState");
  *(void**)&pAdvance = need(lib, "ZorvaXPInputAdvance");

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

  /* The quick puts make the same call: a text with a NUL inside arrives whole, numbers become
   * the property's type, a value the property cannot take is refused as Invoke refuses it. */
  {
    const OLECHAR withNul[3] = {'a', 0, 'b'};
    DISPID captionId = idOf(button, "Caption");
    CHECK_HR(pPutText(button, captionId, withNul, 3, NULL), S_OK);
    CHECK_HR(get(button, captionId, &v), S_OK);
    CHECK(v.vt == VT_BSTR && pSysStringLen(v.bstrVal) == 3 && v.bstrVal[1] == 0 && v.bstrVal[2] == 'b');
    pVariantClear(&v);
    CHECK_HR(pPutLong(button, captionId, -42, NULL), S_OK);
    CHECK_HR(get(button, captionId, &v), S_OK);
    CHECK(v.vt == VT_BSTR && pSysStringLen(v.bstrVal) == 3 && v.bstrVal[0] == '-' && v.bstrVal[2] == '2');
    pVariantClear(&v);
    CHECK_HR(pPutBool(button, enabled, 0, NULL), S_OK);
    CHECK_HR(get(button, enabled, &v), S_OK);
    CHECK(v.vt == VT_BOOL && v.boolVal == 0);
    CHECK_HR(pPutBool(button, enabled, 5, NULL), S_OK);
    CHECK_HR(get(button, enabled, &v), S_OK);
    CHECK(v.vt == VT_BOOL && v.boolVal == VARIANT_TRUE);
    CHECK_HR(pPutDouble(button, enabled, 0.0, NULL), S_OK);
    CHECK_HR(get(button, enabled, &v), S_OK);
    CHECK(v.vt == VT_BOOL && v.boolVal == 0);
    const OLECHAR word[4] = {'n', 'o', 'p', 'e'};
    CHECK_HR(pPutText(button, enabled, word, 4, NULL), DISP_E_TYPEMISMATCH);
    CHECK_HR(pPutLong(button, 0x680300FF, 1, NULL), DISP_E_MEMBERNOTFOUND);
    CHECK_HR(pPutLong(NULL, enabled, 1, NULL), E_POINTER);
    CHECK_HR(pPutText(button, captionId, NULL, 1, NULL), E_POINTER);
    CHECK_HR(pPutBool(button, enabled, 1, NULL), S_OK);
  }

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

  driveList();
  driveForm();

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
