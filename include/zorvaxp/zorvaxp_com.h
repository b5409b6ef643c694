/* ZorvaXP's component server, for hosts written in C (or C++ hosts that use no other header of
 * the library). It declares the component model's binary types and interfaces the server speaks
 * (IUnknown, IClassFactory, IDispatch, type information, the connection points and their
 * enumerators, IOleWindow, property pages and the controls' list of them), the server's four
 * entry points, the string and VARIANT helpers a host needs to talk to it, the registry read it
 * needs to find a class by program identifier, and the input a host injects into the library's
 * window system.
 *
 * Interfaces follow the platform's layout: an object starts with a pointer to its table of
 * functions, each taking the object first. Strings (BSTR) are UTF-16, length-prefixed, and come
 * from SysAllocString. The library's windows, timers and objects belong to the thread that made
 * them; call everything from that one thread. */
#ifndef ZORVAXP_COM_H
#define ZORVAXP_COM_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t HRESULT;
typedef uint32_t ULONG;
typedef int32_t LONG;
typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef unsigned int UINT;
typedef uint32_t LCID;
typedef int32_t DISPID;
typedef uint16_t VARTYPE;
typedef int16_t VARIANT_BOOL;
typedef uint16_t OLECHAR;
typedef OLECHAR* BSTR;
typedef double DATE;
typedef uint32_t HWND;  /* the library's window handles are 32-bit */
typedef uint32_t HKEY;

typedef struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
} GUID;
typedef GUID IID;
typedef GUID CLSID;

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001)
#define E_NOINTERFACE ((HRESULT)0x80004002)
#define E_POINTER ((HRESULT)0x80004003)
#define E_FAIL ((HRESULT)0x80004005)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define E_INVALIDARG ((HRESULT)0x80070057)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110)
#define CLASS_E_CLASSNOTAVAILABLE ((HRESULT)0x80040111)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)
#define CO_E_CLASSSTRING ((HRESULT)0x800401F3)
#define SELFREG_E_CLASS ((HRESULT)0x80040201)
#define CONNECT_E_NOCONNECTION ((HRESULT)0x80040200)
#define CONNECT_E_CANNOTCONNECT ((HRESULT)0x80040202)
#define DISP_E_UNKNOWNINTERFACE ((HRESULT)0x80020001)
#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003)
#define DISP_E_PARAMNOTFOUND ((HRESULT)0x80020004)
#define DISP_E_TYPEMISMATCH ((HRESULT)0x80020005)
#define DISP_E_UNKNOWNNAME ((HRESULT)0x80020006)
#define DISP_E_NONAMEDARGS ((HRESULT)0x80020007)
#define DISP_E_BADVARTYPE ((HRESULT)0x80020008)
#define DISP_E_EXCEPTION ((HRESULT)0x80020009)
#define DISP_E_OVERFLOW ((HRESULT)0x8002000A)
#define DISP_E_BADINDEX ((HRESULT)0x8002000B)
#define DISP_E_BADPARAMCOUNT ((HRESULT)0x8002000E)
#define DISP_E_PARAMNOTOPTIONAL ((HRESULT)0x8002000F)
#define E_UNEXPECTED ((HRESULT)0x8000FFFF)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
/* The HRESULT of a host error number n, as EXCEPINFO.scode carries it. */
#define ZORVAXP_HOST_ERROR(n) ((HRESULT)(0x800A0000u | ((uint32_t)(n)&0xFFFFu)))

#define DISPATCH_METHOD 0x1
#define DISPATCH_PROPERTYGET 0x2
#define DISPATCH_PROPERTYPUT 0x4
#define DISPATCH_PROPERTYPUTREF 0x8
#define DISPID_UNKNOWN (-1)
#define DISPID_VALUE 0
#define DISPID_PROPERTYPUT (-3)
#define DISPID_ABOUTBOX (-552)
#define DISPID_CLICK (-600)

#define GUIDKIND_DEFAULT_SOURCE_DISP_IID 1
#define MEMBERID_NIL DISPID_UNKNOWN
#define TYPE_E_ELEMENTNOTFOUND ((HRESULT)0x8002802B)
#define TYPE_E_WRONGTYPEKIND ((HRESULT)0x8002802A)
#define TYPE_E_BADMODULEKIND ((HRESULT)0x800288BD)

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

enum VARENUM {
  VT_EMPTY = 0, VT_NULL = 1, VT_I2 = 2, VT_I4 = 3, VT_R4 = 4, VT_R8 = 5, VT_CY = 6, VT_DATE = 7,
  VT_BSTR = 8, VT_DISPATCH = 9, VT_ERROR = 10, VT_BOOL = 11, VT_VARIANT = 12, VT_UNKNOWN = 13,
  VT_I1 = 16, VT_UI1 = 17, VT_UI2 = 18, VT_UI4 = 19, VT_I8 = 20, VT_UI8 = 21, VT_INT = 22,
  VT_UINT = 23, VT_VOID = 24, VT_HRESULT = 25, VT_PTR = 26, VT_SAFEARRAY = 27, VT_USERDEFINED = 29,
  VT_ARRAY = 0x2000, VT_BYREF = 0x4000
};

struct IUnknown;
struct IDispatch;

/* A one-dimensional array (SafeArrayCreate below): VT_ARRAY | VT_VARIANT in a VARIANT's parray.
 * Element k (from rgsabound[0].lLbound) is at pvData + (k - lLbound) * cbElements. */
typedef struct SAFEARRAYBOUND {
  ULONG cElements;
  LONG lLbound;
} SAFEARRAYBOUND;
typedef struct SAFEARRAY {
  uint16_t cDims;
  uint16_t fFeatures;
  ULONG cbElements;
  ULONG cLocks;
  void* pvData;
  SAFEARRAYBOUND rgsabound[1];
} SAFEARRAY;
#define FADF_VARIANT 0x0800

typedef struct VARIANT {
  VARTYPE vt;
  WORD wReserved1, wReserved2, wReserved3;
  union {
    int64_t llVal;
    int32_t lVal;
    uint8_t bVal;
    int16_t iVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    HRESULT scode;
    int64_t cyVal; /* currency: the value times 10 000 */
    DATE date;
    BSTR bstrVal;
    struct IUnknown* punkVal;
    struct IDispatch* pdispVal;
    int8_t cVal;
    uint16_t uiVal;
    uint32_t ulVal;
    uint64_t ullVal;
    int32_t intVal;
    uint32_t uintVal;
    uint8_t* pbVal;
    int16_t* piVal;
    int32_t* plVal;
    float* pfltVal;
    double* pdblVal;
    VARIANT_BOOL* pboolVal;
    DATE* pdate;
    BSTR* pbstrVal;
    struct IDispatch** ppdispVal;
    struct VARIANT* pvarVal;
    SAFEARRAY* parray;    /* VT_ARRAY | VT_VARIANT */
    SAFEARRAY** pparray;  /* VT_BYREF | VT_ARRAY | VT_VARIANT */
    void* byref;
    struct {
      void* pvRecord;
      void* pRecInfo;
    } brecVal;
  };
} VARIANT;
typedef VARIANT VARIANTARG;

typedef struct DISPPARAMS {
  VARIANTARG* rgvarg; /* arguments in reverse order: the last one first */
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
} DISPPARAMS;

typedef struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  void* pvReserved;
  HRESULT (*pfnDeferredFillIn)(struct EXCEPINFO*);
  HRESULT scode;
} EXCEPINFO;

typedef struct CONNECTDATA {
  struct IUnknown* pUnk;
  DWORD dwCookie;
} CONNECTDATA;

struct IConnectionPoint;
struct IEnumConnectionPoints;
struct IEnumConnections;
struct ITypeInfo;
struct ITypeLib;
struct ITypeComp;
struct IPropertyPageSite;

/* ---- Type information ---- */
typedef int32_t MEMBERID;
typedef uint32_t HREFTYPE;
typedef HRESULT SCODE;

typedef enum TYPEKIND {
  TKIND_ENUM = 0, TKIND_RECORD, TKIND_MODULE, TKIND_INTERFACE, TKIND_DISPATCH, TKIND_COCLASS, TKIND_ALIAS,
  TKIND_UNION, TKIND_MAX
} TYPEKIND;
typedef enum FUNCKIND { FUNC_VIRTUAL = 0, FUNC_PUREVIRTUAL, FUNC_NONVIRTUAL, FUNC_STATIC, FUNC_DISPATCH } FUNCKIND;
typedef enum INVOKEKIND {
  INVOKE_FUNC = 1, INVOKE_PROPERTYGET = 2, INVOKE_PROPERTYPUT = 4, INVOKE_PROPERTYPUTREF = 8
} INVOKEKIND;
typedef enum CALLCONV { CC_FASTCALL = 0, CC_CDECL = 1, CC_PASCAL, CC_MACPASCAL, CC_STDCALL } CALLCONV;
typedef enum SYSKIND { SYS_WIN16 = 0, SYS_WIN32, SYS_MAC, SYS_WIN64 } SYSKIND;
typedef enum DESCKIND { DESCKIND_NONE = 0, DESCKIND_FUNCDESC, DESCKIND_VARDESC, DESCKIND_TYPECOMP } DESCKIND;

/* TYPEATTR.wTypeFlags */
#define TYPEFLAG_FAPPOBJECT 0x1
#define TYPEFLAG_FCANCREATE 0x2
#define TYPEFLAG_FHIDDEN 0x10
#define TYPEFLAG_FCONTROL 0x20
#define TYPEFLAG_FNONEXTENSIBLE 0x80
#define TYPEFLAG_FDISPATCHABLE 0x1000
/* Implemented interfaces of a class (GetImplTypeFlags) */
#define IMPLTYPEFLAG_FDEFAULT 0x1
#define IMPLTYPEFLAG_FSOURCE 0x2
/* Parameters */
#define PARAMFLAG_NONE 0
#define PARAMFLAG_FIN 0x1
#define PARAMFLAG_FOUT 0x2
#define PARAMFLAG_FOPT 0x10

typedef struct TYPEDESC {
  union {
    struct TYPEDESC* lptdesc; /* VT_PTR */
    HREFTYPE hreftype;        /* VT_USERDEFINED */
  };
  VARTYPE vt;
} TYPEDESC;

typedef struct IDLDESC {
  uintptr_t dwReserved;
  uint16_t wIDLFlags;
} IDLDESC;

typedef struct PARAMDESC {
  void* pparamdescex;
  uint16_t wParamFlags;
} PARAMDESC;

typedef struct ELEMDESC {
  TYPEDESC tdesc;
  union {
    IDLDESC idldesc;
    PARAMDESC paramdesc;
  };
} ELEMDESC;

typedef struct TYPEATTR {
  GUID guid;
  LCID lcid;
  DWORD dwReserved;
  MEMBERID memidConstructor;
  MEMBERID memidDestructor;
  OLECHAR* lpstrSchema;
  ULONG cbSizeInstance;
  TYPEKIND typekind;
  WORD cFuncs;
  WORD cVars;
  WORD cImplTypes;
  WORD cbSizeVft;
  WORD cbAlignment;
  WORD wTypeFlags;
  WORD wMajorVerNum;
  WORD wMinorVerNum;
  TYPEDESC tdescAlias;
  IDLDESC idldescType;
} TYPEATTR;

typedef struct FUNCDESC {
  MEMBERID memid;
  SCODE* lprgscode;
  ELEMDESC* lprgelemdescParam; /* cParams entries */
  FUNCKIND funckind;
  INVOKEKIND invkind;
  CALLCONV callconv;
  int16_t cParams;
  int16_t cParamsOpt;
  int16_t oVft;
  int16_t cScodes;
  ELEMDESC elemdescFunc; /* the return (or property) type */
  WORD wFuncFlags;
} FUNCDESC;

/* An enumeration's constants (GetVarDesc on a TKIND_ENUM type): lpvarValue holds the value. */
typedef enum VARKIND { VAR_PERINSTANCE = 0, VAR_STATIC, VAR_CONST, VAR_DISPATCH } VARKIND;
typedef struct VARDESC {
  MEMBERID memid;
  OLECHAR* lpstrSchema;
  union {
    ULONG oInst;
    VARIANT* lpvarValue;
  };
  ELEMDESC elemdescVar;
  WORD wVarFlags;
  VARKIND varkind;
} VARDESC;

typedef struct TLIBATTR {
  GUID guid;
  LCID lcid;
  SYSKIND syskind;
  WORD wMajorVerNum;
  WORD wMinorVerNum;
  WORD wLibFlags;
} TLIBATTR;

/* ---- Property pages ---- */
struct tagRECT {
  LONG left, top, right, bottom;
};
struct tagSIZE {
  LONG cx, cy;
};
struct tagMSG; /* the library's message; pages pass it on untouched */

typedef struct PROPPAGEINFO {
  ULONG cb;
  OLECHAR* pszTitle; /* CoTaskMemAlloc'd: free with CoTaskMemFree */
  struct tagSIZE size;
  OLECHAR* pszDocString;
  OLECHAR* pszHelpFile;
  DWORD dwHelpContext;
} PROPPAGEINFO;

/* The pages a control names (ISpecifyPropertyPages); pElems is CoTaskMemAlloc'd. */
typedef struct CAUUID {
  ULONG cElems;
  GUID* pElems;
} CAUUID;

/* IPropertyPageSite::OnStatusChange */
#define PROPPAGESTATUS_DIRTY 0x1
#define PROPPAGESTATUS_VALIDATE 0x2
#define PROPPAGESTATUS_CLEAN 0x4

#ifdef __cplusplus
/* C++: the interfaces as abstract classes with the same layout. */
struct IUnknown {
  virtual HRESULT QueryInterface(const IID* riid, void** ppv) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
};
struct IClassFactory : IUnknown {
  virtual HRESULT CreateInstance(IUnknown* outer, const IID* riid, void** ppv) = 0;
  virtual HRESULT LockServer(int32_t lock) = 0;
};
struct IDispatch : IUnknown {
  virtual HRESULT GetTypeInfoCount(UINT* count) = 0;
  virtual HRESULT GetTypeInfo(UINT index, LCID lcid, struct ITypeInfo** info) = 0;
  virtual HRESULT GetIDsOfNames(const IID* riid, OLECHAR** names, UINT count, LCID lcid, DISPID* ids) = 0;
  virtual HRESULT Invoke(DISPID id, const IID* riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                         EXCEPINFO* excep, UINT* argErr) = 0;
};
struct IConnectionPointContainer : IUnknown {
  virtual HRESULT EnumConnectionPoints(struct IEnumConnectionPoints** out) = 0;
  virtual HRESULT FindConnectionPoint(const IID* riid, struct IConnectionPoint** out) = 0;
};
struct IConnectionPoint : IUnknown {
  virtual HRESULT GetConnectionInterface(IID* iid) = 0;
  virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** out) = 0;
  virtual HRESULT Advise(IUnknown* sink, DWORD* cookie) = 0;
  virtual HRESULT Unadvise(DWORD cookie) = 0;
  virtual HRESULT EnumConnections(struct IEnumConnections** out) = 0;
};
struct IProvideClassInfo2 : IUnknown {
  virtual HRESULT GetClassInfo(struct ITypeInfo** info) = 0;
  virtual HRESULT GetGUID(DWORD kind, GUID* guid) = 0;
};
struct IOleWindow : IUnknown {
  virtual HRESULT GetWindow(HWND* hwnd) = 0;
  virtual HRESULT ContextSensitiveHelp(int32_t enterMode) = 0;
};
struct IEnumConnectionPoints : IUnknown {
  virtual HRESULT Next(ULONG count, IConnectionPoint** out, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumConnectionPoints** out) = 0;
};
struct IEnumConnections : IUnknown {
  virtual HRESULT Next(ULONG count, CONNECTDATA* out, ULONG* fetched) = 0;
  virtual HRESULT Skip(ULONG count) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumConnections** out) = 0;
};
struct ITypeInfo : IUnknown {
  virtual HRESULT GetTypeAttr(TYPEATTR** attr) = 0;
  virtual HRESULT GetTypeComp(ITypeComp** comp) = 0;
  virtual HRESULT GetFuncDesc(UINT index, FUNCDESC** desc) = 0;
  virtual HRESULT GetVarDesc(UINT index, VARDESC** desc) = 0;
  virtual HRESULT GetNames(MEMBERID id, BSTR* names, UINT max, UINT* count) = 0;
  virtual HRESULT GetRefTypeOfImplType(UINT index, HREFTYPE* ref) = 0;
  virtual HRESULT GetImplTypeFlags(UINT index, int32_t* flags) = 0;
  virtual HRESULT GetIDsOfNames(OLECHAR** names, UINT count, MEMBERID* ids) = 0;
  virtual HRESULT Invoke(void* instance, MEMBERID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                         EXCEPINFO* excep, UINT* argErr) = 0;
  virtual HRESULT GetDocumentation(MEMBERID id, BSTR* name, BSTR* doc, DWORD* helpContext, BSTR* helpFile) = 0;
  virtual HRESULT GetDllEntry(MEMBERID id, INVOKEKIND kind, BSTR* dll, BSTR* name, WORD* ordinal) = 0;
  virtual HRESULT GetRefTypeInfo(HREFTYPE ref, ITypeInfo** info) = 0;
  virtual HRESULT AddressOfMember(MEMBERID id, INVOKEKIND kind, void** address) = 0;
  virtual HRESULT CreateInstance(IUnknown* outer, const IID* riid, void** ppv) = 0;
  virtual HRESULT GetMops(MEMBERID id, BSTR* mops) = 0;
  virtual HRESULT GetContainingTypeLib(ITypeLib** lib, UINT* index) = 0;
  virtual void ReleaseTypeAttr(TYPEATTR* attr) = 0;
  virtual void ReleaseFuncDesc(FUNCDESC* desc) = 0;
  virtual void ReleaseVarDesc(VARDESC* desc) = 0;
};
struct ITypeLib : IUnknown {
  virtual UINT GetTypeInfoCount() = 0;
  virtual HRESULT GetTypeInfo(UINT index, ITypeInfo** info) = 0;
  virtual HRESULT GetTypeInfoType(UINT index, TYPEKIND* kind) = 0;
  virtual HRESULT GetTypeInfoOfGuid(const GUID* guid, ITypeInfo** info) = 0;
  virtual HRESULT GetLibAttr(TLIBATTR** attr) = 0;
  virtual HRESULT GetTypeComp(ITypeComp** comp) = 0;
  virtual HRESULT GetDocumentation(int32_t index, BSTR* name, BSTR* doc, DWORD* helpContext, BSTR* helpFile) = 0;
  virtual HRESULT IsName(OLECHAR* name, ULONG hash, int32_t* found) = 0;
  virtual HRESULT FindName(OLECHAR* name, ULONG hash, ITypeInfo** infos, MEMBERID* ids, uint16_t* found) = 0;
  virtual void ReleaseTLibAttr(TLIBATTR* attr) = 0;
};
struct IPropertyPageSite : IUnknown {
  virtual HRESULT OnStatusChange(DWORD flags) = 0;
  virtual HRESULT GetLocaleID(LCID* lcid) = 0;
  virtual HRESULT GetPageContainer(IUnknown** container) = 0;
  virtual HRESULT TranslateAccelerator(struct tagMSG* msg) = 0;
};
struct ISpecifyPropertyPages : IUnknown {
  virtual HRESULT GetPages(CAUUID* pages) = 0;
};
struct IPropertyPage : IUnknown {
  virtual HRESULT SetPageSite(IPropertyPageSite* site) = 0;
  virtual HRESULT Activate(HWND parent, const struct tagRECT* rect, int32_t modal) = 0;
  virtual HRESULT Deactivate() = 0;
  virtual HRESULT GetPageInfo(PROPPAGEINFO* info) = 0;
  virtual HRESULT SetObjects(ULONG count, IUnknown** objects) = 0;
  virtual HRESULT Show(UINT cmdShow) = 0;
  virtual HRESULT Move(const struct tagRECT* rect) = 0;
  virtual HRESULT IsPageDirty() = 0;
  virtual HRESULT Apply() = 0;
  virtual HRESULT Help(const OLECHAR* helpDir) = 0;
  virtual HRESULT TranslateAccelerator(struct tagMSG* msg) = 0;
};
#else
/* C: an object is a pointer to its function table. */
typedef struct IUnknown IUnknown;
typedef struct IClassFactory IClassFactory;
typedef struct IDispatch IDispatch;
typedef struct IConnectionPointContainer IConnectionPointContainer;
typedef struct IConnectionPoint IConnectionPoint;
typedef struct IOleWindow IOleWindow;

#define ZXP_IUNKNOWN_METHODS(T)                                  \
  HRESULT (*QueryInterface)(T * self, const IID* riid, void** ppv); \
  ULONG (*AddRef)(T * self);                                     \
  ULONG (*Release)(T * self);

typedef struct IUnknownVtbl {
  ZXP_IUNKNOWN_METHODS(IUnknown)
} IUnknownVtbl;
struct IUnknown { const IUnknownVtbl* lpVtbl; };

typedef struct IClassFactoryVtbl {
  ZXP_IUNKNOWN_METHODS(IClassFactory)
  HRESULT (*CreateInstance)(IClassFactory* self, IUnknown* outer, const IID* riid, void** ppv);
  HRESULT (*LockServer)(IClassFactory* self, int32_t lock);
} IClassFactoryVtbl;
struct IClassFactory { const IClassFactoryVtbl* lpVtbl; };

typedef struct IDispatchVtbl {
  ZXP_IUNKNOWN_METHODS(IDispatch)
  HRESULT (*GetTypeInfoCount)(IDispatch* self, UINT* count);
  HRESULT (*GetTypeInfo)(IDispatch* self, UINT index, LCID lcid, struct ITypeInfo** info);
  HRESULT (*GetIDsOfNames)(IDispatch* self, const IID* riid, OLECHAR** names, UINT count, LCID lcid, DISPID* ids);
  HRESULT (*Invoke)(IDispatch* self, DISPID id, const IID* riid, LCID lcid, WORD flags, DISPPARAMS* params,
                    VARIANT* result, EXCEPINFO* excep, UINT* argErr);
} IDispatchVtbl;
struct IDispatch { const IDispatchVtbl* lpVtbl; };

typedef struct IConnectionPointContainerVtbl {
  ZXP_IUNKNOWN_METHODS(IConnectionPointContainer)
  HRESULT (*EnumConnectionPoints)(IConnectionPointContainer* self, struct IEnumConnectionPoints** out);
  HRESULT (*FindConnectionPoint)(IConnectionPointContainer* self, const IID* riid, IConnectionPoint** out);
} IConnectionPointContainerVtbl;
struct IConnectionPointContainer { const IConnectionPointContainerVtbl* lpVtbl; };

typedef struct IConnectionPointVtbl {
  ZXP_IUNKNOWN_METHODS(IConnectionPoint)
  HRESULT (*GetConnectionInterface)(IConnectionPoint* self, IID* iid);
  HRESULT (*GetConnectionPointContainer)(IConnectionPoint* self, IConnectionPointContainer** out);
  HRESULT (*Advise)(IConnectionPoint* self, IUnknown* sink, DWORD* cookie);
  HRESULT (*Unadvise)(IConnectionPoint* self, DWORD cookie);
  HRESULT (*EnumConnections)(IConnectionPoint* self, struct IEnumConnections** out);
} IConnectionPointVtbl;
struct IConnectionPoint { const IConnectionPointVtbl* lpVtbl; };

typedef struct IProvideClassInfo2 IProvideClassInfo2;
typedef struct IProvideClassInfo2Vtbl {
  ZXP_IUNKNOWN_METHODS(IProvideClassInfo2)
  HRESULT (*GetClassInfo)(IProvideClassInfo2* self, struct ITypeInfo** info);
  HRESULT (*GetGUID)(IProvideClassInfo2* self, DWORD kind, GUID* guid);
} IProvideClassInfo2Vtbl;
struct IProvideClassInfo2 { const IProvideClassInfo2Vtbl* lpVtbl; };

typedef struct IOleWindowVtbl {
  ZXP_IUNKNOWN_METHODS(IOleWindow)
  HRESULT (*GetWindow)(IOleWindow* self, HWND* hwnd);
  HRESULT (*ContextSensitiveHelp)(IOleWindow* self, int32_t enterMode);
} IOleWindowVtbl;
struct IOleWindow { const IOleWindowVtbl* lpVtbl; };

typedef struct IEnumConnectionPoints IEnumConnectionPoints;
typedef struct IEnumConnectionPointsVtbl {
  ZXP_IUNKNOWN_METHODS(IEnumConnectionPoints)
  HRESULT (*Next)(IEnumConnectionPoints* self, ULONG count, IConnectionPoint** out, ULONG* fetched);
  HRESULT (*Skip)(IEnumConnectionPoints* self, ULONG count);
  HRESULT (*Reset)(IEnumConnectionPoints* self);
  HRESULT (*Clone)(IEnumConnectionPoints* self, IEnumConnectionPoints** out);
} IEnumConnectionPointsVtbl;
struct IEnumConnectionPoints { const IEnumConnectionPointsVtbl* lpVtbl; };

typedef struct IEnumConnections IEnumConnections;
typedef struct IEnumConnectionsVtbl {
  ZXP_IUNKNOWN_METHODS(IEnumConnections)
  HRESULT (*Next)(IEnumConnections* self, ULONG count, CONNECTDATA* out, ULONG* fetched);
  HRESULT (*Skip)(IEnumConnections* self, ULONG count);
  HRESULT (*Reset)(IEnumConnections* self);
  HRESULT (*Clone)(IEnumConnections* self, IEnumConnections** out);
} IEnumConnectionsVtbl;
struct IEnumConnections { const IEnumConnectionsVtbl* lpVtbl; };

typedef struct ITypeInfo ITypeInfo;
typedef struct ITypeLib ITypeLib;
typedef struct ITypeComp ITypeComp;
typedef struct ITypeInfoVtbl {
  ZXP_IUNKNOWN_METHODS(ITypeInfo)
  HRESULT (*GetTypeAttr)(ITypeInfo* self, TYPEATTR** attr);
  HRESULT (*GetTypeComp)(ITypeInfo* self, ITypeComp** comp);
  HRESULT (*GetFuncDesc)(ITypeInfo* self, UINT index, FUNCDESC** desc);
  HRESULT (*GetVarDesc)(ITypeInfo* self, UINT index, VARDESC** desc);
  HRESULT (*GetNames)(ITypeInfo* self, MEMBERID id, BSTR* names, UINT max, UINT* count);
  HRESULT (*GetRefTypeOfImplType)(ITypeInfo* self, UINT index, HREFTYPE* ref);
  HRESULT (*GetImplTypeFlags)(ITypeInfo* self, UINT index, int32_t* flags);
  HRESULT (*GetIDsOfNames)(ITypeInfo* self, OLECHAR** names, UINT count, MEMBERID* ids);
  HRESULT (*Invoke)(ITypeInfo* self, void* instance, MEMBERID id, WORD flags, DISPPARAMS* params, VARIANT* result,
                    EXCEPINFO* excep, UINT* argErr);
  HRESULT (*GetDocumentation)(ITypeInfo* self, MEMBERID id, BSTR* name, BSTR* doc, DWORD* helpContext,
                              BSTR* helpFile);
  HRESULT (*GetDllEntry)(ITypeInfo* self, MEMBERID id, INVOKEKIND kind, BSTR* dll, BSTR* name, WORD* ordinal);
  HRESULT (*GetRefTypeInfo)(ITypeInfo* self, HREFTYPE ref, ITypeInfo** info);
  HRESULT (*AddressOfMember)(ITypeInfo* self, MEMBERID id, INVOKEKIND kind, void** address);
  HRESULT (*CreateInstance)(ITypeInfo* self, IUnknown* outer, const IID* riid, void** ppv);
  HRESULT (*GetMops)(ITypeInfo* self, MEMBERID id, BSTR* mops);
  HRESULT (*GetContainingTypeLib)(ITypeInfo* self, ITypeLib** lib, UINT* index);
  void (*ReleaseTypeAttr)(ITypeInfo* self, TYPEATTR* attr);
  void (*ReleaseFuncDesc)(ITypeInfo* self, FUNCDESC* desc);
  void (*ReleaseVarDesc)(ITypeInfo* self, VARDESC* desc);
} ITypeInfoVtbl;
struct ITypeInfo { const ITypeInfoVtbl* lpVtbl; };

typedef struct ITypeLibVtbl {
  ZXP_IUNKNOWN_METHODS(ITypeLib)
  UINT (*GetTypeInfoCount)(ITypeLib* self);
  HRESULT (*GetTypeInfo)(ITypeLib* self, UINT index, ITypeInfo** info);
  HRESULT (*GetTypeInfoType)(ITypeLib* self, UINT index, TYPEKIND* kind);
  HRESULT (*GetTypeInfoOfGuid)(ITypeLib* self, const GUID* guid, ITypeInfo** info);
  HRESULT (*GetLibAttr)(ITypeLib* self, TLIBATTR** attr);
  HRESULT (*GetTypeComp)(ITypeLib* self, ITypeComp** comp);
  HRESULT (*GetDocumentation)(ITypeLib* self, int32_t index, BSTR* name, BSTR* doc, DWORD* helpContext,
                              BSTR* helpFile);
  HRESULT (*IsName)(ITypeLib* self, OLECHAR* name, ULONG hash, int32_t* found);
  HRESULT (*FindName)(ITypeLib* self, OLECHAR* name, ULONG hash, ITypeInfo** infos, MEMBERID* ids,
                      uint16_t* found);
  void (*ReleaseTLibAttr)(ITypeLib* self, TLIBATTR* attr);
} ITypeLibVtbl;
struct ITypeLib { const ITypeLibVtbl* lpVtbl; };

typedef struct tagRECT RECT;
typedef struct tagSIZE SIZE;
typedef struct IPropertyPageSite IPropertyPageSite;
typedef struct IPropertyPageSiteVtbl {
  ZXP_IUNKNOWN_METHODS(IPropertyPageSite)
  HRESULT (*OnStatusChange)(IPropertyPageSite* self, DWORD flags);
  HRESULT (*GetLocaleID)(IPropertyPageSite* self, LCID* lcid);
  HRESULT (*GetPageContainer)(IPropertyPageSite* self, IUnknown** container);
  HRESULT (*TranslateAccelerator)(IPropertyPageSite* self, struct tagMSG* msg);
} IPropertyPageSiteVtbl;
struct IPropertyPageSite { const IPropertyPageSiteVtbl* lpVtbl; };

typedef struct ISpecifyPropertyPages ISpecifyPropertyPages;
typedef struct ISpecifyPropertyPagesVtbl {
  ZXP_IUNKNOWN_METHODS(ISpecifyPropertyPages)
  HRESULT (*GetPages)(ISpecifyPropertyPages* self, CAUUID* pages);
} ISpecifyPropertyPagesVtbl;
struct ISpecifyPropertyPages { const ISpecifyPropertyPagesVtbl* lpVtbl; };

typedef struct IPropertyPage IPropertyPage;
typedef struct IPropertyPageVtbl {
  ZXP_IUNKNOWN_METHODS(IPropertyPage)
  HRESULT (*SetPageSite)(IPropertyPage* self, IPropertyPageSite* site);
  HRESULT (*Activate)(IPropertyPage* self, HWND parent, const RECT* rect, int32_t modal);
  HRESULT (*Deactivate)(IPropertyPage* self);
  HRESULT (*GetPageInfo)(IPropertyPage* self, PROPPAGEINFO* info);
  HRESULT (*SetObjects)(IPropertyPage* self, ULONG count, IUnknown** objects);
  HRESULT (*Show)(IPropertyPage* self, UINT cmdShow);
  HRESULT (*Move)(IPropertyPage* self, const RECT* rect);
  HRESULT (*IsPageDirty)(IPropertyPage* self);
  HRESULT (*Apply)(IPropertyPage* self);
  HRESULT (*Help)(IPropertyPage* self, const OLECHAR* helpDir);
  HRESULT (*TranslateAccelerator)(IPropertyPage* self, struct tagMSG* msg);
} IPropertyPageVtbl;
struct IPropertyPage { const IPropertyPageVtbl* lpVtbl; };
#endif

/* The standard interface identifiers. */
#if defined(__GNUC__)
#define ZXP_UNUSED __attribute__((unused))
#else
#define ZXP_UNUSED
#endif
ZXP_UNUSED static const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
ZXP_UNUSED static const IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
ZXP_UNUSED static const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
ZXP_UNUSED static const IID IID_IOleWindow = {0x00000114, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
ZXP_UNUSED static const IID IID_IConnectionPointContainer = {0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
ZXP_UNUSED static const IID IID_IConnectionPoint = {0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
/* IProvideClassInfo is IProvideClassInfo2 without GetGUID: the same object answers both. */
ZXP_UNUSED static const IID IID_IProvideClassInfo = {0xB196B283, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
ZXP_UNUSED static const IID IID_IProvideClassInfo2 = {0xA6BC3AC0, 0xDBAA, 0x11CE, {0x9D, 0xE3, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
ZXP_UNUSED static const IID IID_IEnumConnectionPoints = {0xB196B285, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
ZXP_UNUSED static const IID IID_IEnumConnections = {0xB196B287, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
ZXP_UNUSED static const IID IID_ISpecifyPropertyPages = {0xB196B28B, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
ZXP_UNUSED static const IID IID_IPropertyPageSite = {0xB196B28C, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
ZXP_UNUSED static const IID IID_IPropertyPage = {0xB196B28D, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
ZXP_UNUSED static const IID IID_ITypeInfo = {0x00020401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
ZXP_UNUSED static const IID IID_ITypeLib = {0x00020402, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
ZXP_UNUSED static const IID IID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

/* ---- The server's entry points ---- */
HRESULT DllGetClassObject(const CLSID* rclsid, const IID* riid, void** ppv);
HRESULT DllCanUnloadNow(void); /* S_OK when no object is alive and no lock is held, else S_FALSE */
HRESULT DllRegisterServer(void);
HRESULT DllUnregisterServer(void);

/* ---- The component runtime ----
 * Strings, VARIANTs, arrays, the task allocator, class identifiers and the registry read below
 * are the platform's component runtime. On Linux the library provides them with the semantics
 * stated here; on Windows they are the platform's own (oleaut32, ole32, advapi32), zorvaxp.dll
 * does not export them, and a host uses the platform's headers and libraries instead of this
 * section. */

/* ---- Strings and VARIANTs ---- */
BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);
void VariantInit(VARIANT* v);
/* Frees what the VARIANT owns (a string, an object reference, an array and its elements). */
HRESULT VariantClear(VARIANT* v);
/* A deep copy (strings and arrays copied, objects AddRef'd) into dest, cleared first. */
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);

/* ---- Arrays ----
 * The server's arrays hold VARIANTs (vt VT_VARIANT) in one dimension; other element types and
 * more dimensions are refused (NULL, or E_INVALIDARG). Indexes count from the lower bound. */
SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* bounds);
SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count);
/* Clears every element and frees the array; E_UNEXPECTED while it is locked (AccessData). */
HRESULT SafeArrayDestroy(SAFEARRAY* array);
UINT SafeArrayGetDim(SAFEARRAY* array);
HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound);
HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound);
HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt);
/* Element *index: Put copies the VARIANT in (VariantCopy), Get copies it out (the caller clears
 * it); DISP_E_BADINDEX outside the bounds. */
HRESULT SafeArrayPutElement(SAFEARRAY* array, LONG* index, void* value);
HRESULT SafeArrayGetElement(SAFEARRAY* array, LONG* index, void* value);
HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data);
HRESULT SafeArrayUnaccessData(SAFEARRAY* array);
/* The task allocator: what the server hands out with CoTaskMemAlloc (a page's title) goes back
 * through CoTaskMemFree. */
void* CoTaskMemAlloc(size_t bytes);
void CoTaskMemFree(void* block);
/* "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" to a GUID; CO_E_CLASSSTRING when malformed. */
HRESULT CLSIDFromString(const OLECHAR* text, CLSID* clsid);
/* The class identifier registered for a program identifier; CO_E_CLASSSTRING when unknown. */
HRESULT CLSIDFromProgID(const OLECHAR* progId, CLSID* clsid);

/* ---- The registry (the per-user store; ZORVAXP_REGISTRY names its file) ---- */
#define HKEY_CLASSES_ROOT ((HKEY)0x80000000u)
#define HKEY_CURRENT_USER ((HKEY)0x80000001u)
#define REG_SZ 1
#define REG_DWORD 4
#define RRF_RT_ANY 0x0000FFFF
#define ERROR_SUCCESS 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_MORE_DATA 234
/* Reads a value (NULL or "" for a key's default value) as RegGetValueA does: REG_SZ values come
 * as NUL-terminated UTF-8, REG_DWORD as 4 bytes; *size gives the buffer's size in and the
 * value's size out (ERROR_MORE_DATA when the buffer is too small). */
LONG RegGetValueA(HKEY root, const char* subKey, const char* value, DWORD flags, DWORD* type, void* data,
                  DWORD* size);

/* ---- Input, through the library's window system ---- */
/* Moves the cursor to the centre of a window (from IOleWindow::GetWindow). */
HRESULT ZorvaXPInputMoveToWindow(HWND hwnd);
/* A left click at the cursor: button down, button up, and what they cause processed. */
HRESULT ZorvaXPInputClick(void);
/* Lets time pass on the library's clock (timers fire as they come due). */
HRESULT ZorvaXPInputAdvance(int32_t milliseconds);
/* Moves the cursor to a point of the screen, or (hwnd not 0) to a point of a window's client
 * area, in pixels; E_INVALIDARG for a window that does not exist. */
HRESULT ZorvaXPInputMoveTo(HWND hwnd, int32_t x, int32_t y);
/* A mouse button (1 left, 2 right, 4 middle) goes down, or up, at the cursor. */
HRESULT ZorvaXPInputButton(int32_t button, int32_t down);
/* A key (virtual key code) goes down and up: KeyDown, KeyPress for a character key, KeyUp. */
HRESULT ZorvaXPInputKey(int32_t virtualKey);
/* A key only goes down, or only up (down 0): for keys held together, Alt+F4 say. */
HRESULT ZorvaXPInputKeyState(int32_t virtualKey, int32_t down);
/* Types UTF-8 text, each character by its key on the US layout (Shift where needed). */
HRESULT ZorvaXPInputType(const char* utf8);

/* ---- Forms: what a host needs to build, load, save and look at forms ----
 * A form is an IDispatch (Caption, BackColor, ForeColor, Font, ScaleWidth, ScaleHeight) that
 * owns its window and its controls; a control's IDispatch keeps its form alive. Paths and names
 * are UTF-8. A function that refuses fills *excep (when given) as Invoke does: the host error
 * number in scode (ZORVAXP_HOST_ERROR), the text in bstrDescription; the caller frees both
 * strings. Sizes and places of forms and controls are in twips (15 per pixel). A form its user
 * closed (its close box, Alt+F4) has unloaded and taken its controls along: the calls below
 * refuse it (E_INVALIDARG), and calls to its controls raise error 91. */
/* A new, empty form on the screen at (0, 0), its client area widthTwips x heightTwips. */
HRESULT ZorvaXPFormCreate(const char* caption, int32_t widthTwips, int32_t heightTwips, IDispatch** form,
                          EXCEPINFO* excep);
/* A form read from a form file: error 53 for a missing file, 321 with "path:line: message"
 * for a malformed one. */
HRESULT ZorvaXPFormLoad(const char* path, IDispatch** form, EXCEPINFO* excep);
/* Writes the form's form file (every control writes its properties); replaces the file whole. */
HRESULT ZorvaXPFormSave(IDispatch* form, const char* path, EXCEPINFO* excep);
/* Places a new control of a public control class (its name, or its program identifier
 * "ZorvaXPProject.<Class>") on the form, directly or (container not NULL) inside a container
 * control of the same form, and gives its IDispatch. The name must be new on the form. */
HRESULT ZorvaXPFormAddControl(IDispatch* form, const char* className, const char* name, int32_t left, int32_t top,
                              int32_t width, int32_t height, IDispatch* container, IDispatch** control,
                              EXCEPINFO* excep);
/* The form's controls (containers' contents included, in the order they were added): how many,
 * and the one at a place (0 first), with its name in *name (the caller frees it; may be NULL). */
HRESULT ZorvaXPFormControlCount(IDispatch* form, int32_t* count);
HRESULT ZorvaXPFormControlAt(IDispatch* form, int32_t at, IDispatch** control, BSTR* name);
/* The window a form or control draws on (for the input calls above). */
HRESULT ZorvaXPWindowOf(IDispatch* object, HWND* hwnd);
/* Brings the form to the top, activates it and composes the screen: the form's window with its
 * frame as it shows now. Render writes the picture as a PNG file; Pixel reads one pixel of it,
 * (x, y) from the window's top-left corner, as 0x00RRGGBB (E_INVALIDARG outside the window). */
HRESULT ZorvaXPFormRender(IDispatch* form, const char* pngPath, EXCEPINFO* excep);
HRESULT ZorvaXPFormPixel(IDispatch* form, int32_t x, int32_t y, uint32_t* rgb);

/* ---- Quick puts of plain values ---- */
/* What Invoke with DISPATCH_PROPERTYPUT and one value (under DISPID_PROPERTYPUT) does, for a host
 * that would otherwise build the DISPPARAMS for every put: a text of `length` UTF-16 units
 * (VT_BSTR; it may hold NULs), a 32-bit integer (VT_I4), a double (VT_R8) or a Boolean (VT_BOOL,
 * any value but 0 is True). They call the object's own Invoke, so they work on any IDispatch and
 * answer as it does (DISP_E_EXCEPTION with *excep filled when given, DISP_E_TYPEMISMATCH, ...). */
HRESULT ZorvaXPPutText(IDispatch* object, DISPID member, const OLECHAR* text, UINT length, EXCEPINFO* excep);
HRESULT ZorvaXPPutLong(IDispatch* object, DISPID member, int32_t value, EXCEPINFO* excep);
HRESULT ZorvaXPPutDouble(IDispatch* object, DISPID member, double value, EXCEPINFO* excep);
HRESULT ZorvaXPPutBool(IDispatch* object, DISPID member, int32_t value, EXCEPINFO* excep);

/* ---- Values a host hands in: fonts and pictures ---- */
/* A font object (what a Font property takes). */
HRESULT ZorvaXPFontCreate(const char* name, double points, int32_t bold, int32_t italic, int32_t underline,
                          int32_t strikethrough, IDispatch** font);
/* A picture object (what a Picture property takes) from the bytes of an image file (.bmp, .ico,
 * .cur, .png, .jpg, .gif); no bytes give the empty picture. Error 481 for bytes that are no
 * picture. */
HRESULT ZorvaXPPictureLoad(const void* bytes, size_t size, IDispatch** picture, EXCEPINFO* excep);

/* ---- The type library and the event loop ---- */
/* The type library that describes every class (its coclasses name the classes; a property of an
 * enumeration type leads to the enumeration through GetRefTypeInfo). */
HRESULT ZorvaXPGetTypeLib(ITypeLib** lib);
/* Runs the event loop until the last form closes: S_OK after a live session in a desktop
 * window. Without a display it processes what is pending and returns S_FALSE at once. */
HRESULT ZorvaXPRun(void);

#ifdef __cplusplus
}
#endif

#endif
