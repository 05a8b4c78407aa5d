#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "sim/app/launchd_state.h"
#include "sim/app/plist.h"
#include "sim/app/tools/stand_ins.h"

namespace quillon::sim {

using nlohmann::json;

namespace {

// "gui/<uid>/<label>" or "gui/<uid>"; false for another user or domain.
bool parseTarget(const std::string& target, std::string& label) {
  std::string domain = "gui/" + std::to_string(getuid());
  if (target == domain) return true;
  if (!target.starts_with(domain + "/")) return false;
  label = target.substr(domain.size() + 1);
  return !label.empty();
}

int noService(const std::string& label) {
  std::fprintf(stderr, "Could not find service \"%s\" in domain for user gui: %u\n", label.c_str(),
               getuid());
  return 113;
}

std::map<std::string, std::string> jobEnvironment(const SystemFolder& folder) {
  const char* home = std::getenv("HOME");
  return {{"HOME", home ? home : "/"}, {"QUILLON_SIM_ROOT", folder.root().string()}};
}

int kickstart(const SystemFolder& folder, const Args& args) {
  bool kill = false;
  std::string target;
  for (const auto& a : args) {
    if (a == "-k")
      kill = true;
    else if (a == "-p" || a == "-s")
      continue;
    else
      target = a;
  }
  std::string label;
  if (!parseTarget(target, label) || label.empty()) return noService(target);
  bool found = false;
  bool running = readJobStatus(folder)[label].pid > 0;
  updateLaunchd(folder, [&](LaunchdState& state) {
    auto it = state.agents.find(label);
    if (it == state.agents.end()) return;
    found = true;
    // A new generation: the supervisor stops a running instance and
    // starts the job at once, throttle or not.
    if (kill || !running) it->second.generation = newJobGeneration();
  });
  if (!found) return noService(label);
  std::string error;
  if (!ensureSupervisor(folder, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return 0;
}

int bootout(const SystemFolder& folder, const Args& args) {
  if (args.empty()) return 64;
  std::string label;
  if (!parseTarget(args[0], label)) return noService(args[0]);
  if (label.empty() && args.size() > 1) {
    std::string error;
    auto plist = readPlist(args[1], error);
    const json* given =
        plist && plist->is_object() && plist->contains("Label") ? &(*plist)["Label"] : nullptr;
    if (!given || !given->is_string() || given->get<std::string>().empty()) {
      std::fprintf(stderr, "Boot-out failed: 5: Input/output error\n");
      return 5;
    }
    label = given->get<std::string>();
  }
  bool found = false;
  updateLaunchd(folder, [&](LaunchdState& state) { found = state.agents.erase(label) > 0; });
  if (!found) {
    std::fprintf(stderr, "Boot-out failed: 3: No such process\n");
    return 3;
  }
  return 0;
}

int bootstrap(const SystemFolder& folder, const Args& args) {
  std::string label;
  if (args.size() != 2 || !parseTarget(args[0], label) || !label.empty()) return 64;
  std::string error;
  auto plist = readPlist(args[1], error);
  auto job = plist ? jobFromPlist(*plist, {}, error) : std::nullopt;
  if (!job) {
    std::fprintf(stderr, "Bootstrap failed: 5: Input/output error (%s)\n", error.c_str());
    return 5;
  }
  job->environment = jobEnvironment(folder);
  job->generation = newJobGeneration();
  bool loaded = false;
  updateLaunchd(folder, [&](LaunchdState& state) {
    loaded = state.agents.count(job->label) > 0;
    if (!loaded) state.agents[job->label] = *job;
  });
  if (loaded) {
    std::fprintf(stderr, "Bootstrap failed: 5: Input/output error\n");
    return 5;
  }
  if (!ensureSupervisor(folder, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return 0;
}

int print(const SystemFolder& folder, const Args& args) {
  std::string label;
  if (args.empty() || !parseTarget(args[0], label) || label.empty())
    return noService(args.empty() ? "" : args[0]);
  auto state = readLaunchd(folder);
  auto it = state.agents.find(label);
  if (it == state.agents.end()) return noService(label);
  auto status = readJobStatus(folder)[label];
  std::printf("gui/%u/%s = {\n\tstate = %s\n\tprogram = %s\n", getuid(), label.c_str(),
              status.pid > 0 ? "running" : "not running", it->second.program.c_str());
  if (status.pid > 0) std::printf("\tpid = %d\n", status.pid);
  std::printf("\truns = %d\n", status.starts);
  if (status.lastExit) std::printf("\tlast exit code = %d\n", *status.lastExit);
  std::printf("}\n");
  return 0;
}

}  // namespace

int launchctlTool(const SystemFolder& folder, const Args& args) {
  if (args.empty()) {
    std::fprintf(stderr, "Usage: launchctl <subcommand> ... | help [subcommand]\n");
    return 64;
  }
  Args rest(args.begin() + 1, args.end());
  const std::string& cmd = args[0];
  if (cmd == "kickstart") return kickstart(folder, rest);
  if (cmd == "bootout") return bootout(folder, rest);
  if (cmd == "bootstrap") return bootstrap(folder, rest);
  if (cmd == "print") return print(folder, rest);
  std::fprintf(stderr, "Unrecognized subcommand: %s\n", cmd.c_str());
  return 64;
}

}  // namespace quillon::sim
