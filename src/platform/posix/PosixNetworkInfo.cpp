#include "platform/posix/PosixNetworkInfo.h"

#include <array>
#include <optional>

#include <unistd.h>

#include <QCoreApplication>
#include <QNetworkInformation>

#include "platform/posix/NetSystem.h"
#include "platform/posix/NetTables.h"

namespace lumeno::platform {
namespace {

net::SystemReachability toReachability(QNetworkInformation::Reachability reachability) {
  switch (reachability) {
    case QNetworkInformation::Reachability::Online: return net::SystemReachability::Online;
    case QNetworkInformation::Reachability::Site: return net::SystemReachability::Site;
    case QNetworkInformation::Reachability::Local: return net::SystemReachability::Local;
    case QNetworkInformation::Reachability::Disconnected: return net::SystemReachability::Disconnected;
    case QNetworkInformation::Reachability::Unknown: break;
  }
  return net::SystemReachability::Unknown;
}

}  // namespace

PosixNetworkInfo::PosixNetworkInfo(ConnectionSource source) : source_(source) {}

std::string PosixNetworkInfo::localIPv4() const {
  return net::localIPv4FromSystem();
}

std::string PosixNetworkInfo::hostName() const {
  std::array<char, 256> name{};
  if (::gethostname(name.data(), name.size() - 1) != 0) return {};
  return std::string(name.data());  // the last byte stays 0 even when the name was cut
}

bool PosixNetworkInfo::isConnected() const {
  if (source_ == ConnectionSource::SystemServiceThenRoutes) {
    // The service needs the application object; try once, as soon as there is one. A failed
    // load is not retried, so the timer never pays for it again.
    if (!serviceLoadTried_ && QCoreApplication::instance() != nullptr) {
      serviceLoadTried_ = true;
      QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    }
    if (const auto* service = QNetworkInformation::instance();
        service != nullptr && service->supports(QNetworkInformation::Feature::Reachability)) {
      if (const auto answer = net::connectionFromSystem(toReachability(service->reachability())))
        return *answer;
    }
  }
  return net::connectedByRoutes();
}

}  // namespace lumeno::platform
