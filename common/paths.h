#pragma once

#include <filesystem>

namespace quillon {

// The well-known paths under the current user's home folder.
struct Paths {
  std::filesystem::path home;
  std::filesystem::path supportDir;  // Library/Application Support/Quillon
  std::filesystem::path configFile;  // supportDir/config.json
  std::filesystem::path statusFile;  // supportDir/status.json
  std::filesystem::path logFile;     // Library/Logs/Quillon.log

  static Paths forHome(const std::filesystem::path& home);
  // From $HOME, else the password database.
  static Paths current();
};

}  // namespace quillon
