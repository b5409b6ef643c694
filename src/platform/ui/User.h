// The window manager's API (user32): window classes, windows, placement, regions, painting,
// timers, input state (cursor, capture, focus, keyboard), mouse tracking, cursors, thread hooks,
// layered windows and system settings. Names, numbers and semantics are the original platform's;
// a destroyed, unknown or zero window handle makes a call fail (0 / FALSE), never crash.
//
// Everything runs on the one user-interface thread. Time comes from the event loop's clock
// (EventLoop.h): tests run on a virtual clock and drive input with TestInput (TestInput.h).
#pragma once

#include <string>

#include "platform/ui/Messages.h"

namespace zxp {

// ---- Window styles -------------------------------------------------------------------------------
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD WS_EX_LAYERED = 0x00080000;
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_SAVEBITS = 0x0800;
constexpr UINT CS_DROPSHADOW = 0x00020000;

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// ---- Window classes ----------------------------------------------------------------------------
struct WNDCLASSA {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = 0;
  HICON hIcon = 0;
  HCURSOR hCursor = 0;
  HBRUSH hbrBackground = 0;  // 0: the window never erases (its surface keeps what was drawn)
  const char* lpszMenuName = nullptr;
  const char* lpszClassName = nullptr;
};

// Registers a class; 0 when the name is taken or missing. Atoms start at 0xC000.
ATOM RegisterClassA(const WNDCLASSA* wc);
BOOL UnregisterClassA(const char* className, HINSTANCE instance);
BOOL GetClassInfoA(HINSTANCE instance, const char* className, WNDCLASSA* out);
int GetClassNameA(HWND hwnd, char* buffer, int bufferSize);

constexpr int GCL_MENUNAME = -8;
constexpr int GCLP_HBRBACKGROUND = -10;
constexpr int GCLP_HCURSOR = -12;
constexpr int GCLP_HICON = -14;
constexpr int GCLP_WNDPROC = -24;
constexpr int GCL_STYLE = -26;
ULONG_PTR GetClassLongPtrA(HWND hwnd, int index);
ULONG_PTR SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value);
DWORD GetClassLongA(HWND hwnd, int index);
DWORD SetClassLongA(HWND hwnd, int index, LONG value);

// ---- Creation and destruction ----------------------------------------------------------------
// Creates a window: WM_GETMINMAXINFO (top-level), WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, then
// WM_SIZE and WM_MOVE, then showing when WS_VISIBLE is set. With WS_CHILD, parent is the parent
// window (required); otherwise parent is the owner. A new top-level window goes on top of the
// z-order, a new child window below its siblings. Each window has its own persistent surface
// of its client size and its own device context (GetDC).
HWND CreateWindowExA(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance,
                     void* param);
// Destroys the window, its owned windows and its children: hides it, sends WM_DESTROY (parent
// first) and WM_NCDESTROY (children first), kills its timers, releases capture and focus.
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);  // the window and all its ancestors have WS_VISIBLE
BOOL IsWindowEnabled(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
HWND GetDesktopWindow();

// ---- Relations ----------------------------------------------------------------------------------
// The parent of a child window, the owner of a pop-up window, 0 otherwise (the platform's rule).
HWND GetParent(HWND hwnd);
// Makes newParent (0: the desktop) the parent; returns the old parent, 0 on failure.
HWND SetParent(HWND hwnd, HWND newParent);
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;
HWND GetAncestor(HWND hwnd, UINT flags);
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;  // the next window below in the z-order
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;  // the topmost child
HWND GetWindow(HWND hwnd, UINT cmd);
HWND GetTopWindow(HWND hwnd);  // 0: the topmost top-level window

// ---- Window data ------------------------------------------------------------------------------
constexpr int GWL_WNDPROC = -4;
constexpr int GWLP_WNDPROC = -4;
constexpr int GWL_HINSTANCE = -6;
constexpr int GWLP_HINSTANCE = -6;
constexpr int GWL_HWNDPARENT = -8;
constexpr int GWLP_HWNDPARENT = -8;
constexpr int GWL_ID = -12;
constexpr int GWLP_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_USERDATA = -21;
constexpr int GWLP_USERDATA = -21;
// Style changes send WM_STYLECHANGING/WM_STYLECHANGED; a window procedure change returns the old
// procedure (subclassing); GWL_HWNDPARENT sets the owner of a top-level window. Indexes >= 0
// address the class's cbWndExtra bytes.
LONG_PTR GetWindowLongPtrA(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value);
// The 32-bit variants (a procedure pointer does not fit: use the Ptr variants for GWL_WNDPROC).
LONG GetWindowLongA(HWND hwnd, int index);
LONG SetWindowLongA(HWND hwnd, int index, LONG value);

// Window text through WM_SETTEXT / WM_GETTEXT / WM_GETTEXTLENGTH (UTF-8).
BOOL SetWindowTextA(HWND hwnd, const char* text);
int GetWindowTextA(HWND hwnd, char* buffer, int bufferSize);
int GetWindowTextLengthA(HWND hwnd);

// Window properties: named pointer-sized values attached to a window.
BOOL SetPropA(HWND hwnd, const char* name, uintptr_t data);
uintptr_t GetPropA(HWND hwnd, const char* name);
uintptr_t RemovePropA(HWND hwnd, const char* name);

// ---- Geometry ----------------------------------------------------------------------------------
BOOL GetWindowRect(HWND hwnd, RECT* out);  // screen coordinates
BOOL GetClientRect(HWND hwnd, RECT* out);  // (0, 0, client width, client height)
BOOL ScreenToClient(HWND hwnd, POINT* p);
BOOL ClientToScreen(HWND hwnd, POINT* p);
// Maps points from one window's client coordinates to another's (0: the screen); returns the
// offset as MAKELONG(dx, dy).
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);

constexpr HWND HWND_TOP = 0;
constexpr HWND HWND_BOTTOM = 1;
constexpr HWND HWND_TOPMOST = 0xFFFFFFFFu;    // (HWND)-1
constexpr HWND HWND_NOTOPMOST = 0xFFFFFFFEu;  // (HWND)-2
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;
constexpr UINT SWP_DRAWFRAME = SWP_FRAMECHANGED;
constexpr UINT SWP_NOREPOSITION = SWP_NOOWNERZORDER;
constexpr UINT SWP_ASYNCWINDOWPOS = 0x4000;
// Moves, sizes, reorders, shows or hides a window: WM_WINDOWPOSCHANGING (whose WINDOWPOS the
// procedure may change; DefWindowProc applies WM_GETMINMAXINFO's limits to top-level windows),
// then WM_WINDOWPOSCHANGED, whose DefWindowProc sends WM_MOVE and WM_SIZE.
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL BringWindowToTop(HWND hwnd);

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;
// Shows, hides, minimises, maximises or restores; WM_SHOWWINDOW when the visibility changes,
// then the placement messages. Returns whether the window was visible before.
BOOL ShowWindow(HWND hwnd, int cmdShow);
// Enables or disables input; WM_ENABLE. Returns TRUE when the window was disabled before.
BOOL EnableWindow(HWND hwnd, BOOL enable);

// Sets the window's region (window coordinates; 0 removes it). The window owns the region
// handle from then on: the caller must not use or delete it. It clips painting, hit-testing
// and the screen.
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
// Copies the window's region into an existing region; ERROR when the window has none.
int GetWindowRgn(HWND hwnd, HRGN out);

// The window under a screen point: the deepest visible, enabled child in the topmost visible
// window there, honouring window regions and layered transparency; 0 over the bare desktop.
HWND WindowFromPoint(POINT p);
// The child of parent containing a client point (parent itself if none, 0 outside it).
HWND ChildWindowFromPoint(HWND parent, POINT p);

// ---- Painting -------------------------------------------------------------------------------------
// The window's own DC (drawing straight onto its persistent surface; the handle stays the same
// for the window's life, its clip is the window's region). GetDC(0) draws on the screen picture.
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);  // rect 0: the whole client area
BOOL InvalidateRgn(HWND hwnd, HRGN rgn, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL GetUpdateRect(HWND hwnd, RECT* out, BOOL erase);
// Sends WM_PAINT at once when the update region is not empty.
BOOL UpdateWindow(HWND hwnd);
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN rgn, UINT flags);
// Begins a paint cycle: WM_ERASEBKGND when requested, the DC clipped to the update region,
// which is validated. EndPaint removes that clip.
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);

// ---- Layered windows ------------------------------------------------------------------------------
constexpr DWORD LWA_COLORKEY = 0x00000001;
constexpr DWORD LWA_ALPHA = 0x00000002;
constexpr DWORD ULW_COLORKEY = 0x00000001;
constexpr DWORD ULW_ALPHA = 0x00000002;
constexpr DWORD ULW_OPAQUE = 0x00000004;
// A layered window (WS_EX_LAYERED) drawn with a constant alpha and/or a colour key.
BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags);
BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags);
// Gives a layered window its picture from src (at srcPos, of size; its high bytes are
// premultiplied alpha with ULW_ALPHA) and optionally a new position; children are not shown.
BOOL UpdateLayeredWindow(HWND hwnd, HDC dst, const POINT* pos, const SIZE* size, HDC src,
                         const POINT* srcPos, COLORREF key, const BLENDFUNCTION* blend, DWORD flags);

// ---- Timers -------------------------------------------------------------------------------------
constexpr UINT USER_TIMER_MINIMUM = 0x0000000A;  // shorter intervals run at 10 ms
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;
// Starts or resets the timer (hwnd, id). With a procedure, DispatchMessage calls it for each
// WM_TIMER; without, the window receives WM_TIMER (wParam = id). hwnd 0 makes a new identifier,
// which is returned. Ticks are not queued up: a late timer fires once.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
// Milliseconds from the event loop's clock (wraps at 2^32, like the platform's).
DWORD GetTickCount();

// ---- Mouse ----------------------------------------------------------------------------------------
BOOL GetCursorPos(POINT* out);
// Moves the cursor; the window under it gets WM_MOUSEMOVE as for a real movement.
BOOL SetCursorPos(int x, int y);
// Routes all mouse messages to hwnd (client coordinates, even outside it); WM_CAPTURECHANGED to
// the window that loses the capture. Returns the previous capture window.
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
UINT GetDoubleClickTime();
BOOL SetDoubleClickTime(UINT ms);  // 0 restores the default, 500 ms

constexpr DWORD TME_HOVER = 0x00000001;
constexpr DWORD TME_LEAVE = 0x00000002;
constexpr DWORD TME_NONCLIENT = 0x00000010;
constexpr DWORD TME_QUERY = 0x40000000;
constexpr DWORD TME_CANCEL = 0x80000000;
constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;
struct TRACKMOUSEEVENT {
  DWORD cbSize = sizeof(TRACKMOUSEEVENT);
  DWORD dwFlags = 0;
  HWND hwndTrack = 0;
  DWORD dwHoverTime = HOVER_DEFAULT;
};
// Leave tracking: WM_MOUSELEAVE is posted once when the cursor leaves the window's client area
// (at once when it is not over it now); tracking then ends. Hover: WM_MOUSEHOVER once the cursor
// has rested for the hover time.
BOOL TrackMouseEvent(TRACKMOUSEEVENT* tme);
inline BOOL _TrackMouseEvent(TRACKMOUSEEVENT* tme) { return TrackMouseEvent(tme); }

// ---- Cursors -------------------------------------------------------------------------------------
constexpr int IDC_ARROW = 32512;
constexpr int IDC_IBEAM = 32513;
constexpr int IDC_WAIT = 32514;
constexpr int IDC_CROSS = 32515;
constexpr int IDC_UPARROW = 32516;
constexpr int IDC_SIZE = 32640;
constexpr int IDC_ICON = 32641;
constexpr int IDC_SIZENWSE = 32642;
constexpr int IDC_SIZENESW = 32643;
constexpr int IDC_SIZEWE = 32644;
constexpr int IDC_SIZENS = 32645;
constexpr int IDC_SIZEALL = 32646;
constexpr int IDC_NO = 32648;
constexpr int IDC_HAND = 32649;
constexpr int IDC_APPSTARTING = 32650;
constexpr int IDC_HELP = 32651;
// The standard cursor with that identifier (instance 0); 0 for an unknown one.
HCURSOR LoadCursorA(HINSTANCE instance, int id);
inline HCURSOR LoadCursor(HINSTANCE instance, int id) { return LoadCursorA(instance, id); }
// The cursor shape now shown; returns the previous one. Any cursor or icon handle is accepted.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// The standard identifier of a cursor made by LoadCursorA, 0 for other handles.
int standardCursorId(HCURSOR cursor);

// ---- Focus, activation and keyboard -------------------------------------------------------------
// WM_KILLFOCUS to the old focus window (wParam: the new one), WM_SETFOCUS to the new (wParam: the
// old one); activates the new window's top-level window first. Returns the previous focus; 0 and
// no change for a window that is disabled or inside a disabled window.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND hwnd);

// Key state as of the last keyboard message retrieved: high bit = down, low bit = toggled
// (Caps Lock, Num Lock, Scroll Lock and Insert toggle on each press).
SHORT GetKeyState(int vk);
// The physical state now (high bit = down).
SHORT GetAsyncKeyState(int vk);
BOOL GetKeyboardState(BYTE* state256);
// The virtual key and shift state (high byte: 1 Shift, 2 Ctrl, 4 Alt) typing an ANSI character
// on the US layout; -1 when no key types it.
SHORT VkKeyScanA(char ch);
constexpr UINT MAPVK_VK_TO_VSC = 0;
constexpr UINT MAPVK_VSC_TO_VK = 1;
constexpr UINT MAPVK_VK_TO_CHAR = 2;
UINT MapVirtualKeyA(UINT code, UINT mapType);

constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_CANCEL = 0x03;
constexpr int VK_MBUTTON = 0x04;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_CLEAR = 0x0C;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_SNAPSHOT = 0x2C;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_HELP = 0x2F;
constexpr int VK_LWIN = 0x5B;
constexpr int VK_RWIN = 0x5C;
constexpr int VK_APPS = 0x5D;
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_NUMPAD9 = 0x69;
constexpr int VK_MULTIPLY = 0x6A;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SEPARATOR = 0x6C;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70;
constexpr int VK_F4 = 0x73;
constexpr int VK_F10 = 0x79;
constexpr int VK_F12 = 0x7B;
constexpr int VK_NUMLOCK = 0x90;
constexpr int VK_SCROLL = 0x91;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;
constexpr int VK_LMENU = 0xA4;
constexpr int VK_RMENU = 0xA5;
constexpr int VK_OEM_1 = 0xBA;       // ;:
constexpr int VK_OEM_PLUS = 0xBB;    // =+
constexpr int VK_OEM_COMMA = 0xBC;   // ,<
constexpr int VK_OEM_MINUS = 0xBD;   // -_
constexpr int VK_OEM_PERIOD = 0xBE;  // .>
constexpr int VK_OEM_2 = 0xBF;       // /?
constexpr int VK_OEM_3 = 0xC0;       // `~
constexpr int VK_OEM_4 = 0xDB;       // [{
constexpr int VK_OEM_5 = 0xDC;       // \|
constexpr int VK_OEM_6 = 0xDD;       // ]}
constexpr int VK_OEM_7 = 0xDE;       // '"
constexpr int VK_PACKET = 0xE7;

// ---- Thread hooks ------------------------------------------------------------------------------
constexpr int WH_MSGFILTER = -1;
constexpr int WH_JOURNALRECORD = 0;
constexpr int WH_JOURNALPLAYBACK = 1;
constexpr int WH_KEYBOARD = 2;
constexpr int WH_GETMESSAGE = 3;
constexpr int WH_CALLWNDPROC = 4;
constexpr int WH_CBT = 5;
constexpr int WH_SYSMSGFILTER = 6;
constexpr int WH_MOUSE = 7;
constexpr int WH_DEBUG = 9;
constexpr int WH_SHELL = 10;
constexpr int WH_FOREGROUNDIDLE = 11;
constexpr int WH_CALLWNDPROCRET = 12;
constexpr int WH_KEYBOARD_LL = 13;
constexpr int WH_MOUSE_LL = 14;

constexpr int HC_ACTION = 0;
constexpr int HC_NOREMOVE = 3;

// WH_CALLWNDPROC: lParam points to a CWPSTRUCT, wParam is non-zero (sent by this thread).
struct CWPSTRUCT {
  LPARAM lParam = 0;
  WPARAM wParam = 0;
  UINT message = 0;
  HWND hwnd = 0;
};
// WH_CALLWNDPROCRET: lParam points to a CWPRETSTRUCT with the procedure's result.
struct CWPRETSTRUCT {
  LRESULT lResult = 0;
  LPARAM lParam = 0;
  WPARAM wParam = 0;
  UINT message = 0;
  HWND hwnd = 0;
};
// WH_MOUSE: wParam is the mouse message, lParam points to a MOUSEHOOKSTRUCT (screen position);
// a non-zero result discards the message.
struct MOUSEHOOKSTRUCT {
  POINT pt;
  HWND hwnd = 0;
  UINT wHitTestCode = 0;
  ULONG_PTR dwExtraInfo = 0;
};
// WH_KEYBOARD: wParam is the virtual key, lParam the keystroke flags of the key message;
// a non-zero result discards the message. WH_GETMESSAGE: wParam is PM_REMOVE or PM_NOREMOVE,
// lParam points to the MSG about to be returned (the hook may change it).

// WH_CBT: called before the window manager acts; a non-zero result cancels the action.
//   HCBT_CREATEWND: wParam is the new window (not yet sent WM_NCCREATE), lParam points to a
//     CBT_CREATEWNDA; cancelling makes CreateWindowExA fail (0).
//   HCBT_DESTROYWND: wParam is the window about to be destroyed; cancelling makes DestroyWindow
//     fail.
//   HCBT_ACTIVATE: wParam is the window about to be activated, lParam points to a
//     CBTACTIVATESTRUCT.
//   HCBT_SETFOCUS: wParam is the window about to get the focus (0 for none), lParam the window
//     losing it; cancelling leaves the focus where it is.
constexpr int HCBT_CREATEWND = 3;
constexpr int HCBT_DESTROYWND = 4;
constexpr int HCBT_ACTIVATE = 5;
constexpr int HCBT_SETFOCUS = 9;
struct CBT_CREATEWNDA {
  CREATESTRUCTA* lpcs = nullptr;
  HWND hwndInsertAfter = 0;
};
struct CBTACTIVATESTRUCT {
  BOOL fMouse = FALSE;
  HWND hWndActive = 0;
};
// WH_DEBUG: called before a hook of any other type; wParam is that type, lParam points to a
// DEBUGHOOKINFO with its arguments; a non-zero result skips the other hook's chain (its result
// is then 0).
struct DEBUGHOOKINFO {
  DWORD idThread = 0;
  DWORD idThreadInstaller = 0;
  LPARAM lParam = 0;
  WPARAM wParam = 0;
  int code = 0;
};
// WH_FOREGROUNDIDLE: called with HC_ACTION when GetMessageA finds the queue empty and is about
// to wait for input (never under the tests' virtual clock, where nothing waits).

// Installs a hook for the user-interface thread (threadId 0 or GetCurrentThreadId()) on top of
// the chain of its type. The thread hook types the window system has events for install:
// WH_KEYBOARD, WH_GETMESSAGE, WH_CALLWNDPROC, WH_CBT, WH_MOUSE, WH_DEBUG, WH_FOREGROUNDIDLE and
// WH_CALLWNDPROCRET. The others fail (0): WH_MSGFILTER and WH_SHELL (no dialog or menu modal
// loop and no shell here to call them), and the types the platform allows only system-wide
// (WH_JOURNALRECORD, WH_JOURNALPLAYBACK, WH_SYSMSGFILTER, WH_KEYBOARD_LL, WH_MOUSE_LL).
HHOOK SetWindowsHookExA(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId);
// Removes a hook; safe inside any hook call, including the hook's own.
BOOL UnhookWindowsHookEx(HHOOK hook);
// Calls the next hook in the chain (0 when there is none).
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
DWORD GetCurrentThreadId();

// ---- System settings ---------------------------------------------------------------------------
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_SWAPBUTTON = 23;
constexpr int SM_CXMIN = 28;
constexpr int SM_CYMIN = 29;
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXMINTRACK = 34;
constexpr int SM_CYMINTRACK = 35;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CMOUSEBUTTONS = 43;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CYSMCAPTION = 51;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
constexpr int SM_MOUSEWHEELPRESENT = 75;
constexpr int SM_CXVIRTUALSCREEN = 78;
constexpr int SM_CYVIRTUALSCREEN = 79;
constexpr int SM_CMONITORS = 80;
constexpr int SM_CXFOCUSBORDER = 83;
constexpr int SM_CYFOCUSBORDER = 84;
constexpr int SM_CXMENUCHECK = 71;
// The XP (Luna, 96 dpi) values; the screen size is the screen's (Screen.h). 0 for unknown indexes.
int GetSystemMetrics(int index);

constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_SETWORKAREA = 0x002F;
constexpr UINT SPI_GETMOUSEHOVERTIME = 0x0066;
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
constexpr UINT SPI_GETDRAGFULLWINDOWS = 0x0026;
constexpr UINT SPI_GETFLATMENU = 0x1022;
constexpr UINT SPI_GETDROPSHADOW = 0x1024;
// SPI_GETWORKAREA: the screen less the task bar strip at the bottom (RECT*). Others: UINT*/BOOL*.
BOOL SystemParametersInfoA(UINT action, UINT uiParam, void* pvParam, UINT winIni);
inline BOOL SystemParametersInfo(UINT a, UINT u, void* p, UINT w) { return SystemParametersInfoA(a, u, p, w); }
// The height of the task bar strip at the bottom of the screen.
constexpr int kTaskBarHeight = 30;

// The platform's version: major in the low byte, minor in the next, build in the high word
// (5.1.2600, XP, unless a test sets another through ui::setPlatformVersion).
DWORD GetVersion();
// Device capabilities of the display (any DC answers for the screen).
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
int GetDeviceCaps(HDC dc, int index);

// Plays the system's warning sound (counted for tests; the backend may sound it).
BOOL MessageBeep(UINT type);

}  // namespace zxp
