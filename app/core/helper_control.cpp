#include "app/core/helper_control.h"

#include <sys/stat.h>

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

std::optional<std::string> start(Env& env) {
  platform::AppService& service = agent(env);
  if (service.status() == platform::ServiceStatus::enabled) return std::nullopt;
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

void ensureRunning(Env& env, int attempt) {
  env.runLoop.after(kCheckAfterSeconds, [&env, attempt] {
    if (attempt > kMaxAttempts) return;
    platform::AppService& service = agent(env);
    if (service.status() != platform::ServiceStatus::enabled) return;
    if (status(env).running) return;
    (void)service.unregisterService();
    env.runLoop.after(kRegisterAgainAfterSeconds, [&env, attempt] {
      (void)agent(env).registerService();
      ensureRunning(env, attempt + 1);
    });
  });
}

void keepForSetup(Env& env, bool keep) {
  env.flags.keepForSetup = keep;
}

void stop(Env& env) {
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
