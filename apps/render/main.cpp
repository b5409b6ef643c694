// zorvaxp-render FORMFILE --out PNG [--hover NAME] [--press NAME] [--focus NAME]
#include <iostream>

#include "Render.h"
#include "library/ClassTable.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return zxp::render::runRender(args, std::cout, std::cerr, zxp::library::classesWithPrivate());
}
