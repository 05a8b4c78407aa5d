#pragma once

// macOS's segmented control: a grey track, corner radius 6, about 22 points
// high; the selected segment is a raised white (dark: #636366) capsule, with
// no accent fill. Segments share the width equally. With the keyboard
// focus (by Tab only), the arrow keys choose the segment before or after;
// to assistive tools each segment is a radio button of its own.

#include <QStringList>
#include <QWidget>

#include "app/ui/kit/focus_ring.h"

namespace quillon::ui {

class SegmentedControl : public QWidget, public FocusOutline {
  Q_OBJECT
 public:
  explicit SegmentedControl(QStringList segments, QWidget* parent = nullptr);

  int currentIndex() const { return current_; }
  void setCurrentIndex(int index);  // no signal
  int count() const { return static_cast<int>(segments_.size()); }
  const QStringList& segments() const { return segments_; }
  // Chooses a segment as a click on it would (also when already chosen).
  void choose(int index);
  QPainterPath focusOutline() const override;
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
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int indexAt(QPointF p) const;

  QStringList segments_;
  int current_ = 0;
  int pressed_ = -1;
};

}  // namespace quillon::ui
