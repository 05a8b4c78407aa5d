#include "app/ui/panel/menu_bar_panel.h"

#include <QGuiApplication>
#include <QTimer>

#include "app/core/app.h"
#include "app/core/last_device.h"
#include "app/core/model.h"
#include "app/ui/kit/placement.h"
#include "app/ui/panel/panel_window.h"
#include "app/ui/panel/side_window.h"

namespace quillon::ui {

MenuBarPanel::MenuBarPanel(app::Env& env, app::Model& model, Hooks hooks, QObject* parent)
    : QObject(parent), env_(env), model_(model), hooks_(std::move(hooks)) {}

MenuBarPanel::~MenuBarPanel() {
  if (window_) SideWindow::setPanelHooks({});
  close();
  delete window_;
}

bool MenuBarPanel::setupDone() {
  return env_.sys.defaults.standard().boolValue(app::App::kSetupDoneKey).value_or(false);
}

void MenuBarPanel::setUp(std::unique_ptr<StatusItem> item) {
  if (item_ || !item) return;
  item_ = std::move(item);
  item_->setSymbol(QStringLiteral("hand.point.up.left"), QStringLiteral("Quillon"));
  item_->setAction([this] { toggle(); });

  view_ = new PanelView(model_, hooks_.actions);
  window_ = new PanelWindow(view_, [this] { close(); });
  connect(view_, &PanelView::contentSizeChanged, this, &MenuBarPanel::contentSize);
  window_->setGeometry(QRect(QPoint(), size_.toSize()));
  contentSize(view_->contentSize());

  connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
          &MenuBarPanel::applicationStateChanged);

  SideWindow::PanelHooks sideHooks;
  sideHooks.mayReopen = [this] {
    const app::RunFlags& flags = env_.flags;
    return setupDone() && !flags.uninstalling && !flags.previewOnly;
  };
  sideHooks.panelFrame = [this] { return panelFrame(); };
  sideHooks.showPanel = [this] { show(); };
  sideHooks.visibleFrame = [this] { return item_->visibleFrame(); };
  sideHooks.activateApp = hooks_.activateApp;
  SideWindow::setPanelHooks(std::move(sideHooks));
}

void MenuBarPanel::toggle() {
  if (!setupDone()) {
    // The panel never opens before setup was finished once.
    if (hooks_.actions.showSetup) hooks_.actions.showSetup();
    return;
  }
  if (isOpen()) {
    close();
  } else {
    show();
  }
}

void MenuBarPanel::show() {
  if (!window_ || !item_ || isOpen()) return;
  const QRectF button = item_->buttonFrame();
  if (button.isEmpty()) return;

  // The appearance first, so that the sections the device brings are made
  // in it.
  if (hooks_.followAppearance) hooks_.followAppearance();
  app::LastDevice::fromOpeningClick(env_, model_);

  topLeft_ = placement::panelTopLeft(button, item_->visibleFrame(), size_);
  placeWindow();
  if (hooks_.activateApp) hooks_.activateApp();
  window_->show();
  window_->raise();
  window_->activateWindow();
  window_->configurePlatform();
  item_->setHighlighted(true);

  const QRectF frame = window_->frameGeometry();
  for (QWidget* side : SideWindow::openWindows()) {
    const QRectF sideFrame = side->frameGeometry();
    if (sideFrame.intersects(frame)) {
      side->move(placement::steppedOutTopLeft(frame, sideFrame).toPoint());
    }
  }

  // After this event: the panel always opens on fresh settings.
  // The warning line follows the helper's status while the panel is open.
  QTimer::singleShot(0, &model_, [model = &model_] {
    model->refresh();
    model->watchHelper(true);
  });
  outsideClicks_ = env_.sys.events.addGlobalMouseDownMonitor([self = QPointer(this)] {
    if (self) self->close();
  });
}

void MenuBarPanel::close() {
  model_.watchHelper(false);
  if (window_) window_->hide();
  if (item_) item_->setHighlighted(false);
  outsideClicks_.reset();
}

void MenuBarPanel::contentSize(QSizeF next) {
  if (!placement::sizeChangeMoves(size_, next)) return;
  size_ = next;
  QTimer::singleShot(0, this, [this] {
    if (window_) placeWindow();
  });
}

void MenuBarPanel::placeWindow() {
  const QSizeF onScreen =
      placement::panelSize(topLeft_, size_, item_ ? item_->visibleFrame() : QRectF());
  const QRectF frame = placement::panelFrame(topLeft_, onScreen);
  window_->setGeometry(
      QRect(frame.topLeft().toPoint(), QSize(qRound(frame.width()), qRound(frame.height()))));
}

bool MenuBarPanel::isOpen() const {
  return window_ && window_->isVisible();
}

std::optional<QRectF> MenuBarPanel::panelFrame() const {
  if (!isOpen()) return std::nullopt;
  return QRectF(window_->frameGeometry());
}

void MenuBarPanel::applicationStateChanged(Qt::ApplicationState state) {
  appState_ = state;
  if (state == Qt::ApplicationActive) return;
  // Another app became active: the panel closes, as a menu would. Checked
  // after the events already queued: closing the panel and opening it again
  // at once reports the app inactive and then active again, and that is no
  // reason to close.
  QTimer::singleShot(0, this, [this] {
    if (appState_ != Qt::ApplicationActive) close();
  });
}

}  // namespace quillon::ui
