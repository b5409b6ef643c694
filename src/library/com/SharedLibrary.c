/* The shared library's own translation unit: its code is the static library, linked in whole.
 * This file only names the entry points the module must export, so that they stay in it. */
#include "zorvaxp/zorvaxp_com.h"

typedef HRESULT (*ZxpEntryPoint)(void);
ZxpEntryPoint zorvaxp_entry_points[] = {DllCanUnloadNow, DllRegisterServer, DllUnregisterServer};
