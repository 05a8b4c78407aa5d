#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <tuple>

#include "quillon/platform/app_system.h"
#include "sim/app/main_queue.h"
#include "sim/sim_records.h"

namespace quillon::sim {

// Carbon hot keys. A key combination can be registered once per process
// (a second registration fails, as eventHotKeyExistsErr does); press()
// calls the installed handler on the main queue with the key's id.
class SimHotKeys : public platform::HotKeyCenter {
 public:
  SimHotKeys(Recorder& recorder, MainPoster& mainQueue) : recorder_(recorder), main_(mainQueue) {}
  void installHandler(std::function<void(uint32_t id)> onPressed) override;
  std::optional<uint64_t> registerHotKey(uint32_t keyCode, uint32_t modifiers, uint32_t signature,
                                         uint32_t id) override;
  bool press(uint32_t id);

 private:
  Recorder& recorder_;
  MainPoster& main_;
  std::mutex mutex_;
  std::function<void(uint32_t)> handler_;
  std::map<std::tuple<uint32_t, uint32_t>, uint32_t> keys_;  // (keyCode, modifiers) -> id
  uint64_t nextRef_ = 1;
};

// The events the app handles: status-item clicks (the current event while
// their handler runs), global mouse-down monitors and reopen requests,
// each delivered on the main queue.
class SimEventSource : public platform::EventSource {
 public:
  SimEventSource(Recorder& recorder, MainPoster& mainQueue)
      : recorder_(recorder), main_(mainQueue) {}
  std::optional<platform::CurrentEvent> currentEvent() override;
  std::unique_ptr<Monitor> addGlobalMouseDownMonitor(std::function<void()> onMouseDown) override;
  void setReopenHandler(std::function<void()> onReopen) override;

  void setStatusItemClickHandler(std::function<void()> onClick);
  bool click(int type, int subtype);
  bool reopen();
  int mouseDown();

 private:
  struct SimMonitor;
  Recorder& recorder_;
  MainPoster& main_;
  std::mutex mutex_;
  std::optional<platform::CurrentEvent> current_;
  std::function<void()> onClick_, onReopen_;
  std::map<int, std::function<void()>> monitors_;
  int nextMonitor_ = 1;
};

}  // namespace quillon::sim
