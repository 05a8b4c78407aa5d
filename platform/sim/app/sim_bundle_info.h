#pragma once

#include <filesystem>
#include <mutex>
#include <optional>

#include <nlohmann/json.hpp>

#include "quillon/platform/app_system.h"
#include "sim/app/mac_fs.h"

namespace quillon::sim {

// The running bundle: `X.app` when the executable is X.app/Contents/MacOS/
// <name>, else the executable's folder (as NSBundle.main for a bare tool).
std::filesystem::path bundleOfExecutable(const std::filesystem::path& executable);
// $QUILLON_SIM_BUNDLE, else the bundle of /proc/self/exe.
std::filesystem::path runningBundle();

// The main bundle and the machine. Identifier and version come from the
// bundle's Contents/Info.plist (read once); the model and the OS version
// text from machine.json ({"model":"MacBookPro18,3","osVersion":"Version
// 14.5 (Build 23F79)"}, those two when missing).
class SimBundleInfo : public platform::BundleInfo {
 public:
  SimBundleInfo(const SystemFolder& folder, const MacFileSystem& files,
                std::filesystem::path bundleHost)
      : folder_(folder), files_(files), host_(std::move(bundleHost)) {}
  std::string bundlePath() override { return files_.macPath(host_); }
  std::string bundleIdentifier() override;
  std::string shortVersion() override;
  std::optional<bool> volumeIsReadOnly(const std::string& path) override {
    return files_.volumeIsReadOnly(path);
  }
  bool isWritable(const std::string& path) override { return files_.isWritable(path); }
  std::string hardwareModel() override;
  std::string osVersionText() override;
  std::filesystem::path hostPath(const std::string& macPath) override {
    return files_.hostPath(macPath);
  }
  const std::filesystem::path& host() const { return host_; }

 private:
  std::string infoString(const char* key);
  std::string machineString(const char* key, const char* fallback);
  const SystemFolder& folder_;
  const MacFileSystem& files_;
  std::filesystem::path host_;
  std::once_flag infoRead_;
  nlohmann::json info_;
};

}  // namespace quillon::sim
