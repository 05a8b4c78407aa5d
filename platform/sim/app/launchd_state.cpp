#include "sim/app/launchd_state.h"

#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "sim/app/process_table.h"
#include "sim/app/spawn.h"
#include "sim/sim_state.h"

namespace quillon::sim {

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

AgentJob jobFromJson(const json& j) {
  AgentJob job;
  job.label = j.at("label").get<std::string>();
  job.plistName = j.value("plistName", "");
  job.program = j.at("program").get<std::string>();
  job.arguments = j.value("arguments", std::vector<std::string>{});
  job.keepAlive = j.value("keepAlive", false);
  job.runAtLoad = j.value("runAtLoad", false);
  job.throttleInterval = j.value("throttleInterval", 10.0);
  job.environment = j.value("environment", std::map<std::string, std::string>{});
  job.generation = j.value("generation", int64_t{0});
  return job;
}

json jobJson(const AgentJob& job) {
  return {{"label", job.label},
          {"plistName", job.plistName},
          {"program", job.program},
          {"arguments", job.arguments},
          {"keepAlive", job.keepAlive},
          {"runAtLoad", job.runAtLoad},
          {"throttleInterval", job.throttleInterval},
          {"environment", job.environment},
          {"generation", job.generation}};
}

LaunchdState decode(const std::optional<json>& file) {
  LaunchdState state;
  if (!file || !file->is_object()) return state;
  try {
    const json agents = file->value("agents", json::object());
    for (const auto& [label, j] : agents.items()) state.agents[label] = jobFromJson(j);
    state.loginItems = file->value("loginItems", std::set<std::string>{});
    state.forced = file->value("forced", std::map<std::string, int>{});
  } catch (const json::exception&) {
    return {};  // a malformed file reads as an empty machine
  }
  return state;
}

}  // namespace

int64_t newJobGeneration() {
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

LaunchdState readLaunchd(const SystemFolder& folder) {
  return decode(folder.read(kLaunchdFile));
}

json launchdJson(const LaunchdState& state) {
  json agents = json::object();
  for (const auto& [label, job] : state.agents) agents[label] = jobJson(job);
  return {{"agents", agents}, {"loginItems", state.loginItems}, {"forced", state.forced}};
}

void updateLaunchd(const SystemFolder& folder, const std::function<void(LaunchdState&)>& change) {
  folder.update(kLaunchdFile, [&](std::optional<json>& file) {
    LaunchdState state = decode(file);
    change(state);
    file = launchdJson(state);
  });
}

std::optional<AgentJob> jobFromPlist(const json& plist, const fs::path& bundle,
                                     std::string& error) {
  if (!plist.is_object()) {
    error = "the property list is not a dictionary";
    return std::nullopt;
  }
  auto text = [&](const char* key) -> std::optional<std::string> {
    auto it = plist.find(key);
    if (it == plist.end() || !it->is_string()) return std::nullopt;
    return it->get<std::string>();
  };
  AgentJob job;
  auto label = text("Label");
  if (!label || label->empty()) {
    error = "no Label";
    return std::nullopt;
  }
  job.label = *label;
  if (auto it = plist.find("ProgramArguments"); it != plist.end()) {
    if (!it->is_array()) {
      error = "ProgramArguments is not an array";
      return std::nullopt;
    }
    for (const json& a : *it) {
      if (!a.is_string()) {
        error = "ProgramArguments holds a value that is not a string";
        return std::nullopt;
      }
      job.arguments.push_back(a.get<std::string>());
    }
  }
  if (auto bundleProgram = text("BundleProgram")) {
    if (bundle.empty() || bundleProgram->starts_with("/")) {
      error = "BundleProgram must be a path inside the bundle";
      return std::nullopt;
    }
    job.program = (bundle / *bundleProgram).string();
  } else if (auto program = text("Program")) {
    job.program = *program;
  } else if (!job.arguments.empty()) {
    job.program = job.arguments.front();
  } else {
    error = "neither BundleProgram, Program nor ProgramArguments";
    return std::nullopt;
  }
  if (job.arguments.empty()) job.arguments.push_back(job.program);
  auto flag = [&](const char* key) {
    auto it = plist.find(key);
    // KeepAlive may also be a dictionary of conditions: any of them keeps
    // the job alive here.
    return it != plist.end() && ((it->is_boolean() && it->get<bool>()) || it->is_object());
  };
  job.keepAlive = flag("KeepAlive");
  job.runAtLoad = flag("RunAtLoad");
  if (auto it = plist.find("ThrottleInterval"); it != plist.end() && it->is_number())
    job.throttleInterval = std::max(0.0, it->get<double>());
  return job;
}

std::map<std::string, JobStatus> readJobStatus(const SystemFolder& folder) {
  std::map<std::string, JobStatus> out;
  auto file = folder.read(kLaunchdStatusFile);
  if (!file || !file->is_object() || !file->contains("jobs")) return out;
  try {
    for (const auto& [label, j] : (*file)["jobs"].items()) {
      JobStatus s;
      s.pid = j.value("pid", 0);
      s.starts = j.value("starts", 0);
      if (j.contains("lastExit") && j["lastExit"].is_number_integer())
        s.lastExit = j["lastExit"].get<int>();
      out[label] = s;
    }
  } catch (const json::exception&) {
    out.clear();
  }
  return out;
}

namespace {
struct flock wholeFile(short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  return lock;  // l_start 0, l_len 0: the whole file
}
}  // namespace

bool takeLaunchdLock(int fd) {
  struct flock lock = wholeFile(F_WRLCK);
  return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

void releaseLaunchdLock(int fd) {
  struct flock lock = wholeFile(F_UNLCK);
  fcntl(fd, F_OFD_SETLK, &lock);
}

pid_t supervisorPid(const SystemFolder& folder) {
  // The supervisor holds the lock as long as it runs. Only asking about it
  // (F_OFD_GETLK) leaves it free for a supervisor that is starting.
  int fd = open(folder.file(kLaunchdLock).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return 0;
  struct flock lock = wholeFile(F_WRLCK);
  bool held = fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
  close(fd);
  if (!held) return 0;
  auto file = folder.read(kLaunchdStatusFile);
  pid_t pid = 0;
  if (file && file->is_object() && file->contains("pid") && (*file)["pid"].is_number_integer())
    pid = (*file)["pid"].get<pid_t>();
  return pid > 0 ? pid : -1;  // runs, pid not yet written
}

bool ensureSupervisor(const SystemFolder& folder, std::string& error) {
  if (supervisorPid(folder) != 0) return true;
  std::string program = simLaunchdPath();
  auto pid = spawnDetached(
      program, {program, "--root", folder.root().string()}, environmentWith({}),
      folder.file("launchd.log"), [&](pid_t p) { registerProcess(folder, p, "launchd"); }, error);
  if (!pid) return false;
  // Wait until it holds its lock, so that a status read right after a
  // registration sees the supervisor.
  for (int i = 0; i < 200 && supervisorPid(folder) == 0; ++i) {
    if (!processAlive(*pid)) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

bool startLoadedJobs(const SystemFolder& folder, std::string& error) {
  if (readLaunchd(folder).agents.empty()) return true;
  return ensureSupervisor(folder, error);
}

namespace {
std::string fromEnvOr(const char* name, const char* built) {
  const char* v = std::getenv(name);
  return v && *v ? v : built;
}
}  // namespace

std::string simLaunchdPath() {
  return fromEnvOr("QUILLON_SIM_LAUNCHD", QUILLON_SIM_LAUNCHD_PATH);
}
std::string simToolPath() {
  return fromEnvOr("QUILLON_SIM_TOOL", QUILLON_SIM_TOOL_PATH);
}

}  // namespace quillon::sim
