#include "app/ui/panel/panel_window.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainterPath>

#include "app/ui/panel/panel_chrome.h"
#include "app/ui/panel/panel_platform.h"

namespace quillon::ui {

bool screenComposites() {
  // macOS and Wayland always composite; on X11 a compositing manager is not
  // a given (Xvfb has none), and the mask looks right with or without one.
  const QString platform = QGuiApplication::platformName();
  return platform == QStringLiteral("cocoa") || platform.startsWith(QStringLiteral("wayland"));
}

PanelWindow::PanelWindow(QWidget* content, std::function<void()> onEscape)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      chrome_(new PanelChrome(content, this)),
      onEscape_(std::move(onEscape)) {
  setWindowTitle(QStringLiteral("Quillon"));
  setFocusPolicy(Qt::NoFocus);
  const bool composited = screenComposites();
  setAttribute(Qt::WA_TranslucentBackground, composited);
  chrome_->setCompositedCorners(composited);
  createPanelWindow(this);
}

void PanelWindow::configurePlatform() {
  configurePanelWindow(this, onEscape_);
}

void PanelWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    if (onEscape_) onEscape_();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

void PanelWindow::resizeEvent(QResizeEvent*) {
  chrome_->setGeometry(rect());
  // Without a compositor the window's own shape is cut to the rounded
  // rectangle, or its corners would show.
  if (testAttribute(Qt::WA_TranslucentBackground)) return;
  QPainterPath path;
  path.addRoundedRect(QRectF(rect()), PanelChrome::kRadius, PanelChrome::kRadius);
  setMask(QRegion(path.toFillPolygon().toPolygon()));
}

}  // namespace quillon::ui
