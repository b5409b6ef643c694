// zorvaxp-gallery [OUTDIR]            the live gallery; without a display, every page as a PNG
// zorvaxp-gallery --screenshot PAGE PNG   the live gallery's screen on one page, headless
#include <cstdio>
#include <cstring>

#include "Gallery.h"

int main(int argc, char** argv) {
  using namespace zxp::gallery;
  if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::printf("usage: zorvaxp-gallery [OUTDIR]\n       zorvaxp-gallery --screenshot PAGE PNG\n");
    return 0;
  }
  if (argc > 1 && std::strcmp(argv[1], "--screenshot") == 0) {
    if (argc != 4) {
      std::fprintf(stderr, "usage: zorvaxp-gallery --screenshot PAGE PNG\n");
      return 2;
    }
    return shellScreenshot(argv[2], argv[3]) ? 0 : 1;
  }
  int exitCode = 0;
  if (runLive(exitCode)) return exitCode;
  return renderPages(argc > 1 ? argv[1] : "out") == 0 ? 0 : 1;
}
