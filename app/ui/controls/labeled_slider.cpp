#include "app/ui/controls/labeled_slider.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/ui/kit/editable_number.h"
#include "app/ui/kit/plain_slider.h"
#include "app/ui/kit/value_text.h"
#include "app/ui/style/fonts.h"

namespace quillon::ui {

LabeledSlider::LabeledSlider(const SliderSpec& spec, Binding<double> value, QWidget* parent)
    : QWidget(parent), spec_(spec), title_(new QLabel(spec.title)) {
  title_->setFont(fonts::body());
  title_->setToolTip(spec.hint);

  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(8);
  row->addWidget(title_, 0, Qt::AlignVCenter);
  row->addStretch(1);
  if (spec.decimals) {
    const QString suffix = spec.format.endsWith(QChar(0x00D7)) ? QString(QChar(0x00D7)) : QString();
    number_ = new EditableNumber(value, spec.range, *spec.decimals, suffix, spec.tint);
    row->addWidget(number_, 0, Qt::AlignVCenter);
  } else {
    text_ = new ValueText(spec.format, value.get);
    row->addWidget(text_, 0, Qt::AlignVCenter);
  }

  slider_ = new PlainSlider(spec.title, std::move(value), spec.range, spec.step);
  // The slider reads its value as the label beside it shows it.
  if (number_) {
    number_->setAccessibleName(spec.title);
    slider_->setValueText([n = number_](double v) { return n->textFor(v); });
  } else {
    slider_->setValueText([t = text_](double v) { return t->textFor(v); });
  }

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(5);
  column->addLayout(row);
  column->addWidget(slider_);

  connect(slider_, &PlainSlider::edited, this, [this] {
    refresh();
    emit edited();
  });
  connect(slider_, &PlainSlider::dragStarted, this, &LabeledSlider::dragStarted);
  connect(slider_, &PlainSlider::dragEnded, this, &LabeledSlider::dragEnded);
  if (number_) {
    connect(number_, &EditableNumber::committed, this, [this] {
      refresh();
      emit edited();
    });
  }
}

void LabeledSlider::refresh() {
  slider_->update();
  if (number_) {
    number_->updateGeometry();
    number_->update();
  }
  if (text_) {
    text_->updateGeometry();
    text_->update();
  }
}

}  // namespace quillon::ui
