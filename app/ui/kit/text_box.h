#pragma once

// A frame around Qt's text editing widgets, drawn as macOS draws its text
// fields and text views: a rounded, stroked box with the text inside, and a
// focus ring in the accent colour around it while the text has focus. The
// ring lies outside the box, as on macOS, so the window that holds the box
// paints it (paintFocusRings) in the margin around it.

#include <QColor>
#include <QMargins>
#include <QWidget>
#include <functional>

class QPlainTextEdit;
class QLineEdit;

namespace quillon::ui {

struct Palette;

class TextBox : public QWidget {
  Q_OBJECT
 public:
  struct Frame {
    double radius = 5;
    double borderWidth = 0.5;
    std::function<QColor(const Palette&)> border;
    bool filled = true;  // the text background colour behind the text
    QMargins margins{5, 3, 5, 3};
  };

  TextBox(QWidget* inner, Frame frame, QWidget* parent = nullptr);
  QWidget* inner() const { return inner_; }
  bool focused() const;

  // A multi-line plain-text editor without frame or background, thin
  // scroll bars that show only when needed.
  static QPlainTextEdit* plainEditor(QWidget* parent = nullptr);
  // A single-line field without frame or background.
  static QLineEdit* lineField(QWidget* parent = nullptr);

  // Paints the focus ring of each focused box among `container`'s
  // descendants; call from the container's paintEvent.
  static void paintFocusRings(QWidget* container);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void restyle();

  QWidget* inner_;
  Frame frame_;
};

}  // namespace quillon::ui
