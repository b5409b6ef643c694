// GZorva: the library's global class. Its members are called without creating an object: the
// host reaches them through the one predeclared instance, GZorva::global().
#pragma once

#include <string>

#include "platform/host/MemberTable.h"

namespace zxp {

class GZorva : public host::Dispatchable {
 public:
  static GZorva& global();
  const host::MemberTable& memberTable() const override;

  // The MD5 digest (RFC 1321) of strString's bytes in the ANSI code page, as 32 uppercase
  // hexadecimal digits. strString is UTF-8; each character becomes its one Windows-1252 byte,
  // characters outside that code page (and malformed UTF-8) become "?". The empty text gives
  // "D41D8CD98F00B204E9800998ECF8427E". Any failure inside gives the empty text.
  std::string zGZorva_MD5(const std::string& strString) const;
};

}  // namespace zxp
