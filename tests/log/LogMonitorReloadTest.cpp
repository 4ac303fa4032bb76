#include "log/LogMonitorReload.h"

#include <string>

#include <gtest/gtest.h>

namespace lumeno::log {
namespace {

platform::FileIdentity file(std::uint64_t inode, std::uint64_t size, std::int64_t modified) {
  return {.exists = true, .device = 7, .inode = inode, .size = size, .modifiedNs = modified};
}

TEST(LogChangeTest, TellsUnchangedGrownAndReplacedApart) {
  const auto shown = file(100, 500, 1000);
  EXPECT_EQ(classifyLogChange(shown, shown), LogChange::Unchanged);
  EXPECT_EQ(classifyLogChange(shown, file(100, 560, 2000)), LogChange::Grew);
  // Emptied, or cut shorter: the box must not keep lines the file no longer has.
  EXPECT_EQ(classifyLogChange(shown, file(100, 0, 2000)), LogChange::Replaced);
  EXPECT_EQ(classifyLogChange(shown, file(100, 499, 2000)), LogChange::Replaced);
  // Rewritten in place to the same length.
  EXPECT_EQ(classifyLogChange(shown, file(100, 500, 2000)), LogChange::Replaced);
  // Another file moved over the name, even a longer one: its start is not what the box shows.
  EXPECT_EQ(classifyLogChange(shown, file(101, 900, 2000)), LogChange::Replaced);
  auto otherDevice = file(100, 900, 2000);
  otherDevice.device = 8;
  EXPECT_EQ(classifyLogChange(shown, otherDevice), LogChange::Replaced);
}

TEST(LogChangeTest, MissingFileAndFirstLook) {
  EXPECT_EQ(classifyLogChange(file(100, 500, 1000), platform::FileIdentity{}), LogChange::Missing);
  EXPECT_EQ(classifyLogChange(platform::FileIdentity{}, platform::FileIdentity{}), LogChange::Missing);
  // Nothing read yet (or the file was missing last time): read it whole, even when empty.
  EXPECT_EQ(classifyLogChange(platform::FileIdentity{}, file(100, 0, 1000)), LogChange::Replaced);
}

TEST(LogChangeTest, WritesThatSlipInAroundAReadAreNeverMissed) {
  const auto before = file(100, 500, 1000);

  // A read that got exactly what was seen: the next look with no change reads nothing.
  const auto exact = identityOfShown(before, 500);
  EXPECT_EQ(classifyLogChange(exact, before), LogChange::Unchanged);
  EXPECT_EQ(classifyLogChange(exact, file(100, 600, 2000)), LogChange::Grew);

  // An entry was appended between the look and the read: the read already holds it.
  const auto more = identityOfShown(before, 560);
  EXPECT_EQ(more.size, 560U);
  // Whether the file got its newer time stamp before or after the look, it is never taken as
  // having grown: those bytes are in the view already.
  EXPECT_EQ(classifyLogChange(more, file(100, 560, 2000)), LogChange::Replaced);
  EXPECT_EQ(classifyLogChange(more, file(100, 560, 1000)), LogChange::Unchanged);
  EXPECT_EQ(classifyLogChange(more, file(100, 620, 2000)), LogChange::Grew);

  // The file was cleared and rewritten in between to the same size the read returned: the time
  // stamp from before the read makes the next look read it again instead of trusting the view.
  const auto rewritten = identityOfShown(before, 300);
  EXPECT_EQ(classifyLogChange(rewritten, file(100, 300, 2000)), LogChange::Replaced);
}

TEST(LineEndFolderTest, CrLfBecomesOneLineBreakWhereverTheReadsSplit) {
  const std::string bytes = "[Lumeno Loaded] , Date : 05/12/2026 , Time : 11:26:06\r\n\r\nlone\rcr\nlf\r\n";
  LineEndFolder whole;
  const std::string expected = whole.fold(bytes);
  EXPECT_EQ(expected, "[Lumeno Loaded] , Date : 05/12/2026 , Time : 11:26:06\n\nlone\ncr\nlf\n");

  for (std::size_t split = 0; split <= bytes.size(); ++split) {
    LineEndFolder pieces;
    std::string joined = pieces.fold(bytes.substr(0, split));
    joined += pieces.fold(bytes.substr(split));
    EXPECT_EQ(joined, expected) << "split at " << split;
  }
}

TEST(LineEndFolderTest, ResetForgetsAPendingCr) {
  LineEndFolder folder;
  EXPECT_EQ(folder.fold("a\r"), "a\n");
  folder.reset();
  // A file read again from its start: its first LF is a line of its own.
  EXPECT_EQ(folder.fold("\nb"), "\nb");
}

}  // namespace
}  // namespace lumeno::log
