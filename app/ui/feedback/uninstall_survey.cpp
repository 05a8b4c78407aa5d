#include "app/ui/feedback/uninstall_survey.h"

#include <QCloseEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QVBoxLayout>
#include <vector>

#include "app/ui/kit/check_box.h"
#include "app/ui/kit/placement.h"
#include "app/ui/kit/push_button.h"
#include "app/ui/kit/text_box.h"
#include "app/ui/kit/themed_label.h"
#include "app/ui/style/fonts.h"
#include "app/ui/style/theme.h"

namespace quillon::ui::UninstallSurvey {
namespace {

constexpr int kWidth = 380;

QPointer<QWidget>& shown() {
  static QPointer<QWidget> w;
  return w;
}

QString q(const char* text) {
  return QString::fromUtf8(text);
}

class SurveyDialog : public QDialog {
 public:
  enum Result { cancelled = 0, skipped = 1, sent = 2 };

  SurveyDialog()
      : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                             Qt::WindowCloseButtonHint) {
    setWindowTitle(q("Before you go"));
    setAutoFillBackground(true);
    QPalette bg = palette();
    bg.setColor(QPalette::Window, colors().windowBackground);
    setPalette(bg);
    // The window itself holds the focus, so no control starts focused.
    setFocusPolicy(Qt::StrongFocus);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(20, 20, 20, 20);
    column->setSpacing(8);
    column->setSizeConstraint(QLayout::SetFixedSize);

    auto* intro = new ThemedLabel(
        q("Why are you uninstalling Quillon? This is optional, and helps make it better."),
        fonts::body(), TextRole::primary, this);
    intro->setWordWrap(true);
    intro->setFixedWidth(kWidth);
    intro->setMinimumHeight(intro->heightForWidth(kWidth));
    column->addWidget(intro);
    column->addSpacing(12 - 8);

    for (size_t i = 0; i < reasons.size(); ++i) {
      auto* box = new CheckBox(q(reasons[i]), this);
      box->setObjectName(QStringLiteral("reason%1").arg(i));
      boxes_.push_back(box);
      column->addWidget(box);
    }
    column->addSpacing(14 - 8);
    column->addWidget(
        new ThemedLabel(q("Anything else? (optional)"), fonts::body(), TextRole::primary, this));
    column->addSpacing(5 - 8);

    text_ = TextBox::plainEditor(this);
    text_->setObjectName(QStringLiteral("otherText"));
    text_->setAccessibleName(q("Anything else? (optional)"));
    text_->document()->setDocumentMargin(0);
    TextBox::Frame frame;
    frame.radius = 6;
    frame.borderWidth = 1;
    frame.border = [](const Palette& p) {
      return p.dark ? QColor(255, 255, 255, 40) : p.separator;
    };
    // The box's 3-point margins plus the text's own inset, 2 wide and 4 high.
    frame.margins = QMargins(3 + 2, 3 + 4, 3 + 2, 3 + 4);
    auto* box = new TextBox(text_, frame, this);
    box->setFixedSize(kWidth, 70);
    column->addWidget(box);
    column->addSpacing(16 - 8);

    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    row->addStretch(1);
    auto* skip = new PushButton(q("Skip"), ButtonLook::plain, this);
    skip->setObjectName(QStringLiteral("skip"));
    auto* send = new PushButton(q("Send and Uninstall"), ButtonLook::primary, this);
    send->setObjectName(QStringLiteral("sendAndUninstall"));
    row->addWidget(skip);
    row->addWidget(send);
    column->addLayout(row);

    connect(skip, &QAbstractButton::clicked, this, [this] { done(skipped); });
    connect(send, &QAbstractButton::clicked, this, [this] { done(sent); });
  }

  app::SurveyOutcome outcome(int result) const {
    app::SurveyOutcome o;
    if (result == sent) {
      o.kind = app::SurveyOutcome::Kind::answered;
      for (size_t i = 0; i < boxes_.size(); ++i) {
        if (boxes_[i]->isChecked()) o.reasons.emplace_back(reasons[i]);
      }
      o.message = text_->toPlainText().trimmed().toStdString();
    } else {
      o.kind = result == skipped ? app::SurveyOutcome::Kind::skipped
                                 : app::SurveyOutcome::Kind::cancelled;
    }
    return o;
  }

 protected:
  void paintEvent(QPaintEvent*) override { TextBox::paintFocusRings(this); }
  // Only the close button ends the survey without a choice; Escape, as in a
  // titled window without a cancel button, does nothing. Return (where the
  // text does not take it) presses the default button.
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) return;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      done(sent);
      return;
    }
    QDialog::keyPressEvent(event);
  }
  void reject() override { done(cancelled); }

 private:
  std::vector<CheckBox*> boxes_;
  QPlainTextEdit* text_;
};

}  // namespace

app::SurveyOutcome ask() {
  SurveyDialog dialog;
  dialog.adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRectF vf(screen->availableGeometry());
    const QSizeF size(dialog.frameGeometry().size());
    dialog.move(
        QPointF(vf.center().x() - size.width() / 2, vf.center().y() - size.height() / 2).toPoint());
  }
  shown() = &dialog;
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
  dialog.setFocus();
  const int result = dialog.exec();
  shown() = nullptr;
  return dialog.outcome(result);
}

QWidget* current() {
  return shown();
}

}  // namespace quillon::ui::UninstallSurvey
