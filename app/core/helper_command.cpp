#include "app/core/helper_command.h"

#include <unistd.h>

#include <ostream>

#include "app/core/helper_control.h"

namespace quillon::app {

namespace {

// A run loop that never runs: the command exits before anything it would
// hold is due.
class DroppingRunLoop final : public platform::RunLoop {
 public:
  TimerId addTimer(double, bool, std::function<void()>) override { return 0; }
  void cancelTimer(TimerId) override {}
  void after(double, std::function<void()>) override {}
  void run() override {}
  void stop() override {}
};

}  // namespace

std::string helperStatusLines(Env& env) {
  const int code = static_cast<int>(Helper::agent(env).status());
  return "agent status: " + std::to_string(code) +
         " (0 not registered, 1 enabled, 2 needs approval, 3 not found)\n" +
         "helper: " + Helper::describe(Helper::status(env)) + "\n";
}

int runHelperCommand(Env& env, const std::string& word, std::ostream& out) {
  if (word == "register") {
    const std::optional<std::string> error = Helper::start(env);
    out << error.value_or("registered") << "\n";
  } else if (word == "unregister") {
    Helper::stop(env);
    out << "unregistered\n";
  }
  out << helperStatusLines(env);
  out.flush();
  return 0;
}

int runHelperCommand(platform::AppBackend& backend, const std::string& word, std::ostream& out) {
  // No callback is awaited; anything posted runs at once.
  backend.setMainQueue([](std::function<void()> work) { work(); });
  DroppingRunLoop runLoop;
  Env env{backend.system(), Paths::current(), runLoop, static_cast<uint32_t>(::getuid()), {}, {}};
  return runHelperCommand(env, word, out);
}

}  // namespace quillon::app
