#include "helper/windows_file.h"

#include <string>

#include <nlohmann/json.hpp>

#include "common/utf8.h"
#include "helper/errors.h"

namespace quillon {

using nlohmann::json;

std::optional<double> WindowsCurveFile::C::namedSetting() const {
  if (cursorSpeedSetting) return cursorSpeedSetting;
  if (pointerSpeedSetting) return pointerSpeedSetting;
  return pointerSpeed;
}

std::optional<double> WindowsCurveFile::pixelsPerMM() const {
  if (!screen || !screen->widthPx || !screen->widthMM) return std::nullopt;
  if (!(*screen->widthPx > 0) || !(*screen->widthMM > 0)) return std::nullopt;
  return *screen->widthPx / *screen->widthMM;
}

namespace {

// Real files are four levels deep; a deeper one is refused while parsing,
// before a pile of '[' can take gigabytes.
constexpr int kMaxDepth = 32;

[[noreturn]] void wrongType(const std::string& path, const char* expected, const json& found) {
  fail("The Windows file has the wrong type at " + path + ": expected " + expected + ", found " +
       found.type_name());
}

// The value of `key` in `object`, or null when the key is absent.
const json& member(const json& object, const char* key) {
  static const json absent;
  const auto it = object.find(key);
  return it == object.end() ? absent : *it;
}

std::optional<double> optionalNumber(const json& object, const char* key, const std::string& path) {
  const json& v = member(object, key);
  if (v.is_null()) return std::nullopt;
  if (!v.is_number()) wrongType(path + "/" + key, "number", v);
  return v.get<double>();
}

std::optional<bool> optionalBool(const json& object, const char* key, const std::string& path) {
  const json& v = member(object, key);
  if (v.is_null()) return std::nullopt;
  if (!v.is_boolean()) wrongType(path + "/" + key, "boolean", v);
  return v.get<bool>();
}

const json* optionalObject(const json& object, const char* key, const std::string& path) {
  const json& v = member(object, key);
  if (v.is_null()) return nullptr;
  if (!v.is_object()) wrongType(path + "/" + key, "object", v);
  return &v;
}

// Every row must be an array of numbers; rows of fewer than two are skipped.
std::optional<CurvePoints> optionalRows(const json& object, const char* key,
                                        const std::string& parent) {
  const json& rows = member(object, key);
  if (rows.is_null()) return std::nullopt;
  const std::string path = parent + "/" + key;
  if (!rows.is_array()) wrongType(path, "array", rows);
  CurvePoints points;
  points.reserve(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const json& row = rows[i];
    const std::string rowPath = path + "/" + std::to_string(i);
    if (!row.is_array()) wrongType(rowPath, "array", row);
    for (size_t k = 0; k < row.size(); ++k) {
      if (!row[k].is_number()) wrongType(rowPath + "/" + std::to_string(k), "number", row[k]);
    }
    if (row.size() >= 2) points.emplace_back(row[0].get<double>(), row[1].get<double>());
  }
  return points;
}

// A number, or an object whose "pointer_speed", else "cursor_speed", is a
// number. Inside the object a value of another type just gives no setting.
std::optional<WindowsCurveFile::UserSetting> userSetting(const json& root) {
  const json& v = member(root, "user_setting");
  if (v.is_null()) return std::nullopt;
  if (v.is_number()) return WindowsCurveFile::UserSetting{v.get<double>()};
  if (!v.is_object()) wrongType("/user_setting", "number or object", v);
  for (const char* key : {"pointer_speed", "cursor_speed"}) {
    const json& s = member(v, key);
    if (s.is_number()) return WindowsCurveFile::UserSetting{s.get<double>()};
  }
  return WindowsCurveFile::UserSetting{};
}

WindowsCurveFile::C curve(const json& c, const std::string& path) {
  if (!c.is_object()) wrongType(path, "object", c);
  WindowsCurveFile::C out;
  out.cursorSpeedSetting = optionalNumber(c, "cursor_speed_setting", path);
  out.pointerSpeedSetting = optionalNumber(c, "pointer_speed_setting", path);
  out.pointerSpeed = optionalNumber(c, "pointer_speed", path);
  out.enhancePointerPrecision = optionalBool(c, "enhance_pointer_precision", path);
  out.points = optionalRows(c, "points", path);
  out.pointsCounts = optionalRows(c, "points_counts", path);
  return out;
}

json parse(std::string_view text) {
  const json::parser_callback_t limitDepth = [](int depth, json::parse_event_t, json&) {
    if (depth > kMaxDepth) fail("The Windows file is nested too deeply");
    return true;
  };
  try {
    return json::parse(text.begin(), text.end(), limitDepth);
  } catch (const json::exception& e) {
    fail(validUTF8(e.what()));  // its quote of the input may end inside a character
  }
}

}  // namespace

WindowsCurveFile decodeWindowsFile(std::string_view text) {
  const json root = parse(text);
  if (!root.is_object()) wrongType("/", "object", root);

  WindowsCurveFile file;
  file.userSetting = userSetting(root);
  if (const json* s = optionalObject(root, "screen", "")) {
    file.screen = WindowsCurveFile::Screen{optionalNumber(*s, "width_mm", "/screen"),
                                           optionalNumber(*s, "width_px", "/screen")};
  }
  if (const json* m = optionalObject(root, "mouse", "")) {
    file.mouse = WindowsCurveFile::Mouse{optionalNumber(*m, "dpi", "/mouse")};
  }
  const json& curves = member(root, "curves");
  if (curves.is_null()) fail("The Windows file has no \"curves\"");
  if (!curves.is_array()) wrongType("/curves", "array", curves);
  file.curves.reserve(curves.size());
  for (size_t i = 0; i < curves.size(); ++i) {
    file.curves.push_back(curve(curves[i], "/curves/" + std::to_string(i)));
  }
  return file;
}

}  // namespace quillon
