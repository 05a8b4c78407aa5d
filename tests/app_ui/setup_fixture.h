#pragma once

// The windows' tests on the core's fake Mac: a model, the helper's status
// file as the test writes it, and the windows closed again after each test.

#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <fstream>

#include "app/core/helper_control.h"
#include "app/ui/feedback/feedback_window.h"
#include "app/ui/kit/alert.h"
#include "app/ui/setup/setup_view.h"
#include "app/ui/setup/setup_window.h"
#include "core_fixture.h"

namespace quillon::ui::test {

class WindowTest : public app::test::CoreTest {
 protected:
  WindowTest() {
    model = makeModel();
    SetupView::setClock([this] { return clock; });
  }
  ~WindowTest() override {
    // Closing must not touch this test's machine any more.
    env.flags.uninstalling = true;
    for (QWidget* w : {SetupWindow::window(), FeedbackWindow::window()}) {
      if (w) w->close();
    }
    QApplication::processEvents();
    env.flags.uninstalling = false;
    SetupView::setClock({});
    setAlertResponder({});
  }

  // The helper's status file, written by a running helper (this process).
  void helperReports(bool accessibility, bool inputMonitoring) {
    std::filesystem::create_directories(paths.supportDir);
    std::ofstream(paths.statusFile)
        << "{\"pid\":" << getpid() << ",\"accessibility\":" << (accessibility ? "true" : "false")
        << ",\"inputMonitoring\":" << (inputMonitoring ? "true" : "false") << ",\"trackpad\":true}";
  }

  static QRectF visibleFrame() { return QGuiApplication::primaryScreen()->availableGeometry(); }

  std::unique_ptr<app::Model> model;
  double clock = 1000;
};

}  // namespace quillon::ui::test
