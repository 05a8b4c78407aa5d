#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "sim/sim_folder.h"
#include "sim/sim_mac.h"

namespace quillon::sim {

// The machine's files and their content. Each reader gives the empty state
// for a missing file and for a malformed one (not JSON, or a member of the
// wrong type), so that a half-edited file never takes the machine down.
namespace files {
constexpr std::string_view kDisplays = "displays.json";
constexpr std::string_view kPermissions = "permissions.json";
constexpr std::string_view kPreferences = "preferences.json";
constexpr std::string_view kDevices = "devices.json";
constexpr std::string_view kApps = "apps.json";
constexpr std::string_view kControlSocket = "control.sock";
}  // namespace files

struct Permissions {
  bool accessibility = false;
  bool inputMonitoring = false;
};

struct Devices {
  std::vector<SimTrackpad> trackpads;
  std::vector<SimHidDevice> hid;
};

struct SimApp {
  int pid = 0;
  std::string bundleIdentifier;
  bool ignoresTerminate = false;
  // A real process of this machine (a running copy of the app) rather than
  // a stand-in entry; its Mac-side bundle path, and whether it is quitting.
  bool process = false;
  std::string path;
  bool terminating = false;
};

using PreferenceMap = std::map<std::string, platform::PrefValue>;

std::vector<SimDisplay> readDisplays(const SystemFolder& folder);
nlohmann::json displaysJson(const std::vector<SimDisplay>& displays);
std::vector<SimDisplay> displaysFromJson(const nlohmann::json& j);  // throws on bad input

Permissions readPermissions(const SystemFolder& folder);
nlohmann::json permissionsJson(const Permissions& p);

Devices readDevices(const SystemFolder& folder);
Devices devicesFromJson(const nlohmann::json& j);  // throws on bad input
nlohmann::json devicesJson(const Devices& d);
SimTrackpad trackpadFromJson(const nlohmann::json& j);  // throws on bad input
SimHidDevice hidDeviceFromJson(const nlohmann::json& j);

// apps.json: {"nextPid":1002,"apps":[...]}. A stand-in gets a pid that no
// app of this machine has had before, as a Mac does not hand a new process
// the pid of one that has just ended: a counter that only grows.
struct AppList {
  static constexpr int kFirstStandInPid = 1000;
  std::vector<SimApp> apps;
  int nextPid = kFirstStandInPid;
  // Adds `app` under a new pid, which it returns.
  int addStandIn(SimApp app);
};

// A process entry whose process has ended is left out.
std::vector<SimApp> readApps(const SystemFolder& folder);
AppList readAppList(const SystemFolder& folder);
// Changes apps.json under the folder lock.
void updateApps(const SystemFolder& folder, const std::function<void(AppList&)>& change);

// True while the process exists and is not a zombie.
bool processAlive(int pid);

// The text of /proc/<pid>/stat, or empty when the process is gone. A process
// may end while its file is read; that reads as gone, never as an error.
std::string processStatText(int pid);

PreferenceMap readPreferences(const SystemFolder& folder);
nlohmann::json preferencesJson(const PreferenceMap& prefs);
nlohmann::json prefValueJson(const platform::PrefValue& v);

}  // namespace quillon::sim
