// The plain calls a host of another language needs beside the component interfaces: forms built,
// loaded, saved and shown as pictures, controls placed on them, fonts and pictures to hand in,
// the type library, input and the event loop (zorvaxp_com.h documents each).
//
// Our choices: forms are dispatch objects of their own (the Form member table) that own their
// window; a control placed on one keeps that form's object alive, so the host may drop its
// reference to the form first. Refusals come back as Invoke's do (DISP_E_EXCEPTION with the host
// error in EXCEPINFO), so a host decodes one kind of error record.
#include <cstring>
#include <new>
#include <string>

#include "library/ClassTable.h"
#include "library/com/Automation.h"
#include "library/com/DispatchObject.h"
#include "library/com/TypeInfo.h"
#include "platform/base/HostError.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Png.h"
#include "platform/host/Form.h"
#include "platform/services/FileIo.h"
#include "platform/ui/Backend.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Input.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"
#include "platform/ui/User.h"

using namespace zxp;
using namespace zxp::library;
using namespace zxp::library::com;

namespace {

// The largest form file read, as the renderer reads them.
constexpr uint64_t kMaxFormFileSize = uint64_t{256} << 20;

HRESULT refuse(EXCEPINFO* excep, int32_t number, const std::string& text) {
  if (excep) {
    std::memset(excep, 0, sizeof *excep);
    excep->scode = ZORVAXP_HOST_ERROR(number);
    excep->bstrSource = allocBstr("ZorvaXPProject");
    excep->bstrDescription = allocBstr(text.empty() ? hostErrorText(number) : text);
  }
  return DISP_E_EXCEPTION;
}

// Runs a call, turning what it throws into the error record.
template <class Fn>
HRESULT guarded(EXCEPINFO* excep, Fn&& fn) {
  try {
    return fn();
  } catch (const HostError& e) {
    return refuse(excep, e.number(), e.description());
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& e) {
    return refuse(excep, 51, e.what());
  }
}

// The form object behind an interface pointer, nullptr when it is none of our forms or has
// unloaded (closed by its user).
DispatchObject* formObject(IDispatch* form) {
  DispatchObject* o = DispatchObject::from(form);
  return o && o->isForm() && !o->form()->unloaded() ? o : nullptr;
}

// The form's window as the screen shows it now, brought to the top and active.
std::shared_ptr<gfx::Surface> picture(host::Form& form) {
  SetWindowPos(form.hWnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  if (GetActiveWindow() != form.hWnd()) SetActiveWindow(form.hWnd());
  ui::TestInput().pump();
  return ui::snapshotWindow(form.hWnd());
}

HRESULT handOut(DispatchObject* o, IDispatch** out) {
  if (!o) return E_OUTOFMEMORY;
  *out = static_cast<IDispatch*>(o);
  return S_OK;
}

// A put of one plain value through the object's own Invoke, as a host's put makes it: a VARIANT
// of `type` filled by `fill`, in DISPPARAMS under DISPID_PROPERTYPUT; cleared afterwards.
template <class Fill>
HRESULT putPlain(IDispatch* object, DISPID member, VARTYPE type, EXCEPINFO* excep, Fill fill) {
  VARIANT value;
  VariantInit(&value);
  value.vt = type;
  fill(value);
  if (type == VT_BSTR && !value.bstrVal) return E_OUTOFMEMORY;
  HRESULT hr = E_POINTER;
  if (object) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&value, &named, 1, 1};
    hr = object->Invoke(member, &IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, excep, nullptr);
  }
  VariantClear(&value);
  return hr;
}

}  // namespace

extern "C" {

HRESULT ZorvaXPInputMoveTo(HWND hwnd, int32_t x, int32_t y) {
  if (hwnd && !IsWindow(hwnd)) return E_INVALIDARG;
  if (hwnd) ui::TestInput().moveTo(hwnd, Point{x, y});
  else ui::TestInput().moveTo(Point{x, y});
  return S_OK;
}

HRESULT ZorvaXPInputButton(int32_t button, int32_t down) {
  ui::MouseButton b;
  switch (button) {
    case 1: b = ui::MouseButton::Left; break;
    case 2: b = ui::MouseButton::Right; break;
    case 4: b = ui::MouseButton::Middle; break;
    default: return E_INVALIDARG;
  }
  if (down) ui::TestInput().press(b);
  else ui::TestInput().release(b);
  return S_OK;
}

HRESULT ZorvaXPInputKey(int32_t virtualKey) {
  if (virtualKey <= 0 || virtualKey > 0xFE) return E_INVALIDARG;
  ui::TestInput().key(virtualKey);
  return S_OK;
}

HRESULT ZorvaXPInputKeyState(int32_t virtualKey, int32_t down) {
  if (virtualKey <= 0 || virtualKey > 0xFE) return E_INVALIDARG;
  if (down) ui::TestInput().keyDown(virtualKey);
  else ui::TestInput().keyUp(virtualKey);
  return S_OK;
}

HRESULT ZorvaXPInputType(const char* utf8) {
  if (!utf8) return E_POINTER;
  ui::TestInput().type(utf8);
  return S_OK;
}

HRESULT ZorvaXPFormCreate(const char* caption, int32_t widthTwips, int32_t heightTwips, IDispatch** form,
                          EXCEPINFO* excep) {
  if (!form) return E_POINTER;
  *form = nullptr;
  if (widthTwips < 0 || heightTwips < 0) return refuse(excep, errInvalidPropertyValue, {});
  return guarded(excep, [&] {
    host::FormOptions options;
    options.caption = caption ? caption : "";
    options.clientWidth = widthTwips;
    options.clientHeight = heightTwips;
    options.classes = &classes();
    return handOut(DispatchObject::forForm(std::make_unique<host::Form>(options)), form);
  });
}

HRESULT ZorvaXPFormLoad(const char* path, IDispatch** form, EXCEPINFO* excep) {
  if (!path || !form) return E_POINTER;
  *form = nullptr;
  std::vector<uint8_t> bytes;
  if (const services::FileOutcome read = services::readRegularFile(path, kMaxFormFileSize, bytes); !read)
    return refuse(excep, errFileNotFound, std::string(path) + ": " + read.reason);
  return guarded(excep, [&] {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    try {
      return handOut(DispatchObject::forForm(host::Form::load(text, classes())), form);
    } catch (const host::FormFileError& e) {
      return refuse(excep, e.number(), std::string(path) + ":" + std::to_string(e.line()) + ": " + e.message());
    }
  });
}

HRESULT ZorvaXPFormSave(IDispatch* form, const char* path, EXCEPINFO* excep) {
  if (!path) return E_POINTER;
  DispatchObject* f = formObject(form);
  if (!f) return E_INVALIDARG;
  return guarded(excep, [&] {
    const services::FileOutcome written = services::writeFileAtomically(path, f->form()->save());
    if (!written) return refuse(excep, errPathFileAccess, std::string(path) + ": " + written.reason);
    return S_OK;
  });
}

HRESULT ZorvaXPFormAddControl(IDispatch* form, const char* className, const char* name, int32_t left, int32_t top,
                              int32_t width, int32_t height, IDispatch* container, IDispatch** control,
                              EXCEPINFO* excep) {
  if (!className || !name || !control) return E_POINTER;
  *control = nullptr;
  DispatchObject* f = formObject(form);
  if (!f) return E_INVALIDARG;
  std::string_view wanted = className;
  const std::string prefix = std::string(kServerName) + ".";
  if (wanted.size() > prefix.size() && wanted.substr(0, prefix.size()) == prefix) wanted.remove_prefix(prefix.size());
  const TypeLibraryEntry* entry = findByName(wanted);
  if (!entry || entry->kind != ClassKind::Control || !registered(*entry))
    return refuse(excep, errCantCreateObject, "no control class named " + std::string(className));
  host::Extender* inside = nullptr;
  if (container) {
    DispatchObject* c = DispatchObject::from(container);
    inside = c ? c->site() : nullptr;
    if (!inside || inside->Parent() != f->form()) return E_INVALIDARG;
  }
  return guarded(excep, [&] {
    host::ExtenderRecord place;
    place.left = left;
    place.top = top;
    place.width = width;
    place.height = height;
    host::Extender& site = f->form()->add(classes(), std::string(entry->name), name, place, inside);
    return handOut(DispatchObject::forControl(*f, site), control);
  });
}

HRESULT ZorvaXPFormControlCount(IDispatch* form, int32_t* count) {
  if (!count) return E_POINTER;
  DispatchObject* f = formObject(form);
  if (!f) return E_INVALIDARG;
  *count = static_cast<int32_t>(f->form()->Controls().size());
  return S_OK;
}

HRESULT ZorvaXPFormControlAt(IDispatch* form, int32_t at, IDispatch** control, BSTR* name) {
  if (!control) return E_POINTER;
  *control = nullptr;
  if (name) *name = nullptr;
  DispatchObject* f = formObject(form);
  if (!f) return E_INVALIDARG;
  const auto& all = f->form()->Controls();
  if (at < 0 || static_cast<size_t>(at) >= all.size()) return DISP_E_BADINDEX;
  host::Extender& site = *all[static_cast<size_t>(at)];
  try {
    const HRESULT hr = handOut(DispatchObject::forControl(*f, site), control);
    if (SUCCEEDED(hr) && name) *name = allocBstr(site.Name());
    return hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT ZorvaXPWindowOf(IDispatch* object, HWND* hwnd) {
  if (!hwnd) return E_POINTER;
  *hwnd = 0;
  DispatchObject* o = DispatchObject::from(object);
  if (!o) return E_INVALIDARG;
  if (o->isForm()) *hwnd = o->form()->hWnd();
  else if (o->site()) *hwnd = o->site()->object().hWnd();
  return *hwnd ? S_OK : E_FAIL;
}

HRESULT ZorvaXPFormRender(IDispatch* form, const char* pngPath, EXCEPINFO* excep) {
  if (!pngPath) return E_POINTER;
  DispatchObject* f = formObject(form);
  if (!f) return E_INVALIDARG;
  return guarded(excep, [&] {
    auto shot = picture(*f->form());
    if (!shot) return refuse(excep, errOutOfMemory, "the form could not be drawn");
    if (std::string why; !gfx::writePng(*shot, pngPath, false, &why))
      return refuse(excep, errPathFileAccess, std::string(pngPath) + ": " + why);
    return S_OK;
  });
}

HRESULT ZorvaXPFormPixel(IDispatch* form, int32_t x, int32_t y, uint32_t* rgb) {
  if (!rgb) return E_POINTER;
  *rgb = 0;
  DispatchObject* f = formObject(form);
  if (!f) return E_INVALIDARG;
  try {
    auto shot = picture(*f->form());
    if (!shot) return E_OUTOFMEMORY;
    if (x < 0 || y < 0 || x >= shot->width() || y >= shot->height()) return E_INVALIDARG;
    *rgb = shot->row(y)[x] & 0x00FFFFFFu;
    return S_OK;
  } catch (const std::exception&) {
    return E_FAIL;
  }
}

HRESULT ZorvaXPPutText(IDispatch* object, DISPID member, const OLECHAR* text, UINT length, EXCEPINFO* excep) {
  if (!text && length) return E_POINTER;
  return putPlain(object, member, VT_BSTR, excep, [&](VARIANT& v) { v.bstrVal = SysAllocStringLen(text, length); });
}

HRESULT ZorvaXPPutLong(IDispatch* object, DISPID member, int32_t value, EXCEPINFO* excep) {
  return putPlain(object, member, VT_I4, excep, [&](VARIANT& v) { v.lVal = value; });
}

HRESULT ZorvaXPPutDouble(IDispatch* object, DISPID member, double value, EXCEPINFO* excep) {
  return putPlain(object, member, VT_R8, excep, [&](VARIANT& v) { v.dblVal = value; });
}

HRESULT ZorvaXPPutBool(IDispatch* object, DISPID member, int32_t value, EXCEPINFO* excep) {
  const VARIANT_BOOL b = value ? VARIANT_TRUE : VARIANT_FALSE;
  return putPlain(object, member, VT_BOOL, excep, [&](VARIANT& v) { v.boolVal = b; });
}

HRESULT ZorvaXPFontCreate(const char* name, double points, int32_t bold, int32_t italic, int32_t underline,
                          int32_t strikethrough, IDispatch** font) {
  if (!name || !font) return E_POINTER;
  *font = nullptr;
  if (!(points > 0 && points < 2048)) return E_INVALIDARG;
  try {
    auto d = std::make_shared<gfx::FontDesc>();
    d->name = name;
    d->size = points;
    d->setBold(bold != 0);
    d->italic = italic != 0;
    d->underline = underline != 0;
    d->strikethrough = strikethrough != 0;
    return handOut(DispatchObject::forValue(host::Variant(host::FontRef(std::move(d)))), font);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT ZorvaXPPictureLoad(const void* bytes, size_t size, IDispatch** picture, EXCEPINFO* excep) {
  if (!picture || (size && !bytes)) return E_POINTER;
  *picture = nullptr;
  return guarded(excep, [&] {
    gfx::PictureLoad loaded = gfx::loadPicture(std::span(static_cast<const uint8_t*>(bytes), size));
    if (!loaded.ok()) return refuse(excep, 481, "Invalid picture: " + loaded.error);
    return handOut(DispatchObject::forValue(host::Variant(loaded.picture)), picture);
  });
}

HRESULT ZorvaXPGetTypeLib(ITypeLib** lib) {
  if (!lib) return E_POINTER;
  *lib = typeLib();
  return *lib ? S_OK : E_OUTOFMEMORY;
}

HRESULT ZorvaXPRun(void) {
  try {
    auto desktop = ui::openDesktopBackend("ZorvaXP", ui::screenSize());
    if (!desktop) {
      ui::eventLoop().processPendingEvents();
      return S_FALSE;
    }
    ui::setBackend(std::move(desktop));
    ui::eventLoop().run();
    ui::setBackend(nullptr);  // headless again, on a virtual clock
    return S_OK;
  } catch (const std::exception&) {
    return E_FAIL;
  }
}

}  // extern "C"
