#include "iptools/StopClickGuard.h"

namespace lumeno::iptools {

bool StopClickGuard::acceptsStopAt(std::int64_t nowMs, std::int64_t doubleClickIntervalMs) const {
  return nowMs - startedMs_ >= doubleClickIntervalMs;
}

}  // namespace lumeno::iptools
