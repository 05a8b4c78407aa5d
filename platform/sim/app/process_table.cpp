#include "sim/app/process_table.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <limits>
#include <sstream>
#include <thread>

#include "sim/app/spawn.h"
#include "sim/sim_state.h"

namespace quillon::sim {

using nlohmann::json;

namespace {

constexpr std::string_view kProcesses = "processes.json";

bool isLive(const SimProcess& p) {
  return p.pid > 0 && processAlive(p.pid) && processStartTime(p.pid).value_or(0) == p.start;
}

// Whether a process other than a zombie is in process group `pgid`. Group
// 0 is the kernel's own threads', never one of ours.
bool groupHasMembers(pid_t pgid) {
  if (pgid <= 0) return false;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    int pid = 0;
    std::from_chars(name.data(), name.data() + name.size(), pid);
    const std::string text = processStatText(pid);
    auto close = text.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(text.substr(close + 1));
    char state = 0;
    pid_t ppid = 0, pgrp = 0;
    if (rest >> state >> ppid >> pgrp && pgrp == pgid && state != 'Z' && state != 'X') return true;
  }
  return false;
}

enum class Reach { gone, process, group };

// How to reach what is left of a registered process. A process that leads
// its group (scripts, apps, launchd and its agents do) is reached with its
// group, so that its children (a `sleep`, a tool it runs) go too, also once
// it has ended itself: while a group has members its id is not given to
// another process.
Reach reach(const SimProcess& p) {
  // kill and killpg read 0 as "our own group" and -1 as "everyone": a
  // damaged file must never make a tear-down signal its own test run.
  if (p.pid <= 0) return Reach::gone;
  if (isLive(p)) return getpgid(p.pid) == p.pid ? Reach::group : Reach::process;
  if (!processAlive(p.pid) && groupHasMembers(p.pid)) return Reach::group;
  return Reach::gone;
}

bool running(const SimProcess& p) {
  return reach(p) != Reach::gone;
}

void signalProcess(const SimProcess& p, int sig) {
  if (p.pid <= 0) return;
  switch (reach(p)) {
    case Reach::group:
      killpg(p.pid, sig);
      break;
    case Reach::process:
      kill(p.pid, sig);
      break;
    case Reach::gone:
      break;
  }
}

std::vector<SimProcess> readAll(const SystemFolder& folder) {
  std::vector<SimProcess> out;
  auto file = folder.read(kProcesses);
  if (!file || !file->is_array()) return out;
  for (const json& e : *file) {
    if (!e.is_object() || !e.contains("pid") || !e["pid"].is_number_integer()) continue;
    const auto pid = e["pid"].get<int64_t>();
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) continue;  // no process's id
    const json& start = e.contains("start") ? e["start"] : json();
    const json& what = e.contains("what") ? e["what"] : json();
    out.push_back({static_cast<pid_t>(pid),
                   start.is_number_unsigned() ? start.get<uint64_t>() : uint64_t{0},
                   what.is_string() ? what.get<std::string>() : std::string()});
  }
  return out;
}

json toJson(const std::vector<SimProcess>& list) {
  json out = json::array();
  for (const auto& p : list) out.push_back({{"pid", p.pid}, {"start", p.start}, {"what", p.what}});
  return out;
}

}  // namespace

void registerProcess(const SystemFolder& folder, pid_t pid, const std::string& what) {
  auto start = processStartTime(pid);
  if (!start) return;  // already gone
  folder.update(kProcesses, [&](std::optional<json>& file) {
    auto list = readAll(folder);
    std::erase_if(list, [&](const SimProcess& p) { return p.pid == pid || !running(p); });
    list.push_back({pid, *start, what});
    file = toJson(list);
  });
}

void unregisterProcess(const SystemFolder& folder, pid_t pid) {
  folder.update(kProcesses, [&](std::optional<json>& file) {
    auto list = readAll(folder);
    std::erase_if(list, [&](const SimProcess& p) { return p.pid == pid || !running(p); });
    file = toJson(list);
  });
}

std::vector<SimProcess> liveProcesses(const SystemFolder& folder) {
  auto list = readAll(folder);
  std::erase_if(list, [](const SimProcess& p) { return !running(p); });
  return list;
}

int stopProcesses(const SystemFolder& folder, const std::function<bool(const SimProcess&)>& which,
                  double graceSeconds) {
  int stopped = 0;
  // A script being stopped may have just opened an app: go round again
  // until nothing registered is left.
  for (int round = 0; round < 5; ++round) {
    auto live = liveProcesses(folder);
    std::erase_if(live, [&](const SimProcess& p) { return !which(p); });
    if (live.empty()) break;
    auto anyRunning = [&] {
      return std::any_of(live.begin(), live.end(), [](const SimProcess& p) { return running(p); });
    };
    for (const auto& p : live) signalProcess(p, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::milliseconds(static_cast<int>(graceSeconds * 1000));
    while (anyRunning() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    for (const auto& p : live) signalProcess(p, SIGKILL);
    stopped += static_cast<int>(live.size());
    for (int i = 0; i < 100 && anyRunning(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  folder.update(kProcesses,
                [&](std::optional<json>& file) { file = toJson(liveProcesses(folder)); });
  return stopped;
}

int shutdownMachine(const std::filesystem::path& root, double graceSeconds) {
  std::error_code ec;
  if (!std::filesystem::exists(root, ec)) return 0;
  return stopProcesses(
      SystemFolder(root), [](const SimProcess&) { return true; }, graceSeconds);
}

}  // namespace quillon::sim
