#include "sim/app/spawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <sstream>

#include "sim/sim_state.h"

extern char** environ;

namespace quillon::sim {

namespace {

// argv/envp arrays for exec, built before any fork.
struct CStrings {
  explicit CStrings(const std::vector<std::string>& v) {
    for (const auto& s : v) ptrs.push_back(const_cast<char*>(s.c_str()));
    ptrs.push_back(nullptr);
  }
  char** get() { return ptrs.data(); }
  std::vector<char*> ptrs;
};

std::string startFailure(const std::string& program, int err) {
  return "couldn't run " + program + ": " + std::strerror(err);
}

}  // namespace

std::vector<std::string> environmentWith(const std::map<std::string, std::string>& overrides) {
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e) {
    std::string entry = *e;
    auto eq = entry.find('=');
    if (eq != std::string::npos && overrides.count(entry.substr(0, eq))) continue;
    env.push_back(std::move(entry));
  }
  for (const auto& [name, value] : overrides) {
    if (value.empty()) continue;
    std::string entry = name;
    entry += '=';
    entry += value;
    env.push_back(std::move(entry));
  }
  return env;
}

CapturedRun runCaptured(const std::string& program, const std::vector<std::string>& argv,
                        const std::vector<std::string>& env) {
  CapturedRun result;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    result.status = -1;
    result.startError = startFailure(program, errno);
    return result;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
  CStrings args(argv), envp(env);
  pid_t pid = 0;
  int err = posix_spawn(&pid, program.c_str(), &actions, nullptr, args.get(), envp.get());
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (err != 0) {
    close(fds[0]);
    result.status = -1;
    result.startError = startFailure(program, err);
    return result;
  }
  std::array<char, 65536> buf;
  for (;;) {
    ssize_t n = read(fds[0], buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    result.output.append(buf.data(), static_cast<size_t>(n));
  }
  close(fds[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status);
  return result;
}

std::optional<pid_t> spawnDetached(const std::string& program, const std::vector<std::string>& argv,
                                   const std::vector<std::string>& env,
                                   const std::filesystem::path& outputFile,
                                   const std::function<void(pid_t)>& started, std::string& error) {
  CStrings args(argv), envp(env);
  std::string out = outputFile.string();
  // The grandchild reports its pid, then exec's error number if exec fails;
  // a close without the error means exec worked.
  int report[2];
  // The grandchild waits for one byte here before exec, so that `started`
  // (which records it) has run; at end of file (this process died first)
  // it leaves without running anything nobody knows of.
  // A socket pair rather than a pipe: sending to a grandchild that was
  // killed meanwhile must fail, not raise SIGPIPE in this process.
  int go[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    error = startFailure(program, errno);
    return std::nullopt;
  }
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, go) != 0) {
    error = startFailure(program, errno);
    close(report[0]);
    close(report[1]);
    return std::nullopt;
  }
  auto closeAll = [&] {
    for (int fd : {report[0], report[1], go[0], go[1]})
      if (fd >= 0) close(fd);
  };
  pid_t child = fork();
  if (child < 0) {
    error = startFailure(program, errno);
    closeAll();
    return std::nullopt;
  }
  if (child == 0) {
    // Only async-signal-safe calls from here on.
    setsid();
    pid_t grandchild = fork();
    if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
    // The head of a process group of its own, so that signalling the group
    // reaches what it starts (a script's `sleep`, an app's tools).
    setpgid(0, 0);
    close(go[1]);
    close(report[0]);
    int in = open("/dev/null", O_RDONLY);
    if (in >= 0) dup2(in, 0);
    if (!out.empty()) {
      int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
      if (fd >= 0) {
        dup2(fd, 1);
        dup2(fd, 2);
      }
    }
    pid_t self = getpid();
    (void)!write(report[1], &self, sizeof self);
    char byte = 0;
    ssize_t n = 0;
    while ((n = read(go[0], &byte, 1)) < 0 && errno == EINTR) {
    }
    if (n != 1) _exit(127);
    execve(program.c_str(), args.get(), envp.get());
    int err = errno;
    (void)!write(report[1], &err, sizeof err);
    _exit(127);
  }
  close(report[1]);
  close(go[0]);
  report[1] = go[0] = -1;
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  pid_t pid = 0;
  ssize_t got = read(report[0], &pid, sizeof pid);
  if (got != sizeof pid) {
    error = startFailure(program, EAGAIN);
    closeAll();
    return std::nullopt;
  }
  if (started) started(pid);
  char byte = 1;
  (void)!send(go[1], &byte, 1, MSG_NOSIGNAL);
  close(go[1]);
  go[1] = -1;
  int err = 0;
  ssize_t gotErr = read(report[0], &err, sizeof err);
  closeAll();
  if (gotErr == sizeof err) {
    error = startFailure(program, err);
    return std::nullopt;
  }
  return pid;
}

std::optional<pid_t> spawnChild(const std::string& program, const std::vector<std::string>& argv,
                                const std::vector<std::string>& env,
                                const std::filesystem::path& outputFile, std::string& error) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  std::string out = outputFile.empty() ? "/dev/null" : outputFile.string();
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
  posix_spawnattr_setpgroup(&attr, 0);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attr, &none);
  CStrings args(argv), envp(env);
  pid_t pid = 0;
  int err = posix_spawn(&pid, program.c_str(), &actions, &attr, args.get(), envp.get());
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  if (err != 0) {
    error = startFailure(program, err);
    return std::nullopt;
  }
  return pid;
}

std::optional<uint64_t> processStartTime(pid_t pid) {
  const std::string text = processStatText(pid);
  auto close = text.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream rest(text.substr(close + 2));
  std::string field;
  // Fields after the name: state is field 3, starttime field 22.
  for (int i = 3; i <= 22; ++i)
    if (!(rest >> field)) return std::nullopt;
  try {
    return std::stoull(field);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace quillon::sim
