// Quillon, the menu bar app. Its start-up lives in app/core (App); this file
// only puts the pieces together: the platform, Qt, the windows, the app.
#include <unistd.h>

#include <QApplication>
#include <iostream>

#include "app/core/app.h"
#include "app/core/helper_command.h"
#include "app/core/helper_control.h"
#include "app/core/installer.h"
#include "app/core/preview_runner.h"
#include "app/core/qt_run_loop.h"
#include "app/ui/app_windows.h"
#include "app/ui/installer/installer_alerts.h"
#include "app/ui/menubar/menu_bar_item.h"
#include "app/ui/style/app_style.h"
#include "app/ui/style/theme.h"

using namespace quillon;

namespace {

// With no display at all (a server, a test), Qt's offscreen platform
// instead of an abort: the app still runs, and --snapshot still draws.
bool useOffscreenWithoutDisplay() {
#ifndef Q_OS_MACOS
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
  }
#endif
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const app::CommandLine commandLine =
      app::parseCommandLine(std::vector<std::string>(argv, argv + argc));
  if (commandLine.helperWord) {
    auto backend = platform::makeAppBackend();
    return app::runHelperCommand(*backend, *commandLine.helperWord, std::cout);
  }

  const bool offscreen = useOffscreenWithoutDisplay();
  QApplication qtApp(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  ui::Appearance::instance().apply();
  if (offscreen && !commandLine.snapshotFolder) {
    std::cerr << "No display: Quillon runs without showing its windows.\n";
  }

  auto backend = platform::makeAppBackend();
  backend->setMainQueue([](std::function<void()> work) {
    QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
  });
  app::QtRunLoop runLoop;
  ui::AppWindows windows([&backend] { return ui::makeMenuBarItem(*backend); });
  ui::InstallerAlertWindows installerAlerts;
  app::Env env{
      backend->system(), Paths::current(), runLoop, static_cast<uint32_t>(::getuid()), {}, {}};
  env.installer = app::installerHooks(env, installerAlerts);
  app::ProcessPreviewRunner preview(
      QString::fromStdString(env.sys.bundle.hostPath(app::Helper::exe(env)).string()));
  app::App app(env, windows, preview, commandLine);
  windows.attach(env, app);
  app.start();
  ui::setToolTipDelay(static_cast<int>(app::App::toolTipDelayMs(env)));

  const int status = QApplication::exec();
  // The panel goes before the model it shows.
  windows.detach();
  return status;
}
