#pragma once

// macOS's checkbox: a 14-point box, corner radius 3, filled with the accent
// colour and a white tick when on; the title beside it in body text.

#include <QAbstractButton>

#include "app/ui/kit/focus_ring.h"

namespace quillon::ui {

class CheckBox : public QAbstractButton, public FocusOutline {
  Q_OBJECT
 public:
  explicit CheckBox(const QString& title, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  QPainterPath focusOutline() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quillon::ui
