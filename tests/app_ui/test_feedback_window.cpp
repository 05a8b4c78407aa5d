// The feedback window against a web server on 127.0.0.1: what each answer
// shows, the request as sent, and the form kept while the window is open.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <nlohmann/json.hpp>

#include "app/core/feedback.h"
#include "app/ui/feedback/feedback_view.h"
#include "app/ui/kit/progress_spinner.h"
#include "app/ui/kit/push_button.h"
#include "local_http_server.h"
#include "setup_fixture.h"

namespace quillon::ui::test {
namespace {

using app::test::LocalHttpServer;
using app::test::spinUntil;

class Feedback : public WindowTest {
 protected:
  ~Feedback() override { app::Feedback::setUrlForTests(""); }
  FeedbackView* show() {
    FeedbackWindow::show(env);
    return FeedbackWindow::window()->findChild<FeedbackView*>();
  }
  static bool settled(FeedbackView* v) { return v->state() != FeedbackView::State::sending; }
};

TEST_F(Feedback, TheWindowStandsBesideThePanelAndKeepsItsFormWhileOpen) {
  FeedbackView* v = show();
  QWidget* w = FeedbackWindow::window();
  EXPECT_EQ(w->windowTitle(), "Send Feedback");
  EXPECT_EQ(w->width(), 420);
  // To the left of the panel's place (no panel: the screen's right edge),
  // 12 points away, just under the menu bar; the frame may add a few points.
  const QRect frame = w->frameGeometry();
  EXPECT_NEAR(frame.right() + 1, visibleFrame().right() - 12, 4);
  EXPECT_NEAR(frame.top(), visibleFrame().top() + 8, 4);

  v->messageEdit()->setPlainText("Half a thought");
  v->emailField()->setText("me@example.com");
  EXPECT_EQ(show(), v) << "a second click keeps what is typed";
  EXPECT_EQ(v->messageEdit()->toPlainText(), "Half a thought");
  w->close();
  FeedbackView* fresh = show();
  EXPECT_NE(fresh, v);
  EXPECT_EQ(fresh->messageEdit()->toPlainText(), "");
  EXPECT_EQ(fresh->emailField()->text(), "");
  EXPECT_EQ(fresh->state(), FeedbackView::State::idle);
  EXPECT_EQ(fresh->emailField()->placeholderText(), "Your email (optional, if you'd like a reply)");
}

TEST_F(Feedback, SendNeedsMoreThanWhiteSpace) {
  FeedbackView* v = show();
  const std::pair<const char*, bool> cases[] = {
      {"", false}, {"   ", false}, {" \n\n \t\n", false}, {"\n x \n", true}, {"ok", true}};
  for (const auto& [text, enabled] : cases) {
    v->messageEdit()->setPlainText(text);
    EXPECT_EQ(v->sendButton()->isEnabled(), enabled) << '"' << text << '"';
  }
  EXPECT_TRUE(v->cancelButton()->isVisible());
  EXPECT_FALSE(v->doneButton()->isVisible());
}

TEST_F(Feedback, TheMessageGoesAsTypedAndTheAddressWithoutSpacesAndTabs) {
  LocalHttpServer server(200);
  ASSERT_TRUE(app::Feedback::setUrlForTests(server.url()));
  FeedbackView* v = show();
  v->messageEdit()->setPlainText("  Scrolling jumps.\n\n");
  v->emailField()->setText(" \tme@example.com\t ");
  v->sendButton()->click();
  EXPECT_EQ(v->state(), FeedbackView::State::sending);
  EXPECT_FALSE(v->sendButton()->isEnabled());
  EXPECT_TRUE(v->spinner()->isVisible());
  EXPECT_FALSE(v->messageEdit()->isEnabled());
  ASSERT_TRUE(spinUntil([&] { return settled(v); }, 60000));
  ASSERT_EQ(server.requests().size(), 1u);
  const auto body = nlohmann::json::parse(server.requests()[0].body);
  EXPECT_EQ(body["kind"], "feedback");
  EXPECT_EQ(body["message"], "  Scrolling jumps.\n\n");
  EXPECT_EQ(body["email"], "me@example.com");
  EXPECT_EQ(body["reasons"], nlohmann::json::array());
  EXPECT_EQ(body.size(), 7u);
}

TEST_F(Feedback, EachAnswerShowsItsStateAndAFailureKeepsTheForm) {
  LocalHttpServer ok(200), broken(500), silent(0);
  struct Case {
    const char* name;
    std::string url;
    bool sent;
  };
  const Case cases[] = {
      {"200", ok.url(), true},
      {"500", broken.url(), false},
      {"refused", LocalHttpServer::refusedUrl(), false},
      {"never answers", silent.url(), false},
  };
  const QString failure = QString("Couldn't send. Check your connection, or email ") +
                          app::Feedback::supportEmail + ".";
  for (const Case& c : cases) {
    ASSERT_TRUE(app::Feedback::setUrlForTests(c.url));
    FeedbackView* v = show();
    v->messageEdit()->setPlainText("Hello");
    v->emailField()->setText("me@example.com");
    QElapsedTimer took;
    took.start();
    v->sendButton()->click();
    ASSERT_TRUE(spinUntil([&] { return settled(v); }, 60000)) << c.name;
    if (c.sent) {
      EXPECT_EQ(v->state(), FeedbackView::State::sent) << c.name;
      EXPECT_TRUE(v->sentLabel()->isVisible()) << c.name;
      EXPECT_TRUE(v->doneButton()->isVisible()) << c.name;
      EXPECT_FALSE(v->sendButton()->isVisible()) << c.name;
      EXPECT_FALSE(v->cancelButton()->isVisible()) << c.name;
      EXPECT_FALSE(v->messageEdit()->isEnabled()) << c.name;
      EXPECT_FALSE(v->failedLabel()->isVisible()) << c.name;
      v->doneButton()->click();
      EXPECT_FALSE(FeedbackWindow::window()->isVisible()) << c.name;
      continue;
    }
    EXPECT_EQ(v->state(), FeedbackView::State::failed) << c.name;
    EXPECT_TRUE(v->failedLabel()->isVisible()) << c.name;
    EXPECT_EQ(v->failedLabel()->text(), failure) << c.name;
    EXPECT_FALSE(v->sentLabel()->isVisible()) << c.name;
    EXPECT_EQ(v->messageEdit()->toPlainText(), "Hello") << c.name;
    EXPECT_EQ(v->emailField()->text(), "me@example.com") << c.name;
    EXPECT_TRUE(v->messageEdit()->isEnabled()) << c.name;
    EXPECT_TRUE(v->sendButton()->isEnabled()) << c.name << ": another attempt";
    if (std::string(c.name) == "never answers") {
      EXPECT_GE(took.elapsed(), app::Feedback::kTimeoutMs - 500);
    } else {
      EXPECT_LT(took.elapsed(), app::Feedback::kTimeoutMs - 2000) << c.name;
    }
    v->cancelButton()->click();
    EXPECT_FALSE(FeedbackWindow::window()->isVisible()) << c.name;
  }
}

}  // namespace
}  // namespace quillon::ui::test
