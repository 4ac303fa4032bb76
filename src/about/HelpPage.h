// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

#include "common/WebLinks.h"

namespace lumeno::about {

// The product's web page: help.html in the folder that holds it (the program's, or an installed
// copy's shared data folder), so it opens without a network.
[[nodiscard]] inline std::string helpPageUrl(const std::filesystem::path& folder) {
  return fileUrl(folder / "help.html");
}

}  // namespace lumeno::about
