// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/NetIpLookup.h"

#include <utility>

#include <QNetworkReply>
#include <QNetworkRequest>

#include "app/NetIpAnswer.h"

namespace lumeno::app {

NetIpLookup::NetIpLookup(QUrl service, std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent), service_(std::move(service)) {
  deadline_.setSingleShot(true);
  deadline_.setInterval(timeout);
  connect(&deadline_, &QTimer::timeout, this, &NetIpLookup::onDeadline);
}

void NetIpLookup::start() {
  if (isRunning()) return;
  QNetworkRequest request(service_);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setMaximumRedirectsAllowed(3);
  tooLong_ = false;
  reply_ = network_.get(request);
  // Room for one byte more than an answer may have, so that a longer one shows as such.
  reply_->setReadBufferSize(kLongestAnswer + 1);
  connect(reply_, &QNetworkReply::readyRead, this, &NetIpLookup::onBytesArrived);
  connect(reply_, &QNetworkReply::finished, this, &NetIpLookup::onReplyFinished);
  deadline_.start();
}

void NetIpLookup::onBytesArrived() {
  if (reply_.isNull() || reply_->bytesAvailable() <= kLongestAnswer) return;
  tooLong_ = true;
  reply_->abort();
}

void NetIpLookup::onDeadline() {
  if (!reply_.isNull()) reply_->abort();
}

void NetIpLookup::onReplyFinished() {
  deadline_.stop();
  QNetworkReply* reply = reply_.data();
  reply_.clear();
  if (reply == nullptr) return;
  reply->deleteLater();
  // An answer too long to be an address is that, whatever else went wrong while it came.
  const bool tooLong = tooLong_ || reply->bytesAvailable() > kLongestAnswer;
  std::string text;
  if (!tooLong && reply->error() == QNetworkReply::OperationCanceledError) {
    text = netIpFailedText("the service did not answer in time.");
  } else if (!tooLong && reply->error() != QNetworkReply::NoError) {
    text = netIpFailedText(reply->errorString().toStdString());
  } else if (const auto address =
                 tooLong ? std::nullopt : parseNetIpAnswer(reply->read(kLongestAnswer).toStdString())) {
    text = netIpFoundText(*address);
  } else {
    text = netIpFailedText("the service gave an answer that is not an address.");
  }
  Q_EMIT finished(QString::fromStdString(text));
}

}  // namespace lumeno::app
