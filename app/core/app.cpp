#include "app/core/app.h"

#include <iostream>

#include "app/core/helper_control.h"
#include "app/core/hot_keys.h"
#include "app/core/installer.h"
#include "app/core/model.h"
#include "app/core/snapshot.h"
#include "app/core/windows.h"

namespace quillon::app {

App::App(Env& env, Windows& windows, PreviewRunner& preview, CommandLine commandLine)
    : env_(env), windows_(windows), preview_(preview), commandLine_(std::move(commandLine)) {}

App::~App() = default;

int64_t App::toolTipDelayMs(Env& env) {
  return env.sys.defaults.standard().intValue(kToolTipDelayKey).value_or(kToolTipDelayMs);
}

bool App::setupDone() {
  return env_.sys.defaults.standard().boolValue(kSetupDoneKey).value_or(false);
}

void App::start() {
  env_.runLoop.after(0, [self = QPointer<App>(this)] {
    if (self) self->applicationDidFinishLaunching();
  });
  env_.sys.events.setReopenHandler([self = QPointer<App>(this)] {
    if (self) (void)self->applicationShouldHandleReopen();
  });
  env_.sys.defaults.standard().setInt(kToolTipDelayKey, kToolTipDelayMs);

  if (commandLine_.previewOnly()) {
    env_.flags.previewOnly = true;
  } else if (env_.installer.runningFromInstaller && env_.installer.runningFromInstaller()) {
    env_.flags.installerPending = true;
    env_.flags.previewOnly = true;
  } else {
    hotKeyRefs_ = HotKeys::registerAll(env_, [self = QPointer<App>(this)](HotKeys::Action a) {
      if (self && self->model_) HotKeys::perform(*self->model_, a);
    });
  }

  model_ = std::make_unique<Model>(env_, windows_, preview_);
  if (env_.flags.previewOnly) return;

  std::error_code ec;
  const bool configExists = std::filesystem::exists(env_.paths.configFile, ec);
  if (configExists && setupDone()) {
    env_.runLoop.after(0, [model = QPointer<Model>(model_.get())] {
      if (model) model->startHelperIfNeeded();
    });
  } else {
    env_.runLoop.after(0, [self = QPointer<App>(this)] {
      if (self) self->windows_.showSetup();
    });
  }
}

void App::applicationDidFinishLaunching() {
  if (commandLine_.snapshotFolder) {
    Snapshot::run(*model_, windows_, *commandLine_.snapshotFolder);
    windows_.terminateApp(0);
    return;
  }
  if (commandLine_.survey) {
    std::cout << surveyOutcomeText(windows_.askUninstallSurvey()) << std::flush;
    windows_.terminateApp(0);
    return;
  }
  if (env_.flags.installerPending) {
    if (env_.installer.offerMove) env_.installer.offerMove();
    return;
  }
  windows_.setUpPanel();
}

bool App::applicationShouldHandleReopen() {
  if (env_.flags.installerPending) return false;
  if (!setupDone() || windows_.setupVisible()) {
    windows_.showSetup();
  } else {
    windows_.showPanel();
  }
  return false;
}

}  // namespace quillon::app
