// The small stand-ins: tccutil, defaults, hdiutil, kill.
#include <signal.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>

#include "common/bundle_ids.h"
#include "sim/app/sim_user_defaults.h"
#include "sim/app/tools/stand_ins.h"
#include "sim/sim_state.h"

namespace quillon::sim {

using nlohmann::json;

int tccutilTool(const SystemFolder& folder, const Args& args) {
  if (args.size() < 2 || args.size() > 3 || args[0] != "reset") {
    std::fprintf(stderr, "Usage: tccutil reset SERVICE [BUNDLE_ID]\n");
    return 64;
  }
  const std::string& service = args[1];
  bool accessibility = service == "Accessibility" || service == "All";
  bool listenEvent = service == "ListenEvent" || service == "All";
  if (!accessibility && !listenEvent) {
    std::fprintf(stderr, "tccutil: Failed to reset %s\n", service.c_str());
    return 70;
  }
  // The simulated Mac's permissions are the helper's: a reset for another
  // bundle succeeds and changes nothing.
  bool ours = args.size() < 3 || args[2] == kHelperBundleId;
  if (ours) {
    folder.update(files::kPermissions, [&](std::optional<json>& file) {
      Permissions p = readPermissions(folder);
      if (accessibility) p.accessibility = false;
      if (listenEvent) p.inputMonitoring = false;
      file = permissionsJson(p);
    });
  }
  if (args.size() == 3)
    std::printf("Successfully reset %s approval status for %s\n", service.c_str(), args[2].c_str());
  else
    std::printf("Successfully reset %s\n", service.c_str());
  return 0;
}

int defaultsTool(const SystemFolder& folder, const Args& args) {
  if (args.size() < 2 || (args[0] != "delete" && args[0] != "read")) {
    std::fprintf(stderr, "Usage: defaults read|delete DOMAIN [KEY]\n");
    return 64;
  }
  const std::string& domain = args[1];
  json content = defaultsDomain(folder, domain);
  if (args[0] == "read") {
    if (args.size() == 2 && content.is_object()) {
      std::printf("%s\n", content.dump(4).c_str());
      return 0;
    }
    if (args.size() == 3 && content.is_object() && content.contains(args[2])) {
      std::printf("%s\n", content[args[2]].dump().c_str());
      return 0;
    }
    std::fprintf(stderr, "\nThe domain/default pair of (%s, %s) does not exist\n", domain.c_str(),
                 args.size() == 3 ? args[2].c_str() : "");
    return 1;
  }
  if (args.size() == 2 && removeDefaultsDomain(folder, domain)) return 0;
  if (args.size() == 3 && content.is_object() && content.contains(args[2])) {
    folder.update(kDefaultsFile, [&](std::optional<json>& file) {
      if (file && file->contains(domain)) (*file)[domain].erase(args[2]);
    });
    return 0;
  }
  std::fprintf(stderr, "Domain (%s) not found.\nDefaults have not been changed.\n", domain.c_str());
  return 1;
}

int hdiutilTool(const MacFileSystem& files, const Args& args) {
  if (args.size() < 2 || args[0] != "detach") {
    std::fprintf(stderr, "hdiutil: verb not recognized\n");
    return 1;
  }
  bool quiet = false;
  std::string device;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "-quiet")
      quiet = true;
    else if (args[i] == "-force")
      continue;
    else
      device = args[i];
  }
  if (device.empty() || !files.unmount(device)) {
    std::fprintf(stderr, "hdiutil: detach failed - No such file or directory\n");
    return 1;
  }
  if (!quiet) std::printf("\"%s\" ejected.\n", device.c_str());
  return 0;
}

namespace {

std::optional<int> signalNumber(std::string name) {
  if (name.starts_with("SIG")) name = name.substr(3);
  static const std::map<std::string, int> kNames = {
      {"HUP", SIGHUP},   {"INT", SIGINT},   {"QUIT", SIGQUIT}, {"KILL", SIGKILL}, {"TERM", SIGTERM},
      {"USR1", SIGUSR1}, {"USR2", SIGUSR2}, {"STOP", SIGSTOP}, {"CONT", SIGCONT}};
  if (auto it = kNames.find(name); it != kNames.end()) return it->second;
  try {
    size_t used = 0;
    int n = std::stoi(name, &used);
    if (used == name.size() && n >= 0 && n < NSIG) return n;
  } catch (const std::exception&) {
  }
  return std::nullopt;
}

}  // namespace

int killTool(const SystemFolder& folder, const Args& args) {
  int sig = SIGTERM;
  size_t i = 0;
  if (i < args.size() && args[i] == "-s" && i + 1 < args.size()) {
    auto n = signalNumber(args[i + 1]);
    if (!n) {
      std::fprintf(stderr, "kill: unknown signal: %s\n", args[i + 1].c_str());
      return 2;
    }
    sig = *n;
    i += 2;
  } else if (i < args.size() && args[i].size() > 1 && args[i][0] == '-') {
    auto n = signalNumber(args[i].substr(1));
    if (!n) {
      std::fprintf(stderr, "kill: unknown signal: %s\n", args[i].c_str());
      return 2;
    }
    sig = *n;
    ++i;
  }
  if (i >= args.size()) {
    std::fprintf(stderr, "usage: kill [-s signal_name] pid ...\n");
    return 2;
  }
  int status = 0;
  for (; i < args.size(); ++i) {
    // Only single processes: 0 and negative numbers (a process group, or
    // every process the user may signal) reach beyond the simulated Mac.
    int pid = 0;
    try {
      size_t used = 0;
      pid = std::stoi(args[i], &used);
      if (used != args[i].size()) pid = 0;
    } catch (const std::exception&) {
      pid = 0;
    }
    if (pid <= 0) {
      std::fprintf(stderr, "kill: illegal process id: %s\n", args[i].c_str());
      status = 2;
      continue;
    }
    // A stand-in application of apps.json is a process of the simulated
    // Mac: it exists for signal 0 and ends on any other.
    bool standIn = false;
    updateApps(folder, [&](AppList& list) {
      std::erase_if(list.apps, [&](const SimApp& a) {
        if (a.pid != pid || a.process) return false;
        standIn = true;
        return sig != 0;
      });
    });
    if (standIn) continue;
    if (kill(pid, sig) != 0) {
      std::fprintf(stderr, "kill: %d: %s\n", pid, std::strerror(errno));
      status = 1;
    }
  }
  return status;
}

}  // namespace quillon::sim
