#include "log/LogMonitorWindow.h"

#include <filesystem>
#include <string>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>

#include <gtest/gtest.h>

#include "FakeClock.h"
#include "FakeLauncher.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "app/AppContext.h"
#include "log/LogEntry.h"
#include "platform/Files.h"

namespace lumeno::log {
namespace {

class LogMonitorWindowTest : public ::testing::Test {
 protected:
  [[nodiscard]] QPlainTextEdit* box() const {
    return window.findChild<QPlainTextEdit*>(QStringLiteral("RichTextBox1"));
  }
  [[nodiscard]] QTimer* timer() const { return window.findChild<QTimer*>(QStringLiteral("Timer1")); }
  [[nodiscard]] QAction* item(const char* name) const {
    return window.findChild<QAction*>(QString::fromLatin1(name));
  }
  [[nodiscard]] std::string shown() const { return box()->toPlainText().toStdString(); }
  [[nodiscard]] bool caretAtEnd() const {
    const QTextCursor caret = box()->textCursor();
    return !caret.hasSelection() && caret.position() == box()->document()->characterCount() - 1;
  }
  [[nodiscard]] std::string entry(std::string_view head) const { return stampedEntry(head, clock.now()); }
  void append(std::string_view bytes) const {
    ASSERT_TRUE(platform::appendToFile(folder / "log.txt", bytes));
  }

  test::TempFolder folder;
  test::ScriptedMessageBoxes boxes;
  platform::FakeClock clock;
  platform::FakeLauncher launcher;
  AppContext context = [this] {
    AppContext made;
    made.programFolder = folder.path();
    made.boxes = &boxes;
    made.clock = &clock;
    made.launcher = &launcher;
    return made;
  }();
  LogMonitorWindow window{context};
};

// The lines as the box shows them: one line break per entry, no CR.
std::string asShown(const std::string& bytes) {
  std::string out;
  for (const char c : bytes) {
    if (c != '\r') out.push_back(c);
  }
  return out;
}

TEST_F(LogMonitorWindowTest, LoadsRunningWithTheFileMenuAndAnEmptyBox) {
  append(entry(kLumenoLoaded));
  LogMonitorWindow fresh(context);
  EXPECT_EQ(fresh.objectName(), QStringLiteral("logfrm"));
  EXPECT_EQ(fresh.windowTitle(), QStringLiteral("Log monitor"));
  ASSERT_NE(fresh.findChild<QStatusBar*>(QStringLiteral("StatusBar1")), nullptr);
  EXPECT_TRUE(fresh.findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->currentMessage().isEmpty());
  // The box fills at the first tick, not at load.
  EXPECT_TRUE(fresh.findChild<QPlainTextEdit*>(QStringLiteral("RichTextBox1"))->toPlainText().isEmpty());

  const auto* menu = fresh.findChild<QMenu*>(QStringLiteral("mnufile"));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->title(), QStringLiteral("File"));
  QStringList names;
  QStringList captions;
  QList<bool> enabled;
  for (const QAction* action : menu->actions()) {
    EXPECT_FALSE(action->isSeparator());
    EXPECT_TRUE(action->shortcut().isEmpty());
    names << action->objectName();
    captions << action->text();
    enabled << action->isEnabled();
  }
  EXPECT_EQ(names, (QStringList{QStringLiteral("mnuclearlog"), QStringLiteral("mnupausescreen"),
                                QStringLiteral("mnuresume"), QStringLiteral("mnuexit")}));
  EXPECT_EQ(captions, (QStringList{QStringLiteral("Clear log"), QStringLiteral("Pause screen"),
                                   QStringLiteral("Resume"), QStringLiteral("Exit")}));
  EXPECT_EQ(enabled, (QList<bool>{true, true, false, true}));

  const auto* timer1 = fresh.findChild<QTimer*>(QStringLiteral("Timer1"));
  ASSERT_NE(timer1, nullptr);
  EXPECT_TRUE(timer1->isActive());
  EXPECT_EQ(timer1->interval(), 3000);
}

TEST_F(LogMonitorWindowTest, NewEntriesAppearAtTheBottomAndAnUnchangedFileIsNotReadAgain) {
  const std::string first = entry(kLumenoLoaded);
  append(first);
  window.Timer1_Timer();
  EXPECT_EQ(shown(), asShown(first));
  EXPECT_TRUE(caretAtEnd());
  EXPECT_EQ(window.reads().whole, 1);

  clock.value = {"05/12/2026", "11:27:00"};
  const std::string second = valuedEntry(kRefreshedLocalIp, "10.0.0.2", clock.now());
  append(second);
  window.Timer1_Timer();
  EXPECT_EQ(shown(), asShown(first + second));
  EXPECT_TRUE(caretAtEnd());
  EXPECT_EQ(window.reads().whole, 1);
  EXPECT_EQ(window.reads().appended, 1);

  // The user went up to read; the next tick brings the caret back without reading the file.
  box()->moveCursor(QTextCursor::Start);
  window.Timer1_Timer();
  EXPECT_TRUE(caretAtEnd());
  EXPECT_EQ(shown(), asShown(first + second));
  EXPECT_EQ(window.reads().whole, 1);
  EXPECT_EQ(window.reads().appended, 1);
}

TEST_F(LogMonitorWindowTest, AShrunkOrReplacedFileIsShownAsItIsNow) {
  append(entry(kLumenoLoaded) + entry(kProgramExit));
  window.Timer1_Timer();

  // Emptied elsewhere (the options dialog's "Clear log") and one new entry written.
  ASSERT_TRUE(platform::writeFile(folder / "log.txt", entry(kConnectionLost)));
  window.Timer1_Timer();
  EXPECT_EQ(shown(), asShown(entry(kConnectionLost)));
  EXPECT_EQ(window.reads().whole, 2);

  // Emptied and refilled past its old length between two ticks: it grew, but from a new start.
  const std::string refill = entry(kLumenoLoaded) + entry(kProgramExit) + entry(kLumenoLoaded);
  ASSERT_TRUE(platform::writeFile(folder / "log.txt", refill));
  window.Timer1_Timer();
  EXPECT_EQ(shown(), asShown(refill));

  // Another file moved over the old one.
  const std::string other =
      entry(kProgramExit) + entry(kProgramExit) + entry(kProgramExit) + entry(kProgramExit);
  folder.write("new.txt", other);
  std::filesystem::rename(folder / "new.txt", folder / "log.txt");
  window.Timer1_Timer();
  EXPECT_EQ(shown(), asShown(other));
  EXPECT_TRUE(caretAtEnd());
}

TEST_F(LogMonitorWindowTest, AMissingOrUnreadableLogShowsAnEmptyBoxAndIsTriedAgain) {
  window.Timer1_Timer();
  EXPECT_TRUE(shown().empty());

  append(entry(kLumenoLoaded));
  window.Timer1_Timer();
  EXPECT_EQ(shown(), asShown(entry(kLumenoLoaded)));

  std::filesystem::remove(folder / "log.txt");
  window.Timer1_Timer();
  EXPECT_TRUE(shown().empty());

  // Something that cannot be read as a file (here a folder) under the log's name.
  std::filesystem::create_directory(folder / "log.txt");
  window.Timer1_Timer();
  EXPECT_TRUE(shown().empty());
  std::filesystem::remove(folder / "log.txt");

  append(entry(kProgramExit));
  window.Timer1_Timer();
  EXPECT_EQ(shown(), asShown(entry(kProgramExit)));
}

TEST_F(LogMonitorWindowTest, LineEndsAndCharactersSurviveReadsThatSplitThem) {
  // A CR LF pair and a two-byte character, each cut in half by the moment of a tick.
  append("[Requested Hostname] : caf\xC3");
  window.Timer1_Timer();
  append("\xA9 , Date : 05/12/2026 , Time : 11:26:06\r");
  window.Timer1_Timer();
  append("\n[Program Exit] , Date : 05/12/2026 , Time : 11:26:07\r\n");
  window.Timer1_Timer();
  const QString expected = QStringLiteral(
      "[Requested Hostname] : caf\u00E9 , Date : 05/12/2026 , Time : 11:26:06\n"
      "[Program Exit] , Date : 05/12/2026 , Time : 11:26:07\n");
  EXPECT_EQ(box()->toPlainText(), expected);
  EXPECT_EQ(window.reads().whole, 1);

  // The same file read in one piece gives the same view.
  LogMonitorWindow whole(context);
  whole.Timer1_Timer();
  EXPECT_EQ(whole.findChild<QPlainTextEdit*>(QStringLiteral("RichTextBox1"))->toPlainText(), expected);
}

TEST_F(LogMonitorWindowTest, BytesThatAreNotTextAreShownNotDropped) {
  append("bad \xFF byte\r\n");
  window.Timer1_Timer();
  EXPECT_EQ(box()->toPlainText(), QStringLiteral("bad \uFFFD byte\n"));

  // A file that stops inside a character and stays that way still shows something for it.
  append("end \xE2\x82");
  window.Timer1_Timer();
  window.Timer1_Timer();
  EXPECT_EQ(box()->toPlainText(), QStringLiteral("bad \uFFFD byte\nend \uFFFD"));
  EXPECT_TRUE(caretAtEnd());
}

TEST_F(LogMonitorWindowTest, PauseHoldsTheViewUntilResume) {
  append(entry(kLumenoLoaded));
  window.Timer1_Timer();

  item("mnupausescreen")->trigger();
  EXPECT_FALSE(timer()->isActive());
  EXPECT_FALSE(item("mnupausescreen")->isEnabled());
  EXPECT_TRUE(item("mnuresume")->isEnabled());

  append(entry(kProgramExit));
  box()->moveCursor(QTextCursor::Start);
  window.Timer1_Timer();  // a tick that was already on its way
  EXPECT_EQ(shown(), asShown(entry(kLumenoLoaded)));
  EXPECT_EQ(box()->textCursor().position(), 0);  // the view stays where the user put it

  item("mnuresume")->trigger();
  EXPECT_TRUE(timer()->isActive());
  EXPECT_EQ(timer()->interval(), 3000);
  EXPECT_TRUE(item("mnupausescreen")->isEnabled());
  EXPECT_FALSE(item("mnuresume")->isEnabled());
  EXPECT_EQ(shown(), asShown(entry(kLumenoLoaded)));  // nothing until the next tick
  window.Timer1_Timer();
  EXPECT_EQ(shown(), asShown(entry(kLumenoLoaded) + entry(kProgramExit)));
  EXPECT_TRUE(caretAtEnd());
}

TEST_F(LogMonitorWindowTest, ClearLogAsksAndEmptiesFileAndBoxOnlyOnYes) {
  append(entry(kLumenoLoaded));
  window.Timer1_Timer();

  boxes.answers = {BoxAnswer::No};
  item("mnuclearlog")->trigger();
  ASSERT_EQ(boxes.shown.size(), 1U);
  EXPECT_EQ(boxes.shown[0],
            (BoxRequest{"Clear log file?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo}));
  EXPECT_EQ(folder.read("log.txt"), entry(kLumenoLoaded));
  EXPECT_EQ(shown(), asShown(entry(kLumenoLoaded)));

  // Also while paused; the monitor stays paused.
  item("mnupausescreen")->trigger();
  boxes.answers = {BoxAnswer::Yes};
  item("mnuclearlog")->trigger();
  EXPECT_EQ(folder.read("log.txt"), "");
  EXPECT_TRUE(shown().empty());
  EXPECT_FALSE(timer()->isActive());
  EXPECT_TRUE(item("mnuresume")->isEnabled());

  // The next entry is then the only line.
  item("mnuresume")->trigger();
  append(entry(kProgramExit));
  window.Timer1_Timer();
  EXPECT_EQ(shown(), asShown(entry(kProgramExit)));
}

TEST_F(LogMonitorWindowTest, ClearLogCreatesAMissingFileAndSaysSoWhenItCannotEmptyIt) {
  boxes.answers = {BoxAnswer::Yes};
  item("mnuclearlog")->trigger();
  EXPECT_EQ(folder.read("log.txt"), "");
  EXPECT_EQ(boxes.shown.size(), 1U);

  std::filesystem::remove(folder / "log.txt");
  std::filesystem::create_directory(folder / "log.txt");
  boxes.answers = {BoxAnswer::Yes};
  item("mnuclearlog")->trigger();
  ASSERT_EQ(boxes.shown.size(), 3U);
  EXPECT_NE(boxes.shown[2].text.find("could not be cleared"), std::string::npos);
  EXPECT_EQ(boxes.shown[2].title, "Lumeno");
  EXPECT_EQ(boxes.shown[2].buttons, BoxButtons::Ok);
}

TEST_F(LogMonitorWindowTest, ReopenedAfterClosingWhilePausedItRunsAgain) {
  append(entry(kLumenoLoaded));
  window.show();
  window.Timer1_Timer();
  item("mnupausescreen")->trigger();

  item("mnuexit")->trigger();
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(timer()->isActive());

  window.show();
  EXPECT_TRUE(timer()->isActive());
  EXPECT_TRUE(item("mnupausescreen")->isEnabled());
  EXPECT_FALSE(item("mnuresume")->isEnabled());
  EXPECT_TRUE(shown().empty());
  window.Timer1_Timer();
  EXPECT_EQ(shown(), asShown(entry(kLumenoLoaded)));
}

TEST_F(LogMonitorWindowTest, CannotBeMadeSmallerThanItsMinimum) {
  window.show();
  window.resize(50, 50);
  const QSize outer = window.frameGeometry().size();
  const double scale = window.logicalDpiX() / 96.0;
  EXPECT_GE(outer.width(), qRound(5000.0 / 15.0 * scale));
  EXPECT_GE(outer.height(), qRound(3000.0 / 15.0 * scale));
  window.close();
}

}  // namespace
}  // namespace lumeno::log
