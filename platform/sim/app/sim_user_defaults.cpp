#include "sim/app/sim_user_defaults.h"

#include <QByteArray>

namespace quillon::sim {

using nlohmann::json;

namespace {

json dataJson(const platform::UserDefaults::Data& bytes) {
  QByteArray raw(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  return {{"data", raw.toBase64().toStdString()}};
}

std::optional<platform::UserDefaults::Data> dataFrom(const json& v) {
  if (!v.is_object() || v.size() != 1 || !v.contains("data") || !v["data"].is_string())
    return std::nullopt;
  auto decoded = QByteArray::fromBase64Encoding(QByteArray::fromStdString(v["data"]),
                                                QByteArray::AbortOnBase64DecodingErrors);
  if (!decoded) return std::nullopt;
  return platform::UserDefaults::Data(decoded.decoded.begin(), decoded.decoded.end());
}

json readAll(const SystemFolder& folder) {
  auto file = folder.read(kDefaultsFile);
  return file && file->is_object() ? *file : json::object();
}

}  // namespace

bool removeDefaultsDomain(const SystemFolder& folder, const std::string& domain) {
  bool found = false;
  folder.update(kDefaultsFile, [&](std::optional<json>& file) {
    json all = readAll(folder);
    found = all.erase(domain) > 0;
    file = all;
  });
  return found;
}

json defaultsDomain(const SystemFolder& folder, const std::string& domain) {
  json all = readAll(folder);
  auto it = all.find(domain);
  return it != all.end() && it->is_object() ? *it : json();
}

json SimUserDefaults::value(const std::string& key) const {
  json domain = defaultsDomain(folder_, domain_);
  if (!domain.is_object()) return json();
  auto it = domain.find(key);
  return it == domain.end() ? json() : *it;
}

void SimUserDefaults::set(const std::string& key, const json& value) {
  folder_.update(kDefaultsFile, [&](std::optional<json>& file) {
    json all = readAll(folder_);
    json& domain = all[domain_];
    if (!domain.is_object()) domain = json::object();
    if (value.is_null())
      domain.erase(key);
    else
      domain[key] = value;
    file = all;
  });
  recorder_.add("defaults", {{"domain", domain_}, {"key", key}, {"value", value}});
}

std::optional<bool> SimUserDefaults::boolValue(const std::string& key) {
  json v = value(key);
  return v.is_boolean() ? std::optional(v.get<bool>()) : std::nullopt;
}

std::optional<int64_t> SimUserDefaults::intValue(const std::string& key) {
  json v = value(key);
  return v.is_number_integer() ? std::optional(v.get<int64_t>()) : std::nullopt;
}

std::optional<std::string> SimUserDefaults::stringValue(const std::string& key) {
  json v = value(key);
  return v.is_string() ? std::optional(v.get<std::string>()) : std::nullopt;
}

std::optional<platform::UserDefaults::Data> SimUserDefaults::dataValue(const std::string& key) {
  return dataFrom(value(key));
}

void SimUserDefaults::setBool(const std::string& key, bool value) {
  set(key, value);
}
void SimUserDefaults::setInt(const std::string& key, int64_t value) {
  set(key, value);
}
void SimUserDefaults::setString(const std::string& key, const std::string& value) {
  set(key, value);
}
void SimUserDefaults::setData(const std::string& key, const Data& value) {
  set(key, dataJson(value));
}
void SimUserDefaults::remove(const std::string& key) {
  set(key, json());
}

SimUserDefaultsStore::SimUserDefaultsStore(const SystemFolder& folder, Recorder& recorder,
                                           std::function<std::string()> domainName)
    : folder_(folder), recorder_(recorder), domainName_(std::move(domainName)) {}

platform::UserDefaults& SimUserDefaultsStore::standard() {
  // The bundle, and so the domain, stays the same for the process's life.
  if (!standard_) standard_ = std::make_unique<SimUserDefaults>(folder_, recorder_, domainName_());
  return *standard_;
}

std::unique_ptr<platform::UserDefaults> SimUserDefaultsStore::suite(const std::string& name) {
  // As UserDefaults(suiteName:): the app's own domain and the global one
  // are not suites.
  if (name.empty() || name == domainName_() || name == "NSGlobalDomain") return nullptr;
  return std::make_unique<SimUserDefaults>(folder_, recorder_, name);
}

void SimUserDefaultsStore::removeAppDomain() {
  std::string name = domainName_();
  bool found = removeDefaultsDomain(folder_, name);
  recorder_.add("removeDefaultsDomain", {{"domain", name}, {"found", found}});
}

}  // namespace quillon::sim
