#include "foundation/GZorva.h"

#include "foundation/Md5.h"
#include "platform/base/CodePage.h"

namespace zxp {

GZorva& GZorva::global() {
  static GZorva instance;
  return instance;
}

const host::MemberTable& GZorva::memberTable() const {
  static const host::MemberTable table =
      host::ClassMembers<GZorva>("GZorva").method("zGZorva_MD5", &GZorva::zGZorva_MD5).params({"strString"}).build();
  return table;
}

std::string GZorva::zGZorva_MD5(const std::string& strText) const {
  try {
    std::string_view strString = strText;
    Md5 md5;
    // Long ASCII runs are the same bytes in both encodings and are hashed in place; the rest
    // goes through a small buffer, so no copy of the whole text is ever made.
    char buffer[4096];
    while (!strString.empty()) {
      const size_t ascii = asciiPrefixLength(strString);
      if (ascii >= 256 || ascii == strString.size()) {
        md5.update(strString.data(), ascii);
        strString.remove_prefix(ascii);
        continue;
      }
      const ConvertProgress step = utf8ToCp1252(strString, buffer);
      md5.update(buffer, step.written);
      strString.remove_prefix(step.read);
    }
    return Md5::hexUpper(md5.digest());
  } catch (...) {
    return std::string();
  }
}

}  // namespace zxp
