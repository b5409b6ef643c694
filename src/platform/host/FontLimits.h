// What a font description must be for a form file to carry it: a name of 1 to 31 characters
// (the platform's LOGFONT face name) and a size in points above 0 and at most 2048. The form-file
// reader refuses other fonts, and late-bound assignments refuse them with error 380, so that
// nothing a program sets makes a form that saves but does not load again.
#pragma once

#include <cstddef>

#include "platform/gfx/Font.h"

namespace zxp::host {

constexpr size_t kMaxFontNameLength = 31;
constexpr double kMaxFontSize = 2048;

inline bool fontNameFits(const std::string& name) { return !name.empty() && name.size() <= kMaxFontNameLength; }
inline bool fontSizeFits(double points) { return points > 0 && points <= kMaxFontSize; }

}  // namespace zxp::host
