#include "common/paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace quillon {

Paths Paths::forHome(const std::filesystem::path& home) {
  Paths p;
  p.home = home;
  p.supportDir = home / "Library" / "Application Support" / "Quillon";
  p.configFile = p.supportDir / "config.json";
  p.statusFile = p.supportDir / "status.json";
  p.logFile = home / "Library" / "Logs" / "Quillon.log";
  return p;
}

Paths Paths::current() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return forHome(home);
  }
  // Launch agents normally get HOME; the password database covers the rest.
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    return forHome(pw->pw_dir);
  }
  return forHome("/");
}

}  // namespace quillon
