#include "platform/posix/SessionBus.h"

#include <cstdlib>
#include <string>

#include <sys/stat.h>

namespace lumeno::platform {
namespace {

bool isSet(const char* value) {
  return value != nullptr && *value != '\0';
}

// The socket a systemd user session offers; both D-Bus libraries look for it before autolaunching.
bool sessionSocketExists() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (!isSet(runtime)) return false;
  struct stat info {};
  return ::stat((std::string(runtime) + "/bus").c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

}  // namespace

void keepFromStartingASessionBus() {
  if (isSet(std::getenv("DBUS_SESSION_BUS_ADDRESS")) || sessionSocketExists()) return;
  // Neither libdbus nor GDBus knows a "disabled" transport, and neither autolaunches once an
  // address is given.
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
}

}  // namespace lumeno::platform
