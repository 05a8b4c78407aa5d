#pragma once

// The setup window's content: the helper's four preconditions as steps,
// checked once a second and ticked off as macOS reports them done. Each
// showing of the window gets a new view, so every showing starts fresh.
// Main thread only.

#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "app/core/env.h"
#include "app/core/helper_control.h"

class QLabel;

namespace quillon::ui {

class LinkButton;
class PushButton;
class SetupStep;
class ThemedLabel;

class SetupView : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 440;
  static constexpr int kTickMs = 1000;
  // How long step 3 waits for Input Monitoring to follow Accessibility.
  static constexpr double kCheckingSeconds = 30;

  // Which System Settings page the window sent the user to.
  enum class Opened { accessibility, shake };

  explicit SetupView(app::Env& env, QWidget* parent = nullptr);

  // Reads the helper's status, the agent and shake-to-locate; brings the user
  // back from System Settings when what they went there for is done.
  void update();
  // Brings macOS's Accessibility prompt in front, once per prompt process.
  void bringPromptForward();
  bool checkingInputMonitoring() const;
  bool allDone() const;
  void openShakeSettings();
  // "Use Quillon without finishing setup?"; on "Use Quillon Anyway" the
  // window closes as finished.
  void useAnyway();

  // Seconds on a steady clock; tests move it by hand. Empty: the real one.
  static void setClock(std::function<double()> now);

  // State, for tests.
  const app::Helper::Status& status() const { return st_; }
  bool registered() const { return registered_; }
  bool needsApproval() const { return needsApproval_; }
  const std::optional<std::string>& error() const { return error_; }
  std::optional<Opened> opened() const { return opened_; }
  int promptShown() const { return promptShown_; }
  bool ticking() const { return tick_.isActive(); }
  SetupStep* step(int number) const { return steps_.at(number - 1); }
  QLabel* errorLabel() const { return errorLabel_; }
  ThemedLabel* statusLine() const { return statusLine_; }
  LinkButton* anywayLink() const { return anyway_; }
  PushButton* doneButton() const { return done_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  // Return presses Done, the default button once every step is ticked.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void startHelper();
  void render();
  static double now();

  app::Env& env_;
  app::Helper::Status st_;
  bool registered_ = false;
  bool needsApproval_ = false;
  std::optional<std::string> error_;
  std::optional<double> accessibilitySince_;
  bool shakeOn_ = false;
  std::optional<Opened> opened_;
  int promptShown_ = 0;
  bool appeared_ = false;
  QTimer tick_;

  std::array<SetupStep*, 4> steps_{};
  QLabel* errorLabel_;  // red: a themed label keeps to the label colours
  ThemedLabel* statusLine_;
  LinkButton* anyway_;
  PushButton* done_;
};

}  // namespace quillon::ui
