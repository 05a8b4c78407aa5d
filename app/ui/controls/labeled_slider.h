#pragma once

// A title with its help text, the current value (an editable number, or
// plain text when the row has no decimals) and a PlainSlider below.

#include <QWidget>

#include "app/ui/controls/slider_table.h"
#include "common/binding.h"

class QLabel;

namespace quillon::ui {

class EditableNumber;
class PlainSlider;
class ValueText;

class LabeledSlider : public QWidget {
  Q_OBJECT
 public:
  LabeledSlider(const SliderSpec& spec, Binding<double> value, QWidget* parent = nullptr);

  const SliderSpec& spec() const { return spec_; }
  PlainSlider* slider() const { return slider_; }
  QLabel* titleLabel() const { return title_; }
  EditableNumber* number() const { return number_; }  // null without decimals
  ValueText* valueText() const { return text_; }      // null with decimals

 public slots:
  // The bound value changed elsewhere: repaint.
  void refresh();

 signals:
  void edited();
  // The slider's drag began and ended.
  void dragStarted();
  void dragEnded();

 private:
  SliderSpec spec_;
  QLabel* title_;
  EditableNumber* number_ = nullptr;
  ValueText* text_ = nullptr;
  PlainSlider* slider_;
};

}  // namespace quillon::ui
