#include "sim/app/plist.h"

#include <QString>
#include <QXmlStreamReader>

#include "common/atomic_file.h"

namespace quillon::sim {

using nlohmann::json;

namespace {

constexpr size_t kMaxPlistBytes = 1 << 20;
// The reader recurses once per array or dictionary: a limit keeps a
// hostile list from running it out of stack. launchd's lists nest 2 deep.
constexpr int kMaxPlistDepth = 128;

class PlistReader {
 public:
  explicit PlistReader(const std::string& xml) : xml_(QByteArray::fromStdString(xml)) {}

  std::optional<json> read(std::string& error) {
    if (!nextElement() || xml_.name() != u"plist") return fail(error, "no <plist> element");
    if (!nextElement()) return fail(error, "empty <plist>");
    auto value = readValue();
    if (!value) return fail(error, error_);
    // Only </plist> may follow the one value.
    while (!xml_.atEnd()) {
      xml_.readNext();
      if (xml_.isStartElement()) return fail(error, "more than one value in <plist>");
    }
    if (xml_.hasError()) return fail(error, xml_.errorString().toStdString());
    return value;
  }

 private:
  std::optional<json> fail(std::string& error, const std::string& why) {
    error = xml_.hasError() ? xml_.errorString().toStdString() : why;
    if (xml_.hasError()) error += " at line " + std::to_string(xml_.lineNumber());
    return std::nullopt;
  }

  // Moves to the next start element inside the current one; false at its end.
  bool nextElement() { return xml_.readNextStartElement(); }

  std::optional<json> bad(const std::string& why) {
    error_ = why + " at line " + std::to_string(xml_.lineNumber());
    return std::nullopt;
  }

  std::optional<json> readValue() {
    auto name = xml_.name().toString().toStdString();
    if (name == "dict" || name == "array") {
      if (depth_ == kMaxPlistDepth)
        return bad("arrays and dictionaries nested more than " + std::to_string(kMaxPlistDepth) +
                   " deep");
      ++depth_;
      auto value = name == "dict" ? readDict() : readArray();
      --depth_;
      return value;
    }
    if (name == "true" || name == "false") {
      xml_.skipCurrentElement();
      return json(name == "true");
    }
    QString text = xml_.readElementText();
    if (xml_.hasError()) return bad(xml_.errorString().toStdString());
    if (name == "string" || name == "date") return json(text.toStdString());
    if (name == "data") return json(text.simplified().remove(' ').toStdString());
    bool ok = false;
    if (name == "integer") {
      qlonglong v = text.trimmed().toLongLong(&ok);
      if (!ok) return bad("bad <integer> \"" + text.toStdString() + "\"");
      return json(static_cast<int64_t>(v));
    }
    if (name == "real") {
      double v = text.trimmed().toDouble(&ok);
      if (!ok) return bad("bad <real> \"" + text.toStdString() + "\"");
      return json(v);
    }
    return bad("unknown element <" + name + ">");
  }

  std::optional<json> readDict() {
    json dict = json::object();
    while (nextElement()) {
      if (xml_.name() != u"key") return bad("<dict> holds a value without a <key>");
      std::string key = xml_.readElementText().toStdString();
      if (!nextElement()) return bad("<key>" + key + "</key> has no value");
      auto value = readValue();
      if (!value) return std::nullopt;
      dict[key] = std::move(*value);
    }
    if (xml_.hasError()) return bad(xml_.errorString().toStdString());
    return dict;
  }

  std::optional<json> readArray() {
    json array = json::array();
    while (nextElement()) {
      auto value = readValue();
      if (!value) return std::nullopt;
      array.push_back(std::move(*value));
    }
    if (xml_.hasError()) return bad(xml_.errorString().toStdString());
    return array;
  }

  QXmlStreamReader xml_;
  std::string error_;
  int depth_ = 0;
};

}  // namespace

std::optional<json> parsePlist(const std::string& xml, std::string& error) {
  return PlistReader(xml).read(error);
}

std::optional<json> readPlist(const std::filesystem::path& file, std::string& error) {
  FileRead in = readFile(file, kMaxPlistBytes);
  if (!in.ok()) {
    error = file.string() + ": " + describe(in.status, kMaxPlistBytes);
    return std::nullopt;
  }
  auto value = parsePlist(in.content, error);
  if (!value) error = file.string() + ": " + error;
  return value;
}

}  // namespace quillon::sim
