#include "app/ui/feedback/feedback_window.h"

#include <QLayout>
#include <QPointer>

#include "app/ui/feedback/feedback_view.h"
#include "app/ui/panel/side_window.h"

namespace quillon::ui::FeedbackWindow {
namespace {

struct State {
  QPointer<QWidget> window;
  QPointer<FeedbackView> view;
};

State& state() {
  static State s;
  return s;
}

}  // namespace

void show(app::Env& env) {
  State& s = state();
  if (!s.window) {
    s.window = SideWindow::make(QString::fromUtf8(kTitle), kWidth, SideWindow::Role::feedback);
  }
  if (!s.window->isVisible()) {
    delete s.view;
    s.view = new FeedbackView(env, s.window);
    s.window->layout()->addWidget(s.view);
  }
  SideWindow::present(s.window, false);
}

QWidget* window() {
  return state().window;
}

}  // namespace quillon::ui::FeedbackWindow
