#include "app/ui/feedback/feedback_view.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/core/feedback.h"
#include "app/ui/kit/progress_spinner.h"
#include "app/ui/kit/push_button.h"
#include "app/ui/kit/text_box.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/symbols.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

QString q(const char* text) {
  return QString::fromUtf8(text);
}

// "Sent. Thank you!" with its tick, in green.
class SentLabel : public QWidget {
 public:
  explicit SentLabel(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  }
  QSize sizeHint() const override {
    const QFontMetricsF fm(fonts::body());
    return {qCeil(16 + 5 + fm.horizontalAdvance(text())) + 1, qCeil(std::max(16.0, fm.height()))};
  }
  static QString text() { return q("Sent. Thank you!"); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor green = colors().green;
    const double y = (height() - 15) / 2.0;
    symbols::paint(p, QRectF(0, y, 15, 15), QStringLiteral("checkmark.circle.fill"), green);
    p.setPen(green);
    p.setFont(fonts::body());
    p.drawText(QRectF(21, 0, width() - 21, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
  }
};

}  // namespace

std::string trimSpacesAndTabs(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

FeedbackView::FeedbackView(app::Env& env, QWidget* parent) : QWidget(parent), env_(env) {
  setFixedWidth(kWidth);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(20, 20, 20, 20);
  column->setSpacing(10);

  column->addWidget(new ThemedLabel(q("Ideas, problems, questions: anything helps."),
                                    fonts::callout(), TextRole::primary, this));

  message_ = TextBox::plainEditor(this);
  TextBox::Frame editorFrame;
  editorFrame.radius = 6;
  editorFrame.borderWidth = 1;
  editorFrame.border = [](const Palette& p) { return withAlpha(p.secondaryLabel, 0.3); };
  editorFrame.margins = QMargins(4, 4, 2, 4);
  message_->setAccessibleName(q("Message"));
  messageBox_ = new TextBox(message_, editorFrame, this);
  messageBox_->setFixedHeight(140);
  column->addWidget(messageBox_);

  email_ = TextBox::lineField(this);
  email_->setPlaceholderText(q("Your email (optional, if you'd like a reply)"));
  email_->setAccessibleName(q("Email"));
  emailBox_ = new TextBox(email_, TextBox::Frame{}, this);
  emailBox_->setFixedHeight(22);
  column->addWidget(emailBox_);

  auto* note = new ThemedLabel(
      q("Sends your message, your email if given, and your Quillon and macOS versions."),
      fonts::caption(), TextRole::secondary, this);
  note->setWordWrap(true);
  column->addWidget(note);

  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(8);
  sent_ = new SentLabel(this);
  bottom->addWidget(sent_, 0, Qt::AlignVCenter);
  failed_ = new QLabel(q("Couldn't send. Check your connection, or email ") +
                           q(app::Feedback::supportEmail) + q("."),
                       this);
  failed_->setFont(fonts::caption());
  failed_->setWordWrap(true);
  // The support address is for writing to: it can be selected and copied,
  // by the pointer and, reached with Tab, by the keyboard.
  failed_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  failed_->setFocusPolicy(Qt::TabFocus);
  bottom->addWidget(failed_, 1, Qt::AlignVCenter);
  bottom->addStretch(0);
  spinner_ = new ProgressSpinner(this, 16);
  bottom->addWidget(spinner_, 0, Qt::AlignVCenter);
  cancel_ = new PushButton(q("Cancel"), ButtonLook::plain, this);
  send_ = new PushButton(q("Send"), ButtonLook::primary, this);
  done_ = new PushButton(q("Done"), ButtonLook::primary, this);
  for (PushButton* b : {cancel_, send_, done_}) bottom->addWidget(b, 0, Qt::AlignVCenter);
  column->addLayout(bottom);

  connect(cancel_, &QAbstractButton::clicked, this, [this] { window()->close(); });
  connect(done_, &QAbstractButton::clicked, this, [this] { window()->close(); });
  connect(send_, &QAbstractButton::clicked, this, &FeedbackView::send);
  connect(message_, &QPlainTextEdit::textChanged, this, &FeedbackView::render);
  connect(&Appearance::instance(), &Appearance::changed, this, &FeedbackView::render);
  render();
}

bool FeedbackView::messageIsBlank() const {
  return message_->toPlainText().trimmed().isEmpty();
}

void FeedbackView::send() {
  if (state_ == State::sending || messageIsBlank()) return;
  setState(State::sending);
  const app::Feedback::Message m{"feedback",
                                 message_->toPlainText().toStdString(),
                                 trimSpacesAndTabs(email_->text().toStdString()),
                                 {}};
  app::Feedback::send(env_, m, this,
                      [this](bool ok) { setState(ok ? State::sent : State::failed); });
}

void FeedbackView::setState(State s) {
  state_ = s;
  render();
}

void FeedbackView::render() {
  const bool busyOrSent = state_ == State::sending || state_ == State::sent;
  message_->setEnabled(!busyOrSent);
  email_->setEnabled(!busyOrSent);
  sent_->setVisible(state_ == State::sent);
  QPalette red = failed_->palette();
  red.setColor(QPalette::WindowText, colors().red);
  failed_->setPalette(red);
  failed_->setVisible(state_ == State::failed);
  spinner_->setVisible(state_ == State::sending);
  done_->setVisible(state_ == State::sent);
  cancel_->setVisible(state_ != State::sent);
  send_->setVisible(state_ != State::sent);
  send_->setEnabled(state_ != State::sending && !messageIsBlank());
  if (QWidget* w = window(); w != this && w->isVisible()) w->adjustSize();
}

void FeedbackView::paintEvent(QPaintEvent*) {
  QPainter(this).fillRect(rect(), colors().windowBackground);
  TextBox::paintFocusRings(this);
}

void FeedbackView::keyPressEvent(QKeyEvent* event) {
  // Return reaches the form from the e-mail field (the message takes its
  // own); the default button answers it.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    PushButton* fallback = state_ == State::sent ? done_ : send_;
    if (fallback->isVisible() && fallback->isEnabled()) fallback->click();
    return;
  }
  if (event->key() == Qt::Key_Escape) {
    window()->close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace quillon::ui
