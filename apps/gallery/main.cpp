// zorvaxp-gallery [OUTDIR]            the live gallery; without a display, every page as a PNG
// zorvaxp-gallery --screenshot PAGE PNG   the live gallery's screen on one page, headless (PAGE:
//                                         a page's name or tab title, in any case)
// zorvaxp-gallery --themes OUTDIR     the form-skin example once per theme, as PNGs
#include <cstdio>
#include <cstring>

#include "Gallery.h"

namespace {

constexpr const char* kUsage = "usage: zorvaxp-gallery [OUTDIR]\n       zorvaxp-gallery --screenshot PAGE PNG\n"
    "       zorvaxp-gallery --themes OUTDIR\n";

int usageError(const char* message, const char* what) {
  std::fprintf(stderr, "zorvaxp-gallery: %s%s\n%s", message, what, kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zxp::gallery;
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf("%s", kUsage);
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "--screenshot") == 0) {
    if (argc != 4) return usageError("--screenshot needs a page and a PNG", "");
    return shellScreenshot(argv[2], argv[3]) ? 0 : 1;
  }
  if (argc > 1 && std::strcmp(argv[1], "--themes") == 0) {
    if (argc != 3) return usageError("--themes needs an output folder", "");
    return renderThemes(argv[2]) == 0 ? 0 : 1;
  }
  // Anything else is at most one output folder; options are not folders.
  if (argc > 1 && argv[1][0] == '-') return usageError("unknown option ", argv[1]);
  if (argc > 2) return usageError("unexpected argument ", argv[2]);
  int exitCode = 0;
  if (runLive(exitCode)) return exitCode;
  return renderPages(argc > 1 ? argv[1] : "out") == 0 ? 0 : 1;
}
