// The app core on the simulated Mac: the real `quillon` executable, the
// real helper under the simulated launchd, the model on Qt's event loop.
#include <signal.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include "app/core/helper_control.h"
#include "app/core/installer.h"
#include "app/core/model.h"
#include "app/core/preview_runner.h"
#include "app/core/qt_run_loop.h"
#include "core_fixture.h"
#include "sim/app/app_mac.h"
#include "sim/app/launchd_state.h"
#include "sim_app_support.h"

namespace quillon::app::test {
namespace {

using nlohmann::json;
using platform::ServiceStatus;
using sim::testing::builtBundle;
using sim::testing::SimAppTest;

// Runs Qt's event loop until `done`, or `seconds` have passed.
bool spinUntil(const std::function<bool()>& done, double seconds = 60) {
  QElapsedTimer t;
  t.start();
  while (!done() && static_cast<double>(t.elapsed()) < seconds * 1000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  return done();
}

// The helper's pid once launchd reports one that `wanted` accepts; 0 if it
// never does.
pid_t waitForAgent(const std::filesystem::path& root,
                   const std::function<bool(pid_t)>& wanted = {}) {
  return sim::testing::waitForJobPid(root, "com.quillon.helper", wanted);
}

// What launchd last said of the helper's job, for failure messages.
std::string agentJob(const std::filesystem::path& root) {
  const auto job = sim::readJobStatus(sim::SystemFolder(root))["com.quillon.helper"];
  return "launchd: pid " + std::to_string(job.pid) + ", starts " + std::to_string(job.starts) +
         ", last exit " + (job.lastExit ? std::to_string(*job.lastExit) : "none");
}

// `quillon ARGS` from the built bundle, with no display at all.
std::string quillon(const std::filesystem::path& root, const QStringList& args) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  env.insert("QUILLON_SIM_ROOT", QString::fromStdString(root.string()));
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(QString::fromStdString((builtBundle() / "Contents/MacOS/Quillon").string()), args);
  if (!p.waitForFinished(60000)) {
    p.kill();
    p.waitForFinished();
    return "timed out";
  }
  return p.readAll().toStdString() +
         (p.exitCode() == 0 ? "" : "exit " + std::to_string(p.exitCode()));
}

constexpr char kAgentLine[] =
    " (0 not registered, 1 enabled, 2 needs approval, 3 not found)\nhelper: Status(";

TEST_F(SimAppTest, HelperCommandRegistersTheRealHelperWhichLaunchdKeepsAlive) {
  const std::string registered = quillon(root(), {"--helper", "register"});
  EXPECT_EQ(registered.rfind(std::string("registered\nagent status: 1") + kAgentLine, 0), 0u)
      << registered;
  const pid_t first = waitForAgent(root());
  ASSERT_GT(first, 0) << agentJob(root());
  // The helper waits for Accessibility, and says so in its status file.
  ASSERT_TRUE(sim::testing::waitFor([&] {
    return quillon(root(), {"--helper", "status"}).find("running: true") != std::string::npos;
  }));
  const std::string status = quillon(root(), {"-x", "--helper", "status"});
  EXPECT_EQ(status.rfind(std::string("agent status: 1") + kAgentLine + "accessibility: false, ", 0),
            0u)
      << status;
  EXPECT_NE(status.find("running: true)\n"), std::string::npos);

  ::kill(first, SIGKILL);
  const pid_t second = waitForAgent(root(), [&](pid_t pid) { return pid != first; });
  ASSERT_GT(second, 0) << "started again after it was killed; " << agentJob(root());

  const std::string unregistered = quillon(root(), {"--helper", "unregister"});
  EXPECT_EQ(unregistered.rfind(std::string("unregistered\nagent status: 0") + kAgentLine, 0), 0u)
      << unregistered;
  EXPECT_TRUE(sim::testing::waitFor([&] { return ::kill(second, 0) != 0; }));
  EXPECT_FALSE(std::filesystem::exists(home() / "Library/Application Support/Quillon/status.json"));
}

// A model on this machine, as the app makes it.
class SimModelTest : public SimAppTest {
 protected:
  void start(const std::filesystem::path& bundle) {
    mac = std::make_unique<sim::AppMac>(root(), sim::AppMac::Options{bundle, false});
    mac->setMainQueue([](std::function<void()> work) {
      QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work),
                                Qt::QueuedConnection);
    });
    env =
        std::make_unique<Env>(Env{mac->system(), Paths::forHome(home()), loop, ::getuid(), {}, {}});
    env->installer = stubInstallerHooks(windows);
    preview = std::make_unique<ProcessPreviewRunner>(
        QString::fromStdString(env->sys.bundle.hostPath(Helper::exe(*env)).string()));
  }
  std::unique_ptr<Model> makeModel() {
    env->flags = {};
    return std::make_unique<Model>(*env, windows, *preview);
  }
  size_t count(const std::string& kind) { return mac->records(kind).size(); }
  void TearDown() override {
    preview.reset();
    env.reset();
    mac.reset();
    SimAppTest::TearDown();
  }

  Calls calls;
  RecordingWindows windows{calls};
  QtRunLoop loop;
  std::unique_ptr<sim::AppMac> mac;
  std::unique_ptr<Env> env;
  std::unique_ptr<ProcessPreviewRunner> preview;
};

TEST_F(SimModelTest, SavingRegistersAndUnregistersTheHelperAsTheSettingsNeedIt) {
  start(builtBundle());
  auto model = makeModel();
  model->setDevice(Device::mouse);
  ASSERT_TRUE(spinUntil([&] { return model->curves().contains(Mode::windows); }))
      << "the real helper's preview arrives";

  mac->clearRecords();
  // Qt's timers fire only in its event loop, which these edits do not run:
  // they are one batch however long they take. The save comes no sooner
  // than the delay after the last one, timed from just before it.
  model->setMode(Mode::windows);
  model->binding (&DeviceConfig::winSpeed)(12);
  QElapsedTimer clock;
  clock.start();
  model->binding (&DeviceConfig::winSpeed)(14);
  EXPECT_TRUE(spinUntil([&] { return count("agentRegister") == 1; }, 60));
  EXPECT_GE(clock.elapsed(), Model::kSaveDelayMs);
  EXPECT_EQ(count("inputParameter"), 1u) << "three edits, one save";
  const pid_t helper = waitForAgent(root());
  ASSERT_GT(helper, 0) << agentJob(root());
  EXPECT_EQ(json::parse(sim::testing::readText(env->paths.configFile))["mouse"]["winSpeed"], 14.0);

  model->setMode(Mode::mac);
  EXPECT_TRUE(spinUntil([&] { return count("agentUnregister") == 1; }, 60))
      << "nothing left for the helper to do";
  EXPECT_TRUE(sim::testing::waitFor([&] { return ::kill(helper, 0) != 0; }));
  EXPECT_EQ(Helper::agent(*env).status(), ServiceStatus::notRegistered);
}

TEST_F(SimModelTest, ANewHelperFileIsRegisteredAgainOnce) {
  // A bundle of this test's own, since its helper file changes.
  const auto bundle = base_ / "Applications/Quillon.app";
  std::filesystem::create_directories(bundle.parent_path());
  std::filesystem::copy(builtBundle(), bundle, std::filesystem::copy_options::recursive);
  start(bundle);
  ASSERT_EQ(Helper::start(*env), std::nullopt);
  Helper::refreshIfUpdated(*env);  // the first stamp
  mac->clearRecords();
  Helper::refreshIfUpdated(*env);
  EXPECT_TRUE(mac->records().empty()) << "same file: nothing";

  // A start that fails (a freshly copied file can be busy for exec) is tried
  // again after launchd's throttle interval.
  const pid_t before = waitForAgent(root());
  ASSERT_GT(before, 0) << agentJob(root());
  const auto exe = env->sys.bundle.hostPath(Helper::exe(*env));
  std::filesystem::last_write_time(
      exe, std::filesystem::last_write_time(exe) + std::chrono::seconds(10));
  const auto stamp = env->sys.defaults.standard().stringValue("helperStamp");
  auto model = makeModel();  // the next launch
  EXPECT_EQ(count("agentUnregister"), 1u);
  EXPECT_EQ(count("agentRegister"), 1u);
  EXPECT_NE(env->sys.defaults.standard().stringValue("helperStamp"), stamp);
  // launchd may hold the new start back for its throttle interval.
  EXPECT_GT(waitForAgent(root(), [&](pid_t pid) { return pid != before; }), 0)
      << "the new helper file runs; " << agentJob(root()) << ", before " << before << "\n"
      << sim::testing::readText(sim::SystemFolder(root()).root() / "launchd.json");
}

TEST_F(SimModelTest, ResetsWriteMacOSSettingsAtOnce) {
  start(builtBundle());
  auto model = makeModel();
  model->setDevice(Device::mouse);
  model->macSpeedBinding()(2.5);
  model->accelBinding()(false);
  model->resetCurrent();
  EXPECT_FALSE(model->savePending());
  EXPECT_EQ(env->sys.preferences.globalValue("com.apple.mouse.scaling"),
            platform::PrefValue(0.6875));
  EXPECT_NE(env->sys.preferences.globalValue("com.apple.mouse.linear"), platform::PrefValue(true));

  model->setMode(Mode::custom);
  model->binding (&DeviceConfig::speed)(50);
  model->resetCurrent();
  EXPECT_EQ(json::parse(sim::testing::readText(env->paths.configFile))["mouse"]["speed"], 30.0);

  model->setMode(Mode::windows);
  ASSERT_TRUE(spinUntil([&] { return count("agentRegister") == 1; }, 60));
  model->resetAll();
  EXPECT_EQ(Helper::agent(*env).status(), ServiceStatus::notRegistered);
  EXPECT_EQ(json::parse(sim::testing::readText(env->paths.configFile))["mouse"]["mode"], "mac");
  EXPECT_EQ(calls.back(), "window.terminate 0") << "the relaunch, stubbed";
}

TEST_F(SimModelTest, AnOldLayoutIsMigratedAtTheFirstStart) {
  start(builtBundle());
  const auto old = home() / "Library/Application Support/quillon";
  sim::testing::writeText(old / "config.json", "{}");
  sim::testing::writeText(home() / "Library/LaunchAgents/local.quillon.plist", "<plist/>");
  sim::testing::writeText(home() / "Library/Logs/quillon.log", "old log");
  const std::string presets =
      R"([null,{"speed":30,"accel":0.8,"shape":1,"threshold":0,"maxBoost":3},null])";
  env->sys.defaults.suite("local.quillon.ui")
      ->setData("presets.mouse", platform::UserDefaults::Data(presets.begin(), presets.end()));

  auto model = makeModel();
  EXPECT_TRUE(std::filesystem::exists(env->paths.supportDir / "config.json"));
  EXPECT_FALSE(std::filesystem::exists(old));
  EXPECT_FALSE(std::filesystem::exists(home() / "Library/LaunchAgents/local.quillon.plist"));
  EXPECT_FALSE(std::filesystem::exists(home() / "Library/Logs/quillon.log"));
  model->setDevice(Device::mouse);
  EXPECT_EQ(model->preset(1), (Preset{30, 0.8, 1, 0, 3}));
  const auto runs = mac->records("run");
  ASSERT_FALSE(runs.empty());
  EXPECT_NE(runs[0].detail.find("bootout"), std::string::npos) << runs[0].detail;
}

}  // namespace
}  // namespace quillon::app::test
