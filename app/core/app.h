#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/core/command_line.h"
#include "app/core/env.h"

namespace quillon::app {

class Model;
class PreviewRunner;
class Windows;

// The app's start-up and its delegate. "--helper WORD" never gets here: it
// is handled before any application object exists (runHelperCommand).
class App final : public QObject {
  Q_OBJECT
 public:
  static constexpr const char* kSetupDoneKey = "setupDone";
  static constexpr const char* kToolTipDelayKey = "NSInitialToolTipDelay";
  static constexpr int64_t kToolTipDelayMs = 500;

  App(Env& env, Windows& windows, PreviewRunner& preview, CommandLine commandLine);
  ~App() override;

  // Everything up to the model and the queued first steps; then the caller
  // runs the main loop. Queues applicationDidFinishLaunching() first, so
  // that the queued steps run after launching has finished.
  void start();
  void applicationDidFinishLaunching();
  // The user opened the app again while it runs. Always false: the
  // framework itself opens nothing.
  bool applicationShouldHandleReopen();

  // Null before start().
  Model* model() { return model_.get(); }
  const std::vector<std::optional<uint64_t>>& hotKeyRefs() const { return hotKeyRefs_; }

  // The delay before a control's help text appears, as stored.
  static int64_t toolTipDelayMs(Env& env);

 private:
  bool setupDone();

  Env& env_;
  Windows& windows_;
  PreviewRunner& preview_;
  CommandLine commandLine_;
  std::unique_ptr<Model> model_;
  std::vector<std::optional<uint64_t>> hotKeyRefs_;
};

}  // namespace quillon::app
