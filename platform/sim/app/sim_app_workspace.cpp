#include "sim/app/sim_app_workspace.h"

#include <signal.h>
#include <unistd.h>

#include <cctype>

#include "sim/app/app_channel.h"
#include "sim/sim_state.h"

namespace quillon::sim {

using nlohmann::json;

bool isValidUrl(const std::string& text) {
  auto colon = text.find(':');
  if (colon == 0 || colon == std::string::npos ||
      !std::isalpha(static_cast<unsigned char>(text[0])))
    return false;
  for (size_t i = 0; i < colon; ++i) {
    char c = text[i];
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
      return false;
  }
  static const std::string kAllowed = "-._~:/?#[]@!$&'()*+,;=%";
  for (char c : text)
    if (!std::isalnum(static_cast<unsigned char>(c)) && kAllowed.find(c) == std::string::npos)
      return false;
  return true;
}

SimAppWorkspace::SimAppWorkspace(const SystemFolder& folder, Recorder& recorder, SimWorkspace& apps,
                                 const MacFileSystem& files, MainPoster& mainQueue,
                                 std::function<void()> terminateSelf)
    : folder_(folder),
      recorder_(recorder),
      apps_(apps),
      files_(files),
      mainQueue_(mainQueue),
      terminateSelf_(std::move(terminateSelf)) {}

bool SimAppWorkspace::openURL(const std::string& url) {
  bool valid = isValidUrl(url);
  recorder_.add("openURL", {{"url", url}, {"opened", valid}});
  if (!valid) return false;
  if (url.starts_with("x-apple.systempreferences:") &&
      apps_.runningApplications(kSystemSettingsBundle).empty())
    apps_.launch(kSystemSettingsBundle, false);
  return true;
}

void SimAppWorkspace::revealInFinder(const std::vector<std::filesystem::path>& items) {
  json paths = json::array();
  for (const auto& p : items) paths.push_back(p.string());
  recorder_.add("revealInFinder", {{"paths", paths}});
}

void SimAppWorkspace::recycle(const std::filesystem::path& item,
                              std::function<void(platform::OsResult)> completion) {
  std::string error;
  auto trashed = files_.moveToTrash(files_.hostPath(item.string()), error);
  json detail = {{"item", item.string()}};
  if (trashed)
    detail["trashed"] = trashed->string();
  else
    detail["error"] = error;
  recorder_.add("recycle", detail);
  platform::OsResult result;
  if (!trashed) result = platform::OsError{error};
  mainQueue_.post([completion = std::move(completion), result] {
    if (completion) completion(result);
  });
}

std::vector<platform::RunningApp> SimAppWorkspace::runningApplications(const std::string& id) {
  return apps_.runningApplications(id);
}

std::optional<SimApp> SimAppWorkspace::find(int pid) const {
  for (const auto& a : readApps(folder_))
    if (a.pid == pid) return a;
  return std::nullopt;
}

void SimAppWorkspace::terminate(int pid) {
  auto app = find(pid);
  if (!app || !app->process) {
    apps_.terminate(pid);
    return;
  }
  // A running copy gets the request and quits on its own main thread.
  bool asked = pid == getpid();
  if (asked)
    mainQueue_.post([this] { terminateSelf(); });
  else
    asked = sendAppRequest(folder_.root(), pid, {{"cmd", "terminate"}}).value("ok", false);
  recorder_.add("terminate", {{"pid", pid}, {"process", true}, {"asked", asked}});
}

void SimAppWorkspace::forceTerminate(int pid) {
  auto app = find(pid);
  if (!app || !app->process) {
    apps_.forceTerminate(pid);
    return;
  }
  bool ended = pid > 0 && kill(pid, SIGKILL) == 0;
  updateApps(folder_, [&](AppList& list) {
    std::erase_if(list.apps, [&](const SimApp& a) { return a.pid == pid; });
  });
  recorder_.add("forceTerminate", {{"pid", pid}, {"process", true}, {"ended", ended}});
}

bool SimAppWorkspace::isTerminated(int pid) {
  return !find(pid).has_value();
}

void SimAppWorkspace::activate(int pid) {
  auto app = find(pid);
  recorder_.add("activate", {{"pid", pid}, {"bundleIdentifier", app ? app->bundleIdentifier : ""}});
}

void SimAppWorkspace::activateSelf() {
  recorder_.add("activateSelf", {});
}

void SimAppWorkspace::terminateSelf() {
  recorder_.add("terminateSelf", {});
  int self = getpid();
  updateApps(folder_, [&](AppList& list) {
    for (auto& a : list.apps)
      if (a.pid == self && a.process) a.terminating = true;
  });
  if (terminateSelf_) terminateSelf_();
}

}  // namespace quillon::sim
