// The backend in use, and the reset of the whole window system to its start.
#include "platform/ui/Backend.h"

#include "platform/ui/Caret.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/DragDrop.h"
#include "platform/ui/Hooks.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Input.h"
#include "platform/ui/Menu.h"
#include "platform/ui/ModalLoop.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"

namespace zxp::ui {

namespace {
std::unique_ptr<Backend>& slot() {
  static std::unique_ptr<Backend> b = std::make_unique<HeadlessBackend>();
  return b;
}
}  // namespace

void setBackend(std::unique_ptr<Backend> b) {
  if (!b) b = std::make_unique<HeadlessBackend>();
  slot() = std::move(b);
  eventLoop().setClock(slot()->makeClock());
}

Backend& backend() { return *slot(); }

void resetWindowSystem() {
  // Destroy every window (top-level windows take their children and owned windows along).
  for (int guard = 0; guard < 10000 && !desktop().children.empty(); ++guard) {
    Window* w = desktop().children.back();
    if (!DestroyWindow(w->hwnd)) {
      // A window stuck in its own destruction: unlink it so the reset can go on.
      unlinkChild(w);
    }
  }
  resetMenus();
  resetDragDrop();
  resetImageLists();
  resetModalLoop();
  unregisterAllClasses();
  removeAllHooks();
  resetCaret();
  setClipboardStore(nullptr);
  inputState() = InputState{};
  slot() = std::make_unique<HeadlessBackend>();
  eventLoop().reset(slot()->makeClock());
  resetScreen();
}

}  // namespace zxp::ui
