#include "app/core/qt_run_loop.h"

#include <QTimer>
#include <cmath>
#include <limits>

namespace quillon::app {

int delayMs(double seconds) {
  if (!std::isfinite(seconds) || seconds <= 0) return 0;
  const double ms = std::round(seconds * 1000);
  return ms >= std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                               : static_cast<int>(ms);
}

QtRunLoop::QtRunLoop() = default;
QtRunLoop::~QtRunLoop() = default;

platform::RunLoop::TimerId QtRunLoop::addTimer(double intervalSeconds, bool repeats,
                                               std::function<void()> fire) {
  auto timer = std::make_unique<QTimer>();
  timer->setTimerType(Qt::PreciseTimer);
  timer->setSingleShot(!repeats);
  timer->setInterval(delayMs(intervalSeconds));
  QObject::connect(timer.get(), &QTimer::timeout, &context_, std::move(fire));
  timer->start();
  const TimerId id = nextId_++;
  timers_.emplace(id, std::move(timer));
  return id;
}

void QtRunLoop::cancelTimer(TimerId id) {
  // Deleted later: the timer may be the one whose timeout is running now.
  if (auto it = timers_.find(id); it != timers_.end()) {
    it->second->stop();
    it->second.release()->deleteLater();
    timers_.erase(it);
  }
}

void QtRunLoop::after(double delaySeconds, std::function<void()> work) {
  QTimer::singleShot(delayMs(delaySeconds), Qt::PreciseTimer, &context_, std::move(work));
}

void QtRunLoop::run() {
  if (stopRequested_) {
    stopRequested_ = false;
    return;
  }
  QEventLoop loop;
  running_ = &loop;
  loop.exec();
  running_ = nullptr;
}

void QtRunLoop::stop() {
  if (running_ != nullptr) {
    running_->quit();
  } else {
    stopRequested_ = true;
  }
}

}  // namespace quillon::app
