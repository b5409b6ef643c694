// Fuzz target for the form-file parser: any input must either parse or raise FormFileError
// (never crash, hang or raise anything else), and whatever parses must survive a write/parse
// round trip unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/host/FormFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  zxp::host::FormRecord form;
  try {
    form = zxp::host::parseFormFile(text);
  } catch (const zxp::host::FormFileError&) {
    return 0;
  }
  std::string once = zxp::host::writeFormFile(form);
  std::string twice;
  try {
    twice = zxp::host::writeFormFile(zxp::host::parseFormFile(once));
  } catch (const zxp::host::FormFileError& e) {
    std::abort();  // the writer produced something the parser rejects
  }
  if (once != twice) std::abort();  // the round trip changed the form
  return 0;
}
