// The server's bookkeeping: live objects and locks, which DllCanUnloadNow answers from.
#pragma once

namespace zxp::library::com {

void objectCreated();
void objectDestroyed();
long liveObjects();
long serverLocks();

}  // namespace zxp::library::com
