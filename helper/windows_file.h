#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "helper/curve.h"

namespace quillon {

// A Windows measurement file: for some of Windows' speed settings, how far
// the pointer moved on the Windows screen per unit of hand movement at each
// hand speed. Only the keys below are read; every other key is ignored.
struct WindowsCurveFile {
  // "user_setting": a number, or an object with "pointer_speed" or
  // "cursor_speed".
  struct UserSetting {
    std::optional<double> value;
  };
  struct Screen {
    std::optional<double> widthMM;  // "width_mm"
    std::optional<double> widthPx;  // "width_px"
  };
  struct Mouse {
    std::optional<double> dpi;  // counts per inch during the measurement
  };
  // One measured speed setting. Rows with fewer than two numbers are dropped
  // when decoding; numbers after the second are ignored.
  struct C {
    std::optional<double> cursorSpeedSetting;   // touchpad
    std::optional<double> pointerSpeedSetting;  // mouse
    std::optional<double> pointerSpeed;         // mouse, older key
    std::optional<bool> enhancePointerPrecision;
    std::optional<CurvePoints> points;        // [speed, gain] in the file's units
    std::optional<CurvePoints> pointsCounts;  // [counts/s, Windows pixels per count]

    // The first present of the three setting keys.
    std::optional<double> namedSetting() const;
    // namedSetting(), or 0.
    double setting() const { return namedSetting().value_or(0); }
  };

  std::optional<UserSetting> userSetting;
  std::optional<Screen> screen;
  std::optional<Mouse> mouse;
  std::vector<C> curves;

  // Windows screen pixels per millimetre, when both widths are positive.
  std::optional<double> pixelsPerMM() const;
};

// Measurement files are a few kilobytes; anything past this is not one.
constexpr size_t kMaxWindowsFileBytes = size_t{16} << 20;

// Strict decoding: null counts as absent for optional keys, "curves" is
// required, and a wrong JSON type for any key that is read fails the whole
// file. Throws CurveError with a description of the first problem.
WindowsCurveFile decodeWindowsFile(std::string_view text);

}  // namespace quillon
