// Face files on Linux: fontconfig matches a request in the embedded face set or the system's fonts.
#include <fontconfig/fontconfig.h>

#include <cstdlib>

#include "platform/gfx/FontFiles.h"

namespace zxp::gfx {

namespace {

// The embedded face set: the fonts of fonts-dejavu-core, which scripts/setup.sh installs.
constexpr const char* kEmbeddedDir = "/usr/share/fonts/truetype/dejavu/";
constexpr const char* kEmbeddedFiles[] = {
    "DejaVuSans.ttf",      "DejaVuSans-Bold.ttf",  "DejaVuSerif.ttf",
    "DejaVuSerif-Bold.ttf", "DejaVuSansMono.ttf",  "DejaVuSansMono-Bold.ttf",
};
constexpr const char* kDefaultFile = "DejaVuSans.ttf";

// The two fontconfig configurations, made on first use and destroyed at exit (fontconfig's
// internal data would otherwise outlive the process's leak check). After exit has begun both are
// null and matching falls back to the default face.
FcConfig* gEmbedded = nullptr;
FcConfig* gSystem = nullptr;
bool gConfigsMade = false;

void destroyConfigs() {
  if (gEmbedded) FcConfigDestroy(gEmbedded);
  if (gSystem) FcConfigDestroy(gSystem);
  gEmbedded = gSystem = nullptr;
}

void makeConfigs() {
  if (gConfigsMade) return;
  gConfigsMade = true;
  FcConfig* c = FcConfigCreate();
  int added = 0;
  for (const char* f : kEmbeddedFiles) {
    std::string path = std::string(kEmbeddedDir) + f;
    if (FcConfigAppFontAddFile(c, reinterpret_cast<const FcChar8*>(path.c_str()))) ++added;
  }
  if (added > 0) {
    gEmbedded = c;
  } else {  // no embedded fonts on this machine: only the system's
    FcConfigDestroy(c);
  }
  std::atexit(destroyConfigs);
}

FcConfig* embeddedConfig() {
  makeConfigs();
  return gEmbedded;
}

FcConfig* systemConfig() {
  makeConfigs();
  static bool loaded = false;
  if (!loaded) {
    loaded = true;
    gSystem = FcInitLoadConfigAndFonts();
  }
  return gSystem;
}

}  // namespace

std::string defaultFaceFile() { return std::string(kEmbeddedDir) + kDefaultFile; }

FaceFile findFaceFile(const FaceRequest& request) {
  FcConfig* cfg = request.source == FontSource::System ? systemConfig() : embeddedConfig();
  if (!cfg) cfg = systemConfig();
  const bool system = cfg && cfg == gSystem;
  if (!cfg) return FaceFile{};

  FcPattern* pat = FcPatternCreate();
  if (!request.family.empty())
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.family.c_str()));
  if (system)
    for (const char* f : request.lookalikes)
      FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(f));
  FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.embeddedFamily));
  const int weight = request.weight;
  FcPatternAddInteger(pat, FC_WEIGHT, FcWeightFromOpenType(weight));
  FcPatternAddInteger(pat, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
  if (system) FcConfigSubstitute(cfg, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);

  FaceFile m;
  FcResult res = FcResultNoMatch;
  FcPattern* found = FcFontMatch(cfg, pat, &res);
  if (found) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file)
      m.file = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(found, FC_INDEX, 0, &m.index);
    int gotWeight = FC_WEIGHT_REGULAR, gotSlant = FC_SLANT_ROMAN;
    FcPatternGetInteger(found, FC_WEIGHT, 0, &gotWeight);
    FcPatternGetInteger(found, FC_SLANT, 0, &gotSlant);
    m.synthBold = weight >= FW_SEMIBOLD && gotWeight < FC_WEIGHT_DEMIBOLD;
    m.synthItalic = request.italic && gotSlant == FC_SLANT_ROMAN;
    FcPatternDestroy(found);
  }
  FcPatternDestroy(pat);
  return m;
}

}  // namespace zxp::gfx
