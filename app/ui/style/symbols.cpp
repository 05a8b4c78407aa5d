#include "app/ui/style/symbols.h"

#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

// Resources of a static library are registered only when referenced.
static void initSymbolResources() {
  Q_INIT_RESOURCE(symbols);
}

namespace quillon::ui::symbols {
namespace {

QByteArray source(const QString& name) {
  static const bool registered = (initSymbolResources(), true);
  (void)registered;
  static QHash<QString, QByteArray> cache;
  auto it = cache.find(name);
  if (it == cache.end()) {
    QFile f(QStringLiteral(":/symbols/") + name + QStringLiteral(".svg"));
    QByteArray data;
    if (f.open(QIODevice::ReadOnly)) data = f.readAll();
    it = cache.insert(name, data);
  }
  return *it;
}

}  // namespace

bool exists(const QString& name) {
  return !source(name).isEmpty();
}

QPixmap pixmap(const QString& name, double size, const QColor& tint, double dpr) {
  const QByteArray svg = source(name);
  if (svg.isEmpty() || size <= 0) return {};
  const QString key = QStringLiteral("%1|%2|%3|%4")
                          .arg(name)
                          .arg(size)
                          .arg(static_cast<qulonglong>(tint.rgba64()))
                          .arg(dpr);
  static QHash<QString, QPixmap> cache;
  if (auto it = cache.constFind(key); it != cache.constEnd()) return *it;

  QByteArray tinted = svg;
  tinted.replace("currentColor", tint.name(QColor::HexRgb).toLatin1());
  QSvgRenderer renderer(tinted);
  const int px = qCeil(size * dpr);
  QPixmap pm(px, px);
  pm.fill(Qt::transparent);
  {
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(tint.alphaF());
    renderer.render(&p, QRectF(0, 0, px, px));
  }
  pm.setDevicePixelRatio(dpr);
  cache.insert(key, pm);
  return pm;
}

void paint(QPainter& painter, const QRectF& rect, const QString& name, const QColor& tint) {
  const double side = std::min(rect.width(), rect.height());
  const double dpr = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
  const QPixmap pm = pixmap(name, side, tint, std::max(1.0, dpr));
  if (pm.isNull()) return;
  const QRectF target(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
  painter.drawPixmap(target, pm, QRectF(pm.rect()));
}

}  // namespace quillon::ui::symbols
