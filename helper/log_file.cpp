#include "helper/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <system_error>

namespace quillon {

void tidyLogFile(const std::filesystem::path& logFile) {
  std::error_code ec;
  std::uintmax_t size = std::filesystem::file_size(logFile, ec);
  if (!ec && size > kMaxLogBytes) std::filesystem::remove(logFile, ec);
  std::filesystem::create_directories(logFile.parent_path(), ec);
}

namespace {

// The log file opened for appending, or -1 when it cannot be used as one.
// O_NONBLOCK: opening a FIFO without a reader would otherwise wait for one
// for ever, and the helper would never reach its run loop while looking
// alive to its launcher. O_NOCTTY: a terminal put there never becomes ours.
// Only a regular file counts: a FIFO, a device or a socket is not a log.
int openLog(const std::filesystem::path& logFile) {
  const int fd = ::open(logFile.c_str(),
                        O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0644);
  if (fd < 0) return -1;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  // The flag is shared by every descriptor of the log once duplicated;
  // whatever writes to it later expects ordinary blocking writes.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

}  // namespace

void redirectOutputTo(const std::filesystem::path& logFile) {
  // Open first and duplicate the descriptor onto 1 and 2, instead of
  // freopen, which closes the stream before it knows whether the file opens.
  std::fflush(stdout);
  std::fflush(stderr);
  const int fd = openLog(logFile);
  if (fd < 0) {
    // No usable log: the log lines go where standard error goes.
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    return;
  }
  ::dup2(fd, STDOUT_FILENO);
  ::dup2(fd, STDERR_FILENO);
  ::close(fd);
}

void setUpLog(const Paths& paths) {
  tidyLogFile(paths.logFile);
  redirectOutputTo(paths.logFile);
}

}  // namespace quillon
