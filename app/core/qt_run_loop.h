#pragma once

#include <QEventLoop>
#include <QObject>
#include <functional>
#include <map>
#include <memory>

#include "quillon/platform/system_services.h"

class QTimer;

namespace quillon::app {

// The platform's main run loop on top of Qt's main event loop, so that code
// shared with the helper (dismissAccessibilityPrompt) and the core's own
// delayed steps run on the app's main thread. Work still pending when this
// object is destroyed never runs.
class QtRunLoop final : public platform::RunLoop {
 public:
  QtRunLoop();
  ~QtRunLoop() override;

  TimerId addTimer(double intervalSeconds, bool repeats, std::function<void()> fire) override;
  void cancelTimer(TimerId id) override;
  // 0 seconds: the next turn of the main queue, after the events already
  // queued.
  void after(double delaySeconds, std::function<void()> work) override;
  // A nested loop until stop(); the app itself runs QApplication::exec().
  void run() override;
  void stop() override;

 private:
  QObject context_;
  std::map<TimerId, std::unique_ptr<QTimer>> timers_;
  TimerId nextId_ = 1;
  QEventLoop* running_ = nullptr;
  bool stopRequested_ = false;
};

// Milliseconds for a delay in seconds; negative and non-finite delays are 0.
int delayMs(double seconds);

}  // namespace quillon::app
