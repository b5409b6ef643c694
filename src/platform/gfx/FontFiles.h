// Where the font engine's face files come from: the embedded face set (the DejaVu fonts, so that
// every machine renders the same pixels) or the system's fonts, matched by family, weight and
// slant. Linux matches with fontconfig (FontFilesFontconfig.cpp); Windows looks the embedded set
// up beside the module and the system's fonts up in the platform's font list
// (FontFilesWin32.cpp). Internal to the font engine.
#pragma once

#include <string>
#include <vector>

#include "platform/gfx/Font.h"

namespace zxp::gfx {

struct FaceRequest {
  std::string family;                   // as the logical font names it (may be empty)
  std::vector<const char*> lookalikes;  // installed look-alikes, best first (system fonts only)
  const char* embeddedFamily = "";      // the embedded family standing in for the generic one
  int weight = 400;                     // 1..1000
  bool italic = false;
  FontSource source = FontSource::Embedded;
};

struct FaceFile {
  std::string file;  // empty: nothing matched
  int index = 0;
  bool synthBold = false;    // the file is lighter than asked: embolden
  bool synthItalic = false;  // the file is upright where italic was asked: slant
};

FaceFile findFaceFile(const FaceRequest& request);
// The embedded default face's file (DejaVu Sans), the last resort of every match.
std::string defaultFaceFile();

}  // namespace zxp::gfx
