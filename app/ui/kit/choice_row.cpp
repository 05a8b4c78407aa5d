#include "app/ui/kit/choice_row.h"

#include <QHBoxLayout>

#include "app/ui/kit/bordered_button.h"

namespace quillon::ui {

ChoiceRow::ChoiceRow(std::vector<Choice> choices, Binding<std::string> value, QWidget* parent)
    : QWidget(parent), choices_(std::move(choices)), value_(std::move(value)) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(6);
  for (const Choice& c : choices_) {
    auto* b = new BorderedButton(c.title);
    b->setToolTip(c.help);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    row->addWidget(b, 1);
    connect(b, &QAbstractButton::clicked, this, [this, v = c.value] {
      value_.set(v);
      refresh();
      emit edited();
    });
    buttons_.push_back(b);
  }
  refresh();
}

void ChoiceRow::refresh() {
  const std::string current = value_.get();
  for (size_t i = 0; i < buttons_.size(); ++i) {
    buttons_[i]->setSelected(choices_[i].value == current);
  }
}

std::vector<Choice> matchChoices() {
  return {
      {"distance", QStringLiteral("Speed"), QStringLiteral("Same pointer speed as Windows.")},
      {"share", QStringLiteral("Screen Size"), QStringLiteral("Speed scales with screen size.")}};
}

}  // namespace quillon::ui
