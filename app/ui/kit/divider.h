#pragma once

// A horizontal hairline in the separator colour.

#include <QWidget>

namespace quillon::ui {

class Divider : public QWidget {
  Q_OBJECT
 public:
  explicit Divider(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {100, 1}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quillon::ui
