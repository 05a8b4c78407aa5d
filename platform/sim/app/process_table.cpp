#include "sim/app/process_table.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <sstream>
#include <thread>

#include "sim/app/spawn.h"
#include "sim/sim_state.h"

namespace quillon::sim {

using nlohmann::json;

namespace {

constexpr std::string_view kProcesses = "processes.json";

bool isLive(const SimProcess& p) {
  return processAlive(p.pid) && processStartTime(p.pid).value_or(0) == p.start;
}

// Whether a process other than a zombie is in process group `pgid`.
bool groupHasMembers(pid_t pgid) {
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
  if (isLive(p)) return getpgid(p.pid) == p.pid ? Reach::group : Reach::process;
  if (!processAlive(p.pid) && groupHasMembers(p.pid)) return Reach::group;
  return Reach::gone;
}

bool running(const SimProcess& p) {
  return reach(p) != Reach::gone;
}

void signalProcess(const SimProcess& p, int sig) {
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
    out.push_back({e["pid"].get<pid_t>(), e.value("start", uint64_t{0}), e.value("what", "")});
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

int shutdownMachine(const std::filesystem::path& root, double graceSeconds) {
  std::error_code ec;
  if (!std::filesystem::exists(root, ec)) return 0;
  SystemFolder folder(root);
  int stopped = 0;
  // A script being stopped may have just opened an app: go round again
  // until nothing registered is left.
  for (int round = 0; round < 5; ++round) {
    auto live = liveProcesses(folder);
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

}  // namespace quillon::sim
