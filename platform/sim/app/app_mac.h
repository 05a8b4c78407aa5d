#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "quillon/platform/app_system.h"
#include "sim/sim_mac.h"

namespace quillon::sim {

// The simulated Mac as the menu bar app sees it: every service of
// platform::AppSystem, on the machine in `root` (the system folder it
// shares with the helper's sim::Mac, tests and quillon-sim-control). What
// the app asks is recorded in order (records()); what the system does on
// its own (a hot key, a click on the status item, a reopen) comes in
// through the hooks below or through the app channel (serveChannel()).
//
// Callbacks go through the main queue given to setMainQueue(); until one
// is given, they run at once on the calling thread.
class AppMac : public platform::AppBackend {
 public:
  struct Options {
    // Host path of the running bundle (".../Quillon.app"). Empty: found
    // from $QUILLON_SIM_BUNDLE, else from this executable's path.
    std::filesystem::path bundle;
    // Lists this process in apps.json under the bundle's identifier, as a
    // running application that other processes can find, ask to quit or
    // reopen.
    bool listAsRunning = true;
  };
  explicit AppMac(std::filesystem::path root);
  AppMac(std::filesystem::path root, Options options);
  ~AppMac() override;
  AppMac(const AppMac&) = delete;
  AppMac& operator=(const AppMac&) = delete;

  platform::AppSystem& system() override;
  void setMainQueue(MainQueue post) override;
  const std::filesystem::path& root() const;
  std::filesystem::path bundleHostPath() const;

  // --- Events from the system (posted to the main queue) ---
  // The app's UI registers what a click on its status item does. While
  // that handler runs, EventSource::currentEvent() is the click.
  void setStatusItemClickHandler(std::function<void()> onClick);
  // NSEvent type (1 left down ... 4 right up) and subtype (3 touch, 0 mouse).
  // False when no handler is set.
  bool clickStatusItem(int type, int subtype);
  // The hot key with this id is pressed; false when none is registered
  // with it or no handler is installed.
  bool pressHotKey(uint32_t id);
  // The user opens the app again while it runs; false without a handler.
  bool reopen();
  // A mouse-down in another application; returns how many monitors got it.
  int globalMouseDown();
  // Another process asks this app to quit (NSRunningApplication.terminate).
  void requestTerminate();
  // What terminating this app does. Default: QCoreApplication::quit() when
  // there is a Qt application, else nothing beyond the record.
  void setTerminateHandler(std::function<void()> onTerminate);

  // --- Knobs ---
  // Forces a service's status: a plist name ("com.quillon.helper.plist")
  // or "mainApp"; nullopt lifts it. Registration then fails as on a Mac.
  void forceServiceStatus(const std::string& name, std::optional<platform::ServiceStatus> status);
  // While held, unregistering the agent with a completion does not answer,
  // as if launchd were still reaping the job; releasing lets it answer once
  // the job's process is gone.
  void holdAgentUnregister(bool hold);
  // IOServiceGetMatchingServices fails (the count reads nullopt).
  void setRegistryFails(bool fails);

  // --- What happened ---
  std::vector<Record> records() const;
  std::vector<Record> records(const std::string& kind) const;
  void clearRecords();

  // Serves <root>/app-<pid>.sock for quillon-sim-control --app, on a
  // thread of its own; requests run on the main queue. False when the
  // socket cannot be bound. First removes the channels and temporary files
  // that killed apps and writers left in the system folder.
  bool serveChannel();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// The socket through which a running app of this machine is driven.
std::filesystem::path appChannelPath(const std::filesystem::path& root, pid_t pid);

}  // namespace quillon::sim
