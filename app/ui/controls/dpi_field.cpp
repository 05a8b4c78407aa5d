#include "app/ui/controls/dpi_field.h"

#include <QHBoxLayout>
#include <QLabel>

#include "app/ui/kit/editable_number.h"
#include "app/ui/kit/stepper.h"
#include "app/ui/style/fonts.h"

namespace quillon::ui {

DPIField::DPIField(Binding<double> value, QWidget* parent)
    : DPIField(dpi_fields::mouseDpi(), std::move(value), parent) {}

DPIField::DPIField(const DpiSpec& spec, Binding<double> value, QWidget* parent)
    : QWidget(parent),
      value_(std::move(value)),
      spec_(spec),
      title_(new QLabel(spec.title)),
      number_(new EditableNumber(value_, spec.range, 0)),
      stepper_(new Stepper) {
  title_->setFont(fonts::body());
  title_->setToolTip(spec.hint);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(6);
  row->addWidget(title_, 0, Qt::AlignVCenter);
  row->addStretch(1);
  row->addWidget(number_, 0, Qt::AlignVCenter);
  row->addWidget(stepper_, 0, Qt::AlignVCenter);
  // The number and its stepper both carry the field's title.
  number_->setAccessibleName(spec.title);
  stepper_->setAccessibleName(spec.title);
  stepper_->setValueText([n = number_] { return n->displayText(); });
  connect(stepper_, &Stepper::stepUp, this, &DPIField::increment);
  connect(stepper_, &Stepper::stepDown, this, &DPIField::decrement);
  connect(number_, &EditableNumber::committed, this, [this] { emit edited(); });
}

void DPIField::increment() {
  value_.set(hundredsUp(value_.get(), spec_.range));
  refresh();
  emit edited();
}

void DPIField::decrement() {
  value_.set(hundredsDown(value_.get(), spec_.range));
  refresh();
  emit edited();
}

void DPIField::refresh() {
  number_->updateGeometry();
  number_->update();
}

}  // namespace quillon::ui
