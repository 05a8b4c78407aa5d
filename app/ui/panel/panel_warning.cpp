#include "app/ui/panel/panel_warning.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>

#include "app/core/model.h"
#include "app/ui/kit/bordered_button.h"
#include "app/ui/kit/symbol_label.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

constexpr double kSymbolSize = 14;
constexpr double kCornerRadius = 7;
constexpr int kPaddingH = 9;
constexpr int kPaddingV = 7;
constexpr int kSpacing = 7;
// macOS tints an inline warning with its orange, lightly on the popover.
constexpr double kFillAlpha = 0.14;
constexpr double kBorderAlpha = 0.35;

}  // namespace

PanelWarning::PanelWarning(app::Model& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      symbol_(new SymbolView(QStringLiteral("exclamationmark.triangle.fill"), kSymbolSize,
                             [] { return colors().orange; })),
      label_(new ThemedLabel(QString(), fonts::callout(), TextRole::primary)),
      button_(new BorderedButton(QString(), ControlSize::small)) {
  setFocusPolicy(Qt::NoFocus);
  setAccessibleName(QStringLiteral("Warning"));
  label_->setWordWrap(true);
  button_->setFocusPolicy(Qt::TabFocus);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(kPaddingH, kPaddingV, kPaddingH, kPaddingV);
  row->setSpacing(kSpacing);
  row->addWidget(symbol_, 0, Qt::AlignTop);
  row->addWidget(label_, 1, Qt::AlignVCenter);
  row->addWidget(button_, 0, Qt::AlignVCenter);
  connect(button_, &QAbstractButton::clicked, this, [this] { model_.warningAction(); });
  connect(&model_, &app::Model::warningChanged, this, &PanelWarning::refresh);
  connect(&Appearance::instance(), &Appearance::changed, this, [this] { update(); });
  refresh();
}

void PanelWarning::refresh() {
  const std::optional<app::WarningLine>& line = model_.warning();
  setVisible(line.has_value());
  if (!line) return;
  label_->setText(QString::fromStdString(line->text));
  const QString title = QString::fromStdString(line->button);
  button_->setText(title);
  // The sentence says what the button is for.
  button_->setAccessibleName(title);
  button_->setAccessibleDescription(label_->text());
  button_->setVisible(line->action != app::WarningLine::Action::none);
  button_->updateGeometry();
}

void PanelWarning::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25);
  QPainterPath path;
  path.addRoundedRect(r, kCornerRadius, kCornerRadius);
  p.fillPath(path, withAlpha(colors().orange, kFillAlpha));
  p.setPen(QPen(withAlpha(colors().orange, kBorderAlpha), 0.5));
  p.drawPath(path);
}

}  // namespace quillon::ui
