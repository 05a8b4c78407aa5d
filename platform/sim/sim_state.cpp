#include "sim/sim_state.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace quillon::sim {

using nlohmann::json;

namespace {

// Runs a decoder; any type or range error in the file means "malformed",
// which reads as the empty state.
template <class T, class F>
T decodeOr(const std::optional<json>& j, F decode) {
  if (!j) return T{};
  try {
    return decode(*j);
  } catch (const json::exception&) {
    return T{};
  }
}

uint64_t deviceId(const json& j) {
  const json& id = j.at("id");
  if (!id.is_number_unsigned()) throw json::type_error::create(302, "id must be unsigned", &id);
  return id.get<uint64_t>();
}

}  // namespace

std::vector<SimDisplay> displaysFromJson(const json& j) {
  std::vector<SimDisplay> out;
  for (const json& d : j.at("displays")) {
    SimDisplay s;
    const json& b = d.at("bounds");
    if (b.size() != 4) throw json::type_error::create(302, "bounds needs 4 numbers", &b);
    s.bounds = {b[0].get<double>(), b[1].get<double>(), b[2].get<double>(), b[3].get<double>()};
    if (d.contains("sizeMM")) {
      const json& mm = d.at("sizeMM");
      if (mm.size() != 2) throw json::type_error::create(302, "sizeMM needs 2 numbers", &mm);
      s.widthMM = mm[0].get<double>();
      s.heightMM = mm[1].get<double>();
    }
    s.builtIn = d.value("builtIn", false);
    out.push_back(s);
  }
  return out;
}

std::vector<SimDisplay> readDisplays(const SystemFolder& folder) {
  return decodeOr<std::vector<SimDisplay>>(folder.read(files::kDisplays), displaysFromJson);
}

json displaysJson(const std::vector<SimDisplay>& displays) {
  json list = json::array();
  for (const auto& d : displays) {
    list.push_back({{"bounds", {d.bounds.x, d.bounds.y, d.bounds.width, d.bounds.height}},
                    {"sizeMM", {d.widthMM, d.heightMM}},
                    {"builtIn", d.builtIn}});
  }
  return {{"displays", list}};
}

Permissions readPermissions(const SystemFolder& folder) {
  return decodeOr<Permissions>(folder.read(files::kPermissions), [](const json& j) {
    return Permissions{j.value("accessibility", false), j.value("inputMonitoring", false)};
  });
}

json permissionsJson(const Permissions& p) {
  return {{"accessibility", p.accessibility}, {"inputMonitoring", p.inputMonitoring}};
}

SimTrackpad trackpadFromJson(const json& t) {
  SimTrackpad pad;
  pad.id = deviceId(t);
  pad.widthHundredthsMM = t.value("widthHundredthsMM", pad.widthHundredthsMM);
  pad.heightHundredthsMM = t.value("heightHundredthsMM", pad.heightHundredthsMM);
  pad.builtIn = t.value("builtIn", pad.builtIn);
  return pad;
}

SimHidDevice hidDeviceFromJson(const json& h) {
  SimHidDevice dev;
  dev.id = deviceId(h);
  dev.product = h.value("product", dev.product);
  dev.builtIn = h.value("builtIn", dev.builtIn);
  return dev;
}

Devices devicesFromJson(const json& j) {
  Devices d;
  if (j.contains("trackpads"))
    for (const json& t : j.at("trackpads")) d.trackpads.push_back(trackpadFromJson(t));
  if (j.contains("hid"))
    for (const json& h : j.at("hid")) d.hid.push_back(hidDeviceFromJson(h));
  return d;
}

Devices readDevices(const SystemFolder& folder) {
  return decodeOr<Devices>(folder.read(files::kDevices), devicesFromJson);
}

json devicesJson(const Devices& d) {
  json pads = json::array(), hid = json::array();
  for (const auto& t : d.trackpads)
    pads.push_back({{"id", t.id},
                    {"widthHundredthsMM", t.widthHundredthsMM},
                    {"heightHundredthsMM", t.heightHundredthsMM},
                    {"builtIn", t.builtIn}});
  for (const auto& h : d.hid)
    hid.push_back({{"id", h.id}, {"product", h.product}, {"builtIn", h.builtIn}});
  return {{"trackpads", pads}, {"hid", hid}};
}

int AppList::addStandIn(SimApp app) {
  int pid = std::max(nextPid, kFirstStandInPid);
  while (std::any_of(apps.begin(), apps.end(), [&](const SimApp& a) { return a.pid == pid; }))
    ++pid;
  nextPid = pid + 1;
  app.pid = pid;
  app.process = false;
  apps.push_back(std::move(app));
  return pid;
}

namespace {

AppList appListFromJson(const json& j) {
  AppList list;
  // An older machine kept the bare list.
  const json& entries = j.is_array() ? j : j.at("apps");
  if (j.is_object() && j.contains("nextPid")) list.nextPid = j["nextPid"].get<int>();
  for (const json& a : entries) {
    SimApp app;
    app.pid = a.at("pid").get<int>();
    app.bundleIdentifier = a.at("bundleIdentifier").get<std::string>();
    app.ignoresTerminate = a.value("ignoresTerminate", false);
    app.process = a.value("process", false);
    app.path = a.value("path", "");
    app.terminating = a.value("terminating", false);
    if (!app.process || processAlive(app.pid)) list.apps.push_back(std::move(app));
  }
  return list;
}

json appListJson(const AppList& list) {
  json apps = json::array();
  for (const auto& a : list.apps) {
    json entry = {{"pid", a.pid}, {"bundleIdentifier", a.bundleIdentifier}};
    if (a.ignoresTerminate) entry["ignoresTerminate"] = true;
    if (a.process) entry["process"] = true;
    if (!a.path.empty()) entry["path"] = a.path;
    if (a.terminating) entry["terminating"] = true;
    apps.push_back(entry);
  }
  return {{"nextPid", list.nextPid}, {"apps", apps}};
}

}  // namespace

AppList readAppList(const SystemFolder& folder) {
  return decodeOr<AppList>(folder.read(files::kApps), appListFromJson);
}

std::vector<SimApp> readApps(const SystemFolder& folder) {
  return readAppList(folder).apps;
}

void updateApps(const SystemFolder& folder, const std::function<void(AppList&)>& change) {
  folder.update(files::kApps, [&](std::optional<json>& file) {
    AppList list = decodeOr<AppList>(file, appListFromJson);
    change(list);
    // Nothing to keep: no file, as before.
    if (!file && list.apps.empty() && list.nextPid == AppList::kFirstStandInPid) return;
    file = appListJson(list);
  });
}

std::string processStatText(int pid) {
  // Plain reads: a stream would throw when the process ends mid-read (ESRCH).
  const int fd = ::open(("/proc/" + std::to_string(pid) + "/stat").c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
    if (n < 0) {
      if (errno == EINTR) continue;
      text.clear();
      break;
    }
    text.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return text;
}

bool processAlive(int pid) {
  if (pid <= 0) return false;
  if (kill(pid, 0) != 0 && errno != EPERM) return false;
  const std::string text = processStatText(pid);
  auto close = text.rfind(')');
  if (close == std::string::npos || close + 2 >= text.size()) return true;
  char state = text[close + 2];
  return state != 'Z' && state != 'X';
}

PreferenceMap readPreferences(const SystemFolder& folder) {
  return decodeOr<PreferenceMap>(folder.read(files::kPreferences), [](const json& j) {
    PreferenceMap prefs;
    if (!j.is_object()) return prefs;
    for (const auto& [key, v] : j.items()) {
      // A value of another kind (an array, say) is not one of ours: skip it.
      if (v.is_boolean())
        prefs[key] = v.get<bool>();
      else if (v.is_number())
        prefs[key] = v.get<double>();
      else if (v.is_string())
        prefs[key] = v.get<std::string>();
    }
    return prefs;
  });
}

json prefValueJson(const platform::PrefValue& v) {
  return std::visit([](const auto& x) { return json(x); }, v);
}

json preferencesJson(const PreferenceMap& prefs) {
  json global = json::object();
  for (const auto& [key, v] : prefs) global[key] = prefValueJson(v);
  return global;
}

}  // namespace quillon::sim
