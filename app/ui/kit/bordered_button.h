#pragma once

// macOS's bordered push button: white (dark: #5A5A5C) with a hairline border
// and a faint shadow, corner radius 5, 22 points high (19 small). A selected
// button is tinted with the accent colour, its title semibold. A dimmed
// button draws at a lower opacity (an empty saved-curve slot).

#include <QAbstractButton>

#include "app/ui/kit/focus_ring.h"

namespace quillon::ui {

enum class ControlSize { small, regular };

class BorderedButton : public QAbstractButton, public FocusOutline {
  Q_OBJECT
 public:
  explicit BorderedButton(const QString& title, ControlSize size = ControlSize::regular,
                          QWidget* parent = nullptr);

  void setSelected(bool selected);
  bool selected() const { return selected_; }
  void setDimmed(double opacity);  // 1 = not dimmed
  double dimmed() const { return opacity_; }

  QSize sizeHint() const override;
  QPainterPath focusOutline() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QFont titleFont() const;

  ControlSize size_;
  bool selected_ = false;
  double opacity_ = 1;
};

}  // namespace quillon::ui
