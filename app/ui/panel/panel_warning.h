#pragma once

// The panel's warning line: one sentence on an orange-tinted strip at the
// top of the panel, with the model's one button ("Restart", "Open Setup…").
// The model decides what it says; this draws it and hides when there is
// nothing to say.

#include <QWidget>

namespace quillon::app {
class Model;
}

namespace quillon::ui {

class BorderedButton;
class SymbolView;
class ThemedLabel;

class PanelWarning : public QWidget {
  Q_OBJECT
 public:
  explicit PanelWarning(app::Model& model, QWidget* parent = nullptr);

  ThemedLabel* label() const { return label_; }
  BorderedButton* button() const { return button_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void refresh();

  app::Model& model_;
  SymbolView* symbol_;
  ThemedLabel* label_;
  BorderedButton* button_;
};

}  // namespace quillon::ui
