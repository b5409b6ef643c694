// Thread hooks: one chain per hook type, newest hook first. The window manager calls a chain at
// the points the platform does (WH_CALLWNDPROC/RET around SendMessage, WH_GETMESSAGE, WH_MOUSE
// and WH_KEYBOARD when the queue hands out a message); each hook passes the call on with
// CallNextHookEx. Hooks may be removed at any time, including inside their own call.
#pragma once

#include "platform/ui/User.h"

namespace zxp::ui {

// True when the chain of that type has a hook (callers skip building the hook's structure).
bool hasHooks(int type);
// Calls the chain's first hook and returns its result; 0 when the chain is empty.
LRESULT callHooks(int type, int code, WPARAM wParam, LPARAM lParam);
// Removes every hook (the window system's reset).
void removeAllHooks();
size_t hookCount(int type);

}  // namespace zxp::ui
