// Quillon, the menu bar app. Everything it decides lives in app/core; this
// file only wires the pieces to Qt and to the machine's backend.
#include <unistd.h>

#include <QApplication>
#include <QProxyStyle>
#include <iostream>
#include <string>
#include <vector>

#include "app/core/app.h"
#include "app/core/command_line.h"
#include "app/core/helper_command.h"
#include "app/core/helper_control.h"
#include "app/core/installer.h"
#include "app/core/no_windows.h"
#include "app/core/preview_runner.h"
#include "app/core/qt_run_loop.h"
#include "app/ui/installer_alerts.h"

namespace {

// Help texts appear after the delay that the app stores at every start.
class ToolTipDelayStyle final : public QProxyStyle {
 public:
  explicit ToolTipDelayStyle(int delayMs) : delayMs_(delayMs) {}
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return delayMs_;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }

 private:
  int delayMs_;
};

}  // namespace

int main(int argc, char** argv) {
  using namespace quillon;
  const app::CommandLine commandLine = app::parseCommandLine({argv, argv + argc});
  // The command-line tool: before any application object, window or write,
  // so that it works without a display.
  if (commandLine.helperWord) {
    const auto backend = platform::makeAppBackend();
    return app::runHelperCommand(*backend, *commandLine.helperWord, std::cout);
  }

  QApplication qtApp(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  const auto backend = platform::makeAppBackend();
  backend->setMainQueue([](std::function<void()> work) {
    if (QCoreApplication* instance = QCoreApplication::instance()) {
      QMetaObject::invokeMethod(instance, std::move(work), Qt::QueuedConnection);
    }
  });

  app::QtRunLoop runLoop;
  app::NoWindows windows;
  ui::InstallerAlertWindows installerAlerts;
  app::Env env{backend->system(), Paths::current(), runLoop, static_cast<uint32_t>(::getuid()), {}};
  env.installer = app::installerHooks(env, installerAlerts);
  app::ProcessPreviewRunner preview(
      QString::fromStdString(env.sys.bundle.hostPath(app::Helper::exe(env)).string()));
  app::App application(env, windows, preview, commandLine);
  application.start();
  QApplication::setStyle(new ToolTipDelayStyle(static_cast<int>(app::App::toolTipDelayMs(env))));
  return QApplication::exec();
}
