#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "quillon/platform/clock.h"
#include "quillon/platform/system_services.h"

namespace quillon::sim {

class ManualClock;

// The simulated main run loop: timers, one-shot work and file descriptor
// sources, all run on the thread that calls run(). Built on poll(); an
// eventfd wakes it so that stop() and perform() work from any thread.
//
// Timers keep the time of the Mac's clock. With a manual clock they fire
// when that clock has moved past them: advance() moves it and fires each
// due timer at its own time, and a clock moved by another thread is noticed
// within 10 ms of real time.
class SimRunLoop : public platform::RunLoop {
 public:
  // `manual` is the clock itself when the Mac's time is manual, else null.
  SimRunLoop(platform::Clock& clock, ManualClock* manual);
  ~SimRunLoop() override;
  SimRunLoop(const SimRunLoop&) = delete;
  SimRunLoop& operator=(const SimRunLoop&) = delete;

  TimerId addTimer(double intervalSeconds, bool repeats, std::function<void()> fire) override;
  void cancelTimer(TimerId id) override;
  void after(double delaySeconds, std::function<void()> work) override;
  void run() override;
  // Any thread. A stop() while the loop is not running makes the next run()
  // return at once, so a test that stops a loop it started on another thread
  // cannot lose the stop to a race.
  void stop() override;

  // Runs for at most `seconds` of real time; true if stop() ended it.
  bool runFor(double seconds);
  // Any thread: runs `work` on the loop thread at its next turn, or at once
  // when called on the loop thread while it is not running.
  void perform(std::function<void()> work);
  // Manual clock: moves it by `seconds`, firing every timer that falls due on
  // the way at its own time. Call on the loop thread or while it is stopped.
  void advance(double seconds);

  bool running() const { return running_.load(); }
  // True on the thread that runs the loop, or on any thread while it is not
  // running (that thread stands for the main one then).
  bool onLoopThread() const;
  size_t timerCount() const;

  // Sources of the simulated system (inotify, sockets). `ready` gets the
  // poll revents. Safe to remove a source from inside any callback.
  using SourceId = int;
  SourceId addSource(int fd, short events, std::function<void(short revents)> ready);
  void setSourceEvents(SourceId id, short events);
  void removeSource(SourceId id);

 private:
  struct Timer;
  struct Source;
  bool loop(std::optional<double> realSeconds);
  void runPerformed();
  // Fires the earliest timer due at `now` that is older than `seqLimit`
  // (timers made or rescheduled by this pass wait for the next one); false
  // if there was none.
  bool fireOneDue(double now, uint64_t seqLimit);
  int pollTimeoutMs(double now, std::optional<double> realDeadline) const;
  void wakeUp();

  platform::Clock& clock_;
  ManualClock* const manual_;
  int wakeFd_ = -1;

  mutable std::mutex mutex_;  // guards everything below; never held in a callback
  std::vector<std::shared_ptr<Timer>> timers_;
  std::vector<std::shared_ptr<Source>> sources_;
  std::vector<std::function<void()>> performed_;
  int nextId_ = 1;
  uint64_t nextSeq_ = 0;

  std::atomic<bool> running_{false};
  std::atomic<bool> stopRequested_{false};
  std::atomic<std::thread::id> loopThread_{};
};

}  // namespace quillon::sim
