#pragma once

#include <filesystem>
#include <string>

namespace lumeno::about {

// A local file as a file: URL, percent-encoded the way the desktop's URL handlers expect
// (spaces, '#', '%', '?', non-ASCII bytes and the like encoded; '/' and the other path
// characters kept).
[[nodiscard]] std::string fileUrl(const std::filesystem::path& file);

// The product's web page: help.html in the program's folder, so it opens without a network.
[[nodiscard]] std::string helpPageUrl(const std::filesystem::path& programFolder);

}  // namespace lumeno::about
