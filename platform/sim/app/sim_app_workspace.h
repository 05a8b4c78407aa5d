#pragma once

#include <functional>
#include <string>

#include "quillon/platform/app_system.h"
#include "sim/app/mac_fs.h"
#include "sim/app/main_queue.h"
#include "sim/sim_folder.h"
#include "sim/sim_records.h"
#include "sim/sim_services.h"
#include "sim/sim_state.h"

namespace quillon::sim {

constexpr char kSystemSettingsBundle[] = "com.apple.systempreferences";

// True when NSURL(string:) would make a URL of the text: a scheme, then
// only characters a URL may hold.
bool isValidUrl(const std::string& text);

// NSWorkspace and NSRunningApplication on apps.json. Stand-in entries
// (the Accessibility prompt, System Settings) end as the helper's
// workspace ends them; a real process (another running copy of the app)
// is asked to quit through its app channel, and force-quit with SIGKILL.
// Opening a System Settings URL starts System Settings unless it runs.
// Items moved to the Trash really move, into <root>/Trash.
class SimAppWorkspace : public platform::AppWorkspace {
 public:
  SimAppWorkspace(const SystemFolder& folder, Recorder& recorder, SimWorkspace& apps,
                  const MacFileSystem& files, MainPoster& mainQueue,
                  std::function<void()> terminateSelf);
  bool openURL(const std::string& url) override;
  void revealInFinder(const std::vector<std::filesystem::path>& items) override;
  void recycle(const std::filesystem::path& item,
               std::function<void(platform::OsResult)> completion) override;
  std::vector<platform::RunningApp> runningApplications(const std::string& bundleId) override;
  void terminate(int pid) override;
  void forceTerminate(int pid) override;
  bool isTerminated(int pid) override;
  void activate(int pid) override;
  void activateSelf() override;
  void terminateSelf() override;

 private:
  std::optional<SimApp> find(int pid) const;
  const SystemFolder& folder_;
  Recorder& recorder_;
  SimWorkspace& apps_;
  const MacFileSystem& files_;
  MainPoster& mainQueue_;
  std::function<void()> terminateSelf_;
};

}  // namespace quillon::sim
