#include "app/ui/setup/setup_view.h"

#include <QKeyEvent>

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>
#include <chrono>

#include "app/core/feedback.h"
#include "app/core/mac_settings.h"
#include "app/ui/kit/alert.h"
#include "app/ui/kit/link_button.h"
#include "app/ui/kit/push_button.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/setup/setup_step.h"
#include "app/ui/setup/setup_window.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {

namespace {

constexpr const char* kPromptBundleId = "com.apple.accessibility.universalAccessAuthWarn";

std::function<double()>& testClock() {
  static std::function<double()> c;
  return c;
}

QString q(const char* text) {
  return QString::fromUtf8(text);
}

}  // namespace

void SetupView::setClock(std::function<double()> now) {
  testClock() = std::move(now);
}

double SetupView::now() {
  if (testClock()) return testClock()();
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

SetupView::SetupView(app::Env& env, QWidget* parent) : QWidget(parent), env_(env) {
  st_ = app::Helper::status(env_);
  const platform::ServiceStatus agent = app::Helper::agent(env_).status();
  registered_ = agent == platform::ServiceStatus::enabled;
  needsApproval_ = agent == platform::ServiceStatus::requiresApproval;
  shakeOn_ = app::ShakeToLocate::isOn(env_);

  setFixedWidth(kWidth);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(20, 20, 20, 20);
  column->setSpacing(14);

  auto* intro = new ThemedLabel(q("Quillon changes your trackpad and mouse feel with a small "
                                  "background helper. macOS asks you to allow it once."),
                                fonts::body(), TextRole::primary, this);
  intro->setWordWrap(true);
  column->addWidget(intro);

  const std::array<const char*, 4> titles = {"Start the helper", "Allow Accessibility",
                                             "Allow Input Monitoring", "Turn off Shake to locate"};
  for (int i = 0; i < 4; ++i) {
    steps_[i] = new SetupStep(i + 1, q(titles[i]), this);
    column->addWidget(steps_[i]);
  }
  steps_[0]->onButton([this] {
    if (needsApproval_) {
      env_.sys.services.openLoginItemsSettings();
    } else {
      // A registered helper that is not running is registered anew, so
      // that the launcher starts it afresh.
      app::Helper::restart(env_,
                           [self = QPointer<SetupView>(this)](std::optional<std::string> error) {
                             if (!self) return;
                             self->error_ = std::move(error);
                             self->update();
                           });
    }
    update();
  });
  steps_[1]->onButton([this] {
    SetupWindow::stepBack();
    opened_ = Opened::accessibility;
    app::Helper::askAccessibility(env_);
  });
  steps_[2]->onButton([this] { app::Helper::openPrivacy(env_, "Privacy_ListenEvent"); });
  steps_[3]->onButton([this] { openShakeSettings(); });
  for (int i : {1, 2}) steps_[i]->onExtra([this] { app::Helper::showInFinder(env_); });

  errorLabel_ = new QLabel(this);
  errorLabel_->setFont(fonts::caption());
  errorLabel_->setWordWrap(true);
  QPalette red = errorLabel_->palette();
  red.setColor(QPalette::WindowText, colors().red);
  errorLabel_->setPalette(red);
  column->addWidget(errorLabel_);

  statusLine_ = new ThemedLabel(QString(), fonts::caption(), TextRole::secondary, this);
  statusLine_->setWordWrap(true);
  column->addWidget(statusLine_);

  auto* bottom = new QHBoxLayout;
  anyway_ = new LinkButton(q("I've done these, but it isn't working"), fonts::caption(), this);
  connect(anyway_, &QAbstractButton::clicked, this, &SetupView::useAnyway);
  bottom->addWidget(anyway_, 0, Qt::AlignVCenter);
  bottom->addStretch(1);
  done_ = new PushButton(q("Done"), ButtonLook::plain, this);
  connect(done_, &QAbstractButton::clicked, this, [] { SetupWindow::complete(); });
  bottom->addWidget(done_);
  column->addLayout(bottom);

  connect(&tick_, &QTimer::timeout, this, &SetupView::update);
  tick_.setInterval(kTickMs);
  connect(&Appearance::instance(), &Appearance::changed, this, [this] {
    QPalette p = errorLabel_->palette();
    p.setColor(QPalette::WindowText, colors().red);
    errorLabel_->setPalette(p);
  });
  render();
}

void SetupView::showEvent(QShowEvent*) {
  if (!appeared_) {
    appeared_ = true;
    startHelper();
    update();
  }
  tick_.start();
}

void SetupView::hideEvent(QHideEvent*) {
  tick_.stop();
}

void SetupView::paintEvent(QPaintEvent*) {
  QPainter(this).fillRect(rect(), colors().windowBackground);
}

void SetupView::startHelper() {
  const platform::ServiceStatus s = app::Helper::agent(env_).status();
  if (s != platform::ServiceStatus::enabled && s != platform::ServiceStatus::requiresApproval) {
    error_ = app::Helper::start(env_);
  }
}

void SetupView::update() {
  const app::Helper::Status before = st_;
  const bool shakeBefore = shakeOn_;
  st_ = app::Helper::status(env_);
  const platform::ServiceStatus agent = app::Helper::agent(env_).status();
  registered_ = agent == platform::ServiceStatus::enabled;
  needsApproval_ = agent == platform::ServiceStatus::requiresApproval;
  shakeOn_ = app::ShakeToLocate::isOn(env_);
  const bool shakeSwitchedOff = shakeBefore && !shakeOn_;
  const bool accessibilityGranted = !before.accessibility && st_.accessibility;
  if (accessibilityGranted) accessibilitySince_ = now();
  if (registered_) error_.reset();
  // Drawn before the window moves, so that it is placed at its new size.
  render();

  if (shakeSwitchedOff && opened_ == Opened::shake) {
    opened_.reset();
    SetupWindow::comeBack(true);
  }
  if (accessibilityGranted) {
    app::dismissAccessibilityPrompt(env_);
    if (opened_ == Opened::accessibility) {
      opened_.reset();
      SetupWindow::comeBack(true);
    }
  }
  bringPromptForward();
}

void SetupView::bringPromptForward() {
  if (st_.accessibility) return;
  const auto prompts = env_.sys.workspace.runningApplications(kPromptBundleId);
  if (prompts.empty() || prompts.front().pid == promptShown_) return;
  promptShown_ = prompts.front().pid;
  SetupWindow::stepBack();
  opened_ = Opened::accessibility;
  env_.sys.workspace.activate(promptShown_);
}

bool SetupView::checkingInputMonitoring() const {
  return st_.accessibility && !st_.inputMonitoring && accessibilitySince_ &&
         now() - *accessibilitySince_ < kCheckingSeconds;
}

bool SetupView::allDone() const {
  return registered_ && st_.running && st_.accessibility && st_.inputMonitoring && !shakeOn_;
}

void SetupView::openShakeSettings() {
  SetupWindow::stepBack();
  opened_ = Opened::shake;
  app::ShakeToLocate::openSettings(env_);
}

void SetupView::useAnyway() {
  const AlertSpec spec{
      q("Use Quillon without finishing setup?"),
      q("Quillon may not work, or only partly, until every step is ticked. You can come back "
        "to this any time from Setup… in Quillon's menu bar panel.\n\nIf a step won't tick, "
        "choose Send Feedback… in the panel or email ") +
          q(app::Feedback::supportEmail) + q(", and we'll help."),
      {q("Use Quillon Anyway"), q("Back to Setup")},
      AlertStyle::warning};
  if (runAlert(spec) == 0) SetupWindow::complete();
}

void SetupView::render() {
  const QString settings = q("Open Settings");
  const QString finder = q("Show in Finder");
  StepState one;
  one.done = registered_ && st_.running;
  one.busy = registered_ && !st_.running;
  one.detail = needsApproval_ ? q("Switch on Quillon in Login Items.")
                              : q("Runs in the background, also after restarts.");
  one.button = needsApproval_ ? q("Open Login Items") : q("Start");
  steps_[0]->setState(one);

  StepState two;
  two.done = st_.accessibility;
  two.detail =
      q("Lets Quillon Helper adjust pointer movement. Switch it on in the list. "
        "Not listed? Drag it in from Finder.");
  two.button = settings;
  two.enabled = registered_;
  two.extra = finder;
  steps_[1]->setState(two);

  StepState three;
  three.done = st_.inputMonitoring;
  three.busy = checkingInputMonitoring();
  three.busyText = q("Checking…");
  three.detail =
      q("For accurate mouse curves. Usually allowed automatically with "
        "Accessibility. If it isn't ticked after a few seconds, switch on Quillon "
        "Helper in the list. Not listed? Drag it in from Finder.");
  three.button = settings;
  three.enabled = st_.accessibility;
  three.extra = finder;
  steps_[2]->setState(three);

  StepState four;
  four.done = !shakeOn_;
  four.detail =
      q("macOS can mistake Quillon's pointer movement for a shake and make the "
        "pointer big. Switch off Shake mouse pointer to locate, under Pointer.");
  four.button = settings;
  steps_[3]->setState(four);

  errorLabel_->setText(error_ ? QString::fromStdString(*error_) : QString());
  errorLabel_->setVisible(error_.has_value());
  const bool finished = allDone();
  statusLine_->setText(
      finished ? q("All set. Quillon lives in the menu bar, at the top right of the screen.")
               : q("Finish all four steps to start using Quillon."));
  anyway_->setVisible(!finished);
  done_->setEnabled(finished);
  done_->setLook(finished ? ButtonLook::primary : ButtonLook::plain);
  // The window follows its content's height, as a hosting window does.
  if (QWidget* w = window(); w != this && w->isVisible()) w->adjustSize();
}

void SetupView::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && done_->isEnabled()) {
    done_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace quillon::ui
