#pragma once

// The simulated Mac's menu bar: a strip 24 points high along the top of the
// primary screen, drawn like macOS's, with a clock at the right and, left
// of it, the app's status item: square, showing its symbol, highlighted on
// a rounded rectangle while the panel is open.

#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/ui/menubar/status_item.h"

namespace quillon::ui {

class SimMenuBar : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kHeight = 24;
  static constexpr int kItemWidth = 26;  // square length of a status item

  explicit SimMenuBar(QWidget* parent = nullptr);

  // Spans the top of the given screen's geometry (the primary when null).
  void placeOnScreen(QScreen* screen = nullptr);

  void setSymbol(const QString& name, const QString& description);
  void setAction(std::function<void()> action) { action_ = std::move(action); }
  void setItemHighlighted(bool on);
  bool itemHighlighted() const { return highlighted_; }
  // The item's rectangle in the bar's own coordinates.
  QRect itemRect() const;
  // Clicks the item, as a click of the pointer would.
  void clickItem();
  // The clock's text, e.g. "Mon 7 Dec  15:24".
  QString clockText() const;

  QSize sizeHint() const override { return {1280, kHeight}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QString symbol_;
  std::function<void()> action_;
  bool highlighted_ = false;
  QTimer clock_;
};

// A StatusItem on a SimMenuBar; owns the bar.
class SimStatusItem : public StatusItem {
 public:
  SimStatusItem();
  ~SimStatusItem() override;
  void setSymbol(const QString& name, const QString& accessibilityDescription) override;
  void setAction(std::function<void()> action) override;
  void setHighlighted(bool on) override;
  bool highlighted() const override;
  QRectF buttonFrame() const override;
  QRectF visibleFrame() const override;
  SimMenuBar& bar() { return *bar_; }

 private:
  SimMenuBar* bar_;
};

}  // namespace quillon::ui
