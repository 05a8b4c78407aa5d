// The installer end to end on the simulated Mac: copies of the probe app
// (the app's real start-up and installer, windows and alerts stood in) are
// opened from bundles as a user opens them, and hand over to each other
// through the real scripts and the tools' stand-ins.
#include <signal.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "common/bundle_ids.h"
#include "installer_support.h"
#include "sim/app/app_channel.h"
#include "sim/app/launchd_state.h"
#include "sim/app/spawn.h"
#include "sim/sim_state.h"

namespace quillon::app::test {
namespace {

using nlohmann::json;
using sim::testing::readText;
using sim::testing::waitFor;
using sim::testing::writeText;

class InstallerE2E : public InstallerTest {
 protected:
  fs::path placeApp(const std::string& macPath) {
    return placeBundle(macPath, QUILLON_INSTALLER_PROBE);
  }

  // `open BUNDLE` as the Finder does it; the app inherits `env`.
  void open(const std::string& macPath, const std::map<std::string, std::string>& env = {}) {
    auto vars = env;
    vars["QUILLON_SIM_ROOT"] = root().string();
    for (const char* v : {"QUILLON_PROBE_ANSWERS", "QUILLON_PROBE_IGNORE_TERMINATE"})
      if (!vars.count(v)) vars[v] = "";
    auto opened = sim::runCaptured(sim::simToolPath(), {"quillon-sim-tool", "open", macPath},
                                   sim::environmentWith(vars));
    ASSERT_EQ(opened.status, 0) << opened.output << opened.startError;
  }

  std::vector<json> notes() const {
    std::vector<json> out;
    std::istringstream in(readText(root() / "probe.jsonl"));
    for (std::string line; std::getline(in, line);) {
      // A long line (an exit note with its records) may still be being
      // written: it is read once it is whole.
      json n = json::parse(line, nullptr, false);
      if (!n.is_discarded()) out.push_back(std::move(n));
    }
    return out;
  }
  // The first note of that event (and pid, when given), or null.
  json note(const std::string& event, int pid = 0) const {
    for (const json& n : notes())
      if (n["event"] == event && (pid == 0 || n["pid"] == pid)) return n;
    return nullptr;
  }
  // The pid of the app started from `bundle` that is not one of `others`;
  // 0 when none started within `seconds`.
  int startedFrom(const std::string& bundle, const std::vector<int>& others = {},
                  double seconds = 60) const {
    int pid = 0;
    waitFor(
        [&] {
          for (const json& n : notes()) {
            int p = n["pid"];
            if (n["event"] == "mode" && note("start", p)["bundlePath"] == bundle &&
                std::find(others.begin(), others.end(), p) == others.end())
              pid = p;
          }
          return pid != 0;
        },
        seconds);
    return pid;
  }
  std::vector<json> records(int pid, const std::string& kind) const {
    std::vector<json> out;
    json exit = note("exit", pid);
    if (exit.is_null()) return out;
    for (const json& r : exit["records"])
      if (r["kind"] == kind) out.push_back(r["detail"]);
    return out;
  }
  std::vector<json> toolCalls(const std::string& tool) const {
    std::vector<json> calls;
    std::istringstream in(readText(root() / "tools.jsonl"));
    for (std::string line; std::getline(in, line);) {
      json call = json::parse(line);
      if (call["tool"] == tool) calls.push_back(call["args"]);
    }
    return calls;
  }
};

TEST_F(InstallerE2E, TheDiskImagesCopyMovesToApplicationsAndTheCopyStartsWithSetup) {
  files().mount("/Volumes/Quillon", true);
  placeApp("/Volumes/Quillon/Quillon.app");
  placeApp("/Applications/Quillon.app");
  writeText(host("/Applications/Quillon.app/Contents/Resources/old"), "old");

  // An older copy runs from Applications and will not quit when asked.
  open("/Applications/Quillon.app", {{"QUILLON_PROBE_IGNORE_TERMINATE", "1"}});
  const int old = startedFrom("/Applications/Quillon.app");
  ASSERT_NE(old, 0) << readText(root() / "open.log");

  open("/Volumes/Quillon/Quillon.app", {{"QUILLON_PROBE_ANSWERS", "0"}});
  const int installer = startedFrom("/Volumes/Quillon/Quillon.app");
  ASSERT_NE(installer, 0) << readText(root() / "open.log");
  EXPECT_EQ(note("mode", installer)["pending"], true);
  EXPECT_EQ(note("mode", installer)["previewOnly"], true);

  const int moved = startedFrom("/Applications/Quillon.app", {old, installer}, 30);
  ASSERT_NE(moved, 0) << readText(root() / "open.log");
  ASSERT_FALSE(note("exit", installer).is_null());

  // The offer, answered with its first button.
  json alert = note("alert", installer);
  EXPECT_EQ(alert["message"], kOfferMessage);
  EXPECT_EQ(alert["informativeText"], kOfferText);
  EXPECT_EQ(alert["buttons"], kOfferButtons);
  // The older copy: asked, then forced once 40 polls had passed.
  EXPECT_FALSE(note("ignoredTerminate", old).is_null());
  EXPECT_FALSE(sim::processAlive(old));
  EXPECT_EQ(records(installer, "terminate"),
            (std::vector<json>{{{"pid", old}, {"process", true}, {"asked", true}}}));
  EXPECT_EQ(records(installer, "forceTerminate"),
            (std::vector<json>{{{"pid", old}, {"process", true}, {"ended", true}}}));
  EXPECT_GE(
      note("exit", installer)["t"].get<double>() - note("ignoredTerminate", old)["t"].get<double>(),
      3.9);
  // The older copy in the Trash, the new one in its place.
  EXPECT_EQ(readText(root() / "Trash/Quillon.app/Contents/Resources/old"), "old");
  EXPECT_FALSE(fs::exists(host("/Applications/Quillon.app/Contents/Resources/old")));
  // The hand-over, exactly; the copy started only once the installer was gone.
  EXPECT_EQ(records(installer, "startDetached"),
            (std::vector<json>{{{"path", "/bin/sh"},
                                {"args",
                                 {"-c", kHandOverScript, "sh", std::to_string(installer),
                                  "/Applications/Quillon.app", "/Volumes/Quillon"}}}}));
  EXPECT_GT(note("start", moved)["t"].get<double>(), note("exit", installer)["t"].get<double>());
  EXPECT_EQ(toolCalls("open").back(), json{"/Applications/Quillon.app"});
  // The disk image is ejected.
  ASSERT_TRUE(waitFor([&] { return !toolCalls("hdiutil").empty(); }));
  EXPECT_EQ(toolCalls("hdiutil"), (std::vector<json>{{"detach", "/Volumes/Quillon", "-quiet"}}));
  EXPECT_FALSE(files().unmount("/Volumes/Quillon")) << "detached already";

  // Installer mode touched nothing; the moved copy starts as a new user's.
  EXPECT_TRUE(records(installer, "hotKeyRegister").empty());
  EXPECT_TRUE(records(installer, "agentRegister").empty());
  EXPECT_EQ(note("mode", moved)["pending"], false);
  EXPECT_TRUE(waitFor([&] { return !note("showSetup", moved).is_null(); }));
  EXPECT_TRUE(note("showSetup", installer).is_null());
}

// A writable volume under /Volumes (an external disk) and a read-only
// volume elsewhere are no installer: the app starts as usual.
TEST_F(InstallerE2E, OtherVolumesStartNormally) {
  for (const auto& [volume, readOnly] :
       {std::pair{"/Volumes/External", false}, std::pair{"/Library/Images", true}}) {
    SCOPED_TRACE(volume);
    files().mount(volume, readOnly);
    const std::string bundle = std::string(volume) + "/Quillon.app";
    placeApp(bundle);
    open(bundle, {{"QUILLON_PROBE_ANSWERS", "0"}});
    const int pid = startedFrom(bundle);
    ASSERT_NE(pid, 0) << readText(root() / "open.log");
    EXPECT_EQ(note("mode", pid)["pending"], false);
    EXPECT_TRUE(waitFor([&] { return !note("showSetup", pid).is_null(); }));
    EXPECT_TRUE(note("alert", pid).is_null());
  }
}

TEST_F(InstallerE2E, ResetAllRelaunchesANewInstanceOnceTheOldOneHasEnded) {
  placeApp("/Applications/Quillon.app");
  open("/Applications/Quillon.app");
  const int first = startedFrom("/Applications/Quillon.app");
  ASSERT_NE(first, 0) << readText(root() / "open.log");

  // ⌃⌥⌘0: every setting back to its default, then the restart.
  json pressed = sim::sendAppRequest(root(), first, {{"cmd", "hotKey"}, {"id", 3}});
  ASSERT_EQ(pressed.value("delivered", false), true) << pressed.dump();
  const int second = startedFrom("/Applications/Quillon.app", {first});
  ASSERT_NE(second, 0) << readText(root() / "open.log");

  EXPECT_EQ(records(first, "startDetached"),
            (std::vector<json>{
                {{"path", "/bin/sh"},
                 {"args",
                  {"-c", kRelaunchScript, "/Applications/Quillon.app", std::to_string(first)}}}}));
  EXPECT_FALSE(records(first, "terminateSelf").empty());
  EXPECT_TRUE(fs::exists(home() / "Library/Application Support/Quillon/config.json"))
      << "the reset was saved before the restart";
  EXPECT_GT(note("start", second)["t"].get<double>(), note("exit", first)["t"].get<double>());
}

// An old copy that is slow to quit: `open` while it still runs would only
// bring it forward, and then no copy would be left. The relaunch waits.
TEST_F(InstallerE2E, RelaunchWaitsForAnOldCopyThatIsSlowToQuit) {
  // Notes every look the relaunch takes at the old process.
  const fs::path looks = root() / "kill-calls.log";
  const fs::path tool = root() / "sim-tool-noting-kill";
  writeText(tool, "#!/bin/sh\n[ \"$1\" = kill ] && echo \"$*\" >> '" + looks.string() +
                      "'\nexec '" + sim::simToolPath() + "' \"$@\"\n");
  fs::permissions(tool, fs::perms::owner_all);
  placeApp("/Applications/Quillon.app");
  // The first copy ignores the request to quit: it runs on until ended.
  open("/Applications/Quillon.app",
       {{"QUILLON_PROBE_IGNORE_TERMINATE", "1"}, {"QUILLON_SIM_TOOL", tool.string()}});
  const int first = startedFrom("/Applications/Quillon.app");
  ASSERT_NE(first, 0) << readText(root() / "open.log");
  json pressed = sim::sendAppRequest(root(), first, {{"cmd", "hotKey"}, {"id", 3}});
  ASSERT_EQ(pressed.value("delivered", false), true) << pressed.dump();

  // The relaunch script starts before the old copy is asked to quit, so
  // its first look may come first: wait for both.
  ASSERT_TRUE(waitFor([&] {
    return !note("ignoredTerminate", first).is_null() &&
           readText(looks).find("kill -0 " + std::to_string(first)) != std::string::npos;
  })) << "the old copy ignores the request to quit, and the relaunch looks at it";
  ::kill(first, SIGKILL);

  const int second = startedFrom("/Applications/Quillon.app", {first});
  ASSERT_NE(second, 0) << readText(root() / "open.log");
}

}  // namespace
}  // namespace quillon::app::test
