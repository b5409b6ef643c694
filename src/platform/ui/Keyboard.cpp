// Keyboard input: key messages for the focus window (WM_SYSKEY* with Alt, or without a focus
// window), key state with toggles, the US layout that turns keys into characters, scan codes.
#include <cstring>

#include "platform/base/CodePage.h"
#include "platform/ui/EventLoop.h"
#include "platform/ui/Input.h"
#include "platform/ui/Window.h"

namespace zxp::ui {

namespace {

struct OemKey {
  int vk;
  char plain;
  char shifted;
};
constexpr OemKey kOem[] = {{VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'},
                           {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},
                           {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},    {VK_OEM_5, '\\', '|'},
                           {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'}};
constexpr const char* kShiftedDigits = ")!@#$%^&*(";

constexpr int VK_NUMPAD7 = 0x67;

struct ScanCode {
  int vk;
  UINT scan;
  bool extended;
};
constexpr ScanCode kScan[] = {
    {VK_ESCAPE, 0x01, false},  {VK_BACK, 0x0E, false},    {VK_TAB, 0x0F, false},      {VK_RETURN, 0x1C, false},
    {VK_CONTROL, 0x1D, false}, {VK_SHIFT, 0x2A, false},   {VK_MENU, 0x38, false},     {VK_SPACE, 0x39, false},
    {VK_CAPITAL, 0x3A, false}, {VK_NUMLOCK, 0x45, false}, {VK_SCROLL, 0x46, false},   {VK_HOME, 0x47, true},
    {VK_UP, 0x48, true},       {VK_PRIOR, 0x49, true},    {VK_LEFT, 0x4B, true},      {VK_RIGHT, 0x4D, true},
    {VK_END, 0x4F, true},      {VK_DOWN, 0x50, true},     {VK_NEXT, 0x51, true},      {VK_INSERT, 0x52, true},
    {VK_DELETE, 0x53, true},   {VK_OEM_MINUS, 0x0C, false}, {VK_OEM_PLUS, 0x0D, false}, {VK_OEM_4, 0x1A, false},
    {VK_OEM_6, 0x1B, false},   {VK_OEM_1, 0x27, false},   {VK_OEM_7, 0x28, false},    {VK_OEM_3, 0x29, false},
    {VK_OEM_5, 0x2B, false},   {VK_OEM_COMMA, 0x33, false}, {VK_OEM_PERIOD, 0x34, false}, {VK_OEM_2, 0x35, false},
    {VK_MULTIPLY, 0x37, false}, {VK_SUBTRACT, 0x4A, false}, {VK_ADD, 0x4E, false},    {VK_DIVIDE, 0x35, true},
    {VK_NUMPAD7, 0x47, false}, {0x68, 0x48, false},       {0x69, 0x49, false},        {0x64, 0x4B, false},
    {0x65, 0x4C, false},       {0x66, 0x4D, false},       {0x61, 0x4F, false},        {0x62, 0x50, false},
    {0x63, 0x51, false},       {VK_NUMPAD0, 0x52, false}, {VK_DECIMAL, 0x53, false},  {VK_F1 + 10, 0x57, false},
    {VK_F12, 0x58, false},     {VK_LWIN, 0x5B, true},     {VK_APPS, 0x5D, true},
};

// Letters by scan code row: Q..P from 0x10, A..L from 0x1E, Z..M from 0x2C.
UINT letterScan(int vk) {
  static const char* rows[] = {"QWERTYUIOP", "ASDFGHJKL", "ZXCVBNM"};
  static const UINT starts[] = {0x10, 0x1E, 0x2C};
  for (int r = 0; r < 3; ++r) {
    const char* p = std::strchr(rows[r], vk);
    if (p) return starts[r] + static_cast<UINT>(p - rows[r]);
  }
  return 0;
}

int genericKey(int vk) {
  switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return vk;
  }
}

void applyKeyState(BYTE* keys, int vk, bool down) {
  if (down) {
    if (!(keys[vk] & 0x80)) keys[vk] ^= 1;  // the toggle flips on each press
    keys[vk] |= 0x80;
  } else {
    keys[vk] &= static_cast<BYTE>(~0x80);
  }
}

}  // namespace

void injectKey(int vk, bool down) {
  if (vk <= 0 || vk > 0xFE) return;
  InputState& in = inputState();
  int generic = genericKey(vk);
  bool wasDown = (in.asyncKeys[generic] & 0x80) != 0;
  BYTE v = down ? 0x80 : 0;
  in.asyncKeys[vk] = v;
  in.asyncKeys[generic] = v;
  if (generic == VK_MENU && down && !wasDown) in.altAlone = true;
  else if (down && generic != VK_MENU) in.altAlone = false;
  bool alt = (in.asyncKeys[VK_MENU] & 0x80) != 0;
  bool ctrl = (in.asyncKeys[VK_CONTROL] & 0x80) != 0;
  bool sys = (alt && !ctrl) || generic == VK_F10;
  // Alt released right after its own press is a system key; after Alt+key it is a plain key-up.
  if (generic == VK_MENU && !down) sys = in.altAlone && !ctrl;

  HWND target = windowFromHandle(in.focus) ? in.focus : 0;
  if (windowFromHandle(in.keyboardGrab)) {
    target = in.keyboardGrab;
    sys = false;  // a menu or a drag reads Alt and F10 as plain keys
  }
  if (!target) {
    target = windowFromHandle(in.active) ? in.active : 0;
    sys = true;  // without a focus window the active window gets system keys
  }
  if (!target) {
    applyKeyState(in.keys, generic, down);
    return;
  }
  UINT scan = MapVirtualKeyA(static_cast<UINT>(generic), MAPVK_VK_TO_VSC);
  bool extended = false;
  for (const auto& s : kScan)
    if (s.vk == generic && s.extended) extended = true;
  DWORD l = 1 | (scan << 16) | (extended ? (1u << 24) : 0) | (alt ? (1u << 29) : 0);
  if (down) {
    if (wasDown) l |= 1u << 30;  // a repeat
  } else {
    l |= (1u << 30) | (1u << 31);
  }
  MSG m;
  m.hwnd = target;
  m.message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  m.wParam = static_cast<WPARAM>(generic);
  m.lParam = static_cast<LPARAM>(l);
  m.time = GetTickCount();
  m.pt = in.cursor;
  eventLoop().post(m);
}

void injectChar(uint32_t codepoint) {
  InputState& in = inputState();
  HWND target = windowFromHandle(in.focus) ? in.focus : 0;
  if (windowFromHandle(in.keyboardGrab)) target = in.keyboardGrab;
  if (!target) return;
  uint32_t ch = static_cast<unsigned char>(toCp1252(static_cast<char32_t>(codepoint)));
  MSG m;
  m.hwnd = target;
  m.message = WM_CHAR;
  m.wParam = ch;
  m.lParam = 1;
  m.time = GetTickCount();
  m.pt = in.cursor;
  eventLoop().post(m);
}

void setKeyToggle(int vk, bool on) {
  if (vk <= 0 || vk > 0xFE) return;
  InputState& in = inputState();
  in.keys[vk] = static_cast<BYTE>((in.keys[vk] & 0x80) | (on ? 1 : 0));
  in.asyncKeys[vk] = static_cast<BYTE>((in.asyncKeys[vk] & 0x80) | (on ? 1 : 0));
}

void noteRetrievedKeyMessage(const MSG& m) {
  applyKeyState(inputState().keys, static_cast<int>(m.wParam & 0xFF),
                m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN);
}

uint32_t charForKey(int vk) {
  const BYTE* k = inputState().keys;
  bool shift = k[VK_SHIFT] & 0x80, ctrl = k[VK_CONTROL] & 0x80, alt = k[VK_MENU] & 0x80;
  bool caps = k[VK_CAPITAL] & 1;
  if (ctrl && alt) return 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return static_cast<uint32_t>(vk - 'A' + 1);
    return static_cast<uint32_t>(shift != caps ? vk : vk + 32);
  }
  if (vk >= '0' && vk <= '9') {
    if (ctrl) return 0;
    return static_cast<uint32_t>(shift ? kShiftedDigits[vk - '0'] : vk);
  }
  switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return ctrl ? 10 : 13;
    case VK_BACK: return ctrl ? 127 : 8;
    case VK_TAB: return ctrl ? 0 : 9;
    case VK_ESCAPE: return 27;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DIVIDE: return '/';
    case VK_DECIMAL: return (k[VK_NUMLOCK] & 1) ? '.' : 0;
    default: break;
  }
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return (k[VK_NUMLOCK] & 1) ? static_cast<uint32_t>('0' + vk - VK_NUMPAD0) : 0;
  if (ctrl) return 0;
  for (const auto& o : kOem)
    if (o.vk == vk) return static_cast<uint32_t>(static_cast<unsigned char>(shift ? o.shifted : o.plain));
  return 0;
}

}  // namespace zxp::ui

namespace zxp {

using namespace zxp::ui;

SHORT GetKeyState(int vk) {
  if (vk < 0 || vk > 0xFF) return 0;
  BYTE b = inputState().keys[vk];
  return static_cast<SHORT>(((b & 0x80) ? 0xFF80 : 0) | (b & 1));
}

SHORT GetAsyncKeyState(int vk) {
  if (vk < 0 || vk > 0xFF) return 0;
  return (inputState().asyncKeys[vk] & 0x80) ? static_cast<SHORT>(0x8000) : 0;
}

BOOL GetKeyboardState(BYTE* state) {
  if (!state) return FALSE;
  std::memcpy(state, inputState().keys, 256);
  return TRUE;
}

SHORT VkKeyScanA(char c) {
  unsigned char ch = static_cast<unsigned char>(c);
  if (ch >= 'a' && ch <= 'z') return static_cast<SHORT>(ch - 32);
  if (ch >= 'A' && ch <= 'Z') return static_cast<SHORT>(0x100 | ch);
  if (ch >= '0' && ch <= '9') return static_cast<SHORT>(ch);
  for (int d = 0; d < 10; ++d)
    if (kShiftedDigits[d] == c) return static_cast<SHORT>(0x100 | ('0' + d));
  for (const auto& o : kOem) {
    if (o.plain == c) return static_cast<SHORT>(o.vk);
    if (o.shifted == c) return static_cast<SHORT>(0x100 | o.vk);
  }
  switch (ch) {
    case ' ': return VK_SPACE;
    case '\r': return VK_RETURN;
    case '\n': return static_cast<SHORT>(0x200 | VK_RETURN);
    case '\t': return VK_TAB;
    case '\b': return VK_BACK;
    case 27: return VK_ESCAPE;
    default: break;
  }
  if (ch >= 1 && ch <= 26) return static_cast<SHORT>(0x200 | ('A' + ch - 1));
  return -1;
}

UINT MapVirtualKeyA(UINT code, UINT type) {
  switch (type) {
    case MAPVK_VK_TO_VSC: {
      int vk = genericKey(static_cast<int>(code));
      if (vk >= 'A' && vk <= 'Z') return letterScan(vk);
      if (vk >= '1' && vk <= '9') return 0x02 + static_cast<UINT>(vk - '1');
      if (vk == '0') return 0x0B;
      if (vk >= VK_F1 && vk <= VK_F10) return 0x3B + static_cast<UINT>(vk - VK_F1);
      for (const auto& s : kScan)
        if (s.vk == vk) return s.scan;
      return 0;
    }
    case MAPVK_VSC_TO_VK:
      for (int vk = 1; vk < 256; ++vk)
        if (MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC) == code && code) return static_cast<UINT>(vk);
      return 0;
    case MAPVK_VK_TO_CHAR: {
      int vk = static_cast<int>(code);
      if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return static_cast<UINT>(vk);
      if (vk == VK_SPACE) return ' ';
      if (vk == VK_RETURN) return '\r';
      if (vk == VK_BACK) return '\b';
      if (vk == VK_TAB) return '\t';
      if (vk == VK_ESCAPE) return 27;
      for (const auto& o : kOem)
        if (o.vk == vk) return static_cast<UINT>(static_cast<unsigned char>(o.plain));
      return 0;
    }
    default:
      return 0;
  }
}

}  // namespace zxp
