#pragma once

// macOS's switch: a capsule, the accent colour when on and grey when off,
// with a white knob that slides across. SwitchRow puts a title before it
// and takes clicks across its whole width; the title names the switch.
// To assistive tools a switch is a check box (there is no switch role), and
// Space toggles it when it has the focus (by Tab only).

#include <QAbstractButton>

#include <QVariantAnimation>
#include "app/ui/kit/focus_ring.h"

class QLabel;

namespace quillon::ui {

class Switch : public QAbstractButton, public FocusOutline {
  Q_OBJECT
 public:
  enum class Size { mini, small, regular };  // 26 × 15, 32 × 18, 38 × 22
  explicit Switch(Size size = Size::small, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  QPainterPath focusOutline() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void checkStateSet() override;
  void nextCheckState() override;

 private:
  Size size_;
  double position_ = 0;  // knob: 0 off … 1 on
  QVariantAnimation slide_;
};

class SwitchRow : public QWidget {
  Q_OBJECT
 public:
  // fill: the switch sits at the row's right end and the whole width
  // toggles it; otherwise it follows the title.
  SwitchRow(const QString& title, const QFont& font, bool fill = true,
            Switch::Size size = Switch::Size::small, QWidget* parent = nullptr);

  Switch* toggle() const { return switch_; }
  QLabel* titleLabel() const { return title_; }
  void setTitle(const QString& title);
  void setChecked(bool on);
  bool isChecked() const;

 signals:
  // A click changed the switch (not emitted by setChecked).
  void toggledByUser(bool on);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QLabel* title_;
  Switch* switch_;
  bool pressed_ = false;
};

}  // namespace quillon::ui
