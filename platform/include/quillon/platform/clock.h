#pragma once

namespace quillon::platform {

// System uptime in seconds (ProcessInfo.systemUptime on macOS). Injected so
// that tests drive time exactly.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual double uptime() = 0;
  // Blocks the calling thread; a manual clock just advances.
  virtual void sleep(double seconds) = 0;
};

}  // namespace quillon::platform
