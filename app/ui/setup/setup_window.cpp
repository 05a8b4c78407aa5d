#include "app/ui/setup/setup_window.h"

#include <QEvent>
#include <QLayout>
#include <QPointer>
#include <QWindow>

#include "app/core/app.h"
#include "app/core/helper_control.h"
#include "app/core/model.h"
#include "app/ui/panel/side_window.h"
#include "app/ui/setup/setup_view.h"

namespace quillon::ui::SetupWindow {
namespace {

constexpr const char* kSystemSettings = "com.apple.systempreferences";

struct State {
  QPointer<QWidget> window;
  QPointer<SetupView> view;
  app::Model* model = nullptr;
  bool completing = false;
  bool floating = false;
};

State& state() {
  static State s;
  return s;
}

// Floating is macOS's level 3: above normal windows, below the panel. The
// platform window is changed in place; changing the widget's flags would
// hide and show it again.
void setFloating(bool on) {
  State& s = state();
  s.floating = on;
  if (!s.window) return;
  if (QWindow* handle = s.window->windowHandle()) {
    handle->setFlag(Qt::WindowStaysOnTopHint, on);
  } else {
    s.window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
  }
}

class CloseObserver : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close) finish();
    return QObject::eventFilter(watched, event);
  }
};

QWidget* makeWindow() {
  QWidget* w = SideWindow::make(QString::fromUtf8(kTitle), kWidth, SideWindow::Role::setup);
  w->installEventFilter(new CloseObserver(w));
  return w;
}

}  // namespace

void show(app::Model& model) {
  State& s = state();
  s.model = &model;
  app::Env& env = model.env();
  app::Helper::keepForSetup(env, true);
  const platform::ServiceStatus agent = app::Helper::agent(env).status();
  if (agent != platform::ServiceStatus::enabled &&
      agent != platform::ServiceStatus::requiresApproval) {
    (void)app::Helper::start(env);
  }
  if (!s.window) s.window = makeWindow();
  if (!s.window->isVisible()) {
    s.completing = false;
    delete s.view;
    s.view = new SetupView(env, s.window);
    s.window->layout()->addWidget(s.view);
  }
  setFloating(true);
  SideWindow::present(s.window, true);
}

void complete() {
  State& s = state();
  s.completing = true;
  if (s.window) s.window->close();
}

void finish() {
  State& s = state();
  if (s.model == nullptr || s.model->env().flags.uninstalling) return;
  app::Env& env = s.model->env();
  if (s.completing) {
    env.sys.defaults.standard().setBool(app::App::kSetupDoneKey, true);
    s.completing = false;
  }
  app::Helper::keepForSetup(env, false);
  // Writing the configuration also starts the helper when it has work.
  s.model->save();
}

void stepBack() {
  setFloating(false);
}

void comeBack(bool closingSettings) {
  State& s = state();
  if (closingSettings && s.model) {
    platform::AppWorkspace& workspace = s.model->env().sys.workspace;
    for (const platform::RunningApp& app : workspace.runningApplications(kSystemSettings)) {
      workspace.terminate(app.pid);
    }
  }
  if (s.window && s.window->isVisible()) {
    setFloating(true);
    SideWindow::present(s.window, true);
  }
}

bool isFinished(app::Env& env) {
  return env.sys.defaults.standard().boolValue(app::App::kSetupDoneKey).value_or(false);
}

QWidget* window() {
  return state().window;
}

bool floating() {
  return state().floating;
}

}  // namespace quillon::ui::SetupWindow
