// SPDX-License-Identifier: GPL-3.0-or-later
#include "iptools/ToolRunner.h"

namespace lumeno::iptools {

bool startedTheTool(RunEnd end) {
  return end == RunEnd::Ran || end == RunEnd::Stopped || end == RunEnd::Cut || end == RunEnd::NotStored;
}

}  // namespace lumeno::iptools
