#pragma once

// What the core's tests share: a manual main queue, recording windows and
// preview runner, and a fixture with a fresh home folder per test.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/core/env.h"
#include "app/core/model.h"
#include "app/core/preview_runner.h"
#include "app/core/windows.h"
#include "fake_mac.h"

namespace quillon::app::test {

// Delayed work runs only when the test moves time on.
class ManualRunLoop final : public platform::RunLoop {
 public:
  TimerId addTimer(double, bool, std::function<void()>) override { return 0; }
  void cancelTimer(TimerId) override {}
  void after(double delaySeconds, std::function<void()> work) override;
  void run() override {}
  void stop() override {}

  // Runs, in time order, everything due within `seconds` from now,
  // including work that it schedules.
  void advance(double seconds);
  size_t pending() const { return items_.size(); }
  // The delays of the waiting items, relative to now.
  std::vector<double> delays() const;

 private:
  struct Item {
    double due;
    long order;
    std::function<void()> work;
  };
  std::vector<Item> items_;
  double now_ = 0;
  long order_ = 0;
};

class RecordingWindows final : public Windows {
 public:
  explicit RecordingWindows(Calls& calls) : calls_(calls) {}
  void showSetup() override { calls_.push_back("window.showSetup"); }
  bool setupVisible() override { return setupIsVisible; }
  void setUpPanel() override { calls_.push_back("window.setUpPanel"); }
  void showPanel() override { calls_.push_back("window.showPanel"); }
  void snapshotPanel(const std::string& scene, const std::filesystem::path&) override {
    calls_.push_back("window.snapshot " + scene);
  }
  SurveyOutcome askUninstallSurvey() override {
    calls_.push_back("window.survey");
    return survey;
  }
  bool confirmUninstall() override {
    calls_.push_back("window.confirmUninstall");
    return confirm;
  }
  void closeSideWindows() override { calls_.push_back("window.closeSideWindows"); }
  void activateApp() override { calls_.push_back("window.activate"); }
  void terminateApp(int status) override {
    calls_.push_back("window.terminate " + std::to_string(status));
  }

  bool setupIsVisible = false;
  SurveyOutcome survey;
  bool confirm = false;

 private:
  Calls& calls_;
};

// Keeps each request until the test answers it.
class FakePreviewRunner final : public PreviewRunner {
 public:
  struct Request {
    std::vector<std::string> args;
    Done done;
  };
  void start(const std::vector<std::string>& args, Done done) override {
    requests.push_back({args, std::move(done)});
  }
  std::vector<Request> requests;
};

// The installer has tests of its own: with these hooks the app never counts
// as running from it, and offering the move or relaunching just quits.
InstallerHooks stubInstallerHooks(Windows& windows);

// A model's world: a home folder, the fake Mac, the main queue.
class CoreTest : public ::testing::Test {
 protected:
  CoreTest();
  ~CoreTest() override;

  std::unique_ptr<Model> makeModel();
  void writeConfig(const std::string& text);
  std::string readConfig() const;
  // Only the calls that match `prefix`.
  std::vector<std::string> callsStartingWith(const std::string& prefix) const;

  std::filesystem::path root;
  Paths paths;
  FakeMac mac;
  ManualRunLoop loop;
  Env env;
  RecordingWindows windows{mac.calls};
  FakePreviewRunner preview;
};

}  // namespace quillon::app::test
