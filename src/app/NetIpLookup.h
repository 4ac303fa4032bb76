// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkReply;

namespace lumeno::app {

// Asks a plain-text echo service for the address the Internet sees, only when the user asks.
// Asynchronous: the window never waits for it.
class NetIpLookup : public QObject {
  Q_OBJECT

 public:
  // A well-known service that answers an HTTPS GET with the caller's IPv4 address as text.
  static constexpr const char* kServiceUrl = "https://api.ipify.org";
  static constexpr std::chrono::milliseconds kTimeout{8000};

  explicit NetIpLookup(QUrl service = QUrl(QString::fromLatin1(kServiceUrl)),
                       std::chrono::milliseconds timeout = kTimeout, QObject* parent = nullptr);

  // Starts a lookup; while one is under way a second request is ignored.
  void start();
  [[nodiscard]] bool isRunning() const { return !reply_.isNull(); }

 Q_SIGNALS:
  // The text to show the user: the address, or why there is none.
  void finished(const QString& message);

 private:
  void onReplyFinished();

  QUrl service_;
  std::chrono::milliseconds timeout_;
  QNetworkAccessManager network_;
  QPointer<QNetworkReply> reply_;
};

}  // namespace lumeno::app
