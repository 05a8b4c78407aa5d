#pragma once

#include <functional>
#include <mutex>

#include "quillon/platform/app_system.h"

namespace quillon::sim {

// Where the simulated system delivers callbacks: the app's main queue once
// it has given one, else at once on the calling thread. Any thread.
class MainPoster {
 public:
  void set(platform::AppBackend::MainQueue post) {
    std::lock_guard g(mutex_);
    post_ = std::move(post);
  }
  void post(std::function<void()> work) {
    platform::AppBackend::MainQueue post;
    {
      std::lock_guard g(mutex_);
      post = post_;
    }
    if (post)
      post(std::move(work));
    else
      work();
  }

 private:
  std::mutex mutex_;
  platform::AppBackend::MainQueue post_;
};

}  // namespace quillon::sim
