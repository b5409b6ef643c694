// The system edit field: the window class "EDIT", single-line or multi-line by style, which the
// text box, the spin box, the date picker and the list's in-place editors wrap as a constituent
// child. Styles, messages and notifications carry the platform's names and numbers.
//
// Units. Text crosses the API as UTF-8. Every position (EM_GETSEL, EM_SETSEL, EM_LINEINDEX,
// EM_LINELENGTH, EM_LINEFROMCHAR, EM_POSFROMCHAR, EM_CHARFROMPOS, EM_LIMITTEXT) counts
// characters (code points), where the platform counts TCHARs; a line break is the two characters
// CR LF, as on the platform. Buffer sizes (WM_GETTEXT, WM_GETTEXTLENGTH, EM_GETLINE) count bytes.
// WM_CHAR's code is a Windows-1252 byte (the ANSI code page of keyboard input, Input.h); a code
// above 0xFF is taken as a Unicode code point.
//
// A field draws no border (the controls draw their own). Before painting it sends
// WM_CTLCOLOREDIT (WM_CTLCOLORSTATIC when read-only or disabled) to its parent with its DC in
// wParam and its handle in lParam: the parent sets the text and background colours on the DC
// (SetTextColor, SetBkColor) and returns a brush for the background; a parent that returns 0
// leaves the system colours (window / window text, or button face for read-only and disabled
// fields; disabled text is always grey). The font is set with WM_SETFONT (the field does not own
// it; a deleted font falls back to the system font) and read with WM_GETFONT.
//
// Editing. Click places the caret, drag selects, Shift+click extends, double click selects a word
// and the spaces after it; arrows, Home/End (of line; with Ctrl, of text), Ctrl+arrows by word,
// Page Up/Down, Shift with any of them extends the selection; Backspace, Delete (a CR LF goes as
// one), Ctrl+Backspace deletes the word before the caret; Ctrl+A selects all; Ctrl+C, Ctrl+X,
// Ctrl+V (and Ctrl+Insert, Shift+Delete, Shift+Insert) use the clipboard (Clipboard.h); Ctrl+Z
// undoes (one level; a second undo redoes). Enter, and Ctrl+Enter, insert CR LF in a multi-line
// field; Tab inserts a tab there. A single-line field ignores Enter, Escape and Tab: there is no
// dialog manager here, so ES_WANTRETURN changes nothing (a multi-line field always takes Enter).
// ES_READONLY refuses every change by the user (typing, deleting, cutting, pasting, undoing) but
// keeps caret movement, selection and copying; WM_SETTEXT and EM_REPLACESEL still change it. The
// caret (Caret.h) exists only while the field has the focus and blinks on the event loop's clock.
//
// Layout. A multi-line field wraps at spaces within its formatting rectangle (a word longer than
// a line breaks between characters; spaces at a break hang past the edge); with ES_AUTOHSCROLL it
// does not wrap and scrolls horizontally instead. A single-line field scrolls horizontally to keep
// the caret in view. A multi-line field scrolls vertically by whole lines; its first visible line
// may go down to the last line. Tabs stop every eight average character widths. ES_CENTER and
// ES_RIGHT align each line within the formatting rectangle. Without ES_AUTOHSCROLL a single-line
// field refuses text wider than its rectangle, and without ES_AUTOVSCROLL a multi-line field
// refuses text taller than its rectangle (EN_MAXTEXT), as on the platform.
//
// Notifications go to the parent as WM_COMMAND (wParam: MAKEWPARAM(control id, code), lParam: the
// field). EN_UPDATE then EN_CHANGE follow each change of the text exactly once, whether made by
// the user, EM_REPLACESEL, EM_UNDO or WM_SETTEXT (a WM_SETTEXT that leaves the text as it was
// sends neither). EN_VSCROLL / EN_HSCROLL follow scrolling caused by the user (keys, typing, mouse,
// wheel), not scrolling asked for by a message. EN_MAXTEXT tells that input was cut short by the
// length limit or the rectangle.
//
// Owners see the field's input first through EditHooks (SetEditHooks): the key messages with
// their code by reference before the field acts on them (a code set to 0 discards the key or
// character, a changed code is acted on instead), the mouse messages after the field has acted,
// and each notification. Subclassing the field's window procedure (SetWindowLongPtrA with
// GWLP_WNDPROC and CallWindowProcA) works as well, as on the platform.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/User.h"

namespace zxp {

constexpr const char* WC_EDITA = "EDIT";

// ---- Styles ----------------------------------------------------------------------------------
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_UPPERCASE = 0x0008;
constexpr DWORD ES_LOWERCASE = 0x0010;
constexpr DWORD ES_PASSWORD = 0x0020;  // single-line: shows the password character
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;  // the selection stays shown without the focus
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD ES_NUMBER = 0x2000;  // typing accepts digits only (others beep)

// ---- Messages --------------------------------------------------------------------------------
constexpr UINT EM_GETSEL = 0x00B0;       // (DWORD* start, DWORD* end) -> MAKELRESULT(start, end)
constexpr UINT EM_SETSEL = 0x00B1;       // (anchor, caret); anchor -1 deselects, caret -1 = end
constexpr UINT EM_GETRECT = 0x00B2;      // (0, RECT*) the formatting rectangle
constexpr UINT EM_SETRECT = 0x00B3;      // (0, RECT* or 0 for the default) and redraws
constexpr UINT EM_SETRECTNP = 0x00B4;    // the same without redrawing
constexpr UINT EM_SCROLL = 0x00B5;       // (SB_LINEUP/DOWN, SB_PAGEUP/DOWN) -> MAKELRESULT(lines, TRUE)
constexpr UINT EM_LINESCROLL = 0x00B6;   // (characters right, lines down), signed
constexpr UINT EM_SCROLLCARET = 0x00B7;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_LINEINDEX = 0x00BB;    // (line or -1 for the caret's) -> first character, -1
constexpr UINT EM_LINELENGTH = 0x00C1;   // (a character index on the line, or -1)
constexpr UINT EM_REPLACESEL = 0x00C2;   // (can undo, const char* UTF-8)
constexpr UINT EM_GETLINE = 0x00C4;      // (line, buffer whose first WORD is its size in bytes)
constexpr UINT EM_LIMITTEXT = 0x00C5;    // (characters; 0: the largest limit)
constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT EM_LINEFROMCHAR = 0x00C9; // (index, or -1 for the selection's start line)
constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;  // single-line: the first visible character
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
constexpr UINT EM_SETMARGINS = 0x00D3;   // (EC_ flags, MAKELPARAM(left, right))
constexpr UINT EM_GETMARGINS = 0x00D4;   // -> MAKELRESULT(left, right)
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
constexpr UINT EM_POSFROMCHAR = 0x00D6;  // (index) -> MAKELRESULT(x, y) of its top-left, -1 past the end
constexpr UINT EM_CHARFROMPOS = 0x00D7;  // (0, MAKELPARAM(x, y)) -> MAKELRESULT(index, line)

constexpr WPARAM EC_LEFTMARGIN = 0x0001;
constexpr WPARAM EC_RIGHTMARGIN = 0x0002;
constexpr WPARAM EC_USEFONTINFO = 0xFFFF;

// The text limit of a new field and of EM_LIMITTEXT 0.
constexpr int32_t kEditDefaultLimit = 32767;
constexpr int32_t kEditMaxLimit = 0x7FFFFFFE;

// ---- Notifications (high word of WM_COMMAND's wParam) ------------------------------------------
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;
constexpr WORD EN_ERRSPACE = 0x0500;
constexpr WORD EN_MAXTEXT = 0x0501;
constexpr WORD EN_HSCROLL = 0x0601;
constexpr WORD EN_VSCROLL = 0x0602;

// WM_GETDLGCODE results.
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;

// ---- The owner's view of a field's input -----------------------------------------------------
struct EditHooks {
  // WM_KEYDOWN, WM_KEYUP (the virtual key: KeyCode) and WM_CHAR (the character: KeyAscii), before
  // the field acts. Set `code` to 0 to discard the message, or change it to act on another key or
  // character.
  std::function<void(UINT message, WPARAM& code, LPARAM flags)> key;
  // Client mouse messages (moves, buttons, double clicks, wheel) after the field acted on them:
  // the caret and the selection already show the click.
  std::function<void(UINT message, WPARAM keys, LPARAM position)> mouse;
  // Each EN_ notification, right after the WM_COMMAND to the parent.
  std::function<void(WORD code)> notify;
};
// Installs (or, with empty functions, removes) an edit field's hooks; FALSE when hwnd is not one.
BOOL SetEditHooks(HWND edit, EditHooks hooks);
// The selected text in UTF-8 (what EM_GETSEL's range covers in WM_GETTEXT's text); empty when
// nothing is selected or hwnd is not an edit field.
std::string GetEditSelText(HWND edit);

}  // namespace zxp

namespace zxp::ui {
// Registers the "EDIT" class (the window system does this when the class is first asked for).
void registerEditClass();
}  // namespace zxp::ui
