#include "platform/posix/PosixNetworkInfo.h"

#include <array>

#include <unistd.h>

#include <QCoreApplication>
#include <QNetworkInformation>

#include "platform/posix/NetSystem.h"
#include "platform/posix/NetTables.h"

namespace lumeno::platform {
namespace {

// The one connectivity service known to report every change (it follows NetworkManager's own
// state signals on the system bus).
constexpr QStringView kNetworkManager = u"networkmanager";

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

net::SystemReachability PosixNetworkInfo::serviceReachability() const {
  // The service needs the application object; try once, as soon as there is one. A failed load
  // (no NetworkManager, no system bus) is not retried, so the timer never pays for it again.
  if (!serviceLoadTried_ && QCoreApplication::instance() != nullptr) {
    serviceLoadTried_ = true;
    QNetworkInformation::loadBackendByName(kNetworkManager);
  }
  // Another part of the program may have loaded a different backend; only this one is trusted.
  const auto* service = QNetworkInformation::instance();
  if (service == nullptr || service->backendName().compare(kNetworkManager, Qt::CaseInsensitive) != 0 ||
      !service->supports(QNetworkInformation::Feature::Reachability)) {
    return net::SystemReachability::Unknown;
  }
  return toReachability(service->reachability());
}

bool PosixNetworkInfo::isConnected() const {
  const bool routed = net::connectedByRoutes();
  // Without a usable route nothing is asked: no service can make it online.
  if (!routed || source_ == ConnectionSource::RoutesOnly) return routed;
  return net::connectedGiven(routed, serviceReachability());
}

}  // namespace lumeno::platform
