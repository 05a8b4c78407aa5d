#include "app/core/feedback.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <array>
#include <utility>

#ifndef QUILLON_FEEDBACK_URL
#error "QUILLON_FEEDBACK_URL names the feedback service (CMake cache variable)"
#endif

namespace quillon::app::Feedback {
namespace {

std::string& testUrl() {
  static std::string address;
  return address;
}

// One manager for the app's life, owned by the application object so that
// it goes before Qt does.
QNetworkAccessManager& manager() {
  static QPointer<QNetworkAccessManager> m;
  if (!m) m = new QNetworkAccessManager(QCoreApplication::instance());
  return *m;
}

int& timeLimitMs() {
  static int ms = kTimeoutMs;
  return ms;
}

QString text(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

std::string url() {
  return testUrl().empty() ? std::string(QUILLON_FEEDBACK_URL) : testUrl();
}

bool setUrlForTests(const std::string& address) {
  if (address.empty()) {
    testUrl().clear();
    return true;
  }
  const QUrl u(text(address), QUrl::StrictMode);
  const QString host = u.host();
  const bool local = host == QLatin1String("127.0.0.1") || host == QLatin1String("::1") ||
                     host == QLatin1String("localhost");
  const bool web = u.scheme() == QLatin1String("http") || u.scheme() == QLatin1String("https");
  if (!u.isValid() || !local || !web) return false;
  testUrl() = address;
  return true;
}

void setTimeLimitForTests(int ms) {
  timeLimitMs() = ms > 0 ? ms : kTimeoutMs;
}

std::string body(Env& env, const Message& m) {
  QJsonArray reasons;
  for (const std::string& r : m.reasons) reasons.append(text(r));
  const std::string version = env.sys.bundle.shortVersion();
  const QJsonObject object{
      {QStringLiteral("kind"), text(m.kind)},
      {QStringLiteral("message"), text(m.message)},
      {QStringLiteral("email"), text(m.email)},
      {QStringLiteral("reasons"), reasons},
      {QStringLiteral("version"), text(version.empty() ? "?" : version)},
      {QStringLiteral("macos"), text(env.sys.bundle.osVersionText())},
      {QStringLiteral("model"), text(macName(env.sys.bundle.hardwareModel()))},
  };
  return QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString();
}

void send(Env& env, const Message& m, QObject* context, std::function<void(bool)> done) {
  QNetworkRequest request{QUrl(text(url()))};
  // A redirect is not the service taking the message: 301 to 303 would be
  // followed as a GET without the body, 307 and 308 would post the body to
  // an address nobody chose. So none is followed, and a 3xx counts as failed.
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::ManualRedirectPolicy);
  request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
  request.setRawHeader("X-Quillon", "1");
  QNetworkReply* reply = manager().post(request, QByteArray::fromStdString(body(env, m)));
  // One limit over the whole request, not Qt's transfer time-out: that one
  // counts only the time since the last bytes moved, so a server sending a
  // byte now and then would hold the request, and an uninstall waiting for
  // it, for as long as it liked.
  auto* limit = new QTimer(reply);
  limit->setSingleShot(true);
  QObject::connect(limit, &QTimer::timeout, reply, &QNetworkReply::abort);
  limit->start(timeLimitMs());
  // The reply goes once finished, also when nobody is left to answer.
  QObject::connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
  QObject::connect(
      reply, &QNetworkReply::finished, context ? context : reply, [reply, done = std::move(done)] {
        // Sent only when the whole answer came: a reply cut off by the
        // network, or ended by the limit, keeps its status code but failed.
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        done(reply->error() == QNetworkReply::NoError && status.isValid() && status.toInt() == 200);
      });
}

std::string macName(const std::string& modelIdentifier) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kFamilies = {{
      {"MacBookAir", "MacBook Air"},
      {"MacBookPro", "MacBook Pro"},
      {"Macmini", "Mac mini"},
      {"iMac", "iMac"},
      {"MacPro", "Mac Pro"},
      {"Mac", "Mac"},
  }};
  size_t letters = 0;
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  while (letters < modelIdentifier.size() && letter(modelIdentifier[letters])) ++letters;
  const std::string_view family(modelIdentifier.data(), letters);
  std::string_view name = "Mac";
  for (const auto& [prefix, readable] : kFamilies) {
    if (family == prefix) name = readable;
  }
  return std::string(name) + " (" + modelIdentifier + ")";
}

}  // namespace quillon::app::Feedback
