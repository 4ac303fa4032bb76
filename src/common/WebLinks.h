// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Links the program hands to the desktop: local pages and an e-mail to write.
namespace lumeno {

// Every byte but the unreserved ones (letters, digits, "-._~") and those in `keep` as %XX.
[[nodiscard]] std::string percentEncoded(std::string_view text, std::string_view keep = {});

// A local file as a file: URL, percent-encoded the way the desktop's URL handlers expect
// (spaces, '#', '%', '?', non-ASCII bytes and the like encoded; '/' and the other path
// characters kept), with "#anchor" when one is given. A Windows drive path becomes
// file:///C:/..., a network share file://host/share/...
[[nodiscard]] std::string fileUrl(const std::filesystem::path& file, std::string_view anchor = {});

// "mailto:?subject=...&body=..." with both texts encoded.
[[nodiscard]] std::string mailtoUrl(std::string_view subject, std::string_view body);

}  // namespace lumeno
