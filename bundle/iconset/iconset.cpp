#include "bundle/iconset/iconset.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

namespace quillon::bundle {

namespace {

// 72 pixels per inch at 1x, as Apple's icon images carry it.
constexpr double kDotsPerMeterAt1x = 72 / 0.0254;

}  // namespace

std::string IconImage::fileName() const {
  std::string size = std::to_string(points);
  return "icon_" + size + "x" + size + (scale == 1 ? "" : "@" + std::to_string(scale) + "x") +
         ".png";
}

const std::vector<IconImage>& iconsetImages() {
  static const std::vector<IconImage> images = [] {
    std::vector<IconImage> out;
    for (int points : {16, 32, 128, 256, 512})
      for (int scale : {1, 2}) out.push_back({points, scale});
    return out;
  }();
  return images;
}

bool renderIconset(const std::string& svgPath, const std::string& outDir, std::string& error) {
  QSvgRenderer svg(QString::fromStdString(svgPath));
  if (!svg.isValid()) {
    error = svgPath + ": not a readable SVG image";
    return false;
  }
  QDir dir(QString::fromStdString(outDir));
  if (!dir.mkpath(".")) {
    error = outDir + ": cannot create the folder";
    return false;
  }
  for (const IconImage& image : iconsetImages()) {
    QImage pixels(image.pixels(), image.pixels(), QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::transparent);
    const int dotsPerMeter = static_cast<int>(std::lround(kDotsPerMeterAt1x * image.scale));
    pixels.setDotsPerMeterX(dotsPerMeter);
    pixels.setDotsPerMeterY(dotsPerMeter);
    {
      QPainter painter(&pixels);
      painter.setRenderHint(QPainter::Antialiasing);
      svg.render(&painter);
    }
    const QString file = dir.filePath(QString::fromStdString(image.fileName()));
    if (!pixels.save(file, "PNG")) {
      error = file.toStdString() + ": cannot write the image";
      return false;
    }
  }
  return true;
}

}  // namespace quillon::bundle
