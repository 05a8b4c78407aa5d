#pragma once

// A web server on 127.0.0.1 for the feedback tests: it keeps every request
// (method, path, headers, body) and answers with a chosen status, or takes
// the request and never answers. The answer may point elsewhere (a
// redirect), stop in the middle of its body, or trickle out a byte at a
// time without ever ending. Runs on the test's Qt event loop.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <functional>
#include <map>
#include <set>
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

  // How the answer's body goes out: whole; cut off, the connection closed
  // after 2 of the 100 bytes its header announces; or a byte every few
  // milliseconds of a body too long ever to end, until the client leaves.
  enum class Delivery { whole, cutOff, trickle };

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
  void setDelivery(Delivery d) { delivery_ = d; }
  // The answer carries "Location: path"; a request for `path` gets 200.
  void setRedirect(const std::string& path) { redirect_ = path; }
  // Bytes trickled so far, and whether a client is still there to get more.
  int trickled() const { return trickled_; }
  bool trickling() const { return !trickling_.empty(); }

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
    const bool moved = !redirect_.empty() && r.path == redirect_;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(moved ? 200 : status_) + " Status\r\n";
    if (!redirect_.empty() && !moved)
      head += "Location: " + QByteArray::fromStdString(redirect_) + "\r\n";
    switch (moved ? Delivery::whole : delivery_) {
      case Delivery::whole:
        s->write(head + "Content-Length: 2\r\nConnection: close\r\n\r\nok");
        s->disconnectFromHost();
        break;
      case Delivery::cutOff:
        s->write(head + "Content-Length: 100\r\nConnection: close\r\n\r\nok");
        s->disconnectFromHost();
        break;
      case Delivery::trickle:
        s->write(head + "Content-Length: 1000000000\r\n\r\n");
        trickle(s);
        break;
    }
  }

  void trickle(QTcpSocket* s) {
    trickling_.insert(s);
    connect(s, &QTcpSocket::disconnected, this, [this, s] { trickling_.erase(s); });
    auto* timer = new QTimer(s);
    connect(timer, &QTimer::timeout, s, [this, s] {
      if (s->state() != QAbstractSocket::ConnectedState) return;
      s->write("x");
      ++trickled_;
    });
    timer->start(5);
  }

  int status_;
  Delivery delivery_ = Delivery::whole;
  std::string redirect_;
  int trickled_ = 0;
  std::set<QTcpSocket*> trickling_;
  std::map<QTcpSocket*, QByteArray> buffers_;
  std::vector<Request> requests_;
  // Last, so that it goes first: its sockets may still report their end.
  QTcpServer server_;
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
