#pragma once

// macOS's small indeterminate progress indicator: twelve spokes, one of
// them darkest, turning while the spinner is shown.

#include <QTimer>
#include <QWidget>

namespace quillon::ui {

class ProgressSpinner : public QWidget {
  Q_OBJECT
 public:
  explicit ProgressSpinner(QWidget* parent = nullptr, int size = 16);
  QSize sizeHint() const override { return {size_, size_}; }
  bool spinning() const { return timer_.isActive(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  int size_;
  int step_ = 0;
  QTimer timer_;
};

}  // namespace quillon::ui
