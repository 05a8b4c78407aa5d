#pragma once

#include <cstdio>
#include <string_view>

namespace quillon {

// "[yyyy-MM-dd HH:mm:ss] message\n" in local time, flushed at once. Main
// thread only. Goes to standard output, which `run` reopens on the log file;
// tests may point it elsewhere.
void logLine(std::string_view message);
void setLogStream(std::FILE* stream);

}  // namespace quillon
