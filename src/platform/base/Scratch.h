// Scratch storage a routine keeps from one call to the next (reused buffers, the last result):
//
//   ZXP_SCRATCH std::vector<Span> row;
//
// One per thread on Linux. On Windows a thread_local object with a destructor pins the module
// that holds it for as long as its thread runs (the C++ runtime keeps a reference to the DLL to
// run the destructor at thread exit), so the component server could never be unloaded by the
// thread that used it. There, one instance serves: the library's windows and objects belong to
// the thread that made them, and its drawing runs on that thread.
#pragma once

#ifdef _WIN32
#define ZXP_SCRATCH static
#else
#define ZXP_SCRATCH thread_local
#endif
