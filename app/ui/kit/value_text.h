#pragma once

// A value shown as plain text through a printf pattern, digits of equal
// width, in the secondary colour; read through the binding when painted.

#include <QWidget>
#include <functional>

namespace quillon::ui {

class ValueText : public QWidget {
  Q_OBJECT
 public:
  ValueText(QString format, std::function<double()> value, QWidget* parent = nullptr);
  QString text() const;
  // How v would read.
  QString textFor(double v) const;
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString format_;
  std::function<double()> value_;
};

}  // namespace quillon::ui
