// Fonts: the GDI font object (LOGFONT, CreateFontIndirect, CreateFont, the stock fonts) and the
// host's font description (name, size in points, bold, italic, underline, strike-through) that
// controls carry as their delegated Font property.
//
// A font handle is an ObjKind::Font object selected with SelectObject and deleted with
// DeleteObject. Face names are matched with fontconfig (on Windows, with the platform's font
// list): the classic UI faces (MS Sans Serif, Tahoma, Verdana, Arial, Segoe UI, Times New Roman,
// Courier New, ...) map to look-alikes. By default only the embedded face set is used (the DejaVu
// fonts of fonts-dejavu-core), so every machine renders the same pixels;
// setFontSource(FontSource::System) picks among every installed font instead. Glyphs come from
// FreeType at 96 DPI, hinted and anti-aliased.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/Gdi.h"

namespace zxp {

constexpr int LF_FACESIZE = 32;

// Weights.
constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_THIN = 100;
constexpr LONG FW_EXTRALIGHT = 200;
constexpr LONG FW_LIGHT = 300;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_MEDIUM = 500;
constexpr LONG FW_SEMIBOLD = 600;
constexpr LONG FW_BOLD = 700;
constexpr LONG FW_EXTRABOLD = 800;
constexpr LONG FW_HEAVY = 900;

// Character sets.
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;
constexpr BYTE OEM_CHARSET = 255;

// Pitch and family (lfPitchAndFamily).
constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE FF_DONTCARE = 0x00;
constexpr BYTE FF_ROMAN = 0x10;
constexpr BYTE FF_SWISS = 0x20;
constexpr BYTE FF_MODERN = 0x30;
constexpr BYTE FF_SCRIPT = 0x40;
constexpr BYTE FF_DECORATIVE = 0x50;

// Precision and quality (accepted and stored; rendering is always greyscale anti-aliased).
constexpr BYTE OUT_DEFAULT_PRECIS = 0;
constexpr BYTE OUT_TT_PRECIS = 4;
constexpr BYTE CLIP_DEFAULT_PRECIS = 0;
constexpr BYTE DEFAULT_QUALITY = 0;
constexpr BYTE NONANTIALIASED_QUALITY = 3;
constexpr BYTE ANTIALIASED_QUALITY = 4;
constexpr BYTE CLEARTYPE_QUALITY = 5;

// A logical font. lfHeight < 0 asks for a character (em) height of -lfHeight pixels, > 0 for a
// cell height (ascent + descent) of lfHeight pixels, 0 for the default size. The face name is
// UTF-8, at most LF_FACESIZE - 1 bytes.
struct LOGFONT {
  LONG lfHeight = 0;
  LONG lfWidth = 0;  // average character width in pixels; 0 keeps the face's own proportions
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = FW_NORMAL;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = DEFAULT_CHARSET;
  BYTE lfOutPrecision = OUT_DEFAULT_PRECIS;
  BYTE lfClipPrecision = CLIP_DEFAULT_PRECIS;
  BYTE lfQuality = DEFAULT_QUALITY;
  BYTE lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  char lfFaceName[LF_FACESIZE] = {};
};
using LOGFONTA = LOGFONT;

// MulDiv: a * b / c computed in 64 bits and rounded to the nearest integer (halves away from
// zero), as the platform's helper does; -1 when c is 0.
int MulDiv(int a, int b, int c);

HFONT CreateFontIndirect(const LOGFONT* lf);
HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                 DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const char* faceName);
inline HFONT CreateFontIndirectA(const LOGFONT* lf) { return CreateFontIndirect(lf); }

// The face name of the DC's font (as asked for, not the matched file); returns the number of
// bytes copied including the terminating zero, or the needed size when out is null.
int GetTextFace(HDC dc, int size, char* out);

}  // namespace zxp

namespace zxp::gfx {

// Pixels per logical inch of every surface: the platform's default 96 DPI.
constexpr int kLogPixels = 96;

// The lfHeight for a size in points, as the platform computes it: -MulDiv(points, 96, 72),
// with fractional points (8.25) rounded the same way.
LONG heightFromPoints(double points);
// The point size that lfHeight stands for (negative heights only; 0 for others).
double pointsFromHeight(LONG lfHeight);

// The host's font object as controls hold it (name, size in points, bold, italic, underline,
// strike-through, weight, character set). Bold and Weight are one setting seen twice: Bold is
// Weight >= 700 (FW_BOLD), setting Bold makes Weight 700 or 400.
struct FontDesc {
  std::string name = "MS Sans Serif";
  double size = 8.25;  // points
  int16_t weight = FW_NORMAL;
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  int16_t charset = ANSI_CHARSET;

  bool bold() const { return weight >= FW_BOLD; }
  void setBold(bool b) { weight = b ? FW_BOLD : FW_NORMAL; }

  LOGFONT toLogFont() const;
  static FontDesc fromLogFont(const LOGFONT& lf);
  // A new font handle for this description (the caller deletes it).
  HFONT create() const { LOGFONT lf = toLogFont(); return CreateFontIndirect(&lf); }
  friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

// Which fonts a face name may resolve to.
enum class FontSource {
  Embedded,  // only the embedded DejaVu set: identical pixels on every machine (the default)
  System,    // every installed font; classic faces map to installed look-alikes where present
};
void setFontSource(FontSource s);
FontSource fontSource();

// The font file a LOGFONT resolves to (for diagnostics and tests).
std::string matchedFontFile(const LOGFONT& lf);

// GetObject for font handles: copies the LOGFONT.
int fontGetObject(HFONT font, int size, void* out);

}  // namespace zxp::gfx
