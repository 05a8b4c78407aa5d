#pragma once

// A borderless button, as macOS draws one: its symbol or title alone, in the
// accent colour, grey when disabled.

#include <QAbstractButton>

namespace quillon::ui {

class BorderlessButton : public QAbstractButton {
  Q_OBJECT
 public:
  // A symbol button (symbol names as in symbols.h), size in points.
  static BorderlessButton* symbol(const QString& name, const QString& help, double size = 15,
                                  QWidget* parent = nullptr);
  // A text button in the given font.
  static BorderlessButton* titled(const QString& title, const QFont& font, const QString& help,
                                  QWidget* parent = nullptr);

  const QString& symbolName() const { return symbol_; }
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  explicit BorderlessButton(QWidget* parent);
  void paintEvent(QPaintEvent* event) override;
  QColor foreground() const;

 private:
  QString symbol_;
  double symbolSize_ = 15;
};

}  // namespace quillon::ui
