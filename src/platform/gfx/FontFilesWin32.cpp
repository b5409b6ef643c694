// Face files on Windows: the embedded face set (the DejaVu fonts) in the folder "fonts" beside
// the module that holds the library (zorvaxp.dll or the program), or in ZORVAXP_FONT_DIR.
//
// Our choices: the set holds three families, each upright in a regular and a bold file, so a
// request is met by family name (the embedded stand-in when the name is none of the three),
// by the bold file above weight 550 (where fontconfig's nearest weight turns to bold), and by
// slanting the upright file for italic. The system's fonts (FontSource::System) are not yet
// matched on Windows: the request falls back to the embedded set.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "platform/base/Module.h"
#include "platform/gfx/FontFiles.h"

namespace zxp::gfx {

namespace {

struct Family {
  const char* name;  // lower case
  const char* regular;
  const char* bold;
};
constexpr Family kFamilies[] = {
    {"dejavu sans", "DejaVuSans.ttf", "DejaVuSans-Bold.ttf"},
    {"dejavu serif", "DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf"},
    {"dejavu sans mono", "DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf"},
};

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

const std::string& fontFolder() {
  static const std::string folder = [] {
    if (const char* dir = std::getenv("ZORVAXP_FONT_DIR"); dir && *dir) return std::string(dir) + "\\";
    return (std::filesystem::path(base::modulePath()).parent_path() / "fonts").string() + "\\";
  }();
  return folder;
}

}  // namespace

std::string defaultFaceFile() { return fontFolder() + kFamilies[0].regular; }

FaceFile findFaceFile(const FaceRequest& request) {
  const Family* family = nullptr;
  for (const std::string& name : {lower(request.family), lower(request.embeddedFamily)}) {
    for (const Family& f : kFamilies)
      if (!family && name == f.name) family = &f;
  }
  if (!family) family = &kFamilies[0];
  const bool bold = request.weight > 550;
  FaceFile m;
  m.file = fontFolder() + (bold ? family->bold : family->regular);
  m.synthItalic = request.italic;
  if (!std::filesystem::exists(m.file)) m.file.clear();
  return m;
}

}  // namespace zxp::gfx
