// The app's start-up and installer on the simulated Mac, with stand-ins for
// the windows and the alerts: the end-to-end tests copy this program into a
// bundle as Contents/MacOS/Quillon and open it as a user would.
//
// Environment:
//   QUILLON_PROBE_ANSWERS          the alerts' answers in order ("0,-1");
//                                  an alert beyond them is dismissed (-1)
//   QUILLON_PROBE_IGNORE_TERMINATE "1": requests to quit are noted, not
//                                  obeyed (a copy that has to be forced)
// Each process appends what happens to <system folder>/probe.jsonl, one JSON
// object a line: {"pid":N,"event":"start"|"alert"|"showSetup"|"setUpPanel"|
// "showPanel"|"ignoredTerminate"|"relaunch"|"exit","t":<monotonic seconds>,...}.
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <sstream>

#include <nlohmann/json.hpp>

#include "app/core/app.h"
#include "app/core/installer.h"
#include "app/core/model.h"
#include "app/core/preview_runner.h"
#include "app/core/qt_run_loop.h"
#include "sim/app/app_mac.h"

namespace quillon::app {
namespace {

using nlohmann::json;

std::filesystem::path gNotes;

void note(const std::string& event, json detail = json::object()) {
  detail["pid"] = getpid();
  detail["event"] = event;
  detail["t"] =
      std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
  const std::string line = detail.dump() + "\n";
  // One write with O_APPEND: lines of several probes never interleave.
  int fd = ::open(gNotes.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  (void)!::write(fd, line.data(), line.size());
  ::close(fd);
}

class ProbeWindows final : public Windows {
 public:
  void showSetup() override { note("showSetup"); }
  bool setupVisible() override { return false; }
  void setUpPanel() override { note("setUpPanel"); }
  void showPanel() override { note("showPanel"); }
  void snapshotPanel(const std::string&, const std::filesystem::path&) override {}
  SurveyOutcome askUninstallSurvey() override { return {}; }
  bool confirmUninstall() override { return false; }
  void closeSideWindows() override {}
  void activateApp() override { note("activateApp"); }
  void terminateApp(int status) override { QCoreApplication::exit(status); }
};

class ProbeAlerts final : public InstallerAlerts {
 public:
  ProbeAlerts() {
    std::istringstream in(
        std::getenv("QUILLON_PROBE_ANSWERS") ? std::getenv("QUILLON_PROBE_ANSWERS") : "");
    for (std::string a; std::getline(in, a, ',');) answers_.push_back(std::stoi(a));
  }
  int run(const InstallerAlert& alert) override {
    int answer = next_ < answers_.size() ? answers_[next_++] : -1;
    note("alert", {{"message", alert.message},
                   {"informativeText", alert.informativeText},
                   {"buttons", alert.buttons},
                   {"answer", answer}});
    return answer;
  }

 private:
  std::vector<int> answers_;
  size_t next_ = 0;
};

class NoPreview final : public PreviewRunner {
 public:
  void start(const std::vector<std::string>&, Done) override {}
};

int runProbe(int argc, char** argv) {
  QCoreApplication qapp(argc, argv);
  sim::AppMac mac(sim::Mac::defaultRoot());
  gNotes = mac.root() / "probe.jsonl";
  mac.setMainQueue([](std::function<void()> work) {
    QMetaObject::invokeMethod(qApp, std::move(work), Qt::QueuedConnection);
  });
  if (const char* ignore = std::getenv("QUILLON_PROBE_IGNORE_TERMINATE"); ignore && *ignore == '1')
    mac.setTerminateHandler([] { note("ignoredTerminate"); });
  mac.serveChannel();

  QtRunLoop loop;
  Env env{mac.system(), Paths::current(), loop, static_cast<uint32_t>(getuid()), {}, {}};
  ProbeWindows windows;
  ProbeAlerts alerts;
  NoPreview preview;
  env.installer = installerHooks(env, alerts);
  env.installer.relaunchApp = [relaunch = env.installer.relaunchApp] {
    note("relaunch");
    relaunch();
  };
  std::vector<std::string> args(argv, argv + argc);

  note("start", {{"bundlePath", mac.system().bundle.bundlePath()}});
  App app(env, windows, preview, parseCommandLine(args));
  app.start();
  json started = {{"pending", env.flags.installerPending}, {"previewOnly", env.flags.previewOnly}};
  note("mode", started);
  const int status = QCoreApplication::exec();

  json records = json::array();
  for (const sim::Record& r : mac.records())
    records.push_back({{"kind", r.kind}, {"detail", json::parse(r.detail, nullptr, false)}});
  note("exit", {{"status", status}, {"records", records}});
  return status;
}

}  // namespace
}  // namespace quillon::app

int main(int argc, char** argv) {
  return quillon::app::runProbe(argc, argv);
}
