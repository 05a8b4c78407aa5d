#include "sim/app/sim_app_events.h"

namespace quillon::sim {

void SimHotKeys::installHandler(std::function<void(uint32_t id)> onPressed) {
  std::lock_guard g(mutex_);
  handler_ = std::move(onPressed);
  recorder_.add("hotKeyHandler", {});
}

std::optional<uint64_t> SimHotKeys::registerHotKey(uint32_t keyCode, uint32_t modifiers,
                                                   uint32_t signature, uint32_t id) {
  std::lock_guard g(mutex_);
  bool taken = keys_.count({keyCode, modifiers}) > 0;
  recorder_.add("hotKeyRegister", {{"keyCode", keyCode},
                                   {"modifiers", modifiers},
                                   {"signature", signature},
                                   {"id", id},
                                   {"registered", !taken}});
  if (taken) return std::nullopt;
  keys_[{keyCode, modifiers}] = id;
  return nextRef_++;
}

bool SimHotKeys::press(uint32_t id) {
  std::function<void(uint32_t)> handler;
  bool registered = false;
  {
    std::lock_guard g(mutex_);
    handler = handler_;
    for (const auto& [key, keyId] : keys_) registered = registered || keyId == id;
  }
  if (!handler || !registered) return false;
  main_.post([handler, id] { handler(id); });
  return true;
}

struct SimEventSource::SimMonitor : Monitor {
  SimMonitor(SimEventSource& owner, int monitorId) : source(owner), id(monitorId) {}
  ~SimMonitor() override {
    std::lock_guard g(source.mutex_);
    source.monitors_.erase(id);
  }
  SimEventSource& source;
  int id;
};

std::optional<platform::CurrentEvent> SimEventSource::currentEvent() {
  std::lock_guard g(mutex_);
  return current_;
}

std::unique_ptr<platform::EventSource::Monitor> SimEventSource::addGlobalMouseDownMonitor(
    std::function<void()> onMouseDown) {
  std::lock_guard g(mutex_);
  int id = nextMonitor_++;
  monitors_[id] = std::move(onMouseDown);
  recorder_.add("mouseDownMonitor", {});
  return std::make_unique<SimMonitor>(*this, id);
}

void SimEventSource::setReopenHandler(std::function<void()> onReopen) {
  std::lock_guard g(mutex_);
  onReopen_ = std::move(onReopen);
}

void SimEventSource::setStatusItemClickHandler(std::function<void()> onClick) {
  std::lock_guard g(mutex_);
  onClick_ = std::move(onClick);
}

bool SimEventSource::click(int type, int subtype) {
  {
    std::lock_guard g(mutex_);
    if (!onClick_) return false;
  }
  main_.post([this, type, subtype] {
    std::function<void()> handler;
    {
      std::lock_guard g(mutex_);
      handler = onClick_;
      current_ = platform::CurrentEvent{type, subtype};
    }
    if (handler) handler();
    std::lock_guard g(mutex_);
    current_.reset();
  });
  return true;
}

bool SimEventSource::reopen() {
  std::function<void()> handler;
  {
    std::lock_guard g(mutex_);
    handler = onReopen_;
  }
  if (!handler) return false;
  main_.post(handler);
  return true;
}

int SimEventSource::mouseDown() {
  int count = 0;
  {
    std::lock_guard g(mutex_);
    count = static_cast<int>(monitors_.size());
  }
  // Looked up again on the main queue: a monitor removed meanwhile gets
  // nothing, as on a Mac.
  main_.post([this] {
    std::vector<std::function<void()>> calls;
    {
      std::lock_guard g(mutex_);
      for (const auto& [id, fn] : monitors_) calls.push_back(fn);
    }
    for (auto& fn : calls) fn();
  });
  return count;
}

}  // namespace quillon::sim
