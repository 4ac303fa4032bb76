// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "ui/qt/NetIpLookup.h"

namespace lumeno::test {
namespace {

// A web server on loopback: one fixed reply, or none, or a body trickled a byte at a time without
// end, or flooded (up to 64 MB, so that a lookup that takes it all cannot take the machine's memory).
class LocalServer {
 public:
  enum class Kind { Reply, Silent, Trickle, Flood };

  explicit LocalServer(QByteArray reply, Kind kind = Kind::Reply) : reply_(std::move(reply)), kind_(kind) {
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        if (kind_ == Kind::Silent) continue;  // keep the connection open, say nothing
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
          if (!socket->readAll().contains("\r\n\r\n")) return;
          if (kind_ == Kind::Reply) {
            socket->write(reply_);
            socket->disconnectFromHost();
            return;
          }
          socket->write("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
          if (kind_ == Kind::Flood) {
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [socket, sent = qint64{0}]() mutable {
              if (socket->bytesToWrite() > 0 || sent >= (qint64{64} << 20)) return;
              sent += socket->write(QByteArray(1 << 20, '1'));
            });
            return;
          }
          auto* trickle = new QTimer(socket);
          QObject::connect(trickle, &QTimer::timeout, socket, [socket] { socket->write("1"); });
          trickle->start(30);
        });
      }
    });
    server_.listen(QHostAddress::LocalHost, 0);
  }
  [[nodiscard]] QUrl url() const {
    return QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(server_.serverPort()));
  }

 private:
  QByteArray reply_;
  Kind kind_;
  QTcpServer server_;
};

QString lookUp(const QUrl& url, std::chrono::milliseconds timeout) {
  app::NetIpLookup lookup(url, timeout);
  QSignalSpy done(&lookup, &app::NetIpLookup::finished);
  lookup.start();
  EXPECT_TRUE(lookup.isRunning());
  bool loopRan = false;  // the request runs in the background: every timer goes on meanwhile
  QTimer::singleShot(0, [&] { loopRan = true; });
  EXPECT_TRUE(done.wait(10000));
  EXPECT_TRUE(loopRan);
  return done.isEmpty() ? QString() : done.first().first().toString();
}

// The deadline counts from the start, not from the last byte; an answer longer than any address
// is refused at once.
TEST(NetIpLookup, ASilentTricklingOrFloodingServerEndsTheLookupWithAMessage) {
  const QString late = QStringLiteral("The Net IP could not be found: the service did not answer in time.");
  for (const LocalServer::Kind kind : {LocalServer::Kind::Silent, LocalServer::Kind::Trickle}) {
    LocalServer server({}, kind);
    EXPECT_EQ(lookUp(server.url(), std::chrono::milliseconds(300)), late);
  }
  LocalServer flood({}, LocalServer::Kind::Flood);
  EXPECT_EQ(
      lookUp(flood.url(), std::chrono::hours(1)),
      QStringLiteral("The Net IP could not be found: the service gave an answer that is not an address."));
  EXPECT_EQ(app::NetIpLookup(flood.url()).deadline().interval(), 8000);
}

TEST(NetIpLookup, TheMenuCommandShowsTheAnswerInAMessageBox) {
  LocalServer server("HTTP/1.1 200 OK\r\nContent-Length: 13\r\nConnection: close\r\n\r\n198.51.100.23");
  MainWindowFixture f;
  f.seams.netIpService = server.url();
  auto& w = f.window();
  QSignalSpy done(&w.netIpLookup(), &app::NetIpLookup::finished);
  w.findChild<QAction*>(QStringLiteral("mnunetip"))->trigger();
  w.findChild<QAction*>(QStringLiteral("mnutraynetip"))->trigger();  // already asking: not twice
  ASSERT_TRUE(done.wait(10000));
  ASSERT_EQ(f.boxes.shown.size(), 1U);
  EXPECT_EQ(f.boxes.shown[0], (BoxRequest{"Your Net IP (the address the Internet sees) is 198.51.100.23"}));
}

}  // namespace
}  // namespace lumeno::test
