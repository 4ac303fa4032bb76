#include "log/LogMonitorWindow.h"

#include <tuple>
#include <vector>

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"

namespace lumeno::log {
namespace {

TEST(LogChangeTest, TellsUnchangedGrownReplacedAndMissingApart) {
  using platform::FileIdentity;
  const FileIdentity shown{true, 7, 100, 500, 1000};  // exists, device, inode, size, modification time
  const std::vector<std::tuple<FileIdentity, FileIdentity, LogChange>> rows = {
      {shown, shown, LogChange::Unchanged},
      {shown, FileIdentity{true, 7, 100, 560, 2000}, LogChange::Grew},
      {shown, FileIdentity{true, 7, 101, 900, 2000},
       LogChange::Replaced},  // another, longer file moved over it
      {shown, FileIdentity{}, LogChange::Missing},
      {FileIdentity{}, FileIdentity{true, 7, 100, 0, 1000},
       LogChange::Replaced},  // nothing shown yet: read it whole
      // An entry written between the look and the read is in the view already: never "grew".
      {identityOfShown(shown, 560), FileIdentity{true, 7, 100, 560, 2000}, LogChange::Replaced}};
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const auto& [before, now, expected] = rows[row];
    EXPECT_EQ(classifyLogChange(before, now), expected) << "row " << row;
  }
}

struct LogMonitorTest : ::testing::Test {
  // The box's text with a '|' where the caret is.
  [[nodiscard]] QString view() const { return box->toPlainText().insert(box->textCursor().position(), '|'); }
  [[nodiscard]] QStringList menu() const {
    QStringList items;
    for (const QAction* item : window.findChild<QMenu*>("mnufile")->actions())
      items << item->text() + (item->isEnabled() ? "" : " (off)");
    return items;
  }
  void click(const char* item) const { window.findChild<QAction*>(item)->trigger(); }
  void append(std::string_view text) const { ASSERT_TRUE(platform::appendToFile(folder / "log.txt", text)); }
  [[nodiscard]] std::pair<int, int> reads() const { return {window.reads().whole, window.reads().appended}; }

  test::TempFolder folder;
  test::ScriptedMessageBoxes boxes;
  AppContext context{.programFolder = folder.path(), .executable = {}, .boxes = &boxes};
  LogMonitorWindow window{context};
  QPlainTextEdit* box = window.findChild<QPlainTextEdit*>("RichTextBox1");
};

TEST_F(LogMonitorTest, EachTickShowsTheFileAsItIsNowReadingOnlyWhatChanged) {
  window.Timer1_Timer();  // no file yet: it is looked for again at the next tick
  append("one\r\n");
  window.Timer1_Timer();
  box->moveCursor(QTextCursor::Start);
  window.Timer1_Timer();
  EXPECT_EQ(view(), "one\n|");
  EXPECT_EQ(reads(), std::pair(1, 0));  // unchanged: not read again

  append("two \xFF!\r\n");  // grown, by a byte that is not text
  window.Timer1_Timer();
  EXPECT_EQ(view().remove(8, 1), "one\ntwo !\n|");
  EXPECT_EQ(reads(), std::pair(1, 1));

  ASSERT_TRUE(platform::writeFile(folder / "log.txt", "three\r\n"));  // shrunk
  window.Timer1_Timer();
  EXPECT_EQ(view(), "three\n|");

  std::filesystem::remove(folder / "log.txt");
  window.Timer1_Timer();
  EXPECT_EQ(view(), "|");
}

TEST_F(LogMonitorTest, PauseHoldsTheViewClearLogEmptiesBothOnlyOnYesResumeBringsNewEntries) {
  EXPECT_EQ(menu(), (QStringList{"Clear log", "Pause screen", "Resume (off)", "Exit"}));
  append("one\r\n");
  window.Timer1_Timer();
  click("mnupausescreen");
  EXPECT_EQ(menu(), (QStringList{"Clear log", "Pause screen (off)", "Resume", "Exit"}));
  append("two\r\n");
  window.Timer1_Timer();  // a tick already on its way
  EXPECT_EQ(view(), "one\n|");

  boxes.answers = {BoxAnswer::No, BoxAnswer::Yes};
  click("mnuclearlog");
  EXPECT_EQ(boxes.shown.at(0),
            (BoxRequest{"Clear log file?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo}));
  EXPECT_EQ(folder.read("log.txt"), "one\r\ntwo\r\n");
  EXPECT_EQ(view(), "one\n|");
  click("mnuclearlog");
  EXPECT_EQ(folder.read("log.txt"), "");
  EXPECT_EQ(view(), "|");

  click("mnuresume");
  EXPECT_EQ(menu(), (QStringList{"Clear log", "Pause screen", "Resume (off)", "Exit"}));
  append("three\r\n");
  window.Timer1_Timer();
  EXPECT_EQ(view(), "three\n|");
}

}  // namespace
}  // namespace lumeno::log
