#include "app/ui/panel/side_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "app/ui/kit/placement.h"

namespace quillon::ui::SideWindow {
namespace {

constexpr int kReopenDelayMs = 300;

struct Made {
  QPointer<QWidget> window;
  Role role;
};

std::vector<Made>& made() {
  static std::vector<Made> windows;
  return windows;
}

PanelHooks& hooks() {
  static PanelHooks h;
  return h;
}

QRectF mainVisibleFrame() {
  if (hooks().visibleFrame) return hooks().visibleFrame();
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? QRectF(screen->availableGeometry()) : QRectF();
}

// Closing a side window schedules the reopen check; the window itself stays.
class CloseWatcher : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close) {
      QTimer::singleShot(kReopenDelayMs, [] {
        const PanelHooks& h = hooks();
        if (skipReopen || !h.mayReopen || !h.mayReopen() || !openWindows().empty()) return;
        if (h.showPanel) h.showPanel();
      });
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

QWidget* make(const QString& title, int width, Role role) {
  auto* window = new QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                          Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint);
  window->setWindowTitle(title);
  window->setAttribute(Qt::WA_DeleteOnClose, false);
  window->resize(width, 300);
  window->setFixedWidth(width);
  auto* layout = new QVBoxLayout(window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  window->installEventFilter(new CloseWatcher(window));
  auto& list = made();
  list.erase(
      std::remove_if(list.begin(), list.end(), [](const Made& m) { return m.window.isNull(); }),
      list.end());
  list.push_back({window, role});
  return window;
}

void present(QWidget* window, bool centered) {
  if (!window) return;
  // Neither the user nor the window manager sizes it: it is as tall as its
  // content at its width, and follows the content. A window manager offers
  // no maximise for a window of fixed size.
  if (QLayout* layout = window->layout()) layout->setSizeConstraint(QLayout::SetFixedSize);
  window->adjustSize();
  const QSizeF size = window->frameGeometry().size();
  const QRectF vf = mainVisibleFrame();
  std::optional<QRectF> panel;
  if (hooks().panelFrame) panel = hooks().panelFrame();
  const QPointF topLeft = placement::sideWindowTopLeft(vf, size, centered, panel);
  window->move(topLeft.toPoint());
  if (hooks().activateApp) hooks().activateApp();
  window->show();
  window->raise();
  window->activateWindow();
}

std::vector<QWidget*> openWindows() {
  std::vector<Made> visible;
  for (const Made& m : made()) {
    if (m.window && m.window->isVisible()) visible.push_back(m);
  }
  std::stable_sort(visible.begin(), visible.end(),
                   [](const Made& a, const Made& b) { return a.role < b.role; });
  std::vector<QWidget*> out;
  out.reserve(visible.size());
  for (const Made& m : visible) out.push_back(m.window);
  return out;
}

void setPanelHooks(PanelHooks h) {
  hooks() = std::move(h);
}

}  // namespace quillon::ui::SideWindow
