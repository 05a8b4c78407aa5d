// quillon-window-gallery DIR: pictures of the setup, feedback, survey and
// alert windows in their states, light and dark, framed as macOS frames
// them. The windows run on a simulated Mac of their own in a temporary
// folder; nothing is registered or started.
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <functional>

#include "app/core/feedback.h"
#include "app/core/helper_control.h"
#include "app/core/qt_run_loop.h"
#include "app/ui/feedback/feedback_view.h"
#include "app/ui/feedback/uninstall_survey.h"
#include "app/ui/feedback/uninstall_windows.h"
#include "app/ui/kit/alert.h"
#include "app/ui/setup/setup_view.h"
#include "app/ui/style/theme.h"
#include "mac_frame.h"
#include "sim/app/app_mac.h"

using namespace quillon;
using namespace quillon::ui;

namespace {

struct Machine {
  QTemporaryDir dir;
  std::unique_ptr<sim::AppMac> mac;
  app::QtRunLoop loop;
  std::unique_ptr<app::Env> env;

  Machine() {
    mac = std::make_unique<sim::AppMac>(
        dir.filePath("mac").toStdString(),
        sim::AppMac::Options{.bundle = QUILLON_BUNDLE_DIR, .listAsRunning = false});
    env = std::make_unique<app::Env>(app::Env{mac->system(),
                                              Paths::forHome(dir.filePath("home").toStdString()),
                                              loop,
                                              static_cast<uint32_t>(getuid()),
                                              {},
                                              {}});
  }
  void agent(platform::ServiceStatus s) { mac->forceServiceStatus(app::Helper::agentPlist, s); }
  void helper(bool running, bool accessibility, bool inputMonitoring) {
    std::filesystem::remove(env->paths.statusFile);
    if (!running) return;
    std::filesystem::create_directories(env->paths.supportDir);
    std::ofstream(env->paths.statusFile)
        << "{\"pid\":" << getpid() << ",\"accessibility\":" << (accessibility ? "true" : "false")
        << ",\"inputMonitoring\":" << (inputMonitoring ? "true" : "false") << "}";
  }
  void shake(bool on) {
    mac->system().preferencesWriter.setAnyHost("CGDisableCursorLocationMagnification", !on);
  }
};

QString dirPath;
QString suffix;

void save(const QImage& img, const QString& name) {
  const QString path = dirPath + QLatin1Char('/') + name + suffix;
  img.save(path);
  std::printf("wrote %s %dx%d\n", qPrintable(QFileInfo(path).fileName()), img.width(),
              img.height());
}

void shoot(QWidget* w, const QString& title, gallery::TitleButtons buttons, const QString& name) {
  w->setAttribute(Qt::WA_DontShowOnScreen);
  w->show();
  QCoreApplication::processEvents();
  w->adjustSize();
  if (w->hasHeightForWidth()) w->resize(w->width(), w->heightForWidth(w->width()));
  QCoreApplication::processEvents();
  save(gallery::framedWindow(w, title, buttons), name);
}

void setupStates(Machine& m) {
  using platform::ServiceStatus;
  struct State {
    const char* name;
    std::function<void()> before;  // the machine when the window opens
    std::function<void()> after;   // what changes while it is open
  };
  const State states[] = {
      {"starting",
       [&] {
         m.agent(ServiceStatus::enabled);
         m.helper(false, false, false);
         m.shake(true);
       },
       {}},
      {"approval", [&] { m.agent(ServiceStatus::requiresApproval); }, {}},
      {"error", [&] { m.agent(ServiceStatus::notFound); }, {}},
      {"accessibility",
       [&] {
         m.agent(ServiceStatus::enabled);
         m.helper(true, false, false);
       },
       {}},
      {"checking", [&] { m.helper(true, false, false); }, [&] { m.helper(true, true, false); }},
      {"done",
       [&] {
         m.helper(true, true, true);
         m.shake(false);
       },
       {}},
  };
  for (const State& s : states) {
    s.before();
    auto* view = new SetupView(*m.env);
    if (s.after) {
      view->setAttribute(Qt::WA_DontShowOnScreen);
      view->show();
      s.after();
      view->update();
    }
    shoot(view, QStringLiteral("Set up Quillon"), gallery::TitleButtons::closeWithDisabledOthers,
          QStringLiteral("setup-") + s.name);
    delete view;
  }
}

void feedbackStates(Machine& m) {
  for (const char* name : {"empty", "typed", "failed"}) {
    auto* view = new FeedbackView(*m.env);
    if (std::string(name) != "empty") {
      view->messageEdit()->setPlainText(
          QStringLiteral("The trackpad feels great, but the mouse speeds up a little too "
                         "soon for me. Could the threshold go higher?"));
      view->emailField()->setText(QStringLiteral("me@example.com"));
    }
    if (std::string(name) == "failed") {
      app::Feedback::setUrlForTests("http://127.0.0.1:9");  // the discard port: refused
      view->send();
      QElapsedTimer t;
      t.start();
      while (view->state() == FeedbackView::State::sending && t.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      }
    }
    shoot(view, QStringLiteral("Send Feedback"), gallery::TitleButtons::closeWithDisabledOthers,
          QStringLiteral("feedback-") + name);
    delete view;
  }
}

// Modal windows: pictured while they wait, then answered.
void modal(const std::function<QWidget*()>& current, const std::function<void()>& run,
           const QString& title, const QString& name, const char* answer) {
  QTimer::singleShot(50, [&] {
    QWidget* w = current();
    if (!w) return;
    save(gallery::framedWindow(w, title, gallery::TitleButtons::closeOnly), name);
    if (auto* b = w->findChild<QAbstractButton*>(QLatin1String(answer))) {
      b->click();
    } else {
      w->close();
    }
  });
  run();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  Appearance::instance().apply();
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 2) {
    std::fprintf(stderr, "usage: quillon-window-gallery DIR\n");
    return 2;
  }
  dirPath = args[1];
  QDir().mkpath(dirPath);
  Machine machine;
  for (const bool dark : {false, true}) {
    Appearance::instance().setDark(dark);
    suffix = dark ? QStringLiteral("-dark.png") : QStringLiteral("-light.png");
    setupStates(machine);
    feedbackStates(machine);
    modal([] { return UninstallSurvey::current(); }, [] { (void)UninstallSurvey::ask(); },
          QStringLiteral("Before you go"), QStringLiteral("survey"), "skip");
    modal([] { return currentAlert(); }, [] { (void)confirmUninstall(); }, QString(),
          QStringLiteral("alert-uninstall"), "alertButton1");
    SetupView view(*machine.env);
    modal([] { return currentAlert(); }, [&view] { view.useAnyway(); }, QString(),
          QStringLiteral("alert-anyway"), "alertButton1");
  }
  return 0;
}
