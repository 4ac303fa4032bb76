// SPDX-License-Identifier: GPL-3.0-or-later
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "app/NetIpLookup.h"

namespace lumeno::test {
namespace {

// A web server on loopback that answers every request with one fixed reply, or never answers.
class LocalServer {
 public:
  explicit LocalServer(QByteArray reply) : reply_(std::move(reply)) {
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* socket = server_.nextPendingConnection()) {
        held_.push_back(socket);
        if (reply_.isEmpty()) continue;  // keep the connection open, say nothing
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, reply = reply_] {
          if (!socket->readAll().contains("\r\n\r\n")) return;
          socket->write(reply);
          socket->disconnectFromHost();
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
  QTcpServer server_;
  std::vector<QTcpSocket*> held_;
};

QString lookUp(const QUrl& url, std::chrono::milliseconds timeout) {
  app::NetIpLookup lookup(url, timeout);
  QSignalSpy done(&lookup, &app::NetIpLookup::finished);
  lookup.start();
  EXPECT_TRUE(lookup.isRunning());
  // The request runs in the background: the event loop, and so every timer, goes on meanwhile.
  bool loopRan = false;
  QTimer::singleShot(0, [&] { loopRan = true; });
  EXPECT_TRUE(done.wait(10000));
  EXPECT_TRUE(loopRan);
  return done.isEmpty() ? QString() : done.first().first().toString();
}

TEST(NetIpLookup, AServerThatNeverAnswersGivesUpAtTheTimeOut) {
  LocalServer server({});
  EXPECT_EQ(lookUp(server.url(), std::chrono::milliseconds(200)),
            QStringLiteral("The Net IP could not be found: the service did not answer in time."));
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
