#include "sim/app/sim_bundle_info.h"

#include <cstdlib>

#include "sim/app/plist.h"

namespace quillon::sim {

namespace fs = std::filesystem;

fs::path bundleOfExecutable(const fs::path& executable) {
  fs::path macos = executable.parent_path();
  fs::path contents = macos.parent_path();
  fs::path bundle = contents.parent_path();
  if (macos.filename() == "MacOS" && contents.filename() == "Contents" &&
      bundle.extension() == ".app")
    return bundle;
  return macos;
}

fs::path runningBundle() {
  if (const char* b = std::getenv("QUILLON_SIM_BUNDLE"); b && *b) return b;
  std::error_code ec;
  return bundleOfExecutable(fs::read_symlink("/proc/self/exe", ec));
}

std::string SimBundleInfo::infoString(const char* key) {
  std::call_once(infoRead_, [this] {
    std::string error;
    info_ = readPlist(host_ / "Contents/Info.plist", error).value_or(nlohmann::json::object());
  });
  auto it = info_.is_object() ? info_.find(key) : info_.end();
  return it != info_.end() && it->is_string() ? it->get<std::string>() : "";
}

std::string SimBundleInfo::bundleIdentifier() {
  return infoString("CFBundleIdentifier");
}

std::string SimBundleInfo::shortVersion() {
  return infoString("CFBundleShortVersionString");
}

std::string SimBundleInfo::machineString(const char* key, const char* fallback) {
  auto machine = folder_.read("machine.json");
  if (machine && machine->is_object() && machine->contains(key) && (*machine)[key].is_string())
    return (*machine)[key].get<std::string>();
  return fallback;
}

std::string SimBundleInfo::hardwareModel() {
  return machineString("model", "MacBookPro18,3");
}

std::string SimBundleInfo::osVersionText() {
  return machineString("osVersion", "Version 14.5 (Build 23F79)");
}

}  // namespace quillon::sim
