#pragma once

// macOS's keyboard focus ring: the focused control's outline traced about
// 3 points wide, outside it, in the keyboard-focus colour (the accent at
// half strength, in both appearances). Controls take the focus by Tab,
// never by a click; one overlay per application follows the focused
// control and draws the ring over its window, so that a ring is never cut
// off by the row that holds the control.

#include <QPainterPath>
#include <QPointer>
#include <QWidget>

class QPainter;

namespace quillon::ui {

inline constexpr double kFocusRingWidth = 3;

// The keyboard-focus colour of the current appearance.
QColor focusRingColor();

// Strokes the ring around `outline`, entirely outside it.
void paintFocusRing(QPainter& p, const QPainterPath& outline);

// What a control's ring traces, in the control's own coordinates. A
// control that does not say is traced as its rectangle with 4-point
// corners.
class FocusOutline {
 public:
  virtual ~FocusOutline() = default;
  virtual QPainterPath focusOutline() const = 0;
};

// A rounded rectangle as an outline.
QPainterPath roundedOutline(const QRectF& r, double radius);

// Makes `control` reachable by Tab (and only by Tab) and ringed while it
// has the focus. Every kit control calls this. A window that becomes active
// does not hand such a control the focus before the keyboard has moved it
// there once.
void takeFocusByTab(QWidget* control);

// Tab reaches every control, not only text: on a Mac when the system's
// Full Keyboard Access is on (Qt reads that setting), elsewhere always.
void useFullKeyboardAccess();

// A widget that draws its own ring (a text box's editor) is not ringed by
// the overlay.
void drawsOwnFocusRing(QWidget* widget);

// The overlay: a transparent child of the focused control's window that
// draws the ring. Made when a control takes the focus, and again whenever
// its window went away.
class FocusRing : public QWidget {
  Q_OBJECT
 public:
  // The overlay ringing a control now, or null.
  static FocusRing* current();
  // The control ringed, or null.
  QWidget* target() const { return target_; }
  // The ring's outline in the window's coordinates (empty without target).
  QPainterPath outlineInWindow() const;

  explicit FocusRing(QWidget* window);
  void follow(QWidget* focused);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void place();
  void unwatch();

  QPointer<QWidget> target_;
  QList<QPointer<QWidget>> watched_;
  QPainterPath shown_;  // the outline in this widget's coordinates
};

}  // namespace quillon::ui
