#include "foundation/SurfaceWindow.h"

#include <cstdlib>
#include <functional>
#include <unordered_map>

#include "platform/gfx/ComputedPicture.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/GdiRaii.h"
#include "platform/gfx/SysColors.h"
#include "platform/host/DataObject.h"
#include "platform/ui/DragDrop.h"
#include "platform/ui/Input.h"
#include "platform/ui/User.h"
#include "platform/ui/WindowClass.h"

namespace zxp::foundation {

namespace {
constexpr const char* kSurfaceClass = "ZxpSurface";

// Font handles shared by the surfaces that show the same font object: a form's controls mostly
// take the form's font, and one handle for all of them saves a font object per control. A
// handle is made for the first surface and deleted with the last one's release. The key is the
// font description's address, which stays taken while any surface of the entry holds the font.
struct SharedFont {
  const gfx::FontDesc* desc;
  int users;
};
std::unordered_map<HFONT, SharedFont>& sharedFonts() {
  static std::unordered_map<HFONT, SharedFont> fonts;
  return fonts;
}
std::unordered_map<const gfx::FontDesc*, HFONT>& sharedFontOf() {
  static std::unordered_map<const gfx::FontDesc*, HFONT> handles;
  return handles;
}

HFONT acquireFont(const gfx::FontDesc& desc) {
  auto found = sharedFontOf().find(&desc);
  if (found != sharedFontOf().end()) {
    ++sharedFonts().at(found->second).users;
    return found->second;
  }
  const HFONT h = desc.create();
  if (!h) return 0;
  sharedFonts()[h] = SharedFont{&desc, 1};
  sharedFontOf()[&desc] = h;
  return h;
}

void releaseFont(HFONT h) {
  auto it = sharedFonts().find(h);
  if (it == sharedFonts().end()) return;
  if (--it->second.users > 0) return;
  sharedFontOf().erase(it->second.desc);
  sharedFonts().erase(it);
  DeleteObject(h);
}
}  // namespace

int16_t shiftState() {
  int16_t s = 0;
  if (GetKeyState(VK_SHIFT) & 0x8000) s |= 1;
  if (GetKeyState(VK_CONTROL) & 0x8000) s |= 2;
  if (GetKeyState(VK_MENU) & 0x8000) s |= 4;
  return s;
}

int16_t buttonsOf(WPARAM mk) {
  int16_t b = 0;
  if (mk & MK_LBUTTON) b |= 1;
  if (mk & MK_RBUTTON) b |= 2;
  if (mk & MK_MBUTTON) b |= 4;
  return b;
}

namespace {
// The host data object of the drag this process started (so that its own targets see the same
// object the source filled), kept while OLEDrag runs.
std::weak_ptr<host::DataObject>& currentDragData() {
  static std::weak_ptr<host::DataObject> d;
  return d;
}

host::Variant hostData(ui::DataObject& d) {
  auto cur = currentDragData().lock();
  if (cur && &cur->platform() == &d) return host::Variant(host::ObjectRef(cur));
  return host::Variant(host::ObjectRef(std::make_shared<host::DataObject>(d.shared_from_this())));
}

int16_t buttonsOfKeys(DWORD keys) { return buttonsOf(keys); }
int16_t shiftOfKeys(DWORD keys) {
  int16_t s = 0;
  if (keys & MK_SHIFT) s |= 1;
  if (keys & MK_CONTROL) s |= 2;
  if (keys & MK_ALT) s |= 4;
  return s;
}
}  // namespace

// The surface as a drop target: each platform call becomes OLEDragOver / OLEDragDrop.
struct SurfaceDropTarget : ui::DropTarget {
  explicit SurfaceDropTarget(SurfaceWindow* s) : surface(s) {}
  SurfaceWindow* surface;
  host::Variant data;

  void clientPoint(POINT screen, float& x, float& y) const {
    ScreenToClient(surface->hwnd_, &screen);
    x = static_cast<float>(screen.x);
    y = static_cast<float>(screen.y);
  }
  int32_t over(DWORD keys, POINT pt, DWORD* effect, int16_t state) {
    int32_t e = static_cast<int32_t>(ui::standardDropEffect(keys, *effect));
    int16_t b = buttonsOfKeys(keys), sh = shiftOfKeys(keys);
    float x, y;
    clientPoint(pt, x, y);
    host::Variant d = data;
    surface->notify(&SurfaceListener::surfaceOLEDragOver, surface->OLEDragOver, d, e, b, sh, x, y, state);
    *effect &= static_cast<DWORD>(e);
    return DRAG_S_OK;
  }
  int32_t DragEnter(ui::DataObject& d, DWORD keys, POINT pt, DWORD* effect) override {
    data = hostData(d);
    return over(keys, pt, effect, host::vbEnter);
  }
  int32_t DragOver(DWORD keys, POINT pt, DWORD* effect) override { return over(keys, pt, effect, host::vbOver); }
  int32_t DragLeave() override {
    DWORD none = 0;
    over(ui::currentDragKeyState(), ui::inputState().cursor, &none, host::vbLeave);
    data = host::Variant();
    return DRAG_S_OK;
  }
  int32_t Drop(ui::DataObject& d, DWORD keys, POINT pt, DWORD* effect) override {
    host::Variant v = data.isEmpty() ? hostData(d) : data;
    int32_t e = static_cast<int32_t>(ui::standardDropEffect(keys, *effect));
    int16_t b = buttonsOfKeys(keys), sh = shiftOfKeys(keys);
    float x, y;
    clientPoint(pt, x, y);
    surface->notify(&SurfaceListener::surfaceOLEDragDrop, surface->OLEDragDrop, v, e, b, sh, x, y);
    *effect &= static_cast<DWORD>(e);
    data = host::Variant();
    return DRAG_S_OK;
  }
};

struct SurfaceProc {
  static LRESULT proc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) return ui::storeCreateParam(h, wParam, lParam);
    auto* s = ui::windowObject<SurfaceWindow>(h);
    if (!s) return DefWindowProcA(h, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
      // The window goes (perhaps with its parent): forget it.
      SetWindowLongPtrA(h, GWLP_USERDATA, 0);
      s->hwnd_ = 0;
      s->hdc_ = 0;
      return DefWindowProcA(h, msg, wParam, lParam);
    }
    bool handled = false;
    LRESULT r = s->handle(msg, wParam, lParam, handled);
    return handled ? r : DefWindowProcA(h, msg, wParam, lParam);
  }
};

SurfaceWindow::~SurfaceWindow() { destroy(); }

bool SurfaceWindow::create(HWND parent, Rect r) {
  return createWindow(parent, r, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0);
}

bool SurfaceWindow::createPopup(HWND owner, Rect r) {
  return createWindow(owner, r, WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
}

bool SurfaceWindow::createWindow(HWND parent, Rect r, DWORD style, DWORD exStyle) {
  destroy();
  WNDCLASSA existing;
  if (!GetClassInfoA(0, kSurfaceClass, &existing)) {
    WNDCLASSA wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &SurfaceProc::proc;
    wc.hCursor = LoadCursorA(0, IDC_ARROW);
    wc.lpszClassName = kSurfaceClass;
    RegisterClassA(&wc);
  }
  hwnd_ = CreateWindowExA(exStyle, kSurfaceClass, "", style, r.left, r.top, r.width(), r.height(), parent, 0, 0, this);
  if (!hwnd_) return false;
  hdc_ = GetDC(hwnd_);
  SetBkMode(hdc_, TRANSPARENT);
  SetTextColor(hdc_, translateColor(foreColor_));
  if (font_) setFont(font_);
  applyCursor();
  Cls();
  registerDropTarget();
  return true;
}

void SurfaceWindow::registerDropTarget() {
  if (!hwnd_) return;
  ui::RevokeDragDrop(hwnd_);
  if (oleDropMode_ == 1) ui::RegisterDragDrop(hwnd_, std::make_shared<SurfaceDropTarget>(this));
}

void SurfaceWindow::setOLEDropMode(int16_t m) {
  oleDropMode_ = m;
  registerDropTarget();
}

namespace {
struct SurfaceDropSource : ui::DropSource {
  std::function<bool(int32_t)> feedback;  // true: default cursors
  int32_t GiveFeedback(DWORD effect) override {
    return feedback(static_cast<int32_t>(effect)) ? DRAGDROP_S_USEDEFAULTCURSORS : DRAG_S_OK;
  }
};
}  // namespace

void SurfaceWindow::OLEDrag() {
  if (!hwnd_ || ui::dragInProgress()) return;
  auto hd = host::DataObject::create();
  host::Variant data{host::ObjectRef(hd)};
  int32_t allowed = host::vbDropEffectCopy | host::vbDropEffectMove;
  notify(&SurfaceListener::surfaceOLEStartDrag, OLEStartDrag, data, allowed);
  if ((allowed & 7) == 0) return;  // the handler allowed nothing: no drag
  std::weak_ptr<host::DataObject> weak = hd;
  hd->platform().onRender = [this, weak](ui::DataObject&, int format) {
    if (auto h = weak.lock()) {
      host::Variant d{host::ObjectRef(h)};
      int16_t f = static_cast<int16_t>(format);
      notify(&SurfaceListener::surfaceOLESetData, OLESetData, d, f);
    }
  };
  SurfaceDropSource source;
  source.feedback = [this](int32_t effect) {
    bool defaults = true;
    notify(&SurfaceListener::surfaceOLEGiveFeedback, OLEGiveFeedback, effect, defaults);
    return defaults;
  };
  currentDragData() = hd;
  DWORD effect = 0;
  ui::DoDragDrop(hd->platformRef(), &source, static_cast<DWORD>(allowed & 7), &effect);
  currentDragData().reset();
  hd->platform().onRender = nullptr;
  // The drag took the mouse: the press that started it ended elsewhere.
  buttonsDown_ = 0;
  leftPressHere_ = false;
  int32_t e = static_cast<int32_t>(effect);
  notify(&SurfaceListener::surfaceOLECompleteDrag, OLECompleteDrag, e);
}

void SurfaceWindow::destroy() {
  if (hwnd_) {
    HWND h = hwnd_;
    if (GetCapture() == h) ReleaseCapture();
    DestroyWindow(h);  // WM_NCDESTROY clears hwnd_ and hdc_
    hwnd_ = 0;
    hdc_ = 0;
  }
  if (hfont_) {
    releaseFont(hfont_);
    hfont_ = 0;
  }
}

int32_t SurfaceWindow::ScaleWidth() const {
  RECT r;
  return GetClientRect(hwnd_, &r) ? r.width() : 0;
}

int32_t SurfaceWindow::ScaleHeight() const {
  RECT r;
  return GetClientRect(hwnd_, &r) ? r.height() : 0;
}

void SurfaceWindow::Move(int32_t x, int32_t y, int32_t width, int32_t height) {
  MoveWindow(hwnd_, x, y, width, height, TRUE);
}

bool SurfaceWindow::Visible() const { return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }

void SurfaceWindow::setVisible(bool b) { ShowWindow(hwnd_, b ? SW_SHOWNA : SW_HIDE); }

void SurfaceWindow::setBackColor(OLE_COLOR c) {
  backColor_ = c;
  Cls();
}

void SurfaceWindow::setForeColor(OLE_COLOR c) {
  foreColor_ = c;
  if (hdc_) SetTextColor(hdc_, translateColor(c));
}

void SurfaceWindow::Cls() {
  if (!hdc_) return;
  RECT r;
  GetClientRect(hwnd_, &r);
  // Controls clear before every look they draw: straight into the surface, without a brush,
  // where the DC copies pixels as they are (FillRect ignores the mix mode; the brush covers
  // the others).
  const SolidRect area{r, translateColor(backColor_)};
  if (FillSolidRects(hdc_, &area, 1)) return;
  GdiObject brush(CreateSolidBrush(area.color));
  FillRect(hdc_, &r, brush.get());
}

bool SurfaceWindow::Enabled() const { return hwnd_ ? IsWindowEnabled(hwnd_) != 0 : true; }

void SurfaceWindow::setEnabled(bool b) {
  if (hwnd_) EnableWindow(hwnd_, b ? TRUE : FALSE);
}

void SurfaceWindow::setMousePointer(int16_t p) {
  mousePointer_ = p;
  applyCursor();
}

void SurfaceWindow::setMouseIcon(host::PictureRef icon) {
  mouseIcon_ = std::move(icon);
  applyCursor();
}

void SurfaceWindow::applyCursor() {
  if (!hwnd_) return;
  HCURSOR icon = static_cast<HCURSOR>(mouseIcon_.Handle());
  ui::SetWindowCursor(hwnd_, ui::cursorForMousePointer(mousePointer_, icon));
}

const std::string& SurfaceWindow::Tag() const {
  static const std::string none;
  return tag_ ? *tag_ : none;
}

void SurfaceWindow::setTag(std::string t) {
  if (tag_) *tag_ = std::move(t);
  else if (!t.empty()) tag_ = std::make_unique<std::string>(std::move(t));
}

void SurfaceWindow::setFont(host::FontRef f) {
  font_ = std::move(f);
  if (!hdc_) return;
  HFONT old = hfont_;
  hfont_ = font_ ? acquireFont(*font_) : 0;
  SelectObject(hdc_, hfont_ ? hfont_ : GetStockObject(DEFAULT_GUI_FONT));
  if (old) releaseFont(old);
}

bool SurfaceWindow::hasFocus() const { return hwnd_ && GetFocus() == hwnd_; }

int64_t SurfaceWindow::handle(unsigned msg, uintptr_t wParam, intptr_t lParam, bool& handled) {
  handled = true;
  float x = static_cast<float>(GET_X_LPARAM(lParam));
  float y = static_cast<float>(GET_Y_LPARAM(lParam));
  auto press = [&](int16_t button) {
    if (takesFocus_ && GetFocus() != hwnd_) SetFocus(hwnd_);
    if (!hwnd_) return;  // a focus handler destroyed the surface
    if (buttonsDown_ == 0) SetCapture(hwnd_);
    buttonsDown_ |= button;
    int16_t b = button, s = shiftState();
    notify(&SurfaceListener::surfaceMouseDown, MouseDown, b, s, x, y);
  };
  auto release = [&](int16_t button) {
    buttonsDown_ &= ~button;
    if (buttonsDown_ == 0 && GetCapture() == hwnd_) ReleaseCapture();
    int16_t b = button, s = shiftState();
    notify(&SurfaceListener::surfaceMouseUp, MouseUp, b, s, x, y);
  };
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the surface keeps what was drawn
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd_, &ps);
      EndPaint(hwnd_, &ps);
      notify(&SurfaceListener::surfacePaint, Paint);
      return 0;
    }
    case WM_SIZE:
      notify(&SurfaceListener::surfaceResize, Resize);
      return 0;
    case WM_MOUSEMOVE: {
      int16_t b = buttonsOf(wParam), s = shiftState();
      notify(&SurfaceListener::surfaceMouseMove, MouseMove, b, s, x, y);
      if (oleDragMode_ == 1 && leftPressHere_ && (wParam & MK_LBUTTON) && hwnd_ &&
          (std::abs(static_cast<int>(x) - pressAt_.x) >= GetSystemMetrics(SM_CXDRAG) ||
           std::abs(static_cast<int>(y) - pressAt_.y) >= GetSystemMetrics(SM_CYDRAG)))
        OLEDrag();
      return 0;
    }
    case WM_LBUTTONDOWN:
      leftPressHere_ = true;
      pressAt_ = Point{static_cast<int32_t>(x), static_cast<int32_t>(y)};
      press(1);
      return 0;
    case WM_LBUTTONUP: {
      bool click = leftPressHere_;
      leftPressHere_ = false;
      release(1);
      // The release is a click when the press began here and the cursor is still over the surface.
      RECT r;
      if (click && hwnd_ && GetClientRect(hwnd_, &r) && r.contains(Point{static_cast<int32_t>(x), static_cast<int32_t>(y)}))
        notify(&SurfaceListener::surfaceClick, Click);
      return 0;
    }
    case WM_LBUTTONDBLCLK:
      // The second press of a double click: DblClick instead of MouseDown, and no Click after.
      leftPressHere_ = false;
      if (buttonsDown_ == 0) SetCapture(hwnd_);
      buttonsDown_ |= 1;
      notify(&SurfaceListener::surfaceDblClick, DblClick);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      press(2);
      return 0;
    case WM_RBUTTONUP:
      release(2);
      return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      press(4);
      return 0;
    case WM_MBUTTONUP:
      release(4);
      return 0;
    case WM_CAPTURECHANGED:
      buttonsDown_ = 0;
      return 0;
    case WM_KEYDOWN: {
      int16_t k = static_cast<int16_t>(wParam), s = shiftState();
      notify(&SurfaceListener::surfaceKeyDown, KeyDown, k, s);
      return 0;
    }
    case WM_KEYUP: {
      int16_t k = static_cast<int16_t>(wParam), s = shiftState();
      notify(&SurfaceListener::surfaceKeyUp, KeyUp, k, s);
      return 0;
    }
    case WM_CHAR: {
      int16_t a = static_cast<int16_t>(wParam & 0xFF);
      notify(&SurfaceListener::surfaceKeyPress, KeyPress, a);
      return 0;
    }
    case WM_SETFOCUS:
      notify(&SurfaceListener::surfaceGotFocus, GotFocus);
      return 0;
    case WM_KILLFOCUS:
      notify(&SurfaceListener::surfaceLostFocus, LostFocus);
      return 0;
    default:
      handled = false;
      return 0;
  }
}

}  // namespace zxp::foundation
