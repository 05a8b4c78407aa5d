#pragma once

// A link-styled button: accent-coloured text, no border, no underline.

#include <QAbstractButton>

namespace quillon::ui {

class LinkButton : public QAbstractButton {
  Q_OBJECT
 public:
  LinkButton(const QString& title, const QFont& font, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace quillon::ui
