// The control socket: a running helper's machine driven from outside.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include <nlohmann/json.hpp>

#include "sim/sim_mac.h"
#include "sim/sim_socket_address.h"

namespace quillon::sim {
namespace {

using nlohmann::json;
namespace et = platform::event_type;

class TempRoot {
 public:
  explicit TempRoot(const std::string& prefix = "/tmp/quillon-sock-XXXXXX") {
    std::string tmpl = prefix;
    path_ = mkdtemp(tmpl.data());
  }
  ~TempRoot() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A blocking client with a receive timeout, so that a broken server fails
// the test instead of hanging it.
class Client {
 public:
  explicit Client(const std::filesystem::path& sock) : fd_(connectUnix(sock)) {
    timeval tv{5, 0};
    if (fd_ >= 0) setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  }
  ~Client() {
    if (fd_ >= 0) close(fd_);
  }
  bool connected() const { return fd_ >= 0; }
  void send(const std::string& text) {
    ASSERT_EQ(::send(fd_, text.data(), text.size(), MSG_NOSIGNAL), ssize_t(text.size()));
  }
  // The next reply line, or "" when the server closed the connection.
  std::string line() {
    for (;;) {
      if (auto nl = buf_.find('\n'); nl != std::string::npos) {
        std::string l = buf_.substr(0, nl);
        buf_.erase(0, nl + 1);
        return l;
      }
      char b[4096];
      ssize_t n = recv(fd_, b, sizeof b, 0);
      if (n <= 0) return "";
      buf_.append(b, size_t(n));
    }
  }
  json ask(const json& request) {
    send(request.dump() + "\n");
    std::string l = line();
    return l.empty() ? json() : json::parse(l);
  }

 private:
  int fd_;
  std::string buf_;
};

platform::EventRef tripleDeltaX(void* ctx, uint32_t, platform::EventRef e) {
  auto* taps = static_cast<platform::EventTaps*>(ctx);
  taps->setIntegerField(e, 4, 3 * taps->integerField(e, 4));
  return e;
}

// A Mac whose run loop serves the socket on a thread of its own, as the
// helper's main thread would.
class SocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mac.serveControlSocket());
    loop = std::thread([this] { mac.runLoop().run(); });
  }
  void TearDown() override {
    mac.runLoop().stop();
    loop.join();
  }
  TempRoot root;
  Mac mac{root.path()};
  std::thread loop;
};

TEST_F(SocketTest, EventRoundTripGoesThroughTheTap) {
  // Installed from the test thread while the loop runs: the sim takes taps
  // from any thread.
  mac.setAccessibility(true);
  auto& taps = mac.system().taps;
  auto port = taps.createTap(platform::TapPlacement::head, platform::eventMaskBit(et::kMouseMoved),
                             tripleDeltaX, &taps);
  taps.addToMainRunLoop(port);

  Client c(mac.controlSocketPath());
  ASSERT_TRUE(c.connected());
  EXPECT_EQ(c.ask({{"cmd", "ping"}}), json({{"ok", true}}));
  json reply = c.ask(json::parse(R"({"cmd":"event","type":5,"location":[10,20],
      "fields":{"4":2,"5":-1,"7":0},"doubles":{"93":1.0}})"));
  EXPECT_EQ(reply["event"], json::parse(R"({"type":5,"location":[10.0,20.0],
      "fields":{"4":6,"5":-1},"doubles":{"93":1.0}})"));
  EXPECT_EQ(reply["passed"], true);
  EXPECT_EQ(reply["cursor"], json::parse("[10.0,20.0]"));

  // Without a location the system adds the deltas to the cursor.
  reply = c.ask(json::parse(R"({"cmd":"event","type":5,"fields":{"4":1,"5":4}})"));
  EXPECT_EQ(reply["event"]["location"], json::parse("[11.0,24.0]"));
  reply = c.ask({{"cmd", "records"}, {"kind", "passed"}});
  EXPECT_EQ(reply["records"].size(), 2u);
}

TEST_F(SocketTest, BadRequestsGetErrorsAndTheConnectionStaysUsable) {
  Client c(mac.controlSocketPath());
  const char* bad[] = {
      "not json",
      "[1,2]",
      R"({"cmd":"fly"})",
      R"({"cmd":"event"})",
      R"({"cmd":"event","type":5,"fields":{"999":1}})",
      R"({"cmd":"event","type":5,"fields":{"x":1}})",
      R"({"cmd":"frame","trackpad":"one","time":0})",
      R"({"cmd":"displays","displays":[{"bounds":[1]}]})",
      R"({"cmd":"advance","seconds":1})",  // the clock is real
      R"({"cmd":"preference","key":"k","value":[1]})",
  };
  for (const char* request : bad) {
    SCOPED_TRACE(request);
    c.send(std::string(request) + "\n");
    json reply = json::parse(c.line());
    EXPECT_EQ(reply["ok"], false);
    EXPECT_TRUE(reply["error"].is_string());
  }
  // Several requests in one write, with a blank line and CRLF, are answered in order.
  c.send("{\"cmd\":\"ping\"}\r\n\n{\"cmd\":\"uptime\"}\n");
  EXPECT_EQ(c.line(), R"({"ok":true})");
  EXPECT_TRUE(json::parse(c.line())["uptime"].is_number());
}

TEST_F(SocketTest, ClientsThatMisbehaveAreDroppedAlone) {
  {
    Client gone(mac.controlSocketPath());
    gone.send(R"({"cmd":"pi)");  // and disconnects mid-line
  }
  Client big(mac.controlSocketPath());
  big.send(std::string((1 << 20) + 10, 'x'));
  json reply = json::parse(big.line());
  EXPECT_EQ(reply["error"], "line too long");
  EXPECT_EQ(big.line(), "");  // dropped

  Client fine(mac.controlSocketPath());
  EXPECT_EQ(fine.ask({{"cmd", "ping"}})["ok"], true);
}

TEST_F(SocketTest, DevicesFramesAndHidValuesThroughTheSocket) {
  struct Seen {
    int frames = 0;
    int32_t count = 0;
    int64_t hid = 0;
  } seen;
  Client c(mac.controlSocketPath());
  ASSERT_EQ(c.ask(json::parse(R"({"cmd":"connectTrackpad","id":1,"widthHundredthsMM":16000,
      "heightHundredthsMM":10000,"builtIn":true})"))["ok"],
            true);
  ASSERT_EQ(
      c.ask(json::parse(R"({"cmd":"connectHid","id":7,"product":"USB Optical Mouse"})"))["ok"],
      true);
  c.ask({{"cmd", "permissions"}, {"inputMonitoring", true}});

  auto& sys = mac.system();
  sys.multitouch.load();
  auto dev = sys.multitouch.createList()->at(0);
  sys.multitouch.registerContactFrameCallback(
      dev,
      [](void* ctx, platform::MTDeviceRef, const void*, int32_t n, double, int32_t) {
        auto* s = static_cast<Seen*>(ctx);
        s->frames++;
        s->count = n;
        return 0;
      },
      &seen);
  sys.multitouch.deviceStart(dev, 0);
  auto m = sys.hid.createManager({1, 2}, {{1, 48}});
  sys.hid.setCallbacks(
      m, [](void* ctx, const platform::HidValue& v) { static_cast<Seen*>(ctx)->hid += v.integer; },
      nullptr, &seen);
  sys.hid.schedule(m);
  ASSERT_TRUE(sys.hid.open(m));

  json reply = c.ask(json::parse(R"({"cmd":"frame","trackpad":1,"time":12.5,
      "fingers":[{"id":1,"x":0.5,"y":0.5},{"id":2,"x":0.1,"y":0.1,"state":1}]})"));
  EXPECT_EQ(reply["delivered"], true);
  EXPECT_EQ(c.ask(json::parse(R"({"cmd":"hid","device":7,"usage":48,"value":16})"))["delivered"],
            true);
  EXPECT_EQ(c.ask(json::parse(R"({"cmd":"frame","trackpad":3,"time":1})"))["delivered"], false);
  c.ask({{"cmd", "ping"}});  // replies are in order: everything above has run
  EXPECT_EQ(seen.frames, 1);
  EXPECT_EQ(seen.count, 2);
  EXPECT_EQ(seen.hid, 16);
}

TEST_F(SocketTest, FileChangesByAnotherProcessAreAnnounced) {
  std::atomic<int> reconfigurations{0};
  std::atomic<int> removals{0};
  mac.system().displays.setReconfigurationCallback([&](bool) { ++reconfigurations; });
  Mac other(root.path());
  other.connectHidDevice({.id = 7});
  other.setInputMonitoring(true);
  auto& hid = mac.system().hid;
  auto m = hid.createManager({1, 2}, {{1, 48}});
  hid.setCallbacks(
      m, [](void*, const platform::HidValue&) {},
      [](void* ctx, platform::HidDeviceRef) { ++*static_cast<std::atomic<int>*>(ctx); }, &removals);
  hid.schedule(m);
  ASSERT_TRUE(hid.open(m));
  Client c(mac.controlSocketPath());
  ASSERT_EQ(c.ask(json::parse(R"({"cmd":"hid","device":7,"usage":48,"value":1})"))["delivered"],
            true);

  other.setDisplays({{{0, 0, 800, 600}, 0, 0, false}});  // the other process's own call: 2
  other.disconnect(7);
  for (int i = 0; i < 30000 && (reconfigurations < 2 || removals < 1); ++i)  // a minute at most
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  EXPECT_EQ(reconfigurations, 2);  // beginning and end, once
  EXPECT_EQ(removals, 1);
}

TEST(ControlSocketFile, StaleFileIsReplacedAndRemovedAtTheEnd) {
  TempRoot root;
  auto sock = root.path() / "control.sock";
  {
    // A socket file left behind by a helper that died.
    SocketAddress addr(sock);
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(bind(fd, addr.get(), addr.size()), 0);
    close(fd);
  }
  {
    Mac mac(root.path());
    EXPECT_TRUE(mac.serveControlSocket());
    Mac rival(root.path());
    EXPECT_FALSE(rival.serveControlSocket());  // a live helper keeps its socket
    EXPECT_TRUE(std::filesystem::exists(sock));
  }
  EXPECT_FALSE(std::filesystem::exists(sock));
}

TEST(ControlSocketFile, WorksUnderARootDeeperThanSunPath) {
  TempRoot base;
  auto deep = base.path() / std::string(120, 'd');
  std::filesystem::create_directories(deep);
  Mac mac(deep);
  ASSERT_TRUE(mac.serveControlSocket());
  std::thread t([&] { mac.runLoop().runFor(5); });
  {
    Client c(mac.controlSocketPath());
    ASSERT_TRUE(c.connected());
    EXPECT_EQ(c.ask({{"cmd", "ping"}})["ok"], true);
  }
  mac.runLoop().stop();
  t.join();
}

#ifdef QUILLON_SIM_CONTROL
TEST_F(SocketTest, CommandLineClientPrintsReplies) {
  std::string cmd = std::string(QUILLON_SIM_CONTROL) + " --root '" + root.path().string() +
                    "' '{\"cmd\":\"ping\"}' '{\"cmd\":\"cursor\",\"to\":[3,4]}'";
  FILE* p = popen(cmd.c_str(), "r");
  ASSERT_TRUE(p);
  std::string out;
  char buf[256];
  while (fgets(buf, sizeof buf, p)) out += buf;
  EXPECT_EQ(pclose(p), 0);
  EXPECT_EQ(out, "{\"ok\":true}\n{\"cursor\":[3.0,4.0],\"ok\":true}\n");
}
#endif

}  // namespace
}  // namespace quillon::sim
