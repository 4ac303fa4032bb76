#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Links the main window hands to the desktop: a local page and an e-mail to write.
namespace lumeno::app {

// Every byte but the unreserved ones (letters, digits, "-._~") and those in `keep` as %XX.
std::string percentEncoded(std::string_view text, std::string_view keep = {});

// "file://" and the absolute path, encoded, with "#anchor" when one is given.
std::string fileUrl(const std::filesystem::path& file, std::string_view anchor = {});

// "mailto:?subject=...&body=..." with both texts encoded.
std::string mailtoUrl(std::string_view subject, std::string_view body);

}  // namespace lumeno::app
