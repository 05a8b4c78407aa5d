#pragma once

// macOS's segmented control: a grey track, corner radius 6, about 22 points
// high; the selected segment is a raised white (dark: #636366) capsule, with
// no accent fill. Segments share the width equally.

#include <QStringList>
#include <QWidget>

namespace quillon::ui {

class SegmentedControl : public QWidget {
  Q_OBJECT
 public:
  explicit SegmentedControl(QStringList segments, QWidget* parent = nullptr);

  int currentIndex() const { return current_; }
  void setCurrentIndex(int index);  // no signal
  int count() const { return static_cast<int>(segments_.size()); }
  QRect segmentRect(int index) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // A click chose a segment (also when it was already chosen).
  void activated(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int indexAt(QPointF p) const;

  QStringList segments_;
  int current_ = 0;
  int pressed_ = -1;
};

}  // namespace quillon::ui
