// quillon-iconset SVG OUT.iconset: renders the app's icon for iconutil,
// which turns the folder into the bundle's .icns (cmake/bundle_apple.cmake).
#include <cstdio>
#include <string>

#include "bundle/iconset/iconset.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: quillon-iconset SVG OUT.iconset\n");
    return 2;
  }
  std::string error;
  if (!quillon::bundle::renderIconset(argv[1], argv[2], error)) {
    std::fprintf(stderr, "quillon-iconset: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
