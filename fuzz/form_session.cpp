// libFuzzer target: a whole session with a form file, as a user of the gallery or zorvaxp-render
// has it. The file is loaded with the library's classes; each control (the first eight) gets the
// cursor, a click and a wheel turn; the keyboard sends Tab, a typed letter, Enter and an access
// key; time runs so that hover timers fire; the screen is composed. The form is then saved,
// loaded again and saved again: the two texts must be equal. At the end, with every window gone,
// no handle may be left alive. A file that does not load must fail with the host's error.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "library/ClassTable.h"
#include "platform/gfx/Handles.h"
#include "platform/host/Form.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TestInput.h"
#include "platform/ui/User.h"

using namespace zxp;

namespace {

// Sessions stay small: a form of at most this many controls, none larger than this (twips). The
// cost of loading many controls and of drawing huge ones is measured by benchmarks instead.
constexpr size_t kMaxControls = 64;
constexpr int32_t kMaxExtent = 30000;

bool small(const std::vector<host::ControlRecord>& controls, size_t& count) {
  for (const host::ControlRecord& c : controls) {
    if (++count > kMaxControls) return false;
    const host::ExtenderRecord& x = c.extender;
    if (x.width > kMaxExtent || x.height > kMaxExtent || x.left < -kMaxExtent || x.left > kMaxExtent ||
        x.top < -kMaxExtent || x.top > kMaxExtent)
      return false;
    if (!small(c.children, count)) return false;
  }
  return true;
}

void session(host::Form& form, char accessLetter) {
  ui::TestInput input;
  RECT r{};
  GetWindowRect(form.hWnd(), &r);
  ui::setScreenSize(Size{std::max<int32_t>(r.width(), 64), std::max<int32_t>(r.height(), 64)});
  SetActiveWindow(form.hWnd());
  input.pump();
  size_t visited = 0;
  for (host::Extender* e : form.Controls()) {
    if (++visited > 8) break;
    const HWND h = e->object().hWnd();
    if (!IsWindow(h)) continue;
    input.moveTo(h).advance(15).press().advance(15).release().wheel(-1).advance(15);
  }
  input.key(VK_TAB).type("a").key(VK_RETURN).altKey(accessLetter).advance(30);
  input.moveTo(Point{r.right + 50, r.bottom + 50}).advance(30);
  (void)ui::composeScreen();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  static const size_t baseline = [] {
    ui::resetWindowSystem();
    return handles().liveCount();
  }();
  try {
    size_t count = 0;
    if (!small(host::parseFormFile(text).controls, count)) return 0;
  } catch (const host::FormFileError&) {
    return 0;
  }
  ui::resetWindowSystem();
  {
    std::unique_ptr<host::Form> form;
    try {
      form = host::Form::load(text, library::classes(), true);
    } catch (const HostError&) {
      form.reset();
    }
    if (form) {
      session(*form, size > 0 ? static_cast<char>('A' + data[size - 1] % 26) : 'A');
      const std::string once = form->save();
      form.reset();
      std::unique_ptr<host::Form> again;
      try {
        again = host::Form::load(once, library::classes(), true);
      } catch (const HostError&) {
        std::abort();  // a saved form must load
      }
      if (again->save() != once) std::abort();  // and save the same text again
    }
  }
  ui::resetWindowSystem();
  if (handles().liveCount() != baseline) std::abort();  // every handle of the session released
  return 0;
}
