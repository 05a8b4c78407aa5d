#pragma once

// A scroll area that scrolls vertically only, drawn as macOS draws one with
// overlay scrollers: no frame, no background of its own, and a thin
// capsule knob over the content's right edge, shown only while the content
// is taller than the area. The content keeps the area's full width. The
// wheel scrolls it wherever a child does not take the wheel itself; the
// knob can be dragged.

#include <QScrollArea>

namespace quillon::ui {

class OverlayScrollArea : public QScrollArea {
  Q_OBJECT
 public:
  explicit OverlayScrollArea(QWidget* content, QWidget* parent = nullptr);

  // Whether the content is taller than the area (the knob shows).
  bool scrolls() const;
  QWidget* knob() const { return knob_; }

 signals:
  // The content became taller than the area, or fits again.
  void scrollsChanged(bool scrolls);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void placeKnob();

  QWidget* knob_;
  bool scrolls_ = false;
};

}  // namespace quillon::ui
