#include "about/HelpPage.h"

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace lumeno::about {
namespace {

// Folders the program may be installed in, and the page's address the desktop must be given.
// Everything a URL would read as something else (a fragment, a query, an escape) is encoded.
TEST(AboutHelpPage, TheAddressEncodesWhatAPathMayNotCarryAndKeepsTheRest) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"/usr/lib/lumeno", "file:///usr/lib/lumeno/help.html"},
      {"/home/ann/My Tools", "file:///home/ann/My%20Tools/help.html"},
      {"/srv/#1/50%/what?", "file:///srv/%231/50%25/what%3F/help.html"},
      {"/home/zo\xC3\xAB", "file:///home/zo%C3%AB/help.html"},
      {"/x/<a>\"b\"{c}|d^e`f\\g", "file:///x/%3Ca%3E%22b%22%7Bc%7D%7Cd%5Ee%60f%5Cg/help.html"},
      {"/x/a!$&'()*+,;=:@~[b]-_.c", "file:///x/a!$&'()*+,;=:@~[b]-_.c/help.html"},
      {"/x/tab\there", "file:///x/tab%09here/help.html"},
  };
  for (const auto& [folder, url] : cases) EXPECT_EQ(helpPageUrl(folder), url) << folder;
}

}  // namespace
}  // namespace lumeno::about
