#pragma once

// A titled number field with a stepper that moves between whole hundreds.

#include <QWidget>

#include "app/ui/controls/slider_table.h"
#include "common/binding.h"

class QLabel;

namespace quillon::ui {

class EditableNumber;
class Stepper;

class DPIField : public QWidget {
  Q_OBJECT
 public:
  // Defaults: "Mouse DPI" with its help text, 100 to 65000.
  explicit DPIField(Binding<double> value, QWidget* parent = nullptr);
  DPIField(const DpiSpec& spec, Binding<double> value, QWidget* parent = nullptr);

  EditableNumber* number() const { return number_; }
  Stepper* stepper() const { return stepper_; }
  QLabel* titleLabel() const { return title_; }

  void increment();
  void decrement();

 public slots:
  void refresh();

 signals:
  void edited();

 private:
  Binding<double> value_;
  DpiSpec spec_;
  QLabel* title_;
  EditableNumber* number_;
  Stepper* stepper_;
};

}  // namespace quillon::ui
