// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
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
  // The whole lookup, from the click to the answer: a server that trickles never holds it longer.
  static constexpr std::chrono::milliseconds kTimeout{8000};
  // An address is far shorter; a longer answer is not one, and nothing more of it is taken in.
  static constexpr qint64 kLongestAnswer = 64;

  explicit NetIpLookup(QUrl service = QUrl(QString::fromLatin1(kServiceUrl)),
                       std::chrono::milliseconds timeout = kTimeout, QObject* parent = nullptr);

  // Starts a lookup; while one is under way a second request is ignored.
  void start();
  [[nodiscard]] bool isRunning() const { return !reply_.isNull(); }
  [[nodiscard]] const QTimer& deadline() const { return deadline_; }

 Q_SIGNALS:
  // The text to show the user: the address, or why there is none.
  void finished(const QString& message);

 private:
  void onReplyFinished();
  void onBytesArrived();
  void onDeadline();

  QUrl service_;
  QNetworkAccessManager network_;
  QPointer<QNetworkReply> reply_;
  QTimer deadline_;
  bool tooLong_ = false;
};

}  // namespace lumeno::app
