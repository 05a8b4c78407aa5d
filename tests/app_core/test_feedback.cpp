// Feedback: the request's body and headers as the service gets them, what
// each answer (or none) means, and the Mac's readable name.
#include <nlohmann/json.hpp>
#include <optional>

#include "app/core/feedback.h"
#include "core_fixture.h"
#include "local_http_server.h"

namespace quillon::app::test {
namespace {

using nlohmann::json;

class FeedbackTest : public CoreTest {
 protected:
  ~FeedbackTest() override {
    Feedback::setUrlForTests("");
    Feedback::setTimeLimitForTests(0);
  }

  // Sends and waits for the answer (at most `ms`).
  std::optional<bool> sendTo(const std::string& url, const Feedback::Message& m, int ms = 5000) {
    EXPECT_TRUE(Feedback::setUrlForTests(url));
    std::optional<bool> answer;
    QObject context;
    Feedback::send(env, m, &context, [&](bool ok) { answer = ok; });
    spinUntil([&] { return answer.has_value(); }, ms);
    return answer;
  }
};

TEST_F(FeedbackTest, TheServiceGetsSevenMembersAndBothHeaders) {
  LocalHttpServer server(200);
  mac.shortVersion = "";  // missing from the bundle
  const Feedback::Message m{"uninstall", "  It jumps\n\n", "", {"It costs too much", "Other"}};
  EXPECT_EQ(sendTo(server.url(), m), true);
  ASSERT_EQ(server.requests().size(), 1u);
  const LocalHttpServer::Request& r = server.requests()[0];
  EXPECT_EQ(r.method, "POST");
  EXPECT_EQ(r.path, "/");
  EXPECT_EQ(r.headers.at("content-type"), "application/json");
  EXPECT_EQ(r.headers.at("x-quillon"), "1");
  EXPECT_EQ(json::parse(r.body), (json{{"kind", "uninstall"},
                                       {"message", "  It jumps\n\n"},
                                       {"email", ""},
                                       {"reasons", {"It costs too much", "Other"}},
                                       {"version", "?"},
                                       {"macos", "Version 14.0"},
                                       {"model", "Mac (Mac14,2)"}}));
  EXPECT_EQ(json::parse(Feedback::body(env, {"feedback", "", "", {}}))["reasons"], json::array());
}

TEST_F(FeedbackTest, OnlyStatus200CountsAsSent) {
  for (int status : {200, 201, 204, 301, 404, 500, 503}) {
    LocalHttpServer server(status);
    EXPECT_EQ(sendTo(server.url(), {"feedback", "Hi", "", {}}), status == 200) << status;
    EXPECT_EQ(server.requests().size(), 1u) << status;
  }
  EXPECT_EQ(sendTo(LocalHttpServer::refusedUrl(), {"feedback", "Hi", "", {}}), false);
}

// Only the service taking the message counts. A redirect is not followed,
// though its target would answer 200 (a 307 or 308 would post the body
// there), and a 200 whose body is cut off by the network failed.
TEST_F(FeedbackTest, ARedirectOrAReplyCutOffIsNotSent) {
  using Delivery = LocalHttpServer::Delivery;
  struct Row {
    int status;
    Delivery delivery;
  };
  for (Row r : {Row{301, Delivery::whole}, Row{302, Delivery::whole}, Row{303, Delivery::whole},
                Row{307, Delivery::whole}, Row{308, Delivery::whole}, Row{200, Delivery::cutOff}}) {
    LocalHttpServer server(r.status);
    server.setDelivery(r.delivery);
    if (r.status != 200) server.setRedirect("/moved");
    EXPECT_EQ(sendTo(server.url(), {"feedback", "Hi", "", {}}), false) << r.status;
    ASSERT_EQ(server.requests().size(), 1u) << r.status;
    EXPECT_EQ(server.requests()[0].path, "/") << r.status;
  }
}

// The time limit counts from the start of the request, not from the last
// bytes that moved. Neither server here ever ends its answer, so only the
// client's limit can end the request, however fast or slow the machine.
TEST_F(FeedbackTest, TheTimeLimitEndsARequestWhoseAnswerNeverEnds) {
  Feedback::setTimeLimitForTests(200);
  for (bool trickle : {false, true}) {
    LocalHttpServer server(trickle ? 200 : 0);  // trickling, or silent
    server.setDelivery(LocalHttpServer::Delivery::trickle);
    EXPECT_EQ(sendTo(server.url(), {"feedback", "Hi", "", {}}, 30000), false) << trickle;
    // The client closed the connection: the server has nobody to trickle to.
    EXPECT_TRUE(spinUntil([&] { return !server.trickling(); }, 30000)) << trickle;
  }
}

TEST_F(FeedbackTest, AnAnswerForAContextThatIsGoneIsDropped) {
  LocalHttpServer server(200);
  ASSERT_TRUE(Feedback::setUrlForTests(server.url()));
  bool answered = false;
  {
    QObject context;
    Feedback::send(env, {"feedback", "Hi", "", {}}, &context, [&](bool) { answered = true; });
  }
  spinUntil([&] { return !server.requests().empty(); }, 60000);
  spinUntil([] { return false; }, 200);
  EXPECT_FALSE(answered);
}

TEST(FeedbackAddress, BuiltInIsHttpsAndTestsMayOnlyPointAtThisMachine) {
  EXPECT_EQ(Feedback::url().rfind("https://", 0), 0u) << Feedback::url();
  const std::string builtIn = Feedback::url();
  for (const char* refused : {"https://example.com", "http://10.0.0.1:80", "ftp://127.0.0.1",
                              "http://127.0.0.1.example.com", "not a url"}) {
    EXPECT_FALSE(Feedback::setUrlForTests(refused)) << refused;
    EXPECT_EQ(Feedback::url(), builtIn) << refused;
  }
  for (const char* taken : {"http://127.0.0.1:8080", "https://localhost", "http://[::1]:9"}) {
    EXPECT_TRUE(Feedback::setUrlForTests(taken)) << taken;
    EXPECT_EQ(Feedback::url(), taken);
  }
  EXPECT_TRUE(Feedback::setUrlForTests(""));
  EXPECT_EQ(Feedback::url(), builtIn);
}

TEST(FeedbackMacName, LeadingLettersNameTheFamily) {
  const std::pair<const char*, const char*> cases[] = {
      {"MacBookPro18,3", "MacBook Pro (MacBookPro18,3)"},
      {"MacBookAir10,1", "MacBook Air (MacBookAir10,1)"},
      {"Macmini9,1", "Mac mini (Macmini9,1)"},
      {"iMac21,1", "iMac (iMac21,1)"},
      {"MacPro7,1", "Mac Pro (MacPro7,1)"},
      {"Mac14,2", "Mac (Mac14,2)"},
      {"VMware7,1", "Mac (VMware7,1)"},
      {"MacBook10,1", "Mac (MacBook10,1)"},  // the plain MacBook is not in the table
      {"", "Mac ()"},
  };
  for (const auto& [id, name] : cases) EXPECT_EQ(Feedback::macName(id), name) << id;
}

}  // namespace
}  // namespace quillon::app::test
