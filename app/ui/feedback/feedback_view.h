#pragma once

// The feedback window's form: a message, an optional reply address, and the
// request's state (idle, sending, sent, failed). What is typed stays while
// the window stays open; a window shown again after closing gets a new form.
// Main thread only.

#include <QWidget>
#include <string>

#include "app/core/env.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace quillon::ui {

class ProgressSpinner;
class PushButton;
class TextBox;

class FeedbackView : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 420;
  enum class State { idle = 0, sending = 1, sent = 2, failed = 3 };

  explicit FeedbackView(app::Env& env, QWidget* parent = nullptr);

  // The "Send" button: posts the message as typed and the address without
  // its surrounding spaces and tabs.
  void send();
  State state() const { return state_; }

  // Parts, for tests.
  QPlainTextEdit* messageEdit() const { return message_; }
  QLineEdit* emailField() const { return email_; }
  PushButton* sendButton() const { return send_; }
  PushButton* cancelButton() const { return cancel_; }
  PushButton* doneButton() const { return done_; }
  QWidget* sentLabel() const { return sent_; }
  QLabel* failedLabel() const { return failed_; }
  ProgressSpinner* spinner() const { return spinner_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void setState(State s);
  void render();
  bool messageIsBlank() const;

  app::Env& env_;
  State state_ = State::idle;
  QPlainTextEdit* message_;
  QLineEdit* email_;
  TextBox* messageBox_;
  TextBox* emailBox_;
  QWidget* sent_;
  QLabel* failed_;
  ProgressSpinner* spinner_;
  PushButton* cancel_;
  PushButton* send_;
  PushButton* done_;
};

// The address as sent: without spaces and tabs at either end (newlines and
// other white space stay; the text is not checked for form).
std::string trimSpacesAndTabs(const std::string& text);

}  // namespace quillon::ui
