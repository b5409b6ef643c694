// Placeholder until the font layer exists: no stock fonts yet, so DCs start with font 0.
#include "platform/gfx/DeviceContext.h"

namespace zxp::gfx {
HFONT createStockFont(int) { return 0; }
}  // namespace zxp::gfx
