#pragma once

// A number that reads as text and becomes a text field when clicked. Typed
// text reaches the binding only through commit(): on Return, when the field
// loses the keyboard focus, when its window stops being the key window, and
// on "endNumberEditing" once editing has lasted more than 0.3 s (the click
// that starts editing posts that notification too). Escape leaves the value
// as it was. It takes the keyboard focus by Tab only: then Return or a
// typed digit starts editing, and Return or Escape gives the focus back to
// the number. Assistive tools read it as its owner names it and may set a
// value, which commits as typing it would.

#include <QElapsedTimer>
#include <QWidget>
#include <optional>

#include "app/ui/kit/value_rules.h"
#include "app/ui/style/theme.h"
#include "common/binding.h"

class QLineEdit;
class QWindow;

namespace quillon::ui {

class EditableNumber : public QWidget {
  Q_OBJECT
 public:
  // How long editing must have lasted before "endNumberEditing" commits.
  static constexpr qint64 kNotificationGuardMs = 300;
  static constexpr int kFieldWidth = 70;

  EditableNumber(Binding<double> value, ValueRange range, int decimals, QString suffix = {},
                 std::optional<Term> tint = std::nullopt, QWidget* parent = nullptr);

  // The value as "%.<decimals>f".
  QString shown() const;
  // What is drawn while not editing: shown() and the suffix.
  QString displayText() const { return textFor(value_.get()); }
  // How v would be drawn.
  QString textFor(double v) const;
  ValueRange range() const { return range_; }
  int decimals() const { return decimals_; }
  double value() const { return value_.get(); }
  // Writes v, clamped and rounded, as committing it typed would.
  void assign(double v);
  bool editing() const { return editing_; }
  QString text() const;
  QLineEdit* field() const { return field_; }

  // typed: the keys that started editing, which replace the text.
  void beginEditing(const QString& typed = {});
  void commit();
  // Escape: stop editing without writing.
  void cancel();

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  void committed(double value);
  void editingChanged(bool editing);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void endEditing();
  void onNotification();
  void onFocusWindowChanged(QWindow* now);
  QColor textColor() const;

  Binding<double> value_;
  ValueRange range_;
  int decimals_;
  QString suffix_;
  std::optional<Term> tint_;
  bool editing_ = false;
  bool byKeyboard_ = false;  // editing began with the number focused
  QElapsedTimer startedAt_;
  QLineEdit* field_;
};

}  // namespace quillon::ui
