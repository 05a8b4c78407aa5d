// The installer in this process, on the simulated Mac: this test process is
// the app, the alerts are answered by the test, and the sleeps between
// polls of a quitting copy are counted instead of slept.
#include <sys/stat.h>

#include "app/core/installer.h"
#include "common/bundle_ids.h"
#include "installer_support.h"
#include "sim/app/app_mac.h"
#include "sim/sim_services.h"

namespace quillon::app::test {
namespace {

using nlohmann::json;
using sim::testing::readText;
using sim::testing::writeText;

class ScriptedAlerts final : public InstallerAlerts {
 public:
  int run(const InstallerAlert& alert) override {
    shown.push_back(alert);
    return shown.size() <= answers.size() ? answers[shown.size() - 1] : -1;
  }
  std::vector<int> answers;
  std::vector<InstallerAlert> shown;
};

class NoRunLoop final : public platform::RunLoop {
 public:
  TimerId addTimer(double, bool, std::function<void()>) override { return 0; }
  void cancelTimer(TimerId) override {}
  void after(double, std::function<void()>) override {}
  void run() override {}
  void stop() override {}
};

TEST(VolumePath, IsTheThirdComponentUnderVolumesOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"/Volumes/Quillon/Quillon.app", "/Volumes/Quillon"},
      {"/Volumes/Quillon 0.1/Quillon.app", "/Volumes/Quillon 0.1"},
      {"/Volumes/Q/deep/in/the/image/Quillon.app", "/Volumes/Q"},
      {"/Volumes/Q", "/Volumes/Q"},
      {"/Volumes/", ""},
      {"/Volumes", ""},
      {"/VolumesX/Q/Quillon.app", ""},
      {"/private/var/folders/ab/T/AppTranslocation/6F2A/d/Quillon.app", ""},
      {"/Applications/Quillon.app", ""},
  };
  for (const auto& [path, volume] : cases) EXPECT_EQ(Installer::volumePath(path), volume) << path;
}

class InstallerInProcess : public InstallerTest {
 protected:
  void TearDown() override {
    mac_.reset();
    InstallerTest::TearDown();
  }

  // This process as the app of a bundle at a Mac-side path, listed as a
  // running copy like any other.
  void runAppFrom(const std::string& macBundle) {
    mac_ = std::make_unique<sim::AppMac>(
        root(), sim::AppMac::Options{.bundle = host(macBundle), .listAsRunning = true});
    mac_->setTerminateHandler([this] { ++terminated_; });
    env_ = std::make_unique<Env>(Env{
        mac_->system(), Paths::forHome(home()), loop_, static_cast<uint32_t>(getuid()), {}, {}});
  }
  void offerMove() {
    Installer::offerMove(*env_, alerts_, [this](int ms) { sleptMs_.push_back(ms); });
  }
  // What the app asked of the system, in order, among the steps of a move.
  std::vector<std::string> steps() const {
    std::vector<std::string> out;
    for (const sim::Record& r : mac_->records()) {
      const json d = json::parse(r.detail);
      if (r.kind == "terminate" || r.kind == "forceTerminate")
        out.push_back(r.kind + " " + std::to_string(d["pid"].get<int>()));
      else if (r.kind == "activateSelf" || r.kind == "recycle" || r.kind == "startDetached" ||
               r.kind == "terminateSelf")
        out.push_back(r.kind);
    }
    return out;
  }
  json detachedArgs() const {
    auto started = mac_->records("startDetached");
    if (started.size() != 1) return nullptr;
    return json::parse(started[0].detail);
  }

  std::unique_ptr<sim::AppMac> mac_;
  std::unique_ptr<Env> env_;
  NoRunLoop loop_;
  ScriptedAlerts alerts_;
  std::vector<int> sleptMs_;
  int terminated_ = 0;
};

TEST_F(InstallerTest, RunningFromInstallerNeedsATranslocatedPathOrAReadOnlyVolumeUnderVolumes) {
  struct Case {
    const char* mount;  // null: none
    bool readOnly;
    const char* bundle;
    bool placed;
    bool expected;
  };
  const Case cases[] = {
      {"/Volumes/Quillon", true, "/Volumes/Quillon/Quillon.app", true, true},
      {"/Volumes/Deep", true, "/Volumes/Deep/a/b/Quillon.app", true, true},
      {"/Volumes/External", false, "/Volumes/External/Quillon.app", true, false},
      {"/Library/ReadOnly", true, "/Library/ReadOnly/Quillon.app", true, false},
      {"/private/var/folders/ab/T/AppTranslocation/6F2A", true,
       "/private/var/folders/ab/T/AppTranslocation/6F2A/d/Quillon.app", true, true},
      // Translocated counts whatever the volume says, even when the query fails.
      {nullptr, false, "/private/var/folders/cd/T/AppTranslocation/77B0/d/Quillon.app", false,
       true},
      {nullptr, false, "/Applications/Quillon.app", true, false},
      {nullptr, false, "/Volumes/Gone/Quillon.app", false, false},  // the query fails
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bundle);
    if (c.mount) files().mount(c.mount, c.readOnly);
    if (c.placed) placeBundle(c.bundle);
    sim::AppMac mac(root(), {.bundle = host(c.bundle), .listAsRunning = false});
    EXPECT_EQ(mac.system().bundle.bundlePath(), c.bundle);
    EXPECT_EQ(Installer::runningFromInstaller(mac.system().bundle), c.expected);
  }
}

TEST_F(InstallerInProcess, QuitOrClosingTheOfferEndsTheAppWithoutCopying) {
  files().mount("/Volumes/Quillon", true);
  placeBundle("/Volumes/Quillon/Quillon.app");
  runAppFrom("/Volumes/Quillon/Quillon.app");
  for (int answer : {1, -1}) {
    SCOPED_TRACE(answer);
    mac_->clearRecords();
    alerts_ = {};
    alerts_.answers = {answer};
    terminated_ = 0;
    offerMove();
    ASSERT_EQ(alerts_.shown.size(), 1u);
    EXPECT_EQ(alerts_.shown[0].message, kOfferMessage);
    EXPECT_EQ(alerts_.shown[0].informativeText, kOfferText);
    EXPECT_EQ(alerts_.shown[0].buttons, kOfferButtons);
    EXPECT_EQ(steps(), (std::vector<std::string>{"activateSelf", "terminateSelf"}));
    EXPECT_EQ(terminated_, 1);
    EXPECT_FALSE(fs::exists(host("/Applications/Quillon.app")));
    EXPECT_FALSE(fs::exists(home() / "Applications"));
  }
}

TEST_F(InstallerInProcess, MoveStopsOtherCopiesTrashesTheOldOneCopiesAndHandsOver) {
  files().mount("/Volumes/Quillon 0.1", true);
  placeBundle("/Volumes/Quillon 0.1/Quillon.app");
  writeText(host("/Volumes/Quillon 0.1/Quillon.app/Contents/Resources/new"), "new");
  placeBundle("/Applications/Quillon.app");
  writeText(host("/Applications/Quillon.app/Contents/Resources/old"), "old");
  runAppFrom("/Volumes/Quillon 0.1/Quillon.app");
  // Two other copies: one quits when asked, one has to be forced.
  sim::Recorder unused(false);
  sim::SimWorkspace apps(folder(), unused);
  const int polite = apps.launch(kAppBundleId, false);
  const int stubborn = apps.launch(kAppBundleId, true);
  const int self = getpid();
  ASSERT_EQ(mac_->system().workspace.runningApplications(kAppBundleId).size(), 3u);

  alerts_.answers = {0};
  offerMove();

  EXPECT_EQ(steps(),
            (std::vector<std::string>{"activateSelf", "terminate " + std::to_string(polite),
                                      "terminate " + std::to_string(stubborn),
                                      "forceTerminate " + std::to_string(stubborn), "recycle",
                                      "startDetached", "terminateSelf"}));
  EXPECT_EQ(sleptMs_, std::vector<int>(40, 100)) << "40 polls, 100 ms apart, for the stubborn one";
  auto running = mac_->system().workspace.runningApplications(kAppBundleId);
  ASSERT_EQ(running.size(), 1u);
  EXPECT_EQ(running[0].pid, self) << "never this process";

  EXPECT_EQ(readText(root() / "Trash/Quillon.app/Contents/Resources/old"), "old");
  EXPECT_EQ(readText(host("/Applications/Quillon.app/Contents/Resources/new")), "new");
  EXPECT_FALSE(fs::exists(host("/Applications/Quillon.app/Contents/Resources/old")));
  EXPECT_TRUE(fs::exists(host("/Volumes/Quillon 0.1/Quillon.app")));

  EXPECT_EQ(detachedArgs(), (json{{"path", "/bin/sh"},
                                  {"args",
                                   {"-c", kHandOverScript, "sh", std::to_string(self),
                                    "/Applications/Quillon.app", "/Volumes/Quillon 0.1"}}}));
  EXPECT_EQ(terminated_, 1);
  EXPECT_EQ(alerts_.shown.size(), 1u);
}

TEST_F(InstallerInProcess, WithApplicationsNotWritableTheCopyGoesToTheUsersOwnFolder) {
  const std::string translocated = "/private/var/folders/ab/T/AppTranslocation/6F2A/d/Quillon.app";
  files().mount("/private/var/folders/ab/T/AppTranslocation/6F2A", true);
  placeBundle(translocated);
  applicationsNotWritable();
  ASSERT_FALSE(fs::exists(home() / "Applications"));
  runAppFrom(translocated);
  alerts_.answers = {0};
  offerMove();

  const std::string destination = (home() / "Applications/Quillon.app").string();
  EXPECT_TRUE(fs::exists(fs::path(destination) / "Contents/Info.plist"));
  EXPECT_TRUE(fs::is_empty(host("/Applications")));
  // A translocated copy has no installer volume: the script skips hdiutil.
  EXPECT_EQ(detachedArgs()["args"],
            (json{"-c", kHandOverScript, "sh", std::to_string(getpid()), destination, ""}));
  EXPECT_EQ(steps(), (std::vector<std::string>{"activateSelf", "startDetached", "terminateSelf"}));
  EXPECT_TRUE(sleptMs_.empty());
}

enum class Failure { destinationUnwritable, folderInTheWay, unreadableBundle };

class MoveFailure : public InstallerInProcess, public ::testing::WithParamInterface<Failure> {};

TEST_P(MoveFailure, ShowsItsErrorInTheSecondAlertThenEndsTheApp) {
  files().mount("/Volumes/Quillon", true);
  placeBundle("/Volumes/Quillon/Quillon.app");
  const std::string userFolder = (home() / "Applications").string();
  std::string errorStart;
  std::string destination;  // must not exist afterwards
  switch (GetParam()) {
    case Failure::destinationUnwritable:
      if (!noApplicationsFolderWritable()) GTEST_SKIP() << "no folder can be made unwritable here";
      destination = userFolder + "/Quillon.app";
      errorStart = "Couldn't copy “Quillon.app” to “" + destination + "”: ";
      break;
    case Failure::folderInTheWay:
      applicationsNotWritable();
      writeText(userFolder, "a file where the folder should be");
      destination = userFolder + "/Quillon.app";
      errorStart = "Couldn't create the folder “" + userFolder + "”: ";
      break;
    case Failure::unreadableBundle:
      ASSERT_EQ(mkfifo(host("/Volumes/Quillon/Quillon.app/Contents/pipe").c_str(), 0644), 0);
      fs::create_directories(host("/Applications"));
      destination = "/Applications/Quillon.app";
      errorStart =
          "Couldn't copy “Quillon.app” to "
          "“/Applications/Quillon.app”: ";
      break;
  }
  runAppFrom("/Volumes/Quillon/Quillon.app");
  alerts_.answers = {0};
  offerMove();

  ASSERT_EQ(alerts_.shown.size(), 2u);
  const InstallerAlert& failed = alerts_.shown[1];
  EXPECT_EQ(failed.message, kFailedMessage);
  EXPECT_TRUE(failed.buttons.empty()) << "the standard OK only";
  EXPECT_EQ(failed.informativeText.substr(0, kFailedTextStart.size()), kFailedTextStart);
  const std::string error = failed.informativeText.substr(kFailedTextStart.size());
  EXPECT_EQ(error.substr(0, errorStart.size()), errorStart);
  EXPECT_GT(error.size(), errorStart.size() + 1) << "the system's reason follows";
  EXPECT_EQ(error.back(), ')');
  EXPECT_EQ(steps(), (std::vector<std::string>{"activateSelf", "terminateSelf"}));
  EXPECT_EQ(terminated_, 1);
  EXPECT_FALSE(fs::exists(host(destination))) << "no half-made copy is left: " << error;
}

INSTANTIATE_TEST_SUITE_P(Installer, MoveFailure,
                         ::testing::Values(Failure::destinationUnwritable, Failure::folderInTheWay,
                                           Failure::unreadableBundle));

TEST_F(InstallerInProcess, RelaunchStartsTheDelayedOpenThenEndsTheApp) {
  placeBundle("/Applications/Quillon.app");
  runAppFrom("/Applications/Quillon.app");
  Installer::relaunchApp(*env_);
  EXPECT_EQ(detachedArgs(), (json{{"path", "/bin/sh"},
                                  {"args", {"-c", kRelaunchScript, "/Applications/Quillon.app"}}}));
  EXPECT_EQ(steps(), (std::vector<std::string>{"startDetached", "terminateSelf"}));
  EXPECT_EQ(terminated_, 1);
}

}  // namespace
}  // namespace quillon::app::test
