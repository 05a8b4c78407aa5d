#include "sim/sim_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace quillon::sim {

namespace {

// Releases the folder lock however update() leaves.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& path)
      : fd_(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    if (fd_ >= 0) flock(fd_, LOCK_EX);
  }
  ~FolderLock() {
    if (fd_ >= 0) close(fd_);  // closing drops the lock
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_;
};

}  // namespace

SystemFolder::SystemFolder(std::filesystem::path root) : root_(std::move(root)) {
  std::error_code ec;
  std::filesystem::create_directories(root_, ec);
}

std::optional<nlohmann::json> SystemFolder::read(std::string_view name) const {
  std::ifstream in(file(name), std::ios::binary);
  if (!in) return std::nullopt;
  std::stringstream text;
  text << in.rdbuf();
  auto value = nlohmann::json::parse(text.str(), nullptr, false);
  if (value.is_discarded()) return std::nullopt;
  return value;
}

bool SystemFolder::write(std::string_view name, const nlohmann::json& value) const {
  // Unique per process and call, so that concurrent writers never share a
  // temporary file.
  static std::atomic<unsigned> counter{0};
  std::string tmpName = "." + std::string(name) + "." + std::to_string(getpid()) + "." +
                        std::to_string(counter.fetch_add(1)) + ".tmp";
  auto tmp = file(tmpName);
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << value.dump(2) << '\n';
    out.close();
    if (!out) {
      std::error_code ec;
      std::filesystem::remove(tmp, ec);
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(tmp, file(name), ec);
  if (!ec) return true;
  std::filesystem::remove(tmp, ec);
  return false;
}

bool SystemFolder::update(std::string_view name,
                          const std::function<void(std::optional<nlohmann::json>&)>& change) const {
  FolderLock lock(file(".lock"));
  auto value = read(name);
  change(value);
  if (!value) {
    std::error_code ec;
    return std::filesystem::remove(file(name), ec) || !ec;
  }
  return write(name, *value);
}

}  // namespace quillon::sim
