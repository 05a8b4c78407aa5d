#include "sim/app/launchd_supervisor.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/signalfd.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>

#include "sim/app/launchd_holds.h"
#include "sim/app/launchd_state.h"
#include "sim/app/process_table.h"
#include "sim/app/spawn.h"

namespace quillon::sim {

using nlohmann::json;

namespace {

constexpr double kStopGraceSeconds = 5;
constexpr int kIdlePollMs = 1000;
constexpr std::string_view kAgentPrefix = "agent ";  // processes.json's name for a job

double now() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The supervisor's view of one job.
struct Running {
  pid_t pid = 0;
  double lastStart = -1e9;
  int64_t generation = -1;  // of the instance started last
  int starts = 0;
  std::optional<int> lastExit;
  double stopSentAt = 0;  // 0: not being stopped
};

class Supervisor {
 public:
  explicit Supervisor(const std::filesystem::path& root) : folder_(root) {}

  int run() {
    lockFd_ = open(folder_.file(kLaunchdLock).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lockFd_ < 0 || !takeLaunchdLock(lockFd_)) return 0;  // another one runs
    sigset_t mask;
    sigemptyset(&mask);
    for (int s : {SIGCHLD, SIGTERM, SIGINT, SIGHUP}) sigaddset(&mask, s);
    sigprocmask(SIG_BLOCK, &mask, nullptr);
    int sigFd = signalfd(-1, &mask, SFD_CLOEXEC | SFD_NONBLOCK);
    int watchFd = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    if (watchFd >= 0)
      inotify_add_watch(watchFd, folder_.root().c_str(),
                        IN_CLOSE_WRITE | IN_MOVED_TO | IN_DELETE | IN_DELETE_SELF | IN_MOVE_SELF);
    writeStatus();
    endOrphanedJobs();
    bool stopping = false;
    for (;;) {
      reap();
      std::error_code ec;
      bool folderGone = !std::filesystem::exists(folder_.root(), ec);
      auto state = folderGone || stopping ? LaunchdState{} : readLaunchd(folder_);
      double wake = reconcile(state);
      writeStatus();
      if (!anyRunning() && (stopping || folderGone || wanted(state).empty())) {
        // The last status is written while the lock is still ours, so it
        // never overwrites a successor's.
        jobs_.clear();
        if (!folderGone) writeStatus();
        if (stopping || folderGone || !stillWantedAfterUnlock()) break;
        continue;
      }
      int timeout = kIdlePollMs;
      if (wake > 0)
        timeout = std::clamp(static_cast<int>((wake - now()) * 1000) + 1, 1, kIdlePollMs);
      pollfd fds[2] = {{sigFd, POLLIN, 0}, {watchFd, POLLIN, 0}};
      poll(fds, watchFd >= 0 ? 2 : 1, timeout);
      signalfd_siginfo info{};
      while (read(sigFd, &info, sizeof info) == sizeof info)
        if (info.ssi_signo != SIGCHLD) stopping = true;
      char buf[4096];
      while (watchFd >= 0 && read(watchFd, buf, sizeof buf) > 0) {
      }
    }
    return 0;
  }

 private:
  // A registration writes the state, then starts a supervisor unless the
  // lock is held. So before leaving, let go of the lock and look once more:
  // a job that came in meanwhile is ours if we get the lock back, and the
  // new supervisor's otherwise.
  bool stillWantedAfterUnlock() {
    releaseLaunchdLock(lockFd_);
    if (wanted(readLaunchd(folder_)).empty()) return false;
    return takeLaunchdLock(lockFd_);
  }

  // A supervisor that was killed leaves its jobs running, nobody's children
  // now; processes.json still names them. Holding the lock, we are the only
  // supervisor, so every live agent there is such an orphan: it is ended
  // before any job starts, so that a job never runs twice, and runs again
  // as this supervisor's child if it is still wanted.
  void endOrphanedJobs() {
    int ended = stopProcesses(
        folder_, [](const SimProcess& p) { return p.what.starts_with(kAgentPrefix); },
        kStopGraceSeconds);
    if (ended > 0)
      std::fprintf(stderr, "quillon-sim-launchd: ended %d job%s of an earlier launchd\n", ended,
                   ended == 1 ? "" : "s");
  }

  // The jobs that should run: loaded, and their service not forced off.
  std::map<std::string, AgentJob> wanted(const LaunchdState& state) const {
    std::map<std::string, AgentJob> out;
    for (const auto& [label, job] : state.agents) {
      auto forced = state.forced.find(job.plistName);
      if (!job.plistName.empty() && forced != state.forced.end() && forced->second != 1) continue;
      out[label] = job;
    }
    return out;
  }

  // One pass; returns the earliest time something is due, 0 for none.
  double reconcile(const LaunchdState& state) {
    auto want = wanted(state);
    double t = now(), due = 0;
    auto dueAt = [&](double at) { due = due == 0 ? at : std::min(due, at); };
    for (auto& [label, r] : jobs_) {
      auto it = want.find(label);
      bool keep = it != want.end() && it->second.generation == r.generation;
      if (r.pid == 0 || keep) continue;
      if (r.stopSentAt == 0) {
        killpg(r.pid, SIGTERM);
        r.stopSentAt = t;
      } else if (t - r.stopSentAt >= kStopGraceSeconds) {
        killpg(r.pid, SIGKILL);
      }
      dueAt(r.stopSentAt + kStopGraceSeconds);
    }
    std::erase_if(jobs_, [&](const auto& e) { return e.second.pid == 0 && !want.count(e.first); });
    const auto held = heldStarts(folder_);
    for (const auto& [label, job] : want) {
      Running& r = jobs_[label];
      if (r.pid != 0 || held.count(label)) continue;
      bool fresh = job.generation != r.generation;
      if (fresh) {
        r.generation = job.generation;
        if (job.runAtLoad || job.keepAlive) start(job, r);
        continue;
      }
      if (!job.keepAlive) continue;
      double at = r.lastStart + job.throttleInterval;
      if (t >= at)
        start(job, r);
      else
        dueAt(at);
    }
    return due;
  }

  void start(const AgentJob& job, Running& r) {
    std::map<std::string, std::string> env = job.environment;
    env.emplace("PATH", "/usr/bin:/bin:/usr/sbin:/sbin");
    env.emplace("XPC_SERVICE_NAME", job.label);
    std::string error;
    auto pid = spawnChild(job.program, job.arguments, environmentWith(env), {}, error);
    r.lastStart = now();
    ++r.starts;
    if (!pid) {
      // launchd logs it and tries again after the throttle interval.
      std::fprintf(stderr, "quillon-sim-launchd: %s: %s\n", job.label.c_str(), error.c_str());
      r.lastExit = 78;  // EX_CONFIG, as launchd reports a job it could not exec
      return;
    }
    r.pid = *pid;
    r.stopSentAt = 0;
    registerProcess(folder_, *pid, std::string(kAgentPrefix) + job.label);
  }

  void reap() {
    for (;;) {
      int status = 0;
      pid_t pid = waitpid(-1, &status, WNOHANG);
      if (pid <= 0) return;
      for (auto& [label, r] : jobs_) {
        if (r.pid != pid) continue;
        r.pid = 0;
        r.stopSentAt = 0;
        r.lastExit = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
        unregisterProcess(folder_, pid);
      }
    }
  }

  bool anyRunning() const {
    return std::any_of(jobs_.begin(), jobs_.end(), [](const auto& e) { return e.second.pid != 0; });
  }

  void writeStatus() {
    json jobs = json::object();
    for (const auto& [label, r] : jobs_) {
      json j = {{"pid", r.pid}, {"starts", r.starts}};
      if (r.lastExit) j["lastExit"] = *r.lastExit;
      jobs[label] = j;
    }
    json status = {{"pid", getpid()}, {"jobs", jobs}};
    if (status != lastStatus_) {
      folder_.write(kLaunchdStatusFile, status);
      lastStatus_ = status;
    }
  }

  SystemFolder folder_;
  int lockFd_ = -1;
  std::map<std::string, Running> jobs_;
  json lastStatus_;
};

}  // namespace

int runLaunchdSupervisor(const std::filesystem::path& root) {
  return Supervisor(root).run();
}

}  // namespace quillon::sim
