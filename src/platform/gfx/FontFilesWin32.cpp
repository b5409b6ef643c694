// Face files on Windows: the embedded face set (the DejaVu fonts) in the folder "fonts" beside
// the module that holds the library (zorvaxp.dll or the program), or in ZORVAXP_FONT_DIR; with
// FontSource::System, the platform's installed fonts first.
//
// Our choices: the set holds three families, each upright in a regular and a bold file, so a
// request is met by family name (the embedded stand-in when the name is none of the three),
// by the bold file above weight 550 (where fontconfig's nearest weight turns to bold), and by
// slanting the upright file for italic.
//
// The platform's fonts are the TrueType and OpenType entries of its font list in the registry
// (HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Fonts: "Tahoma Bold (TrueType)" =
// "tahomabd.ttf", a bare file name living in the Fonts folder). A request takes the first of its
// family and its installed look-alikes that the list has, and in it the file closest in weight
// (bold or not) and slant, making up bold or italic the file lacks; with none of them installed
// it falls back to the embedded set.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/base/Module.h"
#include "platform/base/WideText.h"
#include "platform/gfx/FontFiles.h"

#include <windows.h>

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

// One TrueType or OpenType face of the platform's font list.
struct InstalledFace {
  std::string family;  // lower case
  bool bold = false, italic = false;
  std::string file;
  int index = 0;  // in a collection (.ttc) holding several families
};

// "Tahoma Bold Italic (TrueType)": the family and its style words, added to out; entries of other
// kinds (bitmap fonts) are left out.
void readEntryName(std::string name, std::vector<InstalledFace>& out, const std::string& file) {
  name = lower(name);
  std::string_view n = name;
  bool scalable = false;
  for (std::string_view kind : {" (truetype)", " (opentype)"}) {
    if (n.size() > kind.size() && n.substr(n.size() - kind.size()) == kind) {
      n.remove_suffix(kind.size());
      scalable = true;
    }
  }
  if (!scalable) return;
  // A collection names its families joined by " & ", in the order of its faces.
  int index = 0;
  for (size_t from = 0; from <= n.size(); ++index) {
    const size_t amp = n.find(" & ", from);
    std::string_view one = n.substr(from, amp == std::string_view::npos ? std::string_view::npos : amp - from);
    InstalledFace f;
    f.file = file;
    f.index = index;
    for (bool trimmed = true; trimmed;) {
      trimmed = false;
      for (std::string_view word : {" bold", " italic", " oblique", " regular"}) {
        if (one.size() > word.size() && one.substr(one.size() - word.size()) == word) {
          if (word == " bold") f.bold = true;
          if (word == " italic" || word == " oblique") f.italic = true;
          one.remove_suffix(word.size());
          trimmed = true;
        }
      }
    }
    f.family = std::string(one);
    out.push_back(std::move(f));
    if (amp == std::string_view::npos) break;
    from = amp + 3;
  }
}

// The platform's scalable fonts, read once.
const std::vector<InstalledFace>& installedFaces() {
  static const std::vector<InstalledFace> faces = [] {
    std::vector<InstalledFace> list;
    ::HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", 0, KEY_READ,
                      &key) != ERROR_SUCCESS)
      return list;
    wchar_t windows[MAX_PATH] = L"";
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::filesystem::path fontsFolder = std::filesystem::path(windows) / L"Fonts";
    for (::DWORD i = 0;; ++i) {
      wchar_t name[512], data[1024];
      ::DWORD nameLength = 512, dataBytes = sizeof data - sizeof(wchar_t), type = 0;
      const LSTATUS r = RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data),
                                      &dataBytes);
      if (r == ERROR_NO_MORE_ITEMS) break;
      if (r != ERROR_SUCCESS || type != REG_SZ) continue;
      data[dataBytes / sizeof(wchar_t)] = 0;
      std::filesystem::path file(data);
      if (file.is_relative()) file = fontsFolder / file;
      readEntryName(base::narrow(std::wstring_view(name, nameLength)), list, file.string());
    }
    RegCloseKey(key);
    return list;
  }();
  return faces;
}

// The installed face for the first of the request's family and look-alikes the platform has.
bool findInstalled(const FaceRequest& request, FaceFile& out) {
  std::vector<std::string> names;
  if (!request.family.empty()) names.push_back(lower(request.family));
  for (const char* f : request.lookalikes) names.push_back(lower(f));
  const bool bold = request.weight > 550;
  for (const std::string& name : names) {
    const InstalledFace* best = nullptr;
    int bestScore = -1;
    for (const InstalledFace& f : installedFaces()) {
      if (f.family != name) continue;
      const int score = (f.bold == bold ? 2 : 0) + (f.italic == request.italic ? 1 : 0);
      if (score > bestScore) best = &f, bestScore = score;
    }
    if (!best || !std::filesystem::exists(best->file)) continue;
    out.file = best->file;
    out.index = best->index;
    out.synthBold = bold && !best->bold;
    out.synthItalic = request.italic && !best->italic;
    return true;
  }
  return false;
}

}  // namespace

std::string defaultFaceFile() { return fontFolder() + kFamilies[0].regular; }

FaceFile findFaceFile(const FaceRequest& request) {
  if (FaceFile installed; request.source == FontSource::System && findInstalled(request, installed)) return installed;
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
