#include "iptools/ToolRunner.h"

namespace lumeno::iptools {

bool startedTheTool(RunEnd end) {
  return end == RunEnd::Ran || end == RunEnd::Stopped || end == RunEnd::Cut;
}

}  // namespace lumeno::iptools
