// Readable test failures for date parts: "2024-2-29 18:30:15".
#pragma once

#include <ostream>

#include "platform/host/runtime/Date.h"

namespace zxp::host {

inline void PrintTo(const DateParts& p, std::ostream* os) {
  *os << p.year << "-" << p.month << "-" << p.day << " " << p.hour << ":" << p.minute << ":" << p.second;
}

}  // namespace zxp::host
