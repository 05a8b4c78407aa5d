// decodeConfig on arbitrary bytes: it must never crash, and whatever it
// accepts must survive the app's writer unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/config.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  quillon::Config config;
  try {
    config = quillon::decodeConfig(text);
  } catch (const quillon::ConfigError&) {
    return 0;
  }
  std::string written = quillon::encodeConfig(config);
  try {
    if (!(quillon::decodeConfig(written) == config)) std::abort();
  } catch (const quillon::ConfigError&) {
    std::abort();  // the writer produced a file its own reader rejects
  }
  return 0;
}
