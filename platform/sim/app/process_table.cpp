#include "sim/app/process_table.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
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

void signalProcess(pid_t pid, int sig) {
  // Scripts and agents lead their own group: the group takes their
  // children (a `sleep`, a helper's preview) along.
  if (getpgid(pid) == pid)
    killpg(pid, sig);
  else
    kill(pid, sig);
}

}  // namespace

void registerProcess(const SystemFolder& folder, pid_t pid, const std::string& what) {
  auto start = processStartTime(pid);
  if (!start) return;  // already gone
  folder.update(kProcesses, [&](std::optional<json>& file) {
    auto list = readAll(folder);
    std::erase_if(list, [&](const SimProcess& p) { return p.pid == pid || !isLive(p); });
    list.push_back({pid, *start, what});
    file = toJson(list);
  });
}

void unregisterProcess(const SystemFolder& folder, pid_t pid) {
  folder.update(kProcesses, [&](std::optional<json>& file) {
    auto list = readAll(folder);
    std::erase_if(list, [&](const SimProcess& p) { return p.pid == pid || !isLive(p); });
    file = toJson(list);
  });
}

std::vector<SimProcess> liveProcesses(const SystemFolder& folder) {
  auto list = readAll(folder);
  std::erase_if(list, [](const SimProcess& p) { return !isLive(p); });
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
    for (const auto& p : live) signalProcess(p.pid, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::milliseconds(static_cast<int>(graceSeconds * 1000));
    for (;;) {
      bool any = false;
      for (const auto& p : live) any = any || isLive(p);
      if (!any || std::chrono::steady_clock::now() > deadline) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    for (const auto& p : live) {
      if (isLive(p)) signalProcess(p.pid, SIGKILL);
      ++stopped;
    }
    for (int i = 0; i < 100; ++i) {
      bool any = false;
      for (const auto& p : live) any = any || isLive(p);
      if (!any) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  folder.update(kProcesses,
                [&](std::optional<json>& file) { file = toJson(liveProcesses(folder)); });
  return stopped;
}

}  // namespace quillon::sim
