// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/WebLinks.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace lumeno {
namespace {

// Folders the program may be installed in, and the page's address the desktop must be given.
// Everything a URL would read as something else (a fragment, a query, an escape) is encoded.
TEST(WebLinks, AFileAddressEncodesWhatAPathMayNotCarryAndKeepsTheRest) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"/usr/lib/lumeno", "file:///usr/lib/lumeno/help.html"},
      {"/home/ann/My Tools", "file:///home/ann/My%20Tools/help.html"},
      {"/srv/#1/50%/what?", "file:///srv/%231/50%25/what%3F/help.html"},
      {"/x/<a>\"b\"{c}|d^e`f\\g", "file:///x/%3Ca%3E%22b%22%7Bc%7D%7Cd%5Ee%60f%5Cg/help.html"},
      {"/x/AZaz09!$&'()*+,;=:@~[b]-_.c", "file:///x/AZaz09!$&'()*+,;=:@~[b]-_.c/help.html"},
      {"/x/tab\there", "file:///x/tab%09here/help.html"},
  };
#ifndef _WIN32
  for (const auto& [folder, url] : cases)
    EXPECT_EQ(fileUrl(std::filesystem::path(folder) / "help.html"), url) << folder;
  EXPECT_EQ(fileUrl(std::filesystem::path(u8"/home/zo\u00EB/help.html"), "versions"),
            "file:///home/zo%C3%AB/help.html#versions");
#else
  EXPECT_EQ(fileUrl(std::filesystem::path(u8"C:\\Program Files\\zo\u00EB #2\\help.html"), "versions"),
            "file:///C:/Program%20Files/zo%C3%AB%20%232/help.html#versions");
#endif
}

// No character changes the mail texts' meaning; a host name in any script arrives as UTF-8.
TEST(WebLinks, MailTextsAreEncodedSoNoCharacterChangesTheirMeaningAndUtf8Survives) {
  EXPECT_EQ(mailtoUrl("a&b=c?", "x%y\r\n"), "mailto:?subject=a%26b%3Dc%3F&body=x%25y%0D%0A");
  EXPECT_EQ(mailtoUrl("Network report from caf\xC3\xA9 \xE5\x90\x8D", "Host name : x+y/z\r\n"),
            "mailto:?subject=Network%20report%20from%20caf%C3%A9%20%E5%90%8D&body=Host%20name%20%3A%20x%2By%"
            "2Fz%0D%0A");
}

}  // namespace
}  // namespace lumeno
