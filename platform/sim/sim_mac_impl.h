#pragma once

#include <memory>

#include "sim/sim_events.h"
#include "sim/sim_file_notifier.h"
#include "sim/sim_folder.h"
#include "sim/sim_folder_watcher.h"
#include "sim/sim_hid.h"
#include "sim/sim_mac.h"
#include "sim/sim_multitouch.h"
#include "sim/sim_records.h"
#include "sim/sim_run_loop.h"
#include "sim/sim_services.h"

namespace quillon::sim {

class ControlServer;

// Everything one simulated Mac is made of, shared by the Mac's files.
struct Mac::Impl {
  Impl(std::filesystem::path root, Options options);
  ~Impl();

  Options options;
  SystemFolder folder;
  Recorder recorder;
  RealClock realClock;
  std::unique_ptr<ManualClock> manual;
  platform::Clock& clock;
  SimRunLoop runLoop;
  SimDisplays displays;
  SimEventTaps taps;
  SimCursor cursor;
  SimMultitouch multitouch;
  SimHid hid;
  SimPreferences preferences;
  SimAccessibility accessibility;
  SimWorkspace workspace;
  SimFolderWatcher folders;
  platform::System system;
  FileNotifier notifier;
  std::unique_ptr<ControlServer> control;

  // Runs `work` where the system would: on the run loop when it runs on
  // another thread (without waiting), else at once.
  void onMain(std::function<void()> work);
};

}  // namespace quillon::sim
