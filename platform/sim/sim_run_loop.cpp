#include "sim/sim_run_loop.h"

#include "sim/sim_mac.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

namespace quillon::sim {

namespace {

double realSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// A repeating timer with a tiny interval would otherwise keep the loop
// from ever polling.
constexpr double kMinInterval = 1e-4;  // seconds
// How often a loop on a manual clock looks whether another thread moved it.
constexpr int kManualPollMs = 10;

}  // namespace

struct SimRunLoop::Timer {
  TimerId id = 0;
  uint64_t seq = 0;  // tie-break: timers due together fire in the order made
  double due = 0;    // clock seconds
  double interval = 0;
  bool repeats = false;
  std::shared_ptr<std::function<void()>> fire;
};

struct SimRunLoop::Source {
  SourceId id = 0;
  int fd = -1;
  short events = 0;
  std::shared_ptr<std::function<void(short)>> ready;
};

SimRunLoop::SimRunLoop(platform::Clock& clock, ManualClock* manual)
    : clock_(clock), manual_(manual) {
  wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

SimRunLoop::~SimRunLoop() {
  if (wakeFd_ >= 0) close(wakeFd_);
}

platform::RunLoop::TimerId SimRunLoop::addTimer(double intervalSeconds, bool repeats,
                                                std::function<void()> fire) {
  auto t = std::make_shared<Timer>();
  double interval = std::isfinite(intervalSeconds) ? std::max(intervalSeconds, 0.0) : 0.0;
  if (repeats) interval = std::max(interval, kMinInterval);
  t->interval = interval;
  t->repeats = repeats;
  t->due = clock_.uptime() + interval;
  t->fire = std::make_shared<std::function<void()>>(std::move(fire));
  TimerId id;
  {
    std::lock_guard g(mutex_);
    id = t->id = nextId_++;
    t->seq = nextSeq_++;
    timers_.push_back(std::move(t));
  }
  wakeUp();
  return id;
}

void SimRunLoop::cancelTimer(TimerId id) {
  std::lock_guard g(mutex_);
  std::erase_if(timers_, [id](const auto& t) { return t->id == id; });
}

void SimRunLoop::after(double delaySeconds, std::function<void()> work) {
  addTimer(delaySeconds, false, std::move(work));
}

size_t SimRunLoop::timerCount() const {
  std::lock_guard g(mutex_);
  return timers_.size();
}

bool SimRunLoop::onLoopThread() const {
  return !running_.load() || loopThread_.load() == std::this_thread::get_id();
}

void SimRunLoop::wakeUp() {
  if (wakeFd_ < 0) return;
  uint64_t one = 1;
  [[maybe_unused]] ssize_t n = write(wakeFd_, &one, sizeof one);
}

void SimRunLoop::stop() {
  stopRequested_.store(true);
  wakeUp();
}

void SimRunLoop::perform(std::function<void()> work) {
  if (!running_.load() && onLoopThread()) {
    work();
    return;
  }
  {
    std::lock_guard g(mutex_);
    performed_.push_back(std::move(work));
  }
  wakeUp();
}

void SimRunLoop::run() {
  loop(std::nullopt);
}

bool SimRunLoop::runFor(double seconds) {
  return loop(seconds);
}

void SimRunLoop::runPerformed() {
  std::vector<std::function<void()>> work;
  {
    std::lock_guard g(mutex_);
    work.swap(performed_);
  }
  for (auto& w : work) w();
}

bool SimRunLoop::fireOneDue(double now, uint64_t seqLimit) {
  std::shared_ptr<std::function<void()>> fire;
  {
    std::lock_guard g(mutex_);
    auto it = timers_.end();
    for (auto t = timers_.begin(); t != timers_.end(); ++t) {
      if ((*t)->seq >= seqLimit || (*t)->due > now) continue;
      if (it == timers_.end() || (*t)->due < (*it)->due ||
          ((*t)->due == (*it)->due && (*t)->seq < (*it)->seq))
        it = t;
    }
    if (it == timers_.end()) return false;
    fire = (*it)->fire;
    if ((*it)->repeats) {
      // Stay on the timer's grid and skip fires that were missed, as a run
      // loop does after the machine slept.
      Timer& t = **it;
      double missed = std::floor((now - t.due) / t.interval);
      t.due += (missed + 1) * t.interval;
      t.seq = nextSeq_++;
    } else {
      timers_.erase(it);
    }
  }
  (*fire)();
  return true;
}

void SimRunLoop::advance(double seconds) {
  if (!manual_) return;
  double target = manual_->uptime() + std::max(seconds, 0.0);
  for (;;) {
    double due;
    uint64_t limit;
    {
      std::lock_guard g(mutex_);
      auto it = std::min_element(timers_.begin(), timers_.end(),
                                 [](const auto& a, const auto& b) { return a->due < b->due; });
      if (it == timers_.end() || (*it)->due > target) break;
      due = (*it)->due;
      limit = nextSeq_;
    }
    if (manual_->uptime() < due) manual_->set(due);
    fireOneDue(manual_->uptime(), limit);
  }
  if (manual_->uptime() < target) manual_->set(target);
}

int SimRunLoop::pollTimeoutMs(double now, std::optional<double> realDeadline) const {
  double wait = std::numeric_limits<double>::infinity();
  {
    std::lock_guard g(mutex_);
    if (!performed_.empty()) return 0;
    for (const auto& t : timers_) wait = std::min(wait, t->due - now);
  }
  if (manual_) wait = std::min(wait, kManualPollMs / 1000.0);
  if (realDeadline) wait = std::min(wait, *realDeadline - realSeconds());
  if (wait == std::numeric_limits<double>::infinity()) return -1;
  if (wait <= 0) return 0;
  return static_cast<int>(std::ceil(std::min(wait, 3600.0) * 1000));
}

bool SimRunLoop::loop(std::optional<double> seconds) {
  if (running_.load() && onLoopThread()) return false;  // no nested runs
  std::optional<double> deadline;
  if (seconds) deadline = realSeconds() + std::max(*seconds, 0.0);
  loopThread_.store(std::this_thread::get_id());
  running_.store(true);
  bool stopped = false;
  std::vector<pollfd> fds;
  std::vector<SourceId> ids;
  for (;;) {
    if (stopRequested_.exchange(false)) {
      stopped = true;
      break;
    }
    if (deadline && realSeconds() >= *deadline) break;
    runPerformed();
    double now = clock_.uptime();
    uint64_t limit;
    {
      std::lock_guard g(mutex_);
      limit = nextSeq_;
    }
    while (!stopRequested_.load() && fireOneDue(now, limit)) {
    }
    if (stopRequested_.load()) continue;

    fds.clear();
    ids.clear();
    fds.push_back({wakeFd_, POLLIN, 0});
    ids.push_back(0);
    {
      std::lock_guard g(mutex_);
      for (const auto& s : sources_) {
        fds.push_back({s->fd, s->events, 0});
        ids.push_back(s->id);
      }
    }
    int n = poll(fds.data(), fds.size(), pollTimeoutMs(clock_.uptime(), deadline));
    if (n <= 0) continue;
    if (fds[0].revents) {
      uint64_t count;
      [[maybe_unused]] ssize_t r = read(wakeFd_, &count, sizeof count);
    }
    for (size_t i = 1; i < fds.size(); ++i) {
      if (!fds[i].revents) continue;
      std::shared_ptr<std::function<void(short)>> ready;
      {
        std::lock_guard g(mutex_);
        auto it = std::find_if(sources_.begin(), sources_.end(),
                               [&](const auto& s) { return s->id == ids[i]; });
        if (it != sources_.end()) ready = (*it)->ready;  // else removed meanwhile
      }
      if (ready) (*ready)(fds[i].revents);
    }
  }
  running_.store(false);
  loopThread_.store(std::thread::id{});
  return stopped;
}

SimRunLoop::SourceId SimRunLoop::addSource(int fd, short events,
                                           std::function<void(short revents)> ready) {
  auto s = std::make_shared<Source>();
  s->fd = fd;
  s->events = events;
  s->ready = std::make_shared<std::function<void(short)>>(std::move(ready));
  SourceId id;
  {
    std::lock_guard g(mutex_);
    id = s->id = nextId_++;
    sources_.push_back(std::move(s));
  }
  wakeUp();
  return id;
}

void SimRunLoop::setSourceEvents(SourceId id, short events) {
  {
    std::lock_guard g(mutex_);
    for (auto& s : sources_)
      if (s->id == id) s->events = events;
  }
  wakeUp();
}

void SimRunLoop::removeSource(SourceId id) {
  {
    std::lock_guard g(mutex_);
    std::erase_if(sources_, [id](const auto& s) { return s->id == id; });
  }
  wakeUp();
}

}  // namespace quillon::sim
