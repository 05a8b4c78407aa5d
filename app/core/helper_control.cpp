#include "app/core/helper_control.h"

#include <sys/stat.h>

#include <memory>
#include <system_error>

#include "common/decimal_text.h"
#include "common/dismiss_prompt.h"

namespace quillon::app {

namespace Helper {

namespace {
constexpr double kCheckAfterSeconds = 4.0;
constexpr double kRegisterAgainAfterSeconds = 6.0;
constexpr int kMaxAttempts = 3;
constexpr double kOpenPrivacyAfterSeconds = 1.5;
constexpr const char* kStampKey = "helperStamp";
constexpr const char* kAskedMarker = ".asked-accessibility";
}  // namespace

std::string appBundle(Env& env) {
  return env.sys.bundle.bundlePath() + "/Contents/Helpers/Quillon Helper.app";
}

std::string exe(Env& env) {
  return appBundle(env) + "/Contents/MacOS/Quillon Helper";
}

platform::AppService& agent(Env& env) {
  return env.sys.services.agent(agentPlist);
}

bool registered(Env& env) {
  return agent(env).status() == platform::ServiceStatus::enabled;
}

bool needsApproval(Env& env) {
  return agent(env).status() == platform::ServiceStatus::requiresApproval;
}

namespace {

std::optional<std::string> registerAgent(Env& env) {
  platform::AppService& service = agent(env);
  const platform::OsResult failed = service.registerService();
  if (!failed) {
    ensureRunning(env, 1);
    return std::nullopt;
  }
  if (service.status() == platform::ServiceStatus::requiresApproval) {
    return "Allow Quillon in System Settings > General > Login Items.";
  }
  return "Couldn't start Quillon Helper: " + failed->description;
}

// Unregisters, then runs `then` once the job has ended and at least
// `atLeastSeconds` have passed, unless a stop or the uninstall came between.
void unregisterThen(Env& env, double atLeastSeconds, std::function<void()> then) {
  const uint64_t generation = env.flags.helperRetry.generation;
  env.flags.helperRetry.pending = true;
  struct Progress {
    bool unregistered = false;
    bool waited = false;
  };
  auto progress = std::make_shared<Progress>();
  auto go = [&env, generation, progress, then = std::move(then)] {
    if (!progress->unregistered || !progress->waited) return;
    if (env.flags.helperRetry.generation != generation || env.flags.uninstalling) return;
    then();
  };
  env.runLoop.after(atLeastSeconds, [progress, go] {
    progress->waited = true;
    go();
  });
  agent(env).unregisterService([progress, go](const platform::OsResult&) {
    progress->unregistered = true;
    go();
  });
}

}  // namespace

std::optional<std::string> start(Env& env) {
  platform::AppService& service = agent(env);
  const platform::ServiceStatus s = service.status();
  if (s == platform::ServiceStatus::enabled) return std::nullopt;
  // A damaged approval record reads "not found" although the agent is
  // registered; only unregistering first lets it register again.
  if (s == platform::ServiceStatus::notFound) (void)service.unregisterService();
  return registerAgent(env);
}

void ensureRunning(Env& env, int attempt) {
  const uint64_t generation = env.flags.helperRetry.generation;
  env.flags.helperRetry.pending = true;
  env.runLoop.after(kCheckAfterSeconds, [&env, attempt, generation] {
    if (env.flags.helperRetry.generation != generation) return;
    env.flags.helperRetry.pending = false;
    if (attempt > kMaxAttempts || env.flags.uninstalling) return;
    if (agent(env).status() != platform::ServiceStatus::enabled) return;
    if (status(env).running) return;
    // Registering again before launchd has reaped the old job would find it
    // still loaded and start nothing.
    unregisterThen(env, kRegisterAgainAfterSeconds, [&env, attempt] {
      env.flags.helperRetry.pending = false;
      (void)agent(env).registerService();
      ensureRunning(env, attempt + 1);
    });
  });
}

bool retryPending(Env& env) {
  return env.flags.helperRetry.pending;
}

void restart(Env& env, std::function<void(std::optional<std::string>)> done) {
  if (!registered(env) || status(env).running) {
    done(start(env));
    return;
  }
  // Registered but not running: the launcher has given up on it, and only
  // a fresh registration makes it start the helper again.
  ++env.flags.helperRetry.generation;
  unregisterThen(env, 0, [&env, done = std::move(done)] {
    env.flags.helperRetry.pending = false;
    done(registerAgent(env));
  });
}

void keepForSetup(Env& env, bool keep) {
  env.flags.keepForSetup = keep;
}

void stop(Env& env) {
  // Whatever a retry scheduled before now never registers the agent again.
  ++env.flags.helperRetry.generation;
  env.flags.helperRetry.pending = false;
  platform::AppService& service = agent(env);
  const platform::ServiceStatus s = service.status();
  if (s == platform::ServiceStatus::notRegistered || s == platform::ServiceStatus::notFound) {
    return;
  }
  (void)service.unregisterService();
  std::error_code ignored;
  std::filesystem::remove(env.paths.statusFile, ignored);
}

std::string stamp(Env& env) {
  const std::filesystem::path file = env.sys.bundle.hostPath(exe(env));
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return "";
#if defined(__APPLE__)
  const timespec mtime = st.st_mtimespec;
#else
  const timespec mtime = st.st_mtim;
#endif
  const double seconds =
      static_cast<double>(mtime.tv_sec) + static_cast<double>(mtime.tv_nsec) / 1e9;
  return shortestText(seconds);
}

void refreshIfUpdated(Env& env) {
  const std::string now = stamp(env);
  platform::UserDefaults& defaults = env.sys.defaults.standard();
  if (defaults.stringValue(kStampKey) == now) return;
  // ServiceManagement keeps running the old copy until the agent is
  // registered anew.
  if (registered(env)) {
    (void)agent(env).unregisterService();
    (void)start(env);
  }
  defaults.setString(kStampKey, now);
}

void askAccessibility(Env& env) {
  std::error_code ignored;
  std::filesystem::remove(env.paths.supportDir / kAskedMarker, ignored);
  (void)run(env, "/bin/launchctl",
            {"kickstart", "-k", "gui/" + std::to_string(env.uid) + "/" + bundleID});
  env.runLoop.after(kOpenPrivacyAfterSeconds,
                    [&env] { openPrivacy(env, "Privacy_Accessibility"); });
}

void openPrivacy(Env& env, const std::string& anchor) {
  env.sys.workspace.openURL("x-apple.systempreferences:com.apple.preference.security?" + anchor);
}

void showInFinder(Env& env) {
  env.sys.workspace.revealInFinder({appBundle(env)});
}

}  // namespace Helper

void dismissAccessibilityPrompt(Env& env) {
  quillon::dismissAccessibilityPrompt(env.sys.helperWorkspace, env.runLoop);
}

platform::ProcessResult run(Env& env, const std::string& path,
                            const std::vector<std::string>& args) {
  return env.sys.processes.run(path, args);
}

}  // namespace quillon::app
