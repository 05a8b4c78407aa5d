#include "app/ui/setup/setup_step.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/ui/kit/link_button.h"
#include "app/ui/kit/progress_spinner.h"
#include "app/ui/kit/push_button.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/symbols.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {

SetupStep::SetupStep(int number, const QString& title, QWidget* parent)
    : QWidget(parent), number_(number) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(10);

  icon_ = new QLabel(this);
  icon_->setFixedSize(qRound(fonts::kTitle2) + 3, qRound(fonts::kTitle2) + 3);
  row->addWidget(icon_, 0, Qt::AlignTop);

  auto* text = new QVBoxLayout;
  text->setSpacing(2);
  text->addWidget(new ThemedLabel(title, fonts::body(QFont::Medium), TextRole::primary, this));
  detail_ = new ThemedLabel(QString(), fonts::caption(), TextRole::secondary, this);
  detail_->setWordWrap(true);
  text->addWidget(detail_);
  row->addLayout(text, 1);

  busyRow_ = new QWidget(this);
  auto* busy = new QHBoxLayout(busyRow_);
  busy->setContentsMargins(0, 2, 0, 0);
  busy->setSpacing(6);
  spinner_ = new ProgressSpinner(busyRow_, 14);
  busy->addWidget(spinner_);
  busyText_ = new ThemedLabel(QString(), fonts::caption(), TextRole::secondary, busyRow_);
  busy->addWidget(busyText_);
  row->addWidget(busyRow_, 0, Qt::AlignTop);

  controls_ = new QWidget(this);
  auto* stack = new QVBoxLayout(controls_);
  stack->setContentsMargins(0, 0, 0, 0);
  stack->setSpacing(4);
  button_ = new PushButton(QString(), ButtonLook::plain, controls_);
  button_->setPadding(10);
  stack->addWidget(button_, 0, Qt::AlignRight);
  extra_ = new LinkButton(QString(), fonts::caption(), controls_);
  stack->addWidget(extra_, 0, Qt::AlignRight);
  row->addWidget(controls_, 0, Qt::AlignTop);

  connect(button_, &QAbstractButton::clicked, this, [this] {
    if (buttonAction_) buttonAction_();
  });
  connect(extra_, &QAbstractButton::clicked, this, [this] {
    if (extraAction_) extraAction_();
  });
  connect(&Appearance::instance(), &Appearance::changed, this, &SetupStep::paintIcon);
  setState(state_);
}

QString SetupStep::iconName() const {
  return state_.done ? QStringLiteral("checkmark.circle.fill")
                     : QStringLiteral("%1.circle").arg(number_);
}

void SetupStep::paintIcon() {
  const Palette& pal = colors();
  const QColor tint = state_.done ? pal.green : pal.secondaryLabel;
  icon_->setPixmap(symbols::pixmap(iconName(), fonts::kTitle2 + 1, tint, devicePixelRatioF()));
}

void SetupStep::setState(const StepState& state) {
  state_ = state;
  detail_->setText(state.detail);
  busyText_->setText(state.busyText);
  busyRow_->setVisible(state.busy);
  controls_->setVisible(!state.busy && !state.done);
  if (button_->text() != state.button) {
    button_->setText(state.button);
    button_->updateGeometry();
  }
  button_->setEnabled(state.enabled);
  extra_->setText(state.extra);
  extra_->setVisible(!state.extra.isEmpty());
  extra_->setEnabled(state.enabled);
  extra_->updateGeometry();
  paintIcon();
}

}  // namespace quillon::ui
