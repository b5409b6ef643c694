// Text output and measurement with the platform's names and rules: TextOut, ExtTextOut,
// GetTextExtentPoint32, GetTextMetrics, SetTextAlign and DrawText (alignment, single line, word
// wrapping, word and end ellipses, DT_CALCRECT, "&" access-key prefixes, tabs, CR LF breaks).
// SetTextColor, SetBkColor and SetBkMode are in Gdi.h. Strings are UTF-8; lengths are in bytes
// (-1: up to the terminating zero). Text is drawn in the DC's font and text colour, blended by
// each glyph's coverage; with OPAQUE background mode the text's cells are filled with the
// background colour first.
#pragma once

#include <string_view>

#include "platform/gfx/Font.h"
#include "platform/gfx/Gdi.h"

namespace zxp {

// ---- DrawText formats -------------------------------------------------------------------------
constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;  // single-line text only
constexpr UINT DT_BOTTOM = 0x00000008;   // single-line text only
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

// ---- Text alignment (SetTextAlign) ------------------------------------------------------------
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT GDI_ERROR = 0xFFFFFFFFu;

// ---- ExtTextOut options -----------------------------------------------------------------------
constexpr UINT ETO_OPAQUE = 0x0002;
constexpr UINT ETO_CLIPPED = 0x0004;

// ---- TEXTMETRIC -------------------------------------------------------------------------------
constexpr BYTE TMPF_FIXED_PITCH = 0x01;  // set for variable-pitch fonts, as on the platform
constexpr BYTE TMPF_VECTOR = 0x02;
constexpr BYTE TMPF_TRUETYPE = 0x04;

struct TEXTMETRIC {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
  LONG tmWeight = 0;
  LONG tmOverhang = 0;
  LONG tmDigitizedAspectX = 0;
  LONG tmDigitizedAspectY = 0;
  BYTE tmFirstChar = 0;
  BYTE tmLastChar = 0;
  BYTE tmDefaultChar = 0;
  BYTE tmBreakChar = 0;
  BYTE tmItalic = 0;
  BYTE tmUnderlined = 0;
  BYTE tmStruckOut = 0;
  BYTE tmPitchAndFamily = 0;
  BYTE tmCharSet = 0;
};
using TEXTMETRICA = TEXTMETRIC;

UINT SetTextAlign(HDC dc, UINT align);  // returns the previous alignment, GDI_ERROR on failure
UINT GetTextAlign(HDC dc);

BOOL TextOut(HDC dc, int x, int y, const char* text, int length);
// options: ETO_OPAQUE fills `rect` with the background colour, ETO_CLIPPED clips to it; dx (one
// entry per character, may be null) gives the distance to each next character.
BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, const char* text, UINT length,
                const int* dx);
BOOL GetTextExtentPoint32(HDC dc, const char* text, int length, SIZE* size);
BOOL GetTextMetrics(HDC dc, TEXTMETRIC* tm);

// Draws (or with DT_CALCRECT measures) formatted text in the rectangle. Returns the height of the
// text (with DT_VCENTER or DT_BOTTOM: the offset from rect->top to the bottom of the text), 0 on
// failure. DT_CALCRECT draws nothing and sets rect->right to rect->left plus the widest line and
// rect->bottom to rect->top plus the height.
int DrawText(HDC dc, const char* text, int length, RECT* rect, UINT format);
inline int DrawText(HDC dc, std::string_view text, RECT* rect, UINT format) {
  return DrawText(dc, text.data(), static_cast<int>(text.size()), rect, format);
}

// The platform's ANSI-suffixed names; the text is UTF-8 all the same.
inline int DrawTextA(HDC dc, const char* text, int length, RECT* rect, UINT format) {
  return DrawText(dc, text, length, rect, format);
}
inline BOOL TextOutA(HDC dc, int x, int y, const char* text, int length) {
  return TextOut(dc, x, y, text, length);
}
inline BOOL GetTextExtentPoint32A(HDC dc, const char* text, int length, SIZE* size) {
  return GetTextExtentPoint32(dc, text, length, size);
}
inline BOOL GetTextMetricsA(HDC dc, TEXTMETRIC* tm) { return GetTextMetrics(dc, tm); }

}  // namespace zxp
