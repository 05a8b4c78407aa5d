#pragma once

// One step of the setup window: its number (a tick once done), title and
// detail; on the right either a spinner with a short text while the step is
// busy, or, until it is done, its button and an optional link below it.

#include <QString>
#include <QWidget>
#include <functional>

class QLabel;

namespace quillon::ui {

class LinkButton;
class ProgressSpinner;
class PushButton;
class ThemedLabel;

struct StepState {
  bool done = false;
  bool busy = false;
  QString busyText = QStringLiteral("Starting…");
  QString detail;
  QString button;
  bool enabled = true;
  QString extra;  // the link's title; empty: no link
};

class SetupStep : public QWidget {
  Q_OBJECT
 public:
  SetupStep(int number, const QString& title, QWidget* parent = nullptr);

  void setState(const StepState& state);
  const StepState& state() const { return state_; }
  void onButton(std::function<void()> action) { buttonAction_ = std::move(action); }
  void onExtra(std::function<void()> action) { extraAction_ = std::move(action); }

  // For tests and the window's own checks.
  PushButton* button() const { return button_; }
  LinkButton* extraLink() const { return extra_; }
  QWidget* busyRow() const { return busyRow_; }
  QString iconName() const;

 private:
  void paintIcon();

  int number_;
  StepState state_;
  QLabel* icon_;
  ThemedLabel* detail_;
  QWidget* busyRow_;
  ProgressSpinner* spinner_;
  ThemedLabel* busyText_;
  QWidget* controls_;
  PushButton* button_;
  LinkButton* extra_;
  std::function<void()> buttonAction_;
  std::function<void()> extraAction_;
};

}  // namespace quillon::ui
