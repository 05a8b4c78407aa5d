#include "helper/reload.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <string>
#include <utility>

#include "common/atomic_file.h"
#include "common/utf8.h"
#include "helper/format.h"
#include "helper/log.h"

namespace quillon {

namespace {

constexpr const char* kNaturalScrollingKey = "com.apple.swipescrolldirection";

void logUnreadable(const std::string& reason) {
  logLine("config.json unreadable, using defaults: " + reason);
}

// The file's text, or nullopt with `problem` empty when there is no file
// (or we may not read it) and set when the file is there but is no
// configuration: a folder, a FIFO, a symbolic link loop, a huge file.
std::optional<std::string> readConfigText(const std::filesystem::path& path, std::string& problem) {
  FileRead read = readFile(path, kMaxConfigBytes);
  switch (read.status) {
    case FileRead::Status::ok:
      return std::move(read.content);
    case FileRead::Status::missing:
      break;
    case FileRead::Status::unreadable: {
      struct stat st {};
      if (::stat(path.c_str(), &st) != 0 && errno == ELOOP) {
        problem = std::strerror(ELOOP);
      }
      break;
    }
    case FileRead::Status::notRegularFile:
    case FileRead::Status::tooLarge:
      problem = describe(read.status, kMaxConfigBytes);
      break;
  }
  return std::nullopt;
}

Config readConfig(const std::filesystem::path& path) {
  std::string problem;
  const std::optional<std::string> text = readConfigText(path, problem);
  if (!text) {
    if (!problem.empty()) {
      logUnreadable(problem);
    }
    return Config{};
  }
  // The decoder would refuse such a file too, but in its own words, which
  // quote the bytes it choked on.
  if (!isUTF8(*text)) {
    logUnreadable("the file is not UTF-8 text");
    return Config{};
  }
  try {
    return decodeConfig(*text);
  } catch (const ConfigError& e) {
    logUnreadable(e.message);
    return Config{};
  }
}

std::shared_ptr<const Curve> buildCurve(const CurveBuilder& build, const DeviceConfig& config,
                                        Device device) {
  try {
    if (std::optional<Curve> curve = build(config, device)) {
      return std::make_shared<const Curve>(std::move(*curve));
    }
  } catch (const std::exception& e) {
    logLine(std::string(e.what()) + "; " + std::string(deviceKey(device)) + " left to macOS");
  }
  return nullptr;
}

const char* onOff(bool on) {
  return on ? "on" : "off";
}

std::string settingsLine(const Curve* trackpad, const Curve* mouse, const Config& config,
                         const ScrollPrefs& tpScroll, const ScrollPrefs& mouseScroll,
                         bool globalNatural) {
  // Any finite speed is valid, and %.2f of a large one runs to hundreds of
  // digits: formatC sizes the text to fit (and keeps the C locale's point).
  const std::string speeds =
      formatC("scroll speed trackpad %.2f×, mouse %.2f×", tpScroll.speed, mouseScroll.speed);
  return "settings: " + (trackpad ? trackpad->summary : std::string("trackpad: macOS")) + " | " +
         (mouse ? mouse->summary : std::string("mouse: macOS")) + " | natural scrolling trackpad " +
         onOff(config.trackpad.natural) + ", mouse " + onOff(config.mouse.natural) +
         " (macOS: " + onOff(globalNatural) + ") | scroll acceleration trackpad " +
         onOff(!tpScroll.accelOff) + ", mouse " + onOff(!mouseScroll.accelOff) + " | " + speeds;
}

bool readGlobalNatural(platform::Preferences& preferences) {
  const std::optional<platform::PrefValue> value = preferences.globalValue(kNaturalScrollingKey);
  if (value && std::holds_alternative<bool>(*value)) {
    return std::get<bool>(*value);
  }
  return true;
}

}  // namespace

std::optional<FileStamp> fileStamp(const std::filesystem::path& path) {
  struct stat st {};
  // A symbolic link loop has no date of its own target; the link's date
  // keeps it apart from a missing file, so that one replacing the other is
  // a change.
  if (::stat(path.c_str(), &st) != 0 && (errno != ELOOP || ::lstat(path.c_str(), &st) != 0)) {
    return std::nullopt;
  }
#if defined(__APPLE__)
  const timespec mtime = st.st_mtimespec;
#else
  const timespec mtime = st.st_mtim;
#endif
  return FileStamp{static_cast<int64_t>(mtime.tv_sec) * 1'000'000'000 + mtime.tv_nsec,
                   static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
                   static_cast<uint64_t>(st.st_size)};
}

void reloadConfig(HelperState& state, bool force) {
  reloadConfig(state, force, [](const DeviceConfig& config, Device device) {
    return makeCurve(config, device, std::nullopt);
  });
}

void reloadConfig(HelperState& state, bool force, const CurveBuilder& build) {
  MainState& main = state.main;
  const std::optional<FileStamp> stamp = fileStamp(state.paths.configFile);
  main.globalNatural = readGlobalNatural(state.system.preferences);
  if (!force && stamp == main.configDate) {
    return;
  }
  main.configDate = stamp;

  Config config = readConfig(state.paths.configFile);
  std::shared_ptr<const Curve> trackpad = buildCurve(build, config.trackpad, Device::trackpad);
  std::shared_ptr<const Curve> mouse = buildCurve(build, config.mouse, Device::mouse);
  ScrollPrefs tpScroll = scrollPrefs(config.trackpad);
  ScrollPrefs mouseScroll = scrollPrefs(config.mouse);
  const double cpmm = mouseCPMM(config.mouse);
  const std::string line =
      settingsLine(trackpad.get(), mouse.get(), config, tpScroll, mouseScroll, main.globalNatural);
  main.mouseActive = mouse != nullptr;

  // Swaps only: nothing is allocated or freed while the lock is held, and the
  // old values come back out into the locals.
  {
    std::lock_guard<FastLock> guard(state.lock);
    Guarded& g = state.shared;
    std::swap(g.config, config);
    std::swap(g.trackpadCurve, trackpad);
    std::swap(g.mouseCurve, mouse);
    std::swap(g.trackpadScroll, tpScroll);
    std::swap(g.mouseScroll, mouseScroll);
    g.mouseCPMM = cpmm;
  }

  // The previous curves are freed here on the main thread once nobody else
  // holds them; one still held by the contact thread waits for a later reload.
  for (auto* old : {&trackpad, &mouse}) {
    if (*old) {
      main.retiredCurves.push_back(std::move(*old));
    }
  }
  std::erase_if(main.retiredCurves, [](const auto& curve) { return curve.use_count() == 1; });

  logLine(line);
}

}  // namespace quillon
