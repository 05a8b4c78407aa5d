// Reading status.json, the helper's report to the app.
#include <signal.h>

#include <cerrno>
#include <limits>
#include <nlohmann/json.hpp>

#include "app/core/helper_control.h"
#include "common/atomic_file.h"

namespace quillon::app::Helper {

namespace {
// The helper writes one short line; anything far larger is not its file.
constexpr std::size_t kMaxStatusBytes = 64 * 1024;

bool boolMember(const nlohmann::json& o, const char* key) {
  auto it = o.find(key);
  return it != o.end() && it->is_boolean() && it->get<bool>();
}
}  // namespace

std::string describe(const Status& s) {
  auto b = [](bool v) { return v ? "true" : "false"; };
  return std::string("Status(accessibility: ") + b(s.accessibility) +
         ", inputMonitoring: " + b(s.inputMonitoring) + ", trackpad: " + b(s.trackpad) +
         ", running: " + b(s.running) + ")";
}

bool processExists(int pid) {
  return pid > 0 && ::kill(pid, 0) == 0;
}

void endProcess(int pid) {
  if (pid > 0) (void)::kill(pid, SIGKILL);
}

Status parseStatus(std::string_view text, bool (*alive)(int pid)) {
  const auto o = nlohmann::json::parse(text, nullptr, false);
  Status s;
  if (!o.is_object()) return s;
  if (auto it = o.find("pid"); it != o.end() && it->is_number_integer()) {
    // A pid beyond int would be truncated into some other process's id.
    const bool fits =
        it->is_number_unsigned()
            ? it->get<uint64_t>() <= static_cast<uint64_t>(std::numeric_limits<int>::max())
            : it->get<int64_t>() > 0 && it->get<int64_t>() <= std::numeric_limits<int>::max();
    s.running = fits && it->get<int64_t>() > 0 && alive(static_cast<int>(it->get<int64_t>()));
  }
  // A stale file of a helper that has exited says nothing about the
  // permission now.
  s.accessibility = s.running && boolMember(o, "accessibility");
  s.inputMonitoring = boolMember(o, "inputMonitoring");
  s.trackpad = boolMember(o, "trackpad");
  return s;
}

int pid(Env& env) {
  const FileRead file = readFile(env.paths.statusFile, kMaxStatusBytes);
  if (!file.ok()) return 0;
  const auto o = nlohmann::json::parse(file.content, nullptr, false);
  if (!o.is_object()) return 0;
  auto it = o.find("pid");
  if (it == o.end() || !it->is_number_integer()) return 0;
  const int64_t v = it->get<int64_t>();
  return v > 0 && v <= std::numeric_limits<int>::max() ? static_cast<int>(v) : 0;
}

Status status(Env& env) {
  const FileRead file = readFile(env.paths.statusFile, kMaxStatusBytes);
  if (!file.ok()) return {};
  return parseStatus(file.content, &processExists);
}

}  // namespace quillon::app::Helper
