#pragma once

// A row of bordered buttons sharing its width, one per option of a stored
// text value; the button of the current value is tinted and semibold.

#include <QWidget>
#include <string>
#include <vector>

#include "common/binding.h"

namespace quillon::ui {

class BorderedButton;

struct Choice {
  std::string value;  // stored value
  QString title;
  QString help;
};

class ChoiceRow : public QWidget {
  Q_OBJECT
 public:
  ChoiceRow(std::vector<Choice> choices, Binding<std::string> value, QWidget* parent = nullptr);
  BorderedButton* button(int i) const { return buttons_.at(static_cast<size_t>(i)); }

 public slots:
  void refresh();

 signals:
  void edited();

 private:
  std::vector<Choice> choices_;
  Binding<std::string> value_;
  std::vector<BorderedButton*> buttons_;
};

// The "Match By" options: "distance" (Speed) and "share" (Screen Size).
std::vector<Choice> matchChoices();

}  // namespace quillon::ui
