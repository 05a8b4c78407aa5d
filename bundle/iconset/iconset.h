#pragma once

#include <string>
#include <vector>

namespace quillon::bundle {

// One image of a macOS iconset: `points` square at `scale` pixels per point.
struct IconImage {
  int points;
  int scale;
  int pixels() const { return points * scale; }
  // iconutil's names: "icon_16x16.png", "icon_16x16@2x.png", ...
  std::string fileName() const;
};

// The ten images iconutil needs to make an .icns, 16 to 512 points at 1x
// and 2x; iconutil refuses a set with a missing or wrongly sized image.
const std::vector<IconImage>& iconsetImages();

// Renders the SVG at `svgPath` into `outDir` (created if needed) as the
// images of iconsetImages(). False, with the reason in `error`, when the
// SVG cannot be read or an image cannot be written.
bool renderIconset(const std::string& svgPath, const std::string& outDir, std::string& error);

}  // namespace quillon::bundle
