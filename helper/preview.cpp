#include "helper/preview.h"

#include <cmath>
#include <exception>
#include <optional>
#include <string_view>
#include <utility>

#include "common/config.h"
#include "common/decimal_text.h"
#include "helper/curve.h"
#include "helper/usage.h"

namespace quillon {

namespace {

// A number is a whole decimal floating-point text, read in the C locale
// whatever the process's locale. "nan", "inf" and texts that overflow or
// underflow a double ("1e999") are not numbers: they name no usable setting.
std::optional<double> parseNumber(std::string_view text) {
  if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+') text.remove_prefix(1);
  const std::optional<double> value = parseDecimal(text);
  if (!value || !std::isfinite(*value)) return std::nullopt;
  return value;
}

struct Request {
  DeviceConfig config;
  Device device = Device::trackpad;
  std::optional<std::string> windowsPath;
};

// Whatever the device, so that a mouse preview without --speed uses 10, not
// the mouse's own default.
DeviceConfig startingConfig() {
  DeviceConfig c;
  c.mode = "mac";
  c.speed = 10;
  c.accel = 0.6;
  c.winSpeed = 5;
  c.scale = 1;
  c.natural = true;
  return c;
}

// A value that is not a number keeps the field as it was: its starting value
// for the required fields, absent for the optional ones.
void setNumber(double& field, const std::string& text) {
  if (auto v = parseNumber(text)) field = *v;
}
void setNumber(std::optional<double>& field, const std::string& text) {
  if (auto v = parseNumber(text)) field = *v;
}

using Setter = void (*)(Request&, const std::string&);

constexpr std::pair<std::string_view, Setter> kOptions[] = {
    {"--device",
     [](Request& r, const std::string& v) {
       r.device = v == "mouse" ? Device::mouse : Device::trackpad;
     }},
    {"--mode", [](Request& r, const std::string& v) { r.config.mode = v; }},
    {"--speed", [](Request& r, const std::string& v) { setNumber(r.config.speed, v); }},
    {"--accel", [](Request& r, const std::string& v) { setNumber(r.config.accel, v); }},
    {"--win-speed", [](Request& r, const std::string& v) { setNumber(r.config.winSpeed, v); }},
    {"--scale", [](Request& r, const std::string& v) { setNumber(r.config.scale, v); }},
    {"--match", [](Request& r, const std::string& v) { r.config.match = v; }},
    {"--windows", [](Request& r, const std::string& v) { r.windowsPath = v; }},
    {"--shape", [](Request& r, const std::string& v) { setNumber(r.config.shape, v); }},
    {"--threshold", [](Request& r, const std::string& v) { setNumber(r.config.threshold, v); }},
    {"--max-boost", [](Request& r, const std::string& v) { setNumber(r.config.maxBoost, v); }},
    {"--dpi", [](Request& r, const std::string& v) { setNumber(r.config.dpi, v); }},
    {"--win-dpi", [](Request& r, const std::string& v) { setNumber(r.config.winDpi, v); }},
    {"--accel-off",
     [](Request& r, const std::string& v) { r.config.accelOff = v == "1" || v == "true"; }},
};

Setter findOption(std::string_view word) {
  for (const auto& [name, setter] : kOptions) {
    if (name == word) return setter;
  }
  return nullptr;
}

int printLine(std::FILE* out, const std::string& line, int status) {
  std::fputs(line.c_str(), out);
  std::fputc('\n', out);
  std::fflush(out);
  return status;
}

}  // namespace

int runPreview(const std::vector<std::string>& options, Screens& screens, std::FILE* out) {
  Request request{startingConfig(), Device::trackpad, std::nullopt};
  for (size_t i = 0; i < options.size(); i += 2) {
    const Setter set = findOption(options[i]);
    if (set == nullptr || i + 1 == options.size()) {
      std::fputs(usageText(), out);
      std::fflush(out);
      return 1;
    }
    set(request, options[i + 1]);
  }

  std::optional<Curve> curve;
  try {
    curve = makeCurve(request.config, request.device, request.windowsPath);
  } catch (const std::exception& e) {
    return printLine(out, e.what(), 1);
  }
  if (!curve) return printLine(out, R"({"points":[]})", 0);

  const double vmax = request.device == Device::mouse ? 800 : 400;  // mm/s
  constexpr int kSteps = 40;
  const DisplayInfo display = screens.displayInfo();
  // The summary holds only fixed words and numbers, so it needs no escaping.
  std::string line = R"({"summary":")" + curve->summary + R"(","points":[)";
  for (int i = 0; i <= kSteps; ++i) {
    // vmax * i / 40 rather than i steps of vmax / 40: the last sample is
    // exactly vmax and every one prints in its shortest form.
    const double v = vmax * i / kSteps;
    if (i > 0) line += ',';
    line += previewRow(v, curve->ptsPerMM(v, display));
  }
  line += "]}";
  return printLine(out, line, 0);
}

}  // namespace quillon
