// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/WebLinks.h"

#include <array>

namespace lumeno {

std::string percentEncoded(std::string_view text, std::string_view keep) {
  static constexpr std::array<char, 16> kHex{'0', '1', '2', '3', '4', '5', '6', '7',
                                             '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                            (byte >= '0' && byte <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
    if (unreserved || (byte != 0 && keep.find(c) != std::string_view::npos)) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4U];
      out += kHex[byte & 0x0FU];
    }
  }
  return out;
}

std::string fileUrl(const std::filesystem::path& file, std::string_view anchor) {
  // What a URL path may carry as it is, besides the unreserved characters.
  static constexpr std::string_view kPathCharacters = "!$&'()*+,;=:@/[]";
  const std::u8string generic = file.generic_u8string();
  const std::string path(generic.begin(), generic.end());
  const std::string encoded = percentEncoded(path, kPathCharacters);
  std::string url;
  if (path.starts_with("//")) {
    url = "file:" + encoded;  // a network share: //host/share/...
  } else if (path.starts_with('/')) {
    url = "file://" + encoded;  // an absolute POSIX path
  } else if (file.is_absolute()) {
    url = "file:///" + encoded;  // a drive path: C:/...
  } else {
    url = "file:" + encoded;
  }
  if (!anchor.empty()) url += "#" + percentEncoded(anchor);
  return url;
}

std::string mailtoUrl(std::string_view subject, std::string_view body) {
  return "mailto:?subject=" + percentEncoded(subject) + "&body=" + percentEncoded(body);
}

}  // namespace lumeno
