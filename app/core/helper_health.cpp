// The panel's warning line: whether the helper is doing its job for the
// settings the panel shows, read from its status file.
#include <QPointer>

#include "app/core/helper_control.h"
#include "app/core/model.h"
#include "app/core/windows.h"

namespace quillon::app {

namespace {
// The helper writes its status every 5 s; reading every second shows a
// change within one of its intervals.
constexpr double kWatchEverySeconds = 1.0;
}  // namespace

void Model::updateWarning() {
  WarningInputs in;
  in.brokenConfig = brokenConfig_;
  in.helperNeeded = helperNeeded();
  // Only worth reading when it can matter.
  if (in.helperNeeded) {
    in.status = Helper::status(env_);
    // A save still to come may start the helper itself.
    in.retryPending = Helper::retryPending(env_) || savePending();
    in.setupOpen = windows_.setupVisible();
  }
  std::optional<WarningLine> line = warningLine(in);
  if (line == warning_) return;
  warning_ = std::move(line);
  emit warningChanged();
}

void Model::watchHelper(bool on) {
  watching_ = on;
  // A new generation ends the reading scheduled by an earlier watch.
  const uint64_t generation = ++watchGeneration_;
  if (!on) return;
  updateWarning();
  struct Tick {
    static void schedule(const QPointer<Model>& self, uint64_t generation) {
      self->env_.runLoop.after(kWatchEverySeconds, [self, generation] {
        if (!self || self->watchGeneration_ != generation || !self->watching_) return;
        self->updateWarning();
        schedule(self, generation);
      });
    }
  };
  Tick::schedule(QPointer<Model>(this), generation);
}

void Model::warningAction() {
  if (!warning_) return;
  switch (warning_->action) {
    case WarningLine::Action::none:
      return;
    case WarningLine::Action::restart:
      restartHelper();
      return;
    case WarningLine::Action::openSetup:
      windows_.showSetup();
      updateWarning();
      return;
  }
}

}  // namespace quillon::app
