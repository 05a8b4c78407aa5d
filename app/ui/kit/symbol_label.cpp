#include "app/ui/kit/symbol_label.h"

#include <QHBoxLayout>
#include <QPainter>

#include "app/ui/style/symbols.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {

SymbolView::SymbolView(QString name, double size, std::function<QColor()> colour, QWidget* parent)
    : QWidget(parent), name_(std::move(name)), size_(size), colour_(std::move(colour)) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolView::setSymbol(const QString& name, std::function<QColor()> colour) {
  name_ = name;
  colour_ = std::move(colour);
  update();
}

QSize SymbolView::sizeHint() const {
  return {qCeil(size_), qCeil(size_)};
}

void SymbolView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  symbols::paint(p, QRectF(rect()), name_, colour_ ? colour_() : colors().label);
}

SymbolLabel::SymbolLabel(const QString& symbol, const QString& text, const QFont& font,
                         TextRole role, QWidget* parent)
    : QWidget(parent), label_(new ThemedLabel(text, font, role)) {
  label_->setWordWrap(true);
  const double side = QFontMetricsF(font).height() + 2;
  auto* icon = new SymbolView(symbol, side, [role] {
    return role == TextRole::secondary  ? colors().secondaryLabel
           : role == TextRole::tertiary ? colors().tertiaryLabel
                                        : colors().label;
  });
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(6);
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addWidget(label_, 1);
}

}  // namespace quillon::ui
