#include "common/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>

namespace quillon {

namespace {

// Closes the descriptor on every path out of a function.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded: on some file
  // systems a failed write only shows up here.
  bool close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// A name no other writer (thread or process) uses at the same time. O_EXCL
// at creation catches what is left of the chance of a clash.
std::filesystem::path temporaryPath(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::string name = "." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                     std::to_string(counter.fetch_add(1)) + ".tmp";
  return target.parent_path() / name;
}

// The pid in a temporary file's name, ".<name>.<pid>.<n>.tmp", when the
// name has that form and (unless `name` is empty) names that file.
std::optional<pid_t> temporaryFileWriter(std::string_view file, std::string_view name) {
  constexpr std::string_view kSuffix = ".tmp";
  if (file.size() < 2 || file.front() != '.' || !file.ends_with(kSuffix)) return std::nullopt;
  file = file.substr(1, file.size() - 1 - kSuffix.size());  // "<name>.<pid>.<n>"
  auto number = [&file]() -> std::optional<int64_t> {
    auto dot = file.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == file.size()) return std::nullopt;
    std::string_view digits = file.substr(dot + 1);
    int64_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size() || digits[0] == '-')
      return std::nullopt;
    file = file.substr(0, dot);
    return value;
  };
  if (!number()) return std::nullopt;
  auto pid = number();
  if (!pid || *pid <= 0 || *pid > std::numeric_limits<pid_t>::max() || file.empty())
    return std::nullopt;
  if (!name.empty() && file != name) return std::nullopt;
  return static_cast<pid_t>(*pid);
}

}  // namespace

void removeStaleTemporaryFiles(const std::filesystem::path& folder, std::string_view name) {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string file = it->path().filename().string();
    auto pid = temporaryFileWriter(file, name);
    // ESRCH only: a process we may not signal (EPERM) still runs.
    if (!pid || ::kill(*pid, 0) == 0 || errno != ESRCH) continue;
    ::unlink(it->path().c_str());
  }
}

bool writeFileAtomically(const std::filesystem::path& target, std::string_view content) {
  removeStaleTemporaryFiles(target.parent_path().empty() ? "." : target.parent_path(),
                            target.filename().string());
  std::filesystem::path temp;
  int raw = -1;
  for (int attempt = 0; attempt < 8 && raw < 0; ++attempt) {
    temp = temporaryPath(target);
    // 0666 before the umask: the same permissions as any newly made file.
    raw = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (raw < 0 && errno != EEXIST) return false;
  }
  if (raw < 0) return false;
  Fd fd(raw);
  bool written = writeAll(fd.get(), content) && ::fsync(fd.get()) == 0;
  written = fd.close() && written;
  if (!written || ::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  // Make the rename itself durable; the file is in place either way.
  if (int dir = ::open(target.parent_path().empty() ? "." : target.parent_path().c_str(),
                       O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

FileRead readFile(const std::filesystem::path& path, std::size_t maxBytes) {
  FileRead result;
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) {
    result.status = errno == ENOENT || errno == ENOTDIR ? FileRead::Status::missing
                                                        : FileRead::Status::unreadable;
    return result;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    result.status = FileRead::Status::unreadable;
    return result;
  }
  if (!S_ISREG(st.st_mode)) {
    result.status = FileRead::Status::notRegularFile;
    return result;
  }
  if (st.st_size < 0 || static_cast<std::uintmax_t>(st.st_size) > maxBytes) {
    result.status = FileRead::Status::tooLarge;
    return result;
  }
  // The file may grow between fstat and read: read one byte past the limit
  // at most, to notice that without reading the rest.
  const size_t cap = maxBytes < std::numeric_limits<size_t>::max() ? maxBytes + 1 : maxBytes;
  std::string content(static_cast<size_t>(st.st_size), '\0');
  size_t used = 0;
  for (;;) {
    if (used == content.size()) {
      if (content.size() > maxBytes) {
        result.status = FileRead::Status::tooLarge;
        return result;
      }
      content.resize(std::min(cap, std::max<size_t>(content.size() * 2, 4096)));
    }
    ssize_t n = ::read(fd.get(), content.data() + used, content.size() - used);
    if (n < 0) {
      if (errno == EINTR) continue;
      result.status = FileRead::Status::unreadable;
      return result;
    }
    if (n == 0) break;
    used += static_cast<size_t>(n);
  }
  content.resize(used);
  result.status = FileRead::Status::ok;
  result.content = std::move(content);
  return result;
}

std::string describe(FileRead::Status status, std::size_t maxBytes) {
  switch (status) {
    case FileRead::Status::ok:
      return "read";
    case FileRead::Status::missing:
      return "no such file";
    case FileRead::Status::unreadable:
      return "cannot be read";
    case FileRead::Status::notRegularFile:
      return "not a regular file";
    case FileRead::Status::tooLarge:
      return "larger than " + std::to_string(maxBytes) + " bytes";
  }
  return "cannot be read";
}

}  // namespace quillon
