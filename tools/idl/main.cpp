// zorvaxp-idl: writes the server's type library as interface definition language, read from the
// type information the server hands out (ZorvaXPGetTypeLib) and nothing else. The Windows build
// compiles its output with widl into the type library resource of zorvaxp.dll, so the platform's
// LoadRegTypeLib finds the same classes, members, identifiers, parameter names and enumerations
// that GetTypeInfo gives at run time.
//
// Enumerations are written with the names and values the type information gives, with the two
// changes the language forces on us: an IDL enumeration's constants share one name space, so a
// constant whose name an earlier enumeration already used gets that enumeration's name in front
// ("<Enum>_<Name>"); and a constant name that is no IDL identifier ("MM-DD-YY", "Vista
// Gradient") has each other character written as '_'. Run-time type information keeps the
// names as they are.
#include <cctype>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "zorvaxp/zorvaxp_com.h"

namespace {

std::string utf8(const OLECHAR* s) {
  std::string out;
  if (!s) return out;
  for (; *s; ++s) {
    uint32_t c = *s;
    if (c >= 0xD800 && c <= 0xDBFF && s[1] >= 0xDC00 && s[1] <= 0xDFFF) c = 0x10000 + ((c - 0xD800) << 10) + (*++s - 0xDC00);
    if (c < 0x80) out += static_cast<char>(c);
    else if (c < 0x800) out += static_cast<char>(0xC0 | (c >> 6)), out += static_cast<char>(0x80 | (c & 0x3F));
    else if (c < 0x10000)
      out += static_cast<char>(0xE0 | (c >> 12)), out += static_cast<char>(0x80 | ((c >> 6) & 0x3F)),
          out += static_cast<char>(0x80 | (c & 0x3F));
    else
      out += static_cast<char>(0xF0 | (c >> 18)), out += static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
          out += static_cast<char>(0x80 | ((c >> 6) & 0x3F)), out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

// Takes a BSTR the server allocated.
std::string take(BSTR s) {
  std::string out = utf8(s);
  SysFreeString(s);
  return out;
}

std::string quoted(const std::string& s) {
  std::string q = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') q += '\\';
    q += c;
  }
  return q + "\"";
}

std::string guidText(const GUID& g) {
  char b[40];
  std::snprintf(b, sizeof b, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X", static_cast<unsigned>(g.Data1),
                g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                g.Data4[7]);
  return b;
}

bool nullGuid(const GUID& g) {
  const auto* p = reinterpret_cast<const unsigned char*>(&g);
  for (size_t i = 0; i < sizeof g; ++i)
    if (p[i]) return false;
  return true;
}

std::string identifier(std::string s) {
  for (char& c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) c = '_';
  if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0]))) s = "_" + s;
  return s;
}

struct Failure {
  std::string what;
};

void check(HRESULT hr, const std::string& what) {
  if (hr < 0) throw Failure{what};
}

struct Attr {
  ITypeInfo* info;
  TYPEATTR* attr = nullptr;
  explicit Attr(ITypeInfo* i) : info(i) { check(info->GetTypeAttr(&attr), "GetTypeAttr"); }
  ~Attr() { info->ReleaseTypeAttr(attr); }
  TYPEATTR* operator->() const { return attr; }
};

std::string typeName(ITypeInfo* info) {
  BSTR name = nullptr;
  check(info->GetDocumentation(-1, &name, nullptr, nullptr, nullptr), "the name of a type");
  return take(name);
}

class Writer {
 public:
  explicit Writer(ITypeLib* lib) : lib_(lib) {}

  std::string run() {
    TLIBATTR* la = nullptr;
    check(lib_->GetLibAttr(&la), "GetLibAttr");
    const TLIBATTR libAttr = *la;
    lib_->ReleaseTLibAttr(la);
    BSTR name = nullptr, doc = nullptr;
    check(lib_->GetDocumentation(-1, &name, &doc, nullptr, nullptr), "the library's name");
    const std::string libName = take(name), libDoc = take(doc);

    // Classes, and through them their interfaces and the enumerations those use.
    std::vector<std::string> classes;
    const UINT count = lib_->GetTypeInfoCount();
    for (UINT i = 0; i < count; ++i) {
      ITypeInfo* info = nullptr;
      check(lib_->GetTypeInfo(i, &info), "GetTypeInfo");
      classes.push_back(coclass(info));
      info->Release();
    }

    std::string out = "// The type library of ZorvaXP's component server, written by zorvaxp-idl.\nimport \"oaidl.idl\";\n\n";
    out += "[\n  uuid(" + guidText(libAttr.guid) + "),\n  version(" + std::to_string(libAttr.wMajorVerNum) + "." +
           std::to_string(libAttr.wMinorVerNum) + ")";
    if (!libDoc.empty()) out += ",\n  helpstring(" + quoted(libDoc) + ")";
    out += "\n]\nlibrary " + libName + "\n{\n  importlib(\"stdole2.tlb\");\n\n";
    for (const std::string& e : enums_) out += e + "\n";
    for (const std::string& d : interfaces_) out += d + "\n";
    for (const std::string& c : classes) out += c + "\n";
    return out + "};\n";
  }

 private:
  std::string coclass(ITypeInfo* info) {
    Attr a(info);
    const std::string name = typeName(info);
    if (a->typekind != TKIND_COCLASS) throw Failure{name + " is not a class"};
    std::string attrs = "uuid(" + guidText(a->guid) + ")";
    BSTR doc = nullptr;
    if (info->GetDocumentation(-1, nullptr, &doc, nullptr, nullptr) >= 0) {
      const std::string d = take(doc);
      if (!d.empty()) attrs += ", helpstring(" + quoted(d) + ")";
    }
    if (a->wTypeFlags & TYPEFLAG_FCONTROL) attrs += ", control";
    if (!(a->wTypeFlags & TYPEFLAG_FCANCREATE)) attrs += ", noncreatable";
    if (a->wTypeFlags & TYPEFLAG_FHIDDEN) attrs += ", hidden";
    std::string out = "  [" + attrs + "]\n  coclass " + name + " {\n";
    for (UINT k = 0; k < a->cImplTypes; ++k) {
      HREFTYPE ref = 0;
      int32_t flags = 0;
      ITypeInfo* iface = nullptr;
      check(info->GetRefTypeOfImplType(k, &ref), "GetRefTypeOfImplType");
      check(info->GetImplTypeFlags(k, &flags), "GetImplTypeFlags");
      check(info->GetRefTypeInfo(ref, &iface), "GetRefTypeInfo of the interfaces of " + name);
      const std::string ifaceName = dispinterface(iface);
      iface->Release();
      std::string f;
      if (flags & IMPLTYPEFLAG_FDEFAULT) f += "default";
      if (flags & IMPLTYPEFLAG_FSOURCE) f += f.empty() ? "source" : ", source";
      out += "    " + (f.empty() ? std::string() : "[" + f + "] ") + "dispinterface " + ifaceName + ";\n";
    }
    return out + "  };\n";
  }

  std::string dispinterface(ITypeInfo* info) {
    Attr a(info);
    const std::string name = typeName(info);
    if (!written_.insert(name).second) return name;
    if (a->typekind != TKIND_DISPATCH) throw Failure{name + " is not a dispatch interface"};
    std::string attrs = "uuid(" + guidText(a->guid) + ")";
    if (a->wTypeFlags & TYPEFLAG_FHIDDEN) attrs += ", hidden";
    if (a->wTypeFlags & TYPEFLAG_FNONEXTENSIBLE) attrs += ", nonextensible";
    std::string out = "  [" + attrs + "]\n  dispinterface " + name + " {\n    properties:\n    methods:\n";
    for (UINT k = 0; k < a->cFuncs; ++k) {
      FUNCDESC* f = nullptr;
      check(info->GetFuncDesc(k, &f), "GetFuncDesc of " + name);
      out += "      " + function(info, *f) + ";\n";
      info->ReleaseFuncDesc(f);
    }
    interfaces_.push_back(out + "  };\n");
    return name;
  }

  std::string function(ITypeInfo* info, const FUNCDESC& f) {
    std::vector<BSTR> names(static_cast<size_t>(f.cParams) + 1, nullptr);
    UINT got = 0;
    check(info->GetNames(f.memid, names.data(), static_cast<UINT>(names.size()), &got), "GetNames");
    std::vector<std::string> n;
    for (UINT i = 0; i < got; ++i) n.push_back(take(names[i]));
    std::string attrs = "id(" + std::to_string(f.memid) + ")";
    if (f.invkind == INVOKE_PROPERTYGET) attrs += ", propget";
    if (f.invkind == INVOKE_PROPERTYPUT) attrs += ", propput";
    if (f.invkind == INVOKE_PROPERTYPUTREF) attrs += ", propputref";
    if (f.cParamsOpt == -1) attrs += ", vararg";
    const std::string member = n.at(0);
    std::string out = "[" + attrs + "] " + type(info, f.elemdescFunc.tdesc, member) + " " + member + "(";
    for (int16_t p = 0; p < f.cParams; ++p) {
      const ELEMDESC& e = f.lprgelemdescParam[p];
      const uint16_t pf = e.paramdesc.wParamFlags;
      std::string pa;
      if ((pf & PARAMFLAG_FIN) || !(pf & PARAMFLAG_FOUT)) pa = "in";
      if (pf & PARAMFLAG_FOUT) pa += pa.empty() ? "out" : ", out";
      if (pf & PARAMFLAG_FOPT) pa += ", optional";
      // A property's new value has no name in the type information.
      const std::string pn = static_cast<size_t>(p) + 1 < n.size() ? n[static_cast<size_t>(p) + 1] : "rhs";
      out += (p ? ", " : "") + std::string("[") + pa + "] " + type(info, e.tdesc, member) + " " + pn;
    }
    return out + ")";
  }

  // `member` names the function the type belongs to, for errors.
  std::string type(ITypeInfo* info, const TYPEDESC& t, const std::string& member) {
    switch (t.vt) {
      case VT_EMPTY:
      case VT_VOID: return "void";
      case VT_I1: return "char";
      case VT_I2: return "short";
      case VT_I4: return "long";
      case VT_I8: return "hyper";
      case VT_UI1: return "unsigned char";
      case VT_UI2: return "unsigned short";
      case VT_UI4: return "unsigned long";
      case VT_INT: return "int";
      case VT_UINT: return "unsigned int";
      case VT_R4: return "float";
      case VT_R8: return "double";
      case VT_CY: return "CURRENCY";
      case VT_DATE: return "DATE";
      case VT_BSTR: return "BSTR";
      case VT_DISPATCH: return "IDispatch*";
      case VT_UNKNOWN: return "IUnknown*";
      case VT_ERROR: return "SCODE";
      case VT_HRESULT: return "HRESULT";
      case VT_BOOL: return "VARIANT_BOOL";
      case VT_VARIANT: return "VARIANT";
      case VT_PTR: return type(info, *t.lptdesc, member) + "*";
      case VT_SAFEARRAY: return "SAFEARRAY(" + type(info, *t.lptdesc, member) + ")";
      case VT_USERDEFINED: {
        ITypeInfo* ref = nullptr;
        check(info->GetRefTypeInfo(t.hreftype, &ref), "GetRefTypeInfo of " + typeName(info) + "." + member);
        std::string name;
        {
          Attr a(ref);
          // Objects outside the library (fonts, pictures) are dispatch objects to a client.
          if (a->typekind == TKIND_ENUM) name = enumeration(ref);
          else name = nullGuid(a->guid) ? "IDispatch*" : typeName(ref) + "*";
        }
        ref->Release();
        return name;
      }
      default: throw Failure{"the type " + std::to_string(t.vt) + " of " + typeName(info) + "." + member};
    }
  }

  std::string enumeration(ITypeInfo* info) {
    const std::string name = typeName(info);
    if (!enumNames_.insert(name).second) return name;
    Attr a(info);
    std::string out = "  typedef enum " + name + " {\n";
    for (UINT k = 0; k < a->cVars; ++k) {
      VARDESC* v = nullptr;
      check(info->GetVarDesc(k, &v), "GetVarDesc of " + name);
      BSTR member = nullptr;
      UINT got = 0;
      check(info->GetNames(v->memid, &member, 1, &got), "the name of a constant of " + name);
      std::string constant = identifier(take(member));
      if (!constants_.insert(constant).second) constant = name + "_" + constant;
      constants_.insert(constant);
      const VARIANT* value = v->lpvarValue;
      const long number = value && value->vt == VT_I4 ? static_cast<long>(value->lVal)
                          : value && value->vt == VT_I2 ? static_cast<long>(value->iVal) : 0;
      out += "    " + constant + " = " + std::to_string(number) + (k + 1 < a->cVars ? ",\n" : "\n");
      info->ReleaseVarDesc(v);
    }
    enums_.push_back(out + "  } " + name + ";\n");
    return name;
  }

  ITypeLib* lib_;
  std::vector<std::string> enums_, interfaces_;
  std::set<std::string> written_, enumNames_, constants_;
};

}  // namespace

int main() {
  ITypeLib* lib = nullptr;
  if (ZorvaXPGetTypeLib(&lib) < 0 || !lib) {
    std::fputs("zorvaxp-idl: the server gave no type library\n", stderr);
    return 1;
  }
  try {
    const std::string idl = Writer(lib).run();
    std::fwrite(idl.data(), 1, idl.size(), stdout);
  } catch (const Failure& f) {
    std::fprintf(stderr, "zorvaxp-idl: %s failed\n", f.what.c_str());
    lib->Release();
    return 1;
  }
  lib->Release();
  return 0;
}
