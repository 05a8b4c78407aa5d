#include "app/ui/graph/curve_view_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "app/ui/graph/curve_description.h"
#include "app/ui/graph/curve_view.h"

namespace quillon::ui {
namespace {

class CurveViewAccessible : public QAccessibleWidget {
 public:
  explicit CurveViewAccessible(CurveView* w) : QAccessibleWidget(w, QAccessible::Chart) {}
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name) {
      const CurveScene& s = static_cast<CurveView*>(widget())->scene();
      return describeCurves(s.curves, s.current, s.xMin, s.xMax);
    }
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* factory(const QString& key, QObject* object) {
  if (key == QLatin1String("quillon::ui::CurveView")) {
    if (auto* v = qobject_cast<CurveView*>(object)) return new CurveViewAccessible(v);
  }
  return nullptr;
}

}  // namespace

void installCurveViewAccessibility() {
  static const bool installed = (QAccessible::installFactory(factory), true);
  (void)installed;
}

void curveViewDescriptionChanged(CurveView* view) {
  QAccessibleEvent changed(view, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&changed);
}

}  // namespace quillon::ui
