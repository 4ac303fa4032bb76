#pragma once

#include <filesystem>
#include <string>

#include "common/WebLinks.h"

namespace lumeno::about {

// The product's web page: help.html in the program's folder, so it opens without a network.
[[nodiscard]] inline std::string helpPageUrl(const std::filesystem::path& programFolder) {
  return fileUrl(programFolder / "help.html");
}

}  // namespace lumeno::about
