// Bad input to the simulated Mac's tools and to its offline control: an
// error in the tool's own words, nothing changed, never a crash.
#include "sim/app/app_mac.h"
#include "sim/app/launchd_state.h"
#include "sim/app/mac_fs.h"
#include "sim/app/offline_control.h"
#include "sim_app_support.h"

namespace quillon::sim::testing {
namespace {

using nlohmann::json;

TEST_F(SimAppTest, ToolStandInsRefuseBadInputInTheirOwnWords) {
  AppMac mac(root(), AppMac::Options{.bundle = builtBundle(), .listAsRunning = false});
  SystemFolder folder(root());
  MacFileSystem files(folder);
  const std::string domain = "gui/" + std::to_string(getuid());
  const fs::path numberLabel = base_ / "number-label.plist";
  writeText(numberLabel, "<plist><dict><key>Label</key><integer>7</integer></dict></plist>");
  writeText(base_ / "array.plist", "<plist><array/></plist>");
  writeText(base_ / "broken.plist", "<plist><dict>");
  // Nested far deeper than a reader that recurses per level survives.
  std::string deep = "<plist>";
  for (int i = 0; i < 65000; ++i) deep += "<array>";
  for (int i = 0; i < 65000; ++i) deep += "</array>";
  writeText(base_ / "deep.plist", deep + "</plist>");
  writeText(files.hostPath("/Applications/Odd.app/Contents/Info.plist"),
            "<plist><dict><key>CFBundleIdentifier</key><integer>1</integer>"
            "<key>CFBundleExecutable</key><array/></dict></plist>");

  struct Case {
    std::string tool;
    std::vector<std::string> args;
    int status;
    std::string output;  // a part of what it prints
  };
  const std::vector<Case> cases = {
      {"/bin/launchctl", {}, 64, "Usage: launchctl"},
      {"/bin/launchctl", {"bootout", domain, numberLabel.string()}, 5, "Boot-out failed: 5"},
      {"/bin/launchctl", {"bootout", domain, (base_ / "array.plist").string()}, 5, "failed: 5"},
      {"/bin/launchctl", {"bootout", domain, (base_ / "none.plist").string()}, 5, "failed: 5"},
      {"/bin/launchctl", {"bootout", "system/x"}, 113, "Could not find service"},
      {"/bin/launchctl", {"bootstrap", domain, (base_ / "broken.plist").string()}, 5, "failed: 5"},
      {"/bin/launchctl",
       {"bootstrap", domain, (base_ / "deep.plist").string()},
       5,
       "arrays and dictionaries nested more than 128 deep"},
      {"/bin/launchctl", {"kickstart"}, 113, "Could not find service"},
      {"/bin/launchctl", {"print"}, 113, "Could not find service"},
      {"/bin/launchctl", {"frobnicate"}, 64, "Unrecognized subcommand: frobnicate"},
      // Signal 0 only: were the refusal missing, these would reach real processes.
      {"/bin/kill", {"-0", "-1"}, 2, "kill: illegal process id: -1"},
      {"/bin/kill", {"-0", "0"}, 2, "kill: illegal process id: 0"},
      {"/bin/kill", {"-0", "12abc"}, 2, "kill: illegal process id: 12abc"},
      {"/bin/kill", {"-s", "BOGUS", "1"}, 2, "kill: unknown signal: BOGUS"},
      {"/bin/kill", {"-0"}, 2, "usage: kill"},
      {"/usr/bin/tccutil", {}, 64, "Usage: tccutil"},
      {"/usr/bin/tccutil", {"reset", "Camera"}, 70, "tccutil: Failed to reset Camera"},
      {"/usr/bin/defaults", {"write", "x"}, 64, "Usage: defaults"},
      {"/usr/bin/hdiutil", {"attach", "x.dmg"}, 1, "verb not recognized"},
      {"/usr/bin/hdiutil", {"detach", "/Volumes/../etc"}, 1, "detach failed"},
      {"/usr/bin/open", {}, 1, "Usage: open"},
      {"/usr/bin/open", {"/Applications/None.app"}, 1, "does not exist"},
      {"/usr/bin/open", {"/Applications/Odd.app"}, 1, "executable is missing"},
  };
  for (const auto& c : cases) {
    std::string call = c.tool;
    for (const auto& a : c.args) call += " " + a;
    platform::ProcessResult r = mac.system().processes.run(c.tool, c.args);
    EXPECT_EQ(r.status, c.status) << call << "\n" << r.output;
    EXPECT_NE(r.output.find(c.output), std::string::npos) << call << "\n" << r.output;
  }
  EXPECT_TRUE(readLaunchd(folder).agents.empty());
  EXPECT_TRUE(liveProcesses(folder).empty());
}

TEST_F(SimAppTest, OfflineControlRefusesWhatTheMachineCannotHold) {
  const fs::path outside = base_ / "outside";
  const std::string plist = "com.quillon.helper.plist";
  auto force = [&](json status) {
    return json{{"cmd", "forceService"}, {"name", plist}, {"status", status}};
  };
  auto mount = [](const std::string& path) {
    return json{{"cmd", "mount"}, {"path", path}, {"readOnly", true}};
  };
  struct Case {
    json request;
    std::string error;  // a part of the error; empty: any
  };
  const std::vector<Case> cases = {
      {force(9), "status must be 0"},
      {force(-1), "status must be 0"},
      {force("2"), "status must be 0"},
      {force(1.5), "status must be 0"},
      {mount("relative"), "is not in one of the Mac's folders"},
      {mount(outside.string()), "is not in one of the Mac's folders"},
      {mount("/Volumes/../etc/x"), "is not in one of the Mac's folders"},
      {mount("/Volumes"), "is not in one of the Mac's folders"},
      {json{{"cmd", "mount"}}, ""},
      {json{{"cmd", 7}}, ""},
      {json::array(), "not a JSON object"},
      {json{{"cmd", "nothing"}}, "unknown offline command \"nothing\""},
  };
  for (const auto& c : cases) {
    json reply = runOfflineCommand(root(), c.request);
    EXPECT_EQ(reply.value("ok", true), false) << c.request.dump();
    ASSERT_TRUE(reply.contains("error") && reply["error"].is_string()) << reply.dump();
    EXPECT_NE(reply["error"].get<std::string>().find(c.error), std::string::npos) << reply.dump();
  }
  SystemFolder folder(root());
  EXPECT_TRUE(readLaunchd(folder).forced.empty());
  EXPECT_FALSE(fs::exists(root() / "volumes.json"));
  EXPECT_FALSE(fs::exists(outside));
  EXPECT_FALSE(fs::exists(fs::current_path() / "relative"));

  // The sound forms still do their work.
  for (int status : {0, 1, 2, 3})
    EXPECT_EQ(runOfflineCommand(root(), force(status))["ok"], true) << status;
  EXPECT_EQ(readLaunchd(folder).forced[plist], 3);
  EXPECT_EQ(runOfflineCommand(root(), force(nullptr))["ok"], true);
  EXPECT_TRUE(readLaunchd(folder).forced.empty());
  EXPECT_EQ(runOfflineCommand(root(), mount("/Volumes/Q/"))["ok"], true);
  MacFileSystem files(folder);
  EXPECT_EQ(files.volumeIsReadOnly("/Volumes/Q"), true);
  EXPECT_TRUE(files.unmount("/Volumes/Q"));
}

}  // namespace
}  // namespace quillon::sim::testing
