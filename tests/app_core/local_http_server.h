#pragma once

// A web server on 127.0.0.1 for the feedback tests: it keeps every request
// (method, path, headers, body) and answers with a chosen status, or takes
// the request and never answers. Runs on the test's Qt event loop.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quillon::app::test {

class LocalHttpServer : public QObject {
 public:
  struct Request {
    std::string method;
    std::string path;
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
  };

  // 0: never answer.
  explicit LocalHttpServer(int status = 200) : status_(status) {
    connect(&server_, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) {
        connect(s, &QTcpSocket::readyRead, this, [this, s] { read(s); });
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
      }
    });
    server_.listen(QHostAddress::LocalHost);
  }

  std::string url() const { return "http://127.0.0.1:" + std::to_string(server_.serverPort()); }
  const std::vector<Request>& requests() const { return requests_; }
  void setStatus(int status) { status_ = status; }

  // An address where nothing listens: the connection is refused.
  static std::string refusedUrl() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const auto port = probe.serverPort();
    probe.close();
    return "http://127.0.0.1:" + std::to_string(port);
  }

 private:
  void read(QTcpSocket* s) {
    QByteArray& buffer = buffers_[s];
    buffer += s->readAll();
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0) return;
    Request r;
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    r.method = first.value(0).toStdString();
    r.path = first.value(1).toStdString();
    for (qsizetype i = 1; i < lines.size(); ++i) {
      const int colon = lines[i].indexOf(':');
      if (colon < 0) continue;
      r.headers[lines[i].left(colon).trimmed().toLower().toStdString()] =
          lines[i].mid(colon + 1).trimmed().toStdString();
    }
    const auto length = std::stoul(
        r.headers.count("content-length") != 0 ? r.headers["content-length"] : std::string("0"));
    if (static_cast<size_t>(buffer.size()) < end + 4 + length) return;
    r.body = buffer.mid(end + 4, static_cast<qsizetype>(length)).toStdString();
    buffers_.erase(s);
    requests_.push_back(r);
    if (status_ == 0) return;  // keeps the connection, says nothing
    s->write("HTTP/1.1 " + QByteArray::number(status_) +
             " Status\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
    s->disconnectFromHost();
  }

  QTcpServer server_;
  int status_;
  std::map<QTcpSocket*, QByteArray> buffers_;
  std::vector<Request> requests_;
};

// Runs the event loop until `done` or `ms` milliseconds have passed.
inline bool spinUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return done();
}

}  // namespace quillon::app::test
