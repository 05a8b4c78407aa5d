// The app channel never keeps the app from quitting, whatever a client
// does, and an app starting clears what killed apps left behind.
#include <sys/socket.h>

#include <atomic>

#include "sim/app/app_channel.h"
#include "sim/app/app_mac.h"
#include "sim/sim_socket_address.h"
#include "sim_app_support.h"

namespace quillon::sim::testing {
namespace {

using nlohmann::json;

// More than any socket's buffers hold: the channel cannot finish sending it
// to a client that does not read.
constexpr size_t kHugeReply = 8 << 20;

bool sendLine(int fd, const std::string& line) {
  std::string text = line + "\n";
  return send(fd, text.data(), text.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(text.size());
}

// A handler whose "records" reply is huge; `handled` counts the requests.
AppChannel::Handler hugeRecords(std::atomic<int>& handled) {
  return [&handled](const json& request) {
    ++handled;
    if (request.value("cmd", "") != "records") return json{{"ok", true}};
    return json{{"ok", true}, {"records", std::string(kHugeReply, 'x')}};
  };
}

TEST_F(SimAppTest, TheChannelEndsWhileAClientNeverReadsItsReply) {
  std::atomic<int> handled{0};
  const fs::path path = appChannelPath(root(), getpid());
  auto channel = std::make_unique<AppChannel>(path, hugeRecords(handled));
  ASSERT_TRUE(channel->listening());
  int client = connectUnix(path);
  ASSERT_GE(client, 0);
  ASSERT_TRUE(sendLine(client, R"({"cmd":"records"})"));
  // The channel is now sending a reply that nobody takes.
  ASSERT_TRUE(waitFor([&] { return handled == 1; }));
  channel.reset();  // returns: the sockets are shut down before the join
  EXPECT_FALSE(fs::exists(path));
  close(client);
}

TEST_F(SimAppTest, AClientThatDoesNotTakeItsReplyIsDroppedAndTheNextIsServed) {
  std::atomic<int> handled{0};
  AppChannel channel(appChannelPath(root(), getpid()), hugeRecords(handled),
                     /*replyDeadlineSeconds=*/0);
  ASSERT_TRUE(channel.listening());
  int stuck = connectUnix(appChannelPath(root(), getpid()));
  ASSERT_GE(stuck, 0);
  ASSERT_TRUE(sendLine(stuck, R"({"cmd":"records"})"));

  json reply = sendAppRequest(root(), getpid(), {{"cmd", "ping"}}, 60);
  EXPECT_EQ(reply.value("ok", false), true) << reply.dump();
  EXPECT_EQ(handled, 2);

  // The first client got part of its reply, then the end of the connection.
  shutdown(stuck, SHUT_WR);
  size_t received = 0;
  char buf[65536];
  for (ssize_t n; (n = recv(stuck, buf, sizeof buf, 0)) > 0;) received += static_cast<size_t>(n);
  EXPECT_LT(received, kHugeReply);
  close(stuck);
}

TEST_F(SimAppTest, AnAppStartingRemovesWhatKilledAppsAndWritersLeftOnly) {
  const pid_t dead = deadPid(), live = getppid();
  const std::string d = std::to_string(dead), self = std::to_string(getpid());
  // A killed app leaves its bound socket behind.
  auto leaveSocket = [](const fs::path& path) {
    SocketAddress addr(path);
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(bind(fd, addr.get(), addr.size()), 0) << path;
    close(fd);
  };
  leaveSocket(appChannelPath(root(), dead));
  leaveSocket(appChannelPath(root(), live));
  struct Planted {
    std::string name;
    bool removed;
  };
  const std::vector<Planted> temporaries = {
      {".apps.json." + d + ".0.tmp", true},
      {".launchd.json." + d + ".12.tmp", true},
      {".apps.json." + self + ".4.tmp", false},  // a write of this process, under way
      {"app-x.sock", false},
  };
  for (const auto& t : temporaries) writeText(root() / t.name, "part");

  fs::path bundle = root() / "fs/Applications/Quillon.app";
  makeBundle(bundle);
  AppMac mac(root(), AppMac::Options{.bundle = bundle});
  ASSERT_TRUE(mac.serveChannel());

  EXPECT_FALSE(fs::exists(appChannelPath(root(), dead)));
  EXPECT_TRUE(fs::exists(appChannelPath(root(), live)));  // another app, still running
  EXPECT_TRUE(fs::exists(appChannelPath(root(), getpid())));
  for (const auto& t : temporaries) EXPECT_EQ(fs::exists(root() / t.name), !t.removed) << t.name;
}

}  // namespace
}  // namespace quillon::sim::testing
