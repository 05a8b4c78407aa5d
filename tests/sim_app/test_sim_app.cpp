// The simulated Mac as the menu bar app sees it: each service against what
// the app relies on, and what it records.
#include <sys/stat.h>

#include "sim/app/app_mac.h"
#include "sim/app/launchd_state.h"
#include "sim/app/mac_fs.h"
#include "sim/app/plist.h"
#include "sim/app/tool_map.h"
#include "sim/sim_state.h"
#include "sim_app_support.h"

namespace quillon::sim::testing {
namespace {

using nlohmann::json;
using platform::ServiceStatus;

std::vector<std::string> kinds(const std::vector<Record>& records) {
  std::vector<std::string> out;
  out.reserve(records.size());
  for (const auto& r : records) out.push_back(r.kind);
  return out;
}

class AppMacTest : public SimAppTest {
 protected:
  void SetUp() override {
    SimAppTest::SetUp();
    bundle_ = root() / "fs/Applications/Quillon.app";
    makeBundle(bundle_);
    mac_ = std::make_unique<AppMac>(root(), AppMac::Options{.bundle = bundle_});
  }
  void TearDown() override {
    mac_.reset();
    SimAppTest::TearDown();
  }
  platform::AppSystem& sys() { return mac_->system(); }
  fs::path bundle_;
  std::unique_ptr<AppMac> mac_;
};

// --- Property lists ---

TEST(Plist, ReadsEveryTypeAndRejectsWhatLaunchdWould) {
  std::string error;
  auto good = parsePlist(R"(<?xml version="1.0"?><plist version="1.0"><dict>
      <key>s</key><string>a &amp; b</string><key>i</key><integer>-7</integer>
      <key>r</key><real>0.5</real><key>t</key><true/><key>f</key><false/>
      <key>a</key><array><string>x</string><integer>2</integer></array>
      <key>d</key><data> AAEC
      </data><key>e</key><dict/></dict></plist>)",
                         error);
  ASSERT_TRUE(good) << error;
  EXPECT_EQ(*good, json::parse(R"({"s":"a & b","i":-7,"r":0.5,"t":true,"f":false,
                                   "a":["x",2],"d":"AAEC","e":{}})"));

  const std::vector<std::string> bad = {
      "",                                                     // empty
      "<plist><dict><key>a</key></dict></plist>",             // key without value
      "<plist><dict><string>a</string></dict></plist>",       // value without key
      "<plist><integer>x1</integer></plist>",                 // not a number
      "<plist><dict><key>a</key><string>b</string></plist>",  // not closed
      "<plist><string>a</string><string>b</string></plist>",  // two values
      "<plist><blob/></plist>",                               // unknown element
      "<dict/>",                                              // no plist element
  };
  for (const auto& text : bad) {
    error.clear();
    EXPECT_FALSE(parsePlist(text, error)) << text;
    EXPECT_FALSE(error.empty()) << text;
  }
  EXPECT_FALSE(readPlist("/nonexistent/x.plist", error));
  EXPECT_NE(error.find("no such file"), std::string::npos);
}

TEST(Plist, NestingIsLimitedAndTheLimitIsReadable) {
  auto nested = [](const std::string& open, const std::string& close, int depth) {
    std::string xml = "<plist>";
    for (int i = 0; i < depth; ++i) xml += open;
    xml += "<string>x</string>";
    for (int i = 0; i < depth; ++i) xml += close;
    return xml + "</plist>";
  };
  const std::string array[] = {"<array>", "</array>"};
  const std::string dict[] = {"<dict><key>k</key>", "</dict>"};
  const std::string mixed[] = {"<array><dict><key>k</key>", "</dict></array>"};
  struct Case {
    std::string xml;
    bool reads;
  };
  const std::vector<Case> cases = {
      {nested(array[0], array[1], 128), true},    {nested(dict[0], dict[1], 128), true},
      {nested(mixed[0], mixed[1], 64), true},     {nested(array[0], array[1], 129), false},
      {nested(dict[0], dict[1], 129), false},     {nested(mixed[0], mixed[1], 65), false},
      {nested(array[0], array[1], 65000), false}, {nested(mixed[0], mixed[1], 40000), false},
  };
  for (const auto& c : cases) {
    std::string error;
    auto value = parsePlist(c.xml, error);
    EXPECT_EQ(value.has_value(), c.reads) << c.xml.substr(0, 60) << " " << error;
    if (c.reads) continue;
    EXPECT_NE(error.find("arrays and dictionaries nested more than 128 deep"), std::string::npos)
        << error;
  }
  std::string error;
  auto deepest = parsePlist(nested(array[0], array[1], 128), error);
  ASSERT_TRUE(deepest);
  const json* inner = &*deepest;
  for (int i = 0; i < 128; ++i) {
    ASSERT_TRUE(inner->is_array() && inner->size() == 1u) << i;
    inner = &(*inner)[0];
  }
  EXPECT_EQ(*inner, "x");
}

TEST(Plist, TheBuiltAgentListHasWhatServiceManagementNeeds) {
  std::string error;
  auto agent =
      readPlist(builtBundle() / "Contents/Library/LaunchAgents/com.quillon.helper.plist", error);
  ASSERT_TRUE(agent) << error;
  EXPECT_EQ((*agent)["Label"], "com.quillon.helper");
  EXPECT_EQ((*agent)["BundleProgram"],
            "Contents/Helpers/Quillon Helper.app/Contents/MacOS/Quillon Helper");
  EXPECT_EQ((*agent)["ProgramArguments"].back(), "run");
  EXPECT_EQ((*agent)["KeepAlive"], true);
  EXPECT_TRUE(fs::is_regular_file(builtBundle() / std::string((*agent)["BundleProgram"])));

  auto info = readPlist(builtBundle() / "Contents/Info.plist", error);
  ASSERT_TRUE(info) << error;
  EXPECT_EQ((*info)["CFBundleIdentifier"], "com.quillon.app");
  EXPECT_EQ((*info)["LSUIElement"], true);
  EXPECT_EQ((*info)["LSMinimumSystemVersion"], "13.0");
  auto helperInfo =
      readPlist(builtBundle() / "Contents/Helpers/Quillon Helper.app/Contents/Info.plist", error);
  ASSERT_TRUE(helperInfo) << error;
  EXPECT_EQ((*helperInfo)["CFBundleIdentifier"], "com.quillon.helper");
  EXPECT_EQ((*helperInfo)["CFBundleShortVersionString"], (*info)["CFBundleShortVersionString"]);
}

// --- Defaults ---

TEST_F(AppMacTest, DefaultsKeepEveryTypeAndReadAnotherTypeAsAbsent) {
  platform::UserDefaults& d = sys().defaults.standard();
  const platform::UserDefaults::Data bytes = {0, 1, 2, 0xff, 0x80, 'a'};
  d.setBool("setupDone", true);
  d.setInt("NSInitialToolTipDelay", 500);
  d.setInt("big", int64_t{1} << 53);
  d.setString("helperStamp", "1700000000.25");
  d.setData("presets.mouse", bytes);
  d.setData("empty", {});

  // Another process (a second backend) reads the same domain.
  AppMac other(root(), AppMac::Options{.bundle = bundle_, .listAsRunning = false});
  platform::UserDefaults& o = other.system().defaults.standard();
  EXPECT_EQ(o.boolValue("setupDone"), true);
  EXPECT_EQ(o.intValue("NSInitialToolTipDelay"), 500);
  EXPECT_EQ(o.intValue("big"), int64_t{1} << 53);
  EXPECT_EQ(o.stringValue("helperStamp"), "1700000000.25");
  EXPECT_EQ(o.dataValue("presets.mouse"), bytes);
  EXPECT_EQ(o.dataValue("empty"), platform::UserDefaults::Data{});

  EXPECT_FALSE(o.intValue("setupDone"));
  EXPECT_FALSE(o.boolValue("NSInitialToolTipDelay"));
  EXPECT_FALSE(o.stringValue("presets.mouse"));
  EXPECT_FALSE(o.dataValue("helperStamp"));
  EXPECT_FALSE(o.boolValue("missing"));

  d.remove("setupDone");
  EXPECT_FALSE(o.boolValue("setupDone"));
  EXPECT_EQ(json::parse(readText(root() / "defaults.json"))["com.quillon.app"]["presets.mouse"],
            json::parse(R"({"data":"AAEC/4Bh"})"));
}

TEST_F(AppMacTest, SuitesAreOtherDomainsAndRemovingTheAppDomainLeavesThem) {
  auto old = sys().defaults.suite("local.quillon.ui");
  ASSERT_TRUE(old);
  old->setData("presets.trackpad", {1, 2, 3});
  sys().defaults.standard().setBool("setupDone", true);
  EXPECT_FALSE(sys().defaults.standard().dataValue("presets.trackpad"));
  EXPECT_FALSE(sys().defaults.suite("com.quillon.app"));  // its own domain is no suite
  EXPECT_FALSE(sys().defaults.suite("NSGlobalDomain"));

  sys().defaults.removeAppDomain();
  EXPECT_FALSE(sys().defaults.standard().boolValue("setupDone"));
  EXPECT_EQ(sys().defaults.suite("local.quillon.ui")->dataValue("presets.trackpad"),
            (platform::UserDefaults::Data{1, 2, 3}));
  EXPECT_EQ(kinds(mac_->records()),
            (std::vector<std::string>{"defaults", "defaults", "removeDefaultsDomain"}));
}

TEST_F(AppMacTest, MalformedDefaultsReadAsEmpty) {
  for (const char* text : {"not json", "[1,2]", R"({"com.quillon.app":7})",
                           R"({"com.quillon.app":{"presets.mouse":{"data":"!!"}}})"}) {
    writeText(root() / "defaults.json", text);
    EXPECT_FALSE(sys().defaults.standard().dataValue("presets.mouse")) << text;
    sys().defaults.standard().setInt("n", 1);  // and a write repairs the file
    EXPECT_EQ(sys().defaults.standard().intValue("n"), 1) << text;
  }
}

// --- The bundle and the Mac's file system ---

TEST_F(AppMacTest, BundleInfoComesFromTheBundleAndItsMacSidePath) {
  platform::BundleInfo& b = sys().bundle;
  EXPECT_EQ(b.bundlePath(), "/Applications/Quillon.app");
  EXPECT_EQ(b.bundleIdentifier(), "com.quillon.app");
  EXPECT_FALSE(b.shortVersion().empty());
  EXPECT_EQ(b.hostPath("/Applications/Quillon.app"), bundle_);
  EXPECT_EQ(b.hostPath(home().string() + "/Applications"), home() / "Applications");
  EXPECT_EQ(b.hardwareModel(), "MacBookPro18,3");
  writeText(root() / "machine.json", R"({"model":"Mac14,2","osVersion":"Version 13.0"})");
  EXPECT_EQ(b.hardwareModel(), "Mac14,2");
  EXPECT_EQ(b.osVersionText(), "Version 13.0");
}

// What the installer sees, for each place a bundle can run from.
TEST_F(SimAppTest, ReadOnlyVolumesAndTranslocatedPathsAsTheInstallerSeesThem) {
  struct Case {
    std::string macPath;
    std::string mount;  // empty: none
    bool readOnly;
    std::optional<bool> expectReadOnly;
  };
  const std::vector<Case> cases = {
      {"/Volumes/Quillon 0.1/Quillon.app", "/Volumes/Quillon 0.1", true, true},
      {"/Volumes/Quillon/Sub/Deeper/Quillon.app", "/Volumes/Quillon", true, true},
      {"/Volumes/External/Quillon.app", "/Volumes/External", false, false},
      {"/private/var/folders/ab/T/AppTranslocation/1F2E/d/Quillon.app",
       "/private/var/folders/ab/T/AppTranslocation/1F2E", true, true},
      {"/Applications/Quillon.app", "", false, false},
  };
  for (const auto& c : cases) {
    AppMac probe(root(), AppMac::Options{.bundle = {}, .listAsRunning = false});
    platform::BundleInfo& b = probe.system().bundle;
    if (!c.mount.empty()) MacFileSystem(SystemFolder(root())).mount(c.mount, c.readOnly);
    makeBundle(b.hostPath(c.macPath));
    AppMac mac(root(), AppMac::Options{.bundle = b.hostPath(c.macPath), .listAsRunning = false});
    std::string path = mac.system().bundle.bundlePath();
    EXPECT_EQ(path, c.macPath);
    EXPECT_EQ(mac.system().bundle.volumeIsReadOnly(path), c.expectReadOnly) << c.macPath;
  }
  AppMac mac(root(), AppMac::Options{.bundle = {}, .listAsRunning = false});
  EXPECT_EQ(mac.system().bundle.volumeIsReadOnly("/Volumes/Nothing/Quillon.app"), std::nullopt);
  // A fresh Mac has a writable /Applications.
  fs::remove_all(root() / "fs");
  AppMac fresh(root(), AppMac::Options{.bundle = {}, .listAsRunning = false});
  EXPECT_TRUE(fresh.system().bundle.isWritable("/Applications"));
}

TEST_F(AppMacTest, WritabilityFollowsModeBitsAndReadOnlyVolumes) {
  platform::BundleInfo& b = sys().bundle;
  EXPECT_TRUE(b.isWritable("/Applications"));
  chmod(b.hostPath("/Applications").c_str(), 0555);
  EXPECT_FALSE(b.isWritable("/Applications"));
  EXPECT_FALSE(b.isWritable("/Applications/Nothing"));
  MacFileSystem(SystemFolder(root())).mount("/Volumes/Disk", true);
  EXPECT_FALSE(b.isWritable("/Volumes/Disk"));
  EXPECT_TRUE(b.isWritable(home().string()));
}

// --- ServiceManagement without launchd ---

TEST_F(AppMacTest, AgentStatusFollowsThePropertyListAndForcedStates) {
  platform::AppService& agent = sys().services.agent("com.quillon.helper.plist");
  EXPECT_EQ(agent.status(), ServiceStatus::notRegistered);
  EXPECT_EQ(sys().services.agent("other.plist").status(), ServiceStatus::notFound);
  auto missing = sys().services.agent("other.plist").registerService();
  ASSERT_TRUE(missing);
  EXPECT_NE(missing->description.find("other.plist"), std::string::npos);

  mac_->forceServiceStatus("com.quillon.helper.plist", ServiceStatus::requiresApproval);
  EXPECT_EQ(agent.status(), ServiceStatus::requiresApproval);
  auto refused = agent.registerService();
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->description, "Operation not permitted");
  EXPECT_EQ(agent.status(), ServiceStatus::requiresApproval);
  EXPECT_TRUE(readLaunchd(SystemFolder(root())).agents.empty());

  mac_->forceServiceStatus("com.quillon.helper.plist", ServiceStatus::notFound);
  EXPECT_EQ(agent.status(), ServiceStatus::notFound);
  EXPECT_TRUE(agent.registerService());
  mac_->forceServiceStatus("com.quillon.helper.plist", std::nullopt);
  EXPECT_EQ(agent.status(), ServiceStatus::notRegistered);
  EXPECT_TRUE(agent.unregisterService());  // not registered: an error, as on a Mac

  // A broken property list shows as "not found".
  writeText(bundle_ / "Contents/Library/LaunchAgents/com.quillon.helper.plist",
            "<plist><dict><key>KeepAlive</key><true/></dict></plist>");
  EXPECT_EQ(agent.status(), ServiceStatus::notFound);
  auto noLabel = agent.registerService();
  ASSERT_TRUE(noLabel);
  EXPECT_NE(noLabel->description.find("no Label"), std::string::npos);
}

TEST_F(AppMacTest, TheLoginItemIsKeptAndCanBeRefused) {
  platform::AppService& item = sys().services.mainApp();
  EXPECT_EQ(item.status(), ServiceStatus::notRegistered);
  EXPECT_FALSE(item.registerService());
  AppMac other(root(), AppMac::Options{.bundle = bundle_, .listAsRunning = false});
  EXPECT_EQ(other.system().services.mainApp().status(), ServiceStatus::enabled);
  EXPECT_FALSE(item.unregisterService());
  EXPECT_EQ(item.status(), ServiceStatus::notRegistered);
  mac_->forceServiceStatus("mainApp", ServiceStatus::requiresApproval);
  EXPECT_TRUE(item.registerService());
  EXPECT_EQ(item.status(), ServiceStatus::requiresApproval);
}

// --- Workspace and running applications ---

TEST_F(AppMacTest, SettingsUrlsStartSystemSettingsWhichQuitsOnRequest) {
  EXPECT_FALSE(sys().workspace.openURL("not a url"));
  EXPECT_FALSE(sys().workspace.openURL(""));
  EXPECT_TRUE(sys().workspace.runningApplications("com.apple.systempreferences").empty());
  EXPECT_TRUE(sys().workspace.openURL(
      "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility"));
  sys().services.openLoginItemsSettings();  // a second page: still one System Settings
  auto settings = sys().workspace.runningApplications("com.apple.systempreferences");
  ASSERT_EQ(settings.size(), 1u);
  EXPECT_FALSE(sys().workspace.isTerminated(settings[0].pid));
  sys().workspace.terminate(settings[0].pid);
  EXPECT_TRUE(sys().workspace.isTerminated(settings[0].pid));
  EXPECT_EQ(kinds(mac_->records()),
            (std::vector<std::string>{"openURL", "openURL", "openURL", "openLoginItemsSettings",
                                      "openURL", "terminate"}));
}

TEST_F(AppMacTest, AskingForTrustWithThePromptShowsThePromptOnce) {
  const std::string prompt = "com.apple.accessibility.universalAccessAuthWarn";
  EXPECT_FALSE(sys().accessibility.isTrusted(false));
  EXPECT_TRUE(sys().workspace.runningApplications(prompt).empty());
  EXPECT_FALSE(sys().accessibility.isTrusted(true));
  EXPECT_FALSE(sys().accessibility.isTrusted(true));
  auto shown = sys().workspace.runningApplications(prompt);
  ASSERT_EQ(shown.size(), 1u);
  sys().workspace.forceTerminate(shown[0].pid);
  EXPECT_TRUE(sys().workspace.isTerminated(shown[0].pid));

  Mac helperSide(root());
  helperSide.setAccessibility(true);
  EXPECT_TRUE(sys().accessibility.isTrusted(true));
  EXPECT_TRUE(sys().workspace.runningApplications(prompt).empty());
}

TEST_F(AppMacTest, ThisProcessIsARunningCopyUntilItsBackendEnds) {
  auto copies = sys().workspace.runningApplications("com.quillon.app");
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].pid, getpid());
  EXPECT_FALSE(sys().workspace.isTerminated(getpid()));
  mac_.reset();
  Mac m(root());
  EXPECT_TRUE(m.system().workspace.runningApplications("com.quillon.app").empty());
}

TEST_F(AppMacTest, RecycleMovesIntoTheTrashUnderAFreeName) {
  std::vector<std::pair<bool, std::string>> done;
  std::vector<std::function<void()>> queued;
  mac_->setMainQueue([&](std::function<void()> work) { queued.push_back(std::move(work)); });
  auto completion = [&](platform::OsResult r) { done.push_back({!r, r ? r->description : ""}); };
  writeText(home() / "Applications/Quillon.app/Contents/Info.plist", "old");
  sys().workspace.recycle(home() / "Applications/Quillon.app", completion);
  sys().workspace.recycle("/Applications/Quillon.app", completion);
  sys().workspace.recycle(home() / "missing", completion);
  EXPECT_TRUE(done.empty());  // completions come on the main queue
  for (auto& work : queued) work();
  ASSERT_EQ(done.size(), 3u);
  EXPECT_TRUE(done[0].first);
  EXPECT_TRUE(done[1].first);
  EXPECT_FALSE(done[2].first);
  EXPECT_NE(done[2].second.find("missing"), std::string::npos);
  EXPECT_EQ(readText(root() / "Trash/Quillon.app/Contents/Info.plist"), "old");
  EXPECT_TRUE(fs::exists(root() / "Trash/Quillon 2.app/Contents/Info.plist"));
  EXPECT_FALSE(fs::exists(bundle_));
}

// --- Events from the system ---

TEST_F(AppMacTest, TheClickIsTheCurrentEventOnlyWhileItsHandlerRuns) {
  EXPECT_FALSE(mac_->clickStatusItem(1, 3));  // no handler yet
  std::vector<std::optional<platform::CurrentEvent>> seen;
  mac_->setStatusItemClickHandler([&] { seen.push_back(sys().events.currentEvent()); });
  EXPECT_TRUE(mac_->clickStatusItem(1, 3));
  EXPECT_TRUE(mac_->clickStatusItem(3, 0));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0]->type, 1);
  EXPECT_EQ(seen[0]->subtype, 3);
  EXPECT_EQ(seen[1]->type, 3);
  EXPECT_EQ(seen[1]->subtype, 0);
  EXPECT_FALSE(sys().events.currentEvent());
}

TEST_F(AppMacTest, HotKeysReachTheHandlerWithTheirIdAndRegisterOnce) {
  std::vector<uint32_t> pressed;
  sys().hotKeys.installHandler([&](uint32_t id) { pressed.push_back(id); });
  EXPECT_TRUE(sys().hotKeys.registerHotKey(15, 0x1900, 0x514C4E56, 1));
  EXPECT_TRUE(sys().hotKeys.registerHotKey(46, 0x1900, 0x514C4E56, 2));
  EXPECT_FALSE(sys().hotKeys.registerHotKey(15, 0x1900, 0x514C4E56, 3));  // taken
  EXPECT_TRUE(mac_->pressHotKey(2));
  EXPECT_TRUE(mac_->pressHotKey(1));
  EXPECT_FALSE(mac_->pressHotKey(3));
  EXPECT_EQ(pressed, (std::vector<uint32_t>{2, 1}));
}

TEST_F(AppMacTest, MouseDownMonitorsEndWithTheirObjectAndReopenNeedsAHandler) {
  int clicks = 0, reopened = 0;
  auto monitor = sys().events.addGlobalMouseDownMonitor([&] { ++clicks; });
  EXPECT_EQ(mac_->globalMouseDown(), 1);
  monitor.reset();
  EXPECT_EQ(mac_->globalMouseDown(), 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(mac_->reopen());
  sys().events.setReopenHandler([&] { ++reopened; });
  EXPECT_TRUE(mac_->reopen());
  EXPECT_EQ(reopened, 1);
}

// --- HID, registry, preferences, appearance ---

TEST_F(AppMacTest, HidServicesAreTheDevicesAndEveryCallIsRecorded) {
  Mac m(root());
  m.connectTrackpad({.id = 4});
  m.connectHidDevice({.id = 9});
  auto services = sys().hid.services();
  ASSERT_EQ(services.size(), 2u);
  EXPECT_EQ(services[0].id, 4u);
  EXPECT_EQ(services[0].accelerationType, "HIDTrackpadAcceleration");
  EXPECT_EQ(services[1].accelerationType, "HIDMouseAcceleration");
  sys().hid.setClientProperty("HIDTrackpadAcceleration", 45056);
  sys().hid.setServiceProperty(4, "HIDTrackpadAcceleration", 45056);
  sys().hid.legacySetAcceleration("HIDTrackpadAcceleration", 0.6875);
  sys().hid.setInputParameter("HIDUseLinearScalingMouseAcceleration", 1);
  auto r = mac_->records();
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(json::parse(r[1].detail),
            json::parse(R"({"service":4,"name":"HIDTrackpadAcceleration","value":45056})"));
  EXPECT_EQ(json::parse(r[2].detail)["value"], 0.6875);

  EXPECT_EQ(sys().registry.serviceCount("AppleMultitouchTrackpadHIDEventDriver"), 1);
  EXPECT_EQ(sys().registry.serviceCount("IOHIDDevice"), 0);
  mac_->setRegistryFails(true);
  EXPECT_EQ(sys().registry.serviceCount("AppleMultitouchTrackpadHIDEventDriver"), std::nullopt);
}

TEST_F(AppMacTest, PreferencesAreTheHelpersGlobalDomainAndSetTheAppearance) {
  sys().preferencesWriter.setAnyHost("com.apple.mouse.linear", true);
  sys().preferencesWriter.synchronize();
  Mac m(root());
  EXPECT_EQ(m.system().preferences.globalValue("com.apple.mouse.linear"),
            platform::PrefValue(true));
  EXPECT_FALSE(sys().appearance.isDark());
  m.setGlobalPreference("AppleInterfaceStyle", std::string("Dark"));
  EXPECT_TRUE(sys().appearance.isDark());
  m.setGlobalPreference("AppleInterfaceStyle", std::string("Light"));
  EXPECT_FALSE(sys().appearance.isDark());
  sys().preferencesWriter.setAnyHost("AppleInterfaceStyle", std::nullopt);
  EXPECT_FALSE(sys().preferences.globalValue("AppleInterfaceStyle"));
  EXPECT_EQ(kinds(mac_->records()),
            (std::vector<std::string>{"preference", "synchronize", "preference"}));
}

// --- Child processes and the tools' stand-ins ---

std::vector<json> toolCalls(const fs::path& root) {
  std::vector<json> calls;
  std::ifstream in(root / "tools.jsonl");
  for (std::string line; std::getline(in, line);) {
    json call = json::parse(line);
    call.erase("pid");
    calls.push_back(call);
  }
  return calls;
}

TEST_F(AppMacTest, RunRecordsTheExactCallAndRunsStandInsInsideScripts) {
  Mac m(root());
  m.setAccessibility(true);
  m.setInputMonitoring(true);
  const std::vector<std::string> args = {
      "-c", "/bin/kill -0 \"$1\" && /usr/bin/tccutil reset Accessibility \"$2\"; exit 4", "sh",
      std::to_string(getpid()), "com.quillon.helper"};
  platform::ProcessResult r = sys().processes.run("/bin/sh", args);
  EXPECT_EQ(r.status, 4);
  EXPECT_EQ(r.output, "Successfully reset Accessibility approval status for com.quillon.helper\n");
  auto runs = mac_->records("run");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(json::parse(runs[0].detail), (json{{"path", "/bin/sh"}, {"args", args}}));
  EXPECT_EQ(toolCalls(root()),
            (std::vector<json>{
                {{"tool", "kill"}, {"args", {"-0", std::to_string(getpid())}}},
                {{"tool", "tccutil"}, {"args", {"reset", "Accessibility", "com.quillon.helper"}}},
            }));
  EXPECT_FALSE(readPermissions(SystemFolder(root())).accessibility);
  EXPECT_TRUE(readPermissions(SystemFolder(root())).inputMonitoring);
}

TEST_F(AppMacTest, RunReportsStatusOutputAndStartFailures) {
  struct Case {
    std::string path;
    std::vector<std::string> args;
    int status;
    std::string output;  // "*" for any non-empty text
  };
  const std::vector<Case> cases = {
      {"/bin/sh", {"-c", "printf 'out '; printf err >&2; exit 3"}, 3, "out err"},
      {"/bin/sh", {"-c", "printf '\\377\\376'"}, 0, ""},  // not UTF-8
      {"/bin/sh", {"-c", "printf 'caf\\303\\251'"}, 0, "caf\u00e9"},
      {"/nonexistent/program", {}, -1, "*"},
      {"/usr/bin/env", {}, -1, "*"},  // a Linux program, not one of the Mac's
      {"/usr/bin/defaults",
       {"delete", "com.example.none"},
       1,
       "Domain (com.example.none) not found.\nDefaults have not been changed.\n"},
      {"/usr/bin/hdiutil",
       {"detach", "/Volumes/None", "-quiet"},
       1,
       "hdiutil: detach failed - No such file or directory\n"},
      {"/bin/launchctl",
       {"kickstart", "-k", "gui/" + std::to_string(getuid()) + "/none"},
       113,
       "*"},
  };
  for (const auto& c : cases) {
    platform::ProcessResult r = sys().processes.run(c.path, c.args);
    EXPECT_EQ(r.status, c.status) << c.path << " " << (c.args.empty() ? "" : c.args.back());
    if (c.output == "*")
      EXPECT_FALSE(r.output.empty()) << c.path;
    else
      EXPECT_EQ(r.output, c.output) << c.path;
  }
}

TEST_F(AppMacTest, DefaultsDeleteRemovesTheDomainOnceAndRunWorksOffTheMainThread) {
  sys().defaults.standard().setBool("setupDone", true);
  platform::ProcessResult first, second;
  std::thread worker([&] {
    first = sys().processes.run("/bin/sh",
                                {"-c", "/usr/bin/defaults delete \"$0\"", "com.quillon.app"});
    second = sys().processes.run("/usr/bin/defaults", {"delete", "com.quillon.app"});
  });
  worker.join();
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(second.status, 1);
  EXPECT_FALSE(sys().defaults.standard().boolValue("setupDone"));
}

TEST(ScriptRewrite, OnlyCommandWordsBecomeStandIns) {
  EXPECT_EQ(rewriteScript("sleep 1.5; /usr/bin/defaults delete \"$0\""),
            "sleep 1.5; \"$QUILLON_SIM_TOOL\" defaults delete \"$0\"");
  EXPECT_EQ(rewriteScript("while /bin/kill -0 \"$1\" 2>/dev/null; do sleep 0.2; done; "
                          "/usr/bin/open \"$2\"; [ -n \"$3\" ] && /usr/bin/hdiutil detach "
                          "\"$3\" -quiet; exit 0"),
            "while \"$QUILLON_SIM_TOOL\" kill -0 \"$1\" 2>/dev/null; do sleep 0.2; done; "
            "\"$QUILLON_SIM_TOOL\" open \"$2\"; [ -n \"$3\" ] && \"$QUILLON_SIM_TOOL\" hdiutil "
            "detach \"$3\" -quiet; exit 0");
  // Paths that merely contain a tool's path, or are arguments, stay.
  for (const char* text : {"/bin/killall x", "ls /x/bin/kill", "echo /usr/bin/opener",
                           "x=/bin/kill", "cat '/bin/kill'"})
    EXPECT_EQ(rewriteScript(text), text);
}

}  // namespace
}  // namespace quillon::sim::testing
