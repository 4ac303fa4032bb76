// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/NetIpLookup.h"

#include <utility>

#include <QNetworkReply>
#include <QNetworkRequest>

#include "app/NetIpAnswer.h"

namespace lumeno::app {

NetIpLookup::NetIpLookup(QUrl service, std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent), service_(std::move(service)), timeout_(timeout) {}

void NetIpLookup::start() {
  if (isRunning()) return;
  QNetworkRequest request(service_);
  request.setTransferTimeout(static_cast<int>(timeout_.count()));
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setMaximumRedirectsAllowed(3);
  reply_ = network_.get(request);
  connect(reply_, &QNetworkReply::finished, this, &NetIpLookup::onReplyFinished);
}

void NetIpLookup::onReplyFinished() {
  QNetworkReply* reply = reply_.data();
  reply_.clear();
  if (reply == nullptr) return;
  reply->deleteLater();
  std::string text;
  if (reply->error() == QNetworkReply::OperationCanceledError) {
    text = netIpFailedText("the service did not answer in time.");
  } else if (reply->error() != QNetworkReply::NoError) {
    text = netIpFailedText(reply->errorString().toStdString());
  } else if (const auto address = parseNetIpAnswer(reply->read(64).toStdString())) {
    text = netIpFoundText(*address);
  } else {
    text = netIpFailedText("the service gave an answer that is not an address.");
  }
  Q_EMIT finished(QString::fromStdString(text));
}

}  // namespace lumeno::app
