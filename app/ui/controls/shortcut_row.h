#pragma once

// A clickable title with its keyboard shortcut shown on the right.

#include <QWidget>
#include <functional>

class QLabel;

namespace quillon::ui {

class BorderedButton;

class ShortcutRow : public QWidget {
  Q_OBJECT
 public:
  ShortcutRow(const QString& title, const QString& keys, std::function<void()> action,
              QWidget* parent = nullptr);
  BorderedButton* button() const { return button_; }
  QLabel* keysLabel() const { return keys_; }

 private:
  BorderedButton* button_;
  QLabel* keys_;
};

// Shortcut text ("⌃⌥⌘R") in the caption size, the keys font, secondary
// colour.
QLabel* makeKeysLabel(const QString& keys, QWidget* parent = nullptr);

}  // namespace quillon::ui
