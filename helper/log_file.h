#pragma once

#include <cstdint>
#include <filesystem>

#include "common/paths.h"

namespace quillon {

// A log file larger than this is deleted when `run` starts, so the log
// never grows without bound across restarts.
constexpr std::uintmax_t kMaxLogBytes = 1'000'000;

// Deletes `logFile` if it is larger than kMaxLogBytes and creates its folder.
// Failures are ignored: the helper runs without a log rather than not at all.
void tidyLogFile(const std::filesystem::path& logFile);

// Points standard output and standard error at `logFile`, appending. Never
// waits: when the file cannot be opened without waiting, or is not a regular
// file (a FIFO, a device), standard error stays where it was and standard
// output, the log lines, goes there too.
void redirectOutputTo(const std::filesystem::path& logFile);

// The first two things `run` does: tidyLogFile, then redirectOutputTo.
void setUpLog(const Paths& paths);

}  // namespace quillon
