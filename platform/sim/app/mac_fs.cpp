#include "sim/app/mac_fs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace quillon::sim {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

constexpr std::string_view kVolumes = "volumes.json";
constexpr std::array<std::string_view, 5> kMacFolders = {"/Applications", "/Volumes", "/private",
                                                         "/System", "/Library"};

bool hasPrefixFolder(std::string_view path, std::string_view folder) {
  return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

// The normal form of a path for prefix tests: absolute, no "." or "..",
// symbolic links of the existing part resolved.
fs::path normal(const fs::path& p) {
  std::error_code ec;
  auto n = fs::weakly_canonical(p, ec);
  return ec ? p.lexically_normal() : n;
}

json readMounts(const SystemFolder& folder) {
  auto file = folder.read(kVolumes);
  if (!file || !file->is_object() || !file->contains("mounts") || !(*file)["mounts"].is_array())
    return json::array();
  return (*file)["mounts"];
}

std::string mountPath(const json& m) {
  return m.is_object() && m.contains("path") && m["path"].is_string() ? m["path"].get<std::string>()
                                                                      : "";
}

// "/Volumes/Q/" and "/Volumes/./Q" are "/Volumes/Q".
std::string normalMacPath(const std::string& macPath) {
  std::string p = fs::path(macPath).lexically_normal().string();
  if (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

}  // namespace

fs::path MacFileSystem::hostPath(const std::string& macPath) const {
  std::string p = normalMacPath(macPath);
  for (auto folder : kMacFolders)
    if (hasPrefixFolder(p, folder)) return fsRoot() / p.substr(1);
  return macPath;
}

bool MacFileSystem::inMacFolder(const std::string& macPath) {
  std::string p = normalMacPath(macPath);
  return std::any_of(kMacFolders.begin(), kMacFolders.end(), [&](std::string_view folder) {
    return p.size() > folder.size() + 1 && hasPrefixFolder(p, folder);
  });
}

std::string MacFileSystem::folderList() {
  std::string out;
  for (auto folder : kMacFolders) out += (out.empty() ? "" : ", ") + std::string(folder);
  return out;
}

std::string MacFileSystem::macPath(const fs::path& hostPath) const {
  fs::path host = normal(hostPath);
  fs::path base = normal(fsRoot());
  auto rel = host.lexically_relative(base);
  if (rel.empty() || *rel.begin() == "..") return hostPath.string();
  std::string mac = "/" + rel.string();
  for (auto folder : kMacFolders)
    if (hasPrefixFolder(mac, folder)) return mac;
  return hostPath.string();
}

std::optional<bool> MacFileSystem::volumeIsReadOnly(const std::string& macPath) const {
  std::error_code ec;
  if (!fs::exists(hostPath(macPath), ec)) return std::nullopt;
  std::string path = fs::path(macPath).lexically_normal().string();
  size_t best = 0;
  bool readOnly = false;  // the start-up volume
  for (const json& m : readMounts(folder_)) {
    std::string mount = mountPath(m);
    if (mount.empty()) continue;
    if (hasPrefixFolder(path, mount) && mount.size() > best) {
      best = mount.size();
      auto flag = m.find("readOnly");
      readOnly = flag != m.end() && flag->is_boolean() && flag->get<bool>();
    }
  }
  return readOnly;
}

bool MacFileSystem::isWritable(const std::string& macPath) const {
  auto host = hostPath(macPath);
  struct stat st {};
  if (stat(host.c_str(), &st) != 0 || access(host.c_str(), W_OK) != 0) return false;
  if (geteuid() == 0 && (st.st_mode & S_IWUSR) == 0) return false;
  return !volumeIsReadOnly(macPath).value_or(false);
}

bool MacFileSystem::mount(const std::string& macPath, bool readOnly) const {
  if (!inMacFolder(macPath)) return false;
  std::string path = normalMacPath(macPath);
  std::error_code ec;
  fs::create_directories(hostPath(path), ec);
  folder_.update(kVolumes, [&](std::optional<json>& file) {
    json mounts = json::array();
    for (const json& m : readMounts(folder_))
      if (mountPath(m) != path) mounts.push_back(m);
    mounts.push_back({{"path", path}, {"readOnly", readOnly}});
    file = json{{"mounts", mounts}};
  });
  return true;
}

bool MacFileSystem::unmount(const std::string& macPath) const {
  std::string path = normalMacPath(macPath);
  bool found = false;
  folder_.update(kVolumes, [&](std::optional<json>& file) {
    json mounts = json::array();
    for (const json& m : readMounts(folder_)) {
      if (mountPath(m) == path)
        found = true;
      else
        mounts.push_back(m);
    }
    file = json{{"mounts", mounts}};
  });
  return found;
}

std::optional<fs::path> MacFileSystem::moveToTrash(const fs::path& item, std::string& error) const {
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(item, ec))) {
    error = "The file \"" + item.filename().string() + "\" doesn't exist.";
    return std::nullopt;
  }
  fs::create_directories(trash(), ec);
  fs::path name = item.filename();
  fs::path target = trash() / name;
  for (int n = 2; fs::exists(fs::symlink_status(target, ec)); ++n)
    target = trash() / (name.stem().string() + " " + std::to_string(n) + name.extension().string());
  fs::rename(item, target, ec);
  if (ec == std::errc::cross_device_link) {
    // Another file system: copy, then remove the original, as Finder does.
    ec.clear();
    fs::copy(item, target, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (!ec) fs::remove_all(item, ec);
  }
  if (ec) {
    error = "\"" + item.filename().string() + "\" couldn't be moved to the Trash: " + ec.message();
    return std::nullopt;
  }
  return target;
}

}  // namespace quillon::sim
