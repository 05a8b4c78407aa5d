#pragma once

// A symbol as a widget, and a label made of a symbol and wrapping text (the
// panel's "No trackpad connected" note).

#include <QWidget>
#include <functional>

#include "app/ui/kit/themed_label.h"

namespace quillon::ui {

class SymbolView : public QWidget {
  Q_OBJECT
 public:
  // colour is read at each paint, so it follows the appearance.
  SymbolView(QString name, double size, std::function<QColor()> colour, QWidget* parent = nullptr);
  void setSymbol(const QString& name, std::function<QColor()> colour);
  const QString& symbol() const { return name_; }
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString name_;
  double size_;
  std::function<QColor()> colour_;
};

class SymbolLabel : public QWidget {
  Q_OBJECT
 public:
  SymbolLabel(const QString& symbol, const QString& text, const QFont& font, TextRole role,
              QWidget* parent = nullptr);
  ThemedLabel* label() const { return label_; }

 private:
  ThemedLabel* label_;
};

}  // namespace quillon::ui
