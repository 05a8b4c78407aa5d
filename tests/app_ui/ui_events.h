#pragma once

// Pointer and scroll events built by hand, where QTest has no helper or
// does not carry the held buttons.

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

namespace quillon::ui::test {

inline void send(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button,
                 Qt::MouseButtons held) {
  QMouseEvent e(type, at, w->mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

inline void press(QWidget* w, QPointF at, Qt::MouseButton b = Qt::LeftButton) {
  send(w, QEvent::MouseButtonPress, at, b, b);
}
inline void moveHeld(QWidget* w, QPointF at) {
  send(w, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
}
inline void hover(QWidget* w, QPointF at) {
  send(w, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
}
inline void release(QWidget* w, QPointF at, Qt::MouseButton b = Qt::LeftButton) {
  send(w, QEvent::MouseButtonRelease, at, b, Qt::NoButton);
}
inline void click(QWidget* w, QPointF at) {
  press(w, at);
  release(w, at);
}
inline void drag(QWidget* w, QPointF from, QPointF to) {
  press(w, from);
  moveHeld(w, to);
  release(w, to);
}

// A scroll: pixelDelta set = a trackpad's precise delta; else a wheel's
// angle (120 per notch). Returns whether something accepted it.
inline bool wheel(QWidget* w, QPointF at, QPoint pixelDelta, QPoint angleDelta) {
  QWheelEvent e(at, w->mapToGlobal(at), pixelDelta, angleDelta, Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &e);
  return e.isAccepted();
}

}  // namespace quillon::ui::test
