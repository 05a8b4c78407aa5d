#include "sim/app/sim_service_management.h"

#include <chrono>
#include <cstdlib>

#include "sim/app/launchd_state.h"
#include "sim/app/plist.h"

namespace quillon::sim {

using nlohmann::json;
using platform::OsError;
using platform::ServiceStatus;

namespace {

// The texts SMAppService's errors carry.
constexpr char kNotPermitted[] = "Operation not permitted";
constexpr char kNoSuchProcess[] = "No such process";

std::optional<ServiceStatus> forcedStatus(const SystemFolder& folder, const std::string& name) {
  auto state = readLaunchd(folder);
  auto it = state.forced.find(name);
  if (it == state.forced.end() || it->second < 0 || it->second > 3) return std::nullopt;
  return static_cast<ServiceStatus>(it->second);
}

std::string envOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return v && *v ? v : fallback;
}

}  // namespace

SimAgentService::SimAgentService(const SystemFolder& folder, Recorder& recorder, BundleRef bundle,
                                 std::string plistName, MainPoster& mainQueue,
                                 std::shared_ptr<std::atomic<bool>> hold)
    : folder_(folder),
      recorder_(recorder),
      bundle_(std::move(bundle)),
      plistName_(std::move(plistName)),
      mainQueue_(mainQueue),
      hold_(std::move(hold)) {}

// The waiters stop without answering: the app that asked is going away.
SimAgentService::~SimAgentService() = default;

std::optional<std::string> SimAgentService::label() const {
  std::string error;
  auto plist = readPlist(plistPath(), error);
  auto job = plist ? jobFromPlist(*plist, bundle_.hostPath(), error) : std::nullopt;
  if (!job) return std::nullopt;
  return job->label;
}

std::filesystem::path SimAgentService::plistPath() const {
  return bundle_.hostPath() / "Contents/Library/LaunchAgents" / plistName_;
}

ServiceStatus SimAgentService::status() {
  if (auto forced = forcedStatus(folder_, plistName_)) return *forced;
  std::string error;
  auto plist = readPlist(plistPath(), error);
  if (!plist) return ServiceStatus::notFound;
  auto job = jobFromPlist(*plist, bundle_.hostPath(), error);
  if (!job) return ServiceStatus::notFound;
  auto state = readLaunchd(folder_);
  auto it = state.agents.find(job->label);
  return it != state.agents.end() && it->second.plistName == plistName_
             ? ServiceStatus::enabled
             : ServiceStatus::notRegistered;
}

platform::OsResult SimAgentService::registerService() {
  auto fail = [&](std::string text) -> platform::OsResult {
    recorder_.add("agentRegister", {{"plist", plistName_}, {"error", text}});
    return OsError{std::move(text)};
  };
  auto forced = forcedStatus(folder_, plistName_);
  if (forced == ServiceStatus::requiresApproval) return fail(kNotPermitted);
  std::string error;
  auto plist = readPlist(plistPath(), error);
  if (forced == ServiceStatus::notFound || !plist) return fail("Invalid argument: " + error);
  auto job = jobFromPlist(*plist, bundle_.hostPath(), error);
  if (!job) return fail("Invalid argument: " + plistName_ + ": " + error);
  job->plistName = plistName_;
  job->environment = {{"HOME", envOr("HOME", "/")}, {"QUILLON_SIM_ROOT", folder_.root().string()}};
  job->generation = newJobGeneration();
  updateLaunchd(folder_, [&](LaunchdState& state) {
    auto it = state.agents.find(job->label);
    // Registering a registered agent changes nothing, as on a Mac.
    if (it == state.agents.end() || it->second.plistName != plistName_)
      state.agents[job->label] = *job;
  });
  if (!ensureSupervisor(folder_, error)) return fail(error);
  recorder_.add("agentRegister", {{"plist", plistName_}, {"label", job->label}});
  return std::nullopt;
}

platform::OsResult SimAgentService::unregisterService() {
  bool found = false;
  std::string error;
  auto plist = readPlist(plistPath(), error);
  auto job = plist ? jobFromPlist(*plist, bundle_.hostPath(), error) : std::nullopt;
  updateLaunchd(folder_, [&](LaunchdState& state) {
    for (auto it = state.agents.begin(); it != state.agents.end(); ++it) {
      if (it->second.plistName == plistName_ || (job && it->first == job->label)) {
        state.agents.erase(it);
        found = true;
        break;
      }
    }
  });
  recorder_.add("agentUnregister", {{"plist", plistName_}, {"found", found}});
  if (!found) return OsError{kNoSuchProcess};
  return std::nullopt;
}

void SimAgentService::unregisterService(std::function<void(platform::OsResult)> completion) {
  platform::OsResult result = unregisterService();
  const std::optional<std::string> jobLabel = label();
  std::erase_if(waiters_, [](const std::jthread& t) { return !t.joinable(); });
  // launchd ends the job after the answer to unregistering; the completion
  // waits until the supervisor has reaped it (or no supervisor runs).
  waiters_.emplace_back([this, result, jobLabel,
                         completion = std::move(completion)](const std::stop_token& stop) mutable {
    constexpr auto kPoll = std::chrono::milliseconds(20);
    for (;;) {
      if (stop.stop_requested()) return;
      if (!*hold_) {
        bool gone = !jobLabel || supervisorPid(folder_) == 0;
        if (!gone) {
          auto jobs = readJobStatus(folder_);
          auto it = jobs.find(*jobLabel);
          gone = it == jobs.end() || it->second.pid == 0;
        }
        if (gone) break;
      }
      std::this_thread::sleep_for(kPoll);
    }
    recorder_.add("agentUnregisterCompleted", {{"plist", plistName_}});
    mainQueue_.post([completion = std::move(completion), result] { completion(result); });
  });
}

ServiceStatus SimLoginItem::status() {
  if (auto forced = forcedStatus(folder_, "mainApp")) return *forced;
  return readLaunchd(folder_).loginItems.count(bundle_.identifier()) ? ServiceStatus::enabled
                                                                     : ServiceStatus::notRegistered;
}

platform::OsResult SimLoginItem::registerService() {
  std::string id = bundle_.identifier();
  if (forcedStatus(folder_, "mainApp") == ServiceStatus::requiresApproval || id.empty()) {
    recorder_.add("loginItemRegister", {{"bundleIdentifier", id}, {"error", kNotPermitted}});
    return OsError{kNotPermitted};
  }
  updateLaunchd(folder_, [&](LaunchdState& state) { state.loginItems.insert(id); });
  recorder_.add("loginItemRegister", {{"bundleIdentifier", id}});
  return std::nullopt;
}

platform::OsResult SimLoginItem::unregisterService() {
  std::string id = bundle_.identifier();
  bool found = false;
  updateLaunchd(folder_, [&](LaunchdState& state) { found = state.loginItems.erase(id) > 0; });
  recorder_.add("loginItemUnregister", {{"bundleIdentifier", id}, {"found", found}});
  if (!found) return OsError{kNoSuchProcess};
  return std::nullopt;
}

void SimLoginItem::unregisterService(std::function<void(platform::OsResult)> completion) {
  platform::OsResult result = unregisterService();
  mainQueue_.post([completion = std::move(completion), result] { completion(result); });
}

SimServiceManagement::SimServiceManagement(const SystemFolder& folder, Recorder& recorder,
                                           const BundleRef& bundle,
                                           platform::AppWorkspace& workspace, MainPoster& mainQueue)
    : folder_(folder),
      recorder_(recorder),
      bundle_(bundle),
      workspace_(workspace),
      mainQueue_(mainQueue),
      loginItem_(folder, recorder, bundle, mainQueue) {}

platform::AppService& SimServiceManagement::agent(const std::string& plistName) {
  for (auto& a : agents_)
    if (a->plistName() == plistName) return *a;
  agents_.push_back(
      std::make_unique<SimAgentService>(folder_, recorder_, bundle_, plistName, mainQueue_, hold_));
  return *agents_.back();
}

void SimServiceManagement::openLoginItemsSettings() {
  recorder_.add("openLoginItemsSettings", {});
  workspace_.openURL("x-apple.systempreferences:com.apple.LoginItems-Settings.extension");
}

}  // namespace quillon::sim
