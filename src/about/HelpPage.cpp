#include "about/HelpPage.h"

#include <array>
#include <string_view>

namespace lumeno::about {
namespace {

// Characters a URL path may carry as they are: letters, digits and "-._~!$&'()*+,;=:@/[]".
bool keptInPath(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  static constexpr std::string_view kKept = "-._~!$&'()*+,;=:@/[]";
  return kKept.find(static_cast<char>(c)) != std::string_view::npos;
}

std::string percentEncoded(std::string_view path) {
  static constexpr std::array<char, 16> kHex{'0', '1', '2', '3', '4', '5', '6', '7',
                                             '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
  std::string encoded;
  encoded.reserve(path.size());
  for (const char ch : path) {
    const auto c = static_cast<unsigned char>(ch);
    if (keptInPath(c)) {
      encoded += ch;
    } else {
      encoded += '%';
      encoded += kHex[c >> 4U];
      encoded += kHex[c & 0xFU];
    }
  }
  return encoded;
}

}  // namespace

std::string fileUrl(const std::filesystem::path& file) {
  const std::u8string generic = file.generic_u8string();
  const std::string path(generic.begin(), generic.end());
  const std::string encoded = percentEncoded(path);
  if (path.starts_with("//")) return "file:" + encoded;   // a network share: //host/share/...
  if (path.starts_with('/')) return "file://" + encoded;  // an absolute POSIX path
  if (file.is_absolute()) return "file:///" + encoded;    // a drive path: C:/...
  return "file:" + encoded;
}

std::string helpPageUrl(const std::filesystem::path& programFolder) {
  return fileUrl(programFolder / "help.html");
}

}  // namespace lumeno::about
