#pragma once

#include <string>

namespace quillon::app::test {

// A config.json with both devices' required keys; `trackpadExtra` and
// `mouseExtra` are spliced into the device objects (",\"key\":value...").
inline std::string configText(const std::string& trackpadExtra = "",
                              const std::string& mouseExtra = "",
                              const std::string& mouseSpeed = "30") {
  return R"({"trackpad":{"mode":"mac","speed":10,"accel":0.6,"winSpeed":5,"scale":1,"natural":true)" +
         trackpadExtra + R"(},"mouse":{"mode":"mac","speed":)" + mouseSpeed +
         R"(,"accel":0.8,"winSpeed":10,"scale":1,"natural":false)" + mouseExtra + "}}";
}

}  // namespace quillon::app::test
