#include "helper/log.h"

#include <ctime>
#include <string>

namespace quillon {

namespace {
std::FILE* gStream = nullptr;  // null: standard output, wherever it points now
}

void setLogStream(std::FILE* stream) {
  gStream = stream;
}

void logLine(std::string_view message) {
  // tzset each time: the Mac may have changed time zone since the last line.
  tzset();
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  // Room for any stamp: the year, an int, takes at most 11 characters, so
  // the whole stamp at most 26; it is never cut.
  char stamp[32];
  size_t n = std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);

  // One buffer, one write: a line is never interleaved with other output.
  std::string line;
  line.reserve(n + message.size() + 4);
  line.append("[").append(stamp, n).append("] ").append(message).append("\n");
  std::FILE* out = gStream != nullptr ? gStream : stdout;
  std::fwrite(line.data(), 1, line.size(), out);
  std::fflush(out);
}

}  // namespace quillon
