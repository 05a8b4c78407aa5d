#include "app/ui/style/fonts.h"

#include <QApplication>
#include <QFontDatabase>

namespace quillon::ui::fonts {
namespace {

QString uiFamily() {
#ifdef __APPLE__
  static const QString family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
#else
  static const QString family = QStringLiteral("Inter");
#endif
  return family;
}

QString keysFamily() {
#ifdef __APPLE__
  static const QString family = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
#else
  static const QString family = QStringLiteral("DejaVu Sans");
#endif
  return family;
}

}  // namespace

QFont ui(double size, QFont::Weight weight) {
  QFont f(uiFamily());
  f.setPixelSize(qRound(size));
  f.setWeight(weight);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setStyleStrategy(QFont::PreferAntialias);
  return f;
}

QFont keys(double size) {
  QFont f(keysFamily());
#ifdef __APPLE__
  f.setStyleHint(QFont::Monospace);
#endif
  f.setPixelSize(qRound(size));
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

void installApplicationFont() {
  QApplication::setFont(body());
}

}  // namespace quillon::ui::fonts
