#include "helper/log_file.h"

#include <fcntl.h>
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

void redirectOutputTo(const std::filesystem::path& logFile) {
  // Open first and duplicate the descriptor onto 1 and 2, instead of
  // freopen, which closes the stream before it knows whether the file opens.
  int fd = ::open(logFile.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  std::fflush(stdout);
  std::fflush(stderr);
  ::dup2(fd, STDOUT_FILENO);
  ::dup2(fd, STDERR_FILENO);
  ::close(fd);
}

void setUpLog(const Paths& paths) {
  tidyLogFile(paths.logFile);
  redirectOutputTo(paths.logFile);
}

}  // namespace quillon
