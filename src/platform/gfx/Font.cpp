// Font handles, stock fonts, GetObject for fonts, the host's font description.
#include "platform/gfx/Font.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gfx/DeviceContext.h"
#include "platform/gfx/FontEngine.h"

namespace zxp {

using namespace zxp::gfx;

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t p = int64_t{a} * b;
  bool neg = (p < 0) != (c < 0);
  int64_t ap = p < 0 ? -p : p;
  int64_t ac = c < 0 ? -int64_t{c} : c;
  int64_t q = (ap + ac / 2) / ac;
  int64_t r = neg ? -q : q;
  if (r > INT32_MAX || r < INT32_MIN) return -1;
  return static_cast<int>(r);
}

HFONT CreateFontIndirect(const LOGFONT* lf) {
  if (!lf) return 0;
  auto f = std::make_shared<FontObj>();
  f->lf = *lf;
  f->lf.lfFaceName[LF_FACESIZE - 1] = '\0';
  f->inst = realizeFont(f->lf);
  return handles().add(ObjKind::Font, f);
}

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                 DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                 DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, const char* faceName) {
  LOGFONT lf;
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = italic ? 1 : 0;
  lf.lfUnderline = underline ? 1 : 0;
  lf.lfStrikeOut = strikeOut ? 1 : 0;
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (faceName) std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirect(&lf);
}

int GetTextFace(HDC hdc, int size, char* out) {
  DeviceContext* dc = dcFromHandle(hdc);
  if (!dc) return 0;
  auto* f = dynamic_cast<FontObj*>(dc->state().fontObj.get());
  std::string name = f ? std::string(f->lf.lfFaceName) : std::string();
  int need = static_cast<int>(name.size()) + 1;
  if (!out) return need;
  if (size <= 0) return 0;
  int n = std::min(size - 1, static_cast<int>(name.size()));
  std::memcpy(out, name.data(), static_cast<size_t>(n));
  out[n] = '\0';
  return n + 1;
}

}  // namespace zxp

namespace zxp::gfx {

HFONT createStockFont(int which) {
  LOGFONT lf;
  auto face = [&](const char* name) { std::strncpy(lf.lfFaceName, name, LF_FACESIZE - 1); };
  switch (which) {
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
      lf.lfHeight = 16;
      lf.lfWeight = FW_BOLD;
      lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
      face("System");
      break;
    case DEFAULT_GUI_FONT:
      lf.lfHeight = -11;  // 8 points at 96 DPI
      lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
      face("MS Sans Serif");
      break;
    case ANSI_VAR_FONT:
      lf.lfHeight = 13;
      lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
      face("MS Sans Serif");
      break;
    case ANSI_FIXED_FONT:
      lf.lfHeight = 13;
      lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
      face("Courier");
      break;
    case OEM_FIXED_FONT:
      lf.lfHeight = 12;
      lf.lfCharSet = OEM_CHARSET;
      lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
      face("Terminal");
      break;
    case SYSTEM_FIXED_FONT:
      lf.lfHeight = 15;
      lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
      face("Fixedsys");
      break;
    default:
      return 0;
  }
  auto f = std::make_shared<FontObj>();
  f->lf = lf;
  f->inst = realizeFont(lf);
  return handles().add(ObjKind::Font, f, true);
}

int fontGetObject(HFONT font, int size, void* out) {
  auto* f = handles().peek<FontObj>(font, ObjKind::Font);
  if (!f) return 0;
  if (!out) return static_cast<int>(sizeof(LOGFONT));
  if (size < static_cast<int>(sizeof(LOGFONT))) return 0;
  std::memcpy(out, &f->lf, sizeof(LOGFONT));
  return static_cast<int>(sizeof(LOGFONT));
}

LONG heightFromPoints(double points) {
  double px = points * kLogPixels / 72.0;
  double r = px >= 0 ? std::floor(px + 0.5) : -std::floor(-px + 0.5);  // halves away from zero, as MulDiv
  if (r > 1e6) r = 1e6;
  if (r < -1e6) r = -1e6;
  return -static_cast<LONG>(r);
}

double pointsFromHeight(LONG lfHeight) {
  if (lfHeight >= 0) return 0.0;
  return -static_cast<double>(lfHeight) * 72.0 / kLogPixels;
}

LOGFONT FontDesc::toLogFont() const {
  LOGFONT lf;
  lf.lfHeight = heightFromPoints(size);
  lf.lfWeight = weight;
  lf.lfItalic = italic ? 1 : 0;
  lf.lfUnderline = underline ? 1 : 0;
  lf.lfStrikeOut = strikethrough ? 1 : 0;
  lf.lfCharSet = static_cast<BYTE>(charset);
  std::strncpy(lf.lfFaceName, name.c_str(), LF_FACESIZE - 1);
  return lf;
}

FontDesc FontDesc::fromLogFont(const LOGFONT& lf) {
  FontDesc d;
  d.name = std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
  if (lf.lfHeight > 0) {
    // A cell height: the size in points is that of the em the face gives it.
    auto inst = realizeFont(lf);
    LONG em = inst ? inst->metrics().height - inst->metrics().internalLeading : lf.lfHeight;
    d.size = pointsFromHeight(-em);
  } else {
    d.size = pointsFromHeight(lf.lfHeight);
  }
  d.weight = static_cast<int16_t>(lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight);
  d.italic = lf.lfItalic != 0;
  d.underline = lf.lfUnderline != 0;
  d.strikethrough = lf.lfStrikeOut != 0;
  d.charset = lf.lfCharSet;
  return d;
}

}  // namespace zxp::gfx
