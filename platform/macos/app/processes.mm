#include "app_services.h"

#import <Foundation/Foundation.h>
#include <crt_externs.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>

namespace quillon::platform::macos {
namespace {

std::string errorText(int error) {
  return std::generic_category().message(error);
}

// posix_spawn's file actions and attributes, destroyed on every path. The
// child keeps only the descriptors that the file actions set up
// (POSIX_SPAWN_CLOEXEC_DEFAULT), so it never holds another run's pipe open,
// and starts with no blocked signals and SIGPIPE at its default.
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;

  explicit SpawnSetup(int flags) {
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &pipe);
    posix_spawnattr_setflags(&attributes,
                             static_cast<short>(flags | POSIX_SPAWN_CLOEXEC_DEFAULT |
                                                POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));
  }
  ~SpawnSetup() {
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;
};

// An errno value; 0 when the program started.
int spawn(pid_t& pid, const std::string& path, const std::vector<std::string>& args,
          const SpawnSetup& setup) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  return posix_spawn(&pid, path.c_str(), &setup.actions, &setup.attributes, argv.data(),
                     *_NSGetEnviron());
}

std::string readToEnd(int fd) {
  std::string out;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      out.append(buffer, static_cast<size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      return out;
    }
  }
}

bool isUtf8(const std::string& bytes) {
  @autoreleasepool {
    return [[NSString alloc] initWithBytes:bytes.data()
                                    length:bytes.size()
                                  encoding:NSUTF8StringEncoding] != nil;
  }
}

// The exit code, or the number of the signal that ended the program.
int32_t terminationStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return WTERMSIG(status);
  return -1;
}

}  // namespace

ProcessResult PosixProcesses::run(const std::string& path, const std::vector<std::string>& args) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {-1, errorText(errno)};
  // Neither end may leak into a program that another thread starts now.
  ::fcntl(pipeFds[0], F_SETFD, FD_CLOEXEC);
  ::fcntl(pipeFds[1], F_SETFD, FD_CLOEXEC);

  SpawnSetup setup(0);
  posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&setup.actions, pipeFds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&setup.actions, pipeFds[1], STDERR_FILENO);
  pid_t pid = 0;
  const int error = spawn(pid, path, args, setup);
  ::close(pipeFds[1]);  // the child's copies alone keep the pipe open now
  if (error != 0) {
    ::close(pipeFds[0]);
    return {-1, errorText(error)};
  }

  std::string output = readToEnd(pipeFds[0]);
  ::close(pipeFds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return {-1, errorText(errno)};
  }
  if (!isUtf8(output)) output.clear();
  return {terminationStatus(status), std::move(output)};
}

OsResult PosixProcesses::startDetached(const std::string& path,
                                       const std::vector<std::string>& args) {
  // Its own session, so it outlives the app; nothing of the app's open.
  SpawnSetup setup(POSIX_SPAWN_SETSID);
  posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&setup.actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&setup.actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  if (const int error = spawn(pid, path, args, setup); error != 0) {
    return OsError{errorText(error)};
  }
  // Nobody waits for it, so a thread of its own does, leaving no zombie
  // behind however long it runs; the thread ends with the child or with
  // the app.
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return std::nullopt;
}

}  // namespace quillon::platform::macos
