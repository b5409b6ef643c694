#include "foundation/CaptionLayout.h"

#include "platform/gfx/Text.h"

namespace zxp::foundation {

RECT CaptionBesideBox(HDC dc, std::string_view text, int32_t left, int32_t right, int32_t surfaceHeight, UINT flags) {
  TEXTMETRIC tm;
  const int32_t h = GetTextMetrics(dc, &tm) ? tm.tmHeight : 0;
  RECT r{left, nearest((surfaceHeight - h) / 2.0), right, 0};
  r.bottom = r.top + h;
  RECT measured = r;
  DrawText(dc, text, &measured, flags | DT_CALCRECT);
  const int32_t needed = measured.bottom - measured.top;
  if (needed > h) {
    r.top = nearest((surfaceHeight - needed) / 2.0);
    r.bottom = r.top + needed;
  }
  return r;
}

}  // namespace zxp::foundation
