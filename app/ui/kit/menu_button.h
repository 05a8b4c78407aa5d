#pragma once

// A borderless menu button: its title and a small down chevron; a press
// opens its menu below it, as do Space with the focus and an assistive
// tool's press.

#include <QAbstractButton>

class QMenu;

namespace quillon::ui {

class MenuButton : public QAbstractButton {
  Q_OBJECT
 public:
  MenuButton(const QString& title, QMenu* menu, QWidget* parent = nullptr);
  QMenu* menu() const { return menu_; }
  // Opens the menu below the button.
  void open();
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  // Just before the menu opens, so its items can be brought up to date.
  void aboutToOpen();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QMenu* menu_;
};

}  // namespace quillon::ui
