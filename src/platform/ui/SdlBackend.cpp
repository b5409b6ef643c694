#include "platform/ui/SdlBackend.h"

#include "platform/base/SdlLibrary.h"

#include <chrono>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/ui/DragDrop.h"
#include "platform/ui/Input.h"
#include "platform/ui/Screen.h"
#include "platform/ui/SdlClipboard.h"

namespace zxp::ui {

struct SdlBackend::Impl {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  Size size;
  std::map<int, SDL_Cursor*> cursors;
  std::vector<std::string> dropped;  // files of the drop under way
};

namespace {

SDL_SystemCursor sdlCursorFor(int id) {
  switch (id) {
    case IDC_IBEAM: return SDL_SYSTEM_CURSOR_IBEAM;
    case IDC_WAIT: return SDL_SYSTEM_CURSOR_WAIT;
    case IDC_CROSS: return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case IDC_APPSTARTING: return SDL_SYSTEM_CURSOR_WAITARROW;
    case IDC_SIZENWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
    case IDC_SIZENESW: return SDL_SYSTEM_CURSOR_SIZENESW;
    case IDC_SIZEWE: return SDL_SYSTEM_CURSOR_SIZEWE;
    case IDC_SIZENS: return SDL_SYSTEM_CURSOR_SIZENS;
    case IDC_SIZE:
    case IDC_SIZEALL: return SDL_SYSTEM_CURSOR_SIZEALL;
    case IDC_NO: return SDL_SYSTEM_CURSOR_NO;
    case IDC_HAND: return SDL_SYSTEM_CURSOR_HAND;
    default: return SDL_SYSTEM_CURSOR_ARROW;
  }
}

bool displayPresent() {
  // SDL's dummy and offscreen drivers "succeed" without a screen a person can see.
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (driver && (std::string_view(driver) == "dummy" || std::string_view(driver) == "offscreen")) return false;
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

// Starts SDL's video on the display the environment names. An X server that is resetting (it does
// so each time its last client leaves) refuses connections for a moment, and SDL then falls back
// to its offscreen driver: a window nobody sees. Our choice is to try again for up to a second,
// then to report no display rather than run invisibly.
bool initVideo() {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (attempt) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (sdl::SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) continue;
    const char* driver = sdl::SDL_GetCurrentVideoDriver();
    if (driver && std::string_view(driver) != "offscreen" && std::string_view(driver) != "dummy") return true;
    sdl::SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  return false;
}

}  // namespace

int virtualKeyFromSdl(int k) {
  if (k >= SDLK_a && k <= SDLK_z) return 'A' + (k - SDLK_a);
  if (k >= SDLK_0 && k <= SDLK_9) return '0' + (k - SDLK_0);
  if (k >= SDLK_F1 && k <= SDLK_F12) return VK_F1 + (k - SDLK_F1);
  if (k >= SDLK_KP_1 && k <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (k - SDLK_KP_1);
  switch (k) {
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_HOME: return VK_HOME;
    case SDLK_END: return VK_END;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_LSHIFT: return VK_LSHIFT;
    case SDLK_RSHIFT: return VK_RSHIFT;
    case SDLK_LCTRL: return VK_LCONTROL;
    case SDLK_RCTRL: return VK_RCONTROL;
    case SDLK_LALT: return VK_LMENU;
    case SDLK_RALT: return VK_RMENU;
    case SDLK_CAPSLOCK: return VK_CAPITAL;
    case SDLK_NUMLOCKCLEAR: return VK_NUMLOCK;
    case SDLK_SCROLLLOCK: return VK_SCROLL;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    case SDLK_APPLICATION: return VK_APPS;
    default: return 0;
  }
}

namespace {
// Where the pointer is over the desktop window (a drop from outside brings no motion events).
Point dropPoint(SDL_Window* window) {
  int gx = 0, gy = 0, wx = 0, wy = 0;
  sdl::SDL_GetGlobalMouseState(&gx, &gy);
  sdl::SDL_GetWindowPosition(window, &wx, &wy);
  return Point{gx - wx, gy - wy};
}
}  // namespace

std::unique_ptr<SdlBackend> SdlBackend::open(const char* title, Size screen) {
  if (!displayPresent() || !initVideo()) return nullptr;
  std::unique_ptr<SdlBackend> b(new SdlBackend());
  b->impl_ = std::make_unique<Impl>();
  Impl& im = *b->impl_;
  im.size = screen;
  im.window = sdl::SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, screen.cx, screen.cy, 0);
  if (!im.window) return nullptr;
  im.renderer = sdl::SDL_CreateRenderer(im.window, -1, 0);
  if (!im.renderer) return nullptr;
  im.texture = sdl::SDL_CreateTexture(im.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, screen.cx,
                                 screen.cy);
  if (!im.texture) return nullptr;
  setScreenSize(screen);
  for (Uint32 type : {SDL_DROPFILE, SDL_DROPTEXT, SDL_DROPBEGIN, SDL_DROPCOMPLETE}) sdl::SDL_EventState(type, SDL_ENABLE);
  setClipboardStore(std::make_unique<SdlClipboard>());  // cut and paste reach the desktop
  return b;
}

std::optional<Size> SdlBackend::usableDisplaySize() {
  if (!displayPresent() || !initVideo()) return std::nullopt;
  SDL_Rect r{};
  std::optional<Size> size;
  if (sdl::SDL_GetDisplayUsableBounds(0, &r) == 0 && r.w > 0 && r.h > 0) size = Size{r.w, r.h};
  sdl::SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return size;
}

SdlBackend::~SdlBackend() {
  if (!impl_) return;
  for (auto& [id, c] : impl_->cursors) sdl::SDL_FreeCursor(c);
  if (impl_->texture) sdl::SDL_DestroyTexture(impl_->texture);
  if (impl_->renderer) sdl::SDL_DestroyRenderer(impl_->renderer);
  if (impl_->window) sdl::SDL_DestroyWindow(impl_->window);
  sdl::SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::shared_ptr<Clock> SdlBackend::makeClock() { return std::make_shared<RealClock>(); }

// The lock keys' toggle states follow the desktop's, also for presses made while another
// program had the keyboard, so GetKeyState reports the real Caps, Num and Scroll Lock.
void SdlBackend::syncLockKeys() {
  const SDL_Keymod mod = sdl::SDL_GetModState();
  setKeyToggle(VK_CAPITAL, (mod & KMOD_CAPS) != 0);
  setKeyToggle(VK_NUMLOCK, (mod & KMOD_NUM) != 0);
#if SDL_VERSION_ATLEAST(2, 0, 18)
  setKeyToggle(VK_SCROLL, (mod & KMOD_SCROLL) != 0);
#endif
}

bool SdlBackend::pumpInput(int64_t waitMs) {
  syncLockKeys();
  SDL_Event e;
  bool got = waitMs == 0 ? sdl::SDL_PollEvent(&e) != 0
                         : sdl::SDL_WaitEventTimeout(&e, waitMs < 0 ? 1000 : static_cast<int>(waitMs)) != 0;
  while (got) {
    switch (e.type) {
      case SDL_QUIT:
        return false;
      case SDL_MOUSEMOTION:
        injectMouseMove(Point{e.motion.x, e.motion.y});
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        injectMouseMove(Point{e.button.x, e.button.y});
        MouseButton b = e.button.button == SDL_BUTTON_RIGHT    ? MouseButton::Right
                        : e.button.button == SDL_BUTTON_MIDDLE ? MouseButton::Middle
                                                               : MouseButton::Left;
        injectMouseButton(b, e.type == SDL_MOUSEBUTTONDOWN);
        break;
      }
      case SDL_MOUSEWHEEL:
        if (e.wheel.y != 0) {
          int notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
          injectMouseWheel(notches * WHEEL_DELTA);
        }
        break;
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        if (int vk = virtualKeyFromSdl(e.key.keysym.sym)) injectKey(vk, e.type == SDL_KEYDOWN);
        break;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) present(*composeScreen());
        break;
      // Files and text dropped on the desktop window from other applications: SDL reports the
      // files one by one between DROPBEGIN and DROPCOMPLETE; they arrive at the window under the
      // pointer as one data object.
      case SDL_DROPBEGIN:
        impl_->dropped.clear();
        break;
      case SDL_DROPFILE:
        if (e.drop.file) {
          impl_->dropped.emplace_back(e.drop.file);
          sdl::SDL_free(e.drop.file);
        }
        break;
      case SDL_DROPTEXT:
        if (e.drop.file) {
          std::string text = e.drop.file;
          sdl::SDL_free(e.drop.file);
          injectTextDrop(dropPoint(impl_->window), text);
        }
        break;
      case SDL_DROPCOMPLETE:
        if (!impl_->dropped.empty()) injectFileDrop(dropPoint(impl_->window), impl_->dropped);
        impl_->dropped.clear();
        break;
      default:
        break;
    }
    got = sdl::SDL_PollEvent(&e) != 0;
  }
  return true;
}

// Copies to the texture only what the compositions redid since the last presentation; the
// texture keeps the rest from before.
void SdlBackend::present(const gfx::Surface& screen) {
  Impl& im = *impl_;
  const Rect shown = Rect{0, 0, std::min(screen.width(), im.size.cx), std::min(screen.height(), im.size.cy)};
  for (const Rect& area : takeComposedArea()) {
    const Rect r = area.intersect(shown);
    if (r.empty()) continue;
    const SDL_Rect sr{r.left, r.top, r.width(), r.height()};
    void* pixels = nullptr;
    int pitch = 0;
    if (sdl::SDL_LockTexture(im.texture, &sr, &pixels, &pitch) != 0) continue;
    for (int y = 0; y < r.height(); ++y) {
      auto* dst = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(pixels) + static_cast<ptrdiff_t>(y) * pitch);
      const uint32_t* src = screen.row(r.top + y) + r.left;
      for (int x = 0; x < r.width(); ++x) dst[x] = src[x] | 0xFF000000u;
    }
    sdl::SDL_UnlockTexture(im.texture);
  }
  sdl::SDL_RenderClear(im.renderer);
  sdl::SDL_RenderCopy(im.renderer, im.texture, nullptr, nullptr);
  sdl::SDL_RenderPresent(im.renderer);
}

void SdlBackend::cursorChanged(HCURSOR cursor) {
  int id = standardCursorId(cursor);
  if (id == 0) id = IDC_ARROW;  // custom icons show as the arrow on the desktop
  auto& slot = impl_->cursors[id];
  if (!slot) slot = sdl::SDL_CreateSystemCursor(sdlCursorFor(id));
  if (slot) sdl::SDL_SetCursor(slot);
}

}  // namespace zxp::ui
