#include "app/AddressChoice.h"

namespace lumeno::app {

std::optional<std::string> chooseIPv6(const std::vector<platform::IPv6Address>& addresses) {
  for (const bool temporary : {false, true}) {
    for (const auto& a : addresses) {
      if (a.scope == platform::IPv6Scope::Global && !a.deprecated && !a.tentative &&
          a.temporary == temporary) {
        return a.text;
      }
    }
  }
  return std::nullopt;
}

std::string ipv4For(const platform::NetworkInfo& network, const std::string& chosen) {
  if (!chosen.empty()) {
    if (auto address = network.interfaceIPv4(chosen)) return *address;
  }
  return network.localIPv4();
}

std::optional<std::string> ipv6For(const platform::NetworkInfo& network, const std::string& chosen) {
  const bool chosenExists = !chosen.empty() && network.interfaceIPv4(chosen).has_value();
  return chooseIPv6(network.interfaceIPv6(chosenExists ? chosen : network.automaticIPv6Interface()));
}

}  // namespace lumeno::app
