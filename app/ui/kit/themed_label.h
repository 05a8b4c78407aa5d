#pragma once

// A QLabel in one of the label colours, kept in step with the appearance.

#include <QLabel>

namespace quillon::ui {

enum class TextRole { primary, secondary, tertiary };

class ThemedLabel : public QLabel {
  Q_OBJECT
 public:
  ThemedLabel(const QString& text, const QFont& font, TextRole role, QWidget* parent = nullptr);
  TextRole role() const { return role_; }

 protected:
  bool event(QEvent* event) override;

 private:
  void applyColour();
  TextRole role_;
};

}  // namespace quillon::ui
