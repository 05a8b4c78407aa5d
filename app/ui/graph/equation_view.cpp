#include "app/ui/graph/equation_view.h"

#include <QPainter>

#include "app/ui/style/fonts.h"
#include "app/ui/style/tabular_text.h"

namespace quillon::ui {
namespace {
constexpr double kLineGap = 2;
const QString kTimes(QChar(0x00D7));
const QString kDot(QChar(0x00B7));
const QString kMinus(QChar(0x2212));

EquationRun plain(const QString& text) {
  return {text, std::nullopt};
}
}  // namespace

QString EquationLine::text() const {
  QString s;
  for (const auto& r : runs) s += r.text;
  return s;
}

QString equationNumber(double v, int decimals) {
  return QString::asprintf("%.*f", decimals, v);
}

std::vector<EquationLine> equationLines(const DeviceConfig& c) {
  const EquationRun speed{equationNumber(c.speed, 0), Term::speed};
  if (c.accelOff.value_or(false)) {
    return {{{plain(QStringLiteral("pointer = ")), speed,
              plain(QStringLiteral("  (acceleration off)"))}}};
  }
  EquationLine first{{
      plain(QStringLiteral("pointer = ")),
      speed,
      plain(QStringLiteral(" ") + kTimes + QStringLiteral(" min(1 + ")),
      {equationNumber(c.accel, 2), Term::accel},
      plain(QStringLiteral(" ") + kDot + QStringLiteral(" x^")),
      {equationNumber(c.shape.value_or(1.0), 2), Term::shape},
      plain(QStringLiteral(", ")),
      {equationNumber(c.maxBoost.value_or(3.0), 1) + kTimes, Term::boost},
      plain(QStringLiteral(")")),
  }};
  const QString tail = QStringLiteral(" / 100,  v = hand speed (mm/s)");
  const double threshold = c.threshold.value_or(0.0);
  EquationLine second;
  second.secondary = true;
  if (threshold > 0) {
    second.runs = {plain(QStringLiteral("x = (v ") + kMinus + QStringLiteral(" ")),
                   {equationNumber(threshold, 0), Term::threshold},
                   plain(QStringLiteral(")") + tail)};
  } else {
    second.runs = {plain(QStringLiteral("x = v") + tail)};
  }
  return {first, second};
}

EquationView::EquationView(const DeviceConfig& c, QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  setConfig(c);
}

void EquationView::setConfig(const DeviceConfig& c) {
  lines_ = equationLines(c);
  updateGeometry();
  update();
}

QSize EquationView::sizeHint() const {
  const QFont f = fonts::caption();
  double w = 0;
  for (const auto& line : lines_) w = std::max(w, tabularWidth(f, line.text()));
  const double lineH = QFontMetricsF(f).height();
  const double n = static_cast<double>(lines_.size());
  return {qCeil(w) + 1, qCeil(n * lineH + std::max(0.0, n - 1) * kLineGap)};
}

void EquationView::paintEvent(QPaintEvent*) {
  const Palette& pal = colors();
  QPainter p(this);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QFont f = fonts::caption();
  const QFontMetricsF fm(f);
  double top = 0;
  for (const auto& line : lines_) {
    double x = 0;
    for (const auto& run : line.runs) {
      p.setPen(run.term ? termTextColor(*run.term, pal)
                        : (line.secondary ? pal.secondaryLabel : pal.label));
      x += drawTabular(p, QPointF(x, top + fm.ascent()), f, run.text);
    }
    top += fm.height() + kLineGap;
  }
}

}  // namespace quillon::ui
