// The options dialog: its controls, loading from Lumeno.ini, the five boxes, clearing the log.
#include "settings/OptionsDialog.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "FakeAutostart.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "platform/Files.h"

namespace lumeno::settings {
namespace {

namespace fs = std::filesystem;

const std::string kAllOff =
    "; Lumeno options\r\n"
    "[Options]\r\n"
    "alertifoffline=0\r\n"
    "hostnameintext1.text = 0\r\n"
    "uselog=0\r\n"
    "\r\n"
    "[Automation]\r\n"
    "trayatstartup=0\r\n"
    "autostartup=0\r\n";

const BoxRequest kApiError{"An error has occurred while calling the API function", "Lumeno",
                           BoxIcon::Exclamation, BoxButtons::Ok};
const BoxRequest kClearLog{"Clear log file?", "Lumeno", BoxIcon::Exclamation, BoxButtons::YesNo};

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t begin = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", begin)) {
    out.push_back(text.substr(begin, at - begin));
    begin = at + 2;
  }
  out.push_back(text.substr(begin));
  return out;
}

// A registration that also notes what Lumeno.ini said when it was called.
class WatchingAutostart : public platform::FakeAutostart {
 public:
  explicit WatchingAutostart(fs::path ini) : ini_(std::move(ini)) {}
  bool writeValue(platform::Hive hive, const std::string& keyPath, const std::string& valueName,
                  const std::string& data) override {
    iniAtCall.push_back(platform::readFile(ini_).value_or(""));
    return FakeAutostart::writeValue(hive, keyPath, valueName, data);
  }
  bool deleteValue(platform::Hive hive, const std::string& keyPath, const std::string& valueName) override {
    iniAtCall.push_back(platform::readFile(ini_).value_or(""));
    return FakeAutostart::deleteValue(hive, keyPath, valueName);
  }
  std::vector<std::string> iniAtCall;

 private:
  fs::path ini_;
};

class OptionsDialogTest : public ::testing::Test {
 protected:
  OptionsDialogTest() {
    context.programFolder = folder.path();
    context.executable = folder / "lumeno";
    context.boxes = &boxes;
    context.autostart = &autostart;
    folder.write("Lumeno.ini", kAllOff);
  }

  std::unique_ptr<OptionsDialog> open() {
    auto dialog = std::make_unique<OptionsDialog>(context, [this] { ++logMonitorShown; });
    dialog->show();
    return dialog;
  }

  template <class T>
  static T* child(const QWidget& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  // A mouse click on the box's indicator, on whichever tab it is.
  static void click(OptionsDialog& dialog, const char* name) {
    QCheckBox* box = child<QCheckBox>(dialog, name);
    ASSERT_NE(box, nullptr);
    auto* tabs = child<QTabWidget>(dialog, "SSTab1");
    for (int i = 0; i < tabs->count(); ++i) {
      if (tabs->widget(i)->isAncestorOf(box)) tabs->setCurrentIndex(i);
    }
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
  }

  static void clickButton(OptionsDialog& dialog, const char* name) {
    QPushButton* button = child<QPushButton>(dialog, name);
    ASSERT_NE(button, nullptr);
    auto* tabs = child<QTabWidget>(dialog, "SSTab1");
    for (int i = 0; i < tabs->count(); ++i) {
      if (tabs->widget(i)->isAncestorOf(button)) tabs->setCurrentIndex(i);
    }
    QTest::mouseClick(button, Qt::LeftButton);
  }

  static bool ticked(const OptionsDialog& dialog, const char* name) {
    const QCheckBox* box = child<QCheckBox>(dialog, name);
    return box != nullptr && box->isChecked();
  }

  test::TempFolder folder;
  test::ScriptedMessageBoxes boxes;
  WatchingAutostart autostart{folder / "Lumeno.ini"};
  AppContext context;
  int logMonitorShown = 0;
};

TEST_F(OptionsDialogTest, ControlsAreThereWithTheirNamesAndTexts) {
  auto dialog = open();
  EXPECT_EQ(dialog->objectName(), QStringLiteral("frmoptions"));
  EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Options"));
  EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());  // a fixed border

  auto* tabs = child<QTabWidget>(*dialog, "SSTab1");
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->count(), 4);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("Automation"));
  EXPECT_EQ(tabs->tabText(1), QStringLiteral("Extras"));
  EXPECT_EQ(tabs->tabText(2), QStringLiteral("Logs"));
  EXPECT_EQ(tabs->tabText(3), QStringLiteral("Connection"));
  EXPECT_EQ(tabs->currentIndex(), 0);

  struct Expected {
    const char* name;
    const char* text;
    int tab;
  };
  for (const Expected& e : {Expected{"chkstartup", "Start when computer loads", 0},
                            Expected{"trayatstartup", "Minimize to sys-tray on load", 0},
                            Expected{"chkhostnamepopup", "Show hostname in popup on request", 1},
                            Expected{"chklog", "Use log file", 2},
                            Expected{"alertifoffline", "Alert using popup if i loose my connection", 3}}) {
    QCheckBox* box = child<QCheckBox>(*dialog, e.name);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QString::fromLatin1(e.text));
    EXPECT_FALSE(box->isChecked()) << e.name;
    EXPECT_TRUE(tabs->widget(e.tab)->isAncestorOf(box)) << e.name;
  }
  EXPECT_EQ(child<QCheckBox>(*dialog, "chklog")->toolTip(), QStringLiteral("Monitor Lumeno actions"));
  EXPECT_EQ(child<QPushButton>(*dialog, "exitoptions")->text(), QStringLiteral("Done"));
  EXPECT_EQ(child<QPushButton>(*dialog, "Command2")->text(), QStringLiteral("View log"));
  EXPECT_EQ(child<QPushButton>(*dialog, "Command1")->text(), QStringLiteral("Clear log"));
  EXPECT_EQ(
      child<QLabel>(*dialog, "Label1")->text(),
      QStringLiteral("Log contains program load/exit, error stat, IP, hostname, time and date stamps."));
  for (const char* frame : {"Frame1", "Frame2", "Frame3", "Frame4"}) {
    auto* box = child<QGroupBox>(*dialog, frame);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->title().isEmpty()) << frame;
  }
  EXPECT_EQ(child<QWidget>(*dialog, "chkstartup")->parentWidget()->objectName(), QStringLiteral("Frame1"));
  EXPECT_EQ(child<QWidget>(*dialog, "Command1")->parentWidget()->objectName(), QStringLiteral("Frame3"));
  EXPECT_TRUE(child<QWidget>(*dialog, "Frame4")->isAncestorOf(child<QWidget>(*dialog, "alertifoffline")));
}

TEST_F(OptionsDialogTest, LoadingWithEverythingOffWritesNothing) {
  const platform::FileIdentity before = platform::identifyFile(folder / "Lumeno.ini");
  auto dialog = open();
  EXPECT_EQ(platform::identifyFile(folder / "Lumeno.ini"), before);
  EXPECT_EQ(folder.read("Lumeno.ini"), kAllOff);
  EXPECT_TRUE(autostart.calls.empty());
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(dialog->isLogOn());
  EXPECT_FALSE(dialog->isHostNamePopupOn());
}

TEST_F(OptionsDialogTest, LoadingTicksWhatReadsAsOnAndWritesItBackAsOne) {
  folder.write("Lumeno.ini",
               "[Options]\r\n"
               "alertifoffline= 2 \r\n"
               "hostnameintext1.text=\"1.5\"\r\n"
               "uselog=-1 ; yes\r\n"
               "[Automation]\r\n"
               "trayatstartup=1e3\r\n"
               "autostartup=1\r\n");
  auto dialog = open();
  for (const char* name : {"alertifoffline", "trayatstartup", "chkhostnamepopup", "chkstartup"}) {
    EXPECT_TRUE(ticked(*dialog, name)) << name;
  }
  // "-1 ; yes" is not a number: off, and left as it is.
  EXPECT_FALSE(dialog->isLogOn());
  EXPECT_TRUE(dialog->isHostNamePopupOn());
  EXPECT_EQ(folder.read("Lumeno.ini"),
            "[Options]\r\n"
            "alertifoffline= 1 \r\n"
            "hostnameintext1.text=1\r\n"
            "uselog=-1 ; yes\r\n"
            "[Automation]\r\n"
            "trayatstartup=1\r\n"
            "autostartup=1\r\n");
  // The start-up entry is written again at every load while the option is on.
  ASSERT_EQ(autostart.calls.size(), 1U);
  EXPECT_EQ(autostart.calls[0].kind, platform::FakeAutostart::Call::Kind::Write);
  EXPECT_EQ(autostart.calls[0].valueName, "Lumeno.exe");
  EXPECT_EQ(autostart.calls[0].data, (folder / "lumeno").string());
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(OptionsDialogTest, EachClickChangesExactlyOneLine) {
  auto dialog = open();
  struct Box {
    const char* name;
    std::size_t line;
  };
  const std::vector<std::string> original = lines(kAllOff);
  for (const Box& box : {Box{"alertifoffline", 2}, Box{"chkhostnamepopup", 3}, Box{"chklog", 4},
                         Box{"trayatstartup", 7}, Box{"chkstartup", 8}}) {
    for (const char* value : {"1", "0"}) {
      click(*dialog, box.name);
      const std::vector<std::string> now = lines(folder.read("Lumeno.ini"));
      ASSERT_EQ(now.size(), original.size());
      for (std::size_t i = 0; i < now.size(); ++i) {
        if (i != box.line) {
          EXPECT_EQ(now[i], original[i]) << box.name;
        } else {
          std::string expected = original[i];
          expected.back() = value[0];
          EXPECT_EQ(now[i], expected) << box.name;
        }
      }
    }
  }
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(OptionsDialogTest, TheLiveSwitchesFollowTheBoxesAtOnce) {
  auto dialog = open();
  click(*dialog, "chklog");
  EXPECT_TRUE(dialog->isLogOn());
  click(*dialog, "chkhostnamepopup");
  EXPECT_TRUE(dialog->isHostNamePopupOn());
  QTest::keyClick(child<QCheckBox>(*dialog, "chklog"), Qt::Key_Space);  // the keyboard counts too
  EXPECT_FALSE(dialog->isLogOn());
  EXPECT_NE(folder.read("Lumeno.ini").find("\r\nuselog=0\r\n"), std::string::npos);
}

TEST_F(OptionsDialogTest, StartWhenComputerLoadsWritesTheKeyFirstThenTheEntry) {
  auto dialog = open();
  click(*dialog, "chkstartup");
  click(*dialog, "chkstartup");
  ASSERT_EQ(autostart.calls.size(), 2U);
  EXPECT_EQ(autostart.calls[0].kind, platform::FakeAutostart::Call::Kind::Write);
  EXPECT_EQ(autostart.calls[0].hive, platform::Hive::LocalMachine);
  EXPECT_EQ(autostart.calls[0].keyPath, "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\");
  EXPECT_EQ(autostart.calls[1].kind, platform::FakeAutostart::Call::Kind::Delete);
  EXPECT_EQ(autostart.calls[1].valueName, "Lumeno.exe");
  EXPECT_NE(autostart.iniAtCall[0].find("autostartup=1"), std::string::npos);
  EXPECT_NE(autostart.iniAtCall[1].find("autostartup=0"), std::string::npos);
  EXPECT_TRUE(autostart.values.empty());
  EXPECT_NE(folder.read("Lumeno.ini").find("autostartup=0"), std::string::npos);
}

TEST_F(OptionsDialogTest, ARegistrationFailureIsSilentAndTheKeyStillRecordsTheChoice) {
  autostart.succeeds = false;
  auto dialog = open();
  click(*dialog, "chkstartup");
  EXPECT_TRUE(ticked(*dialog, "chkstartup"));
  EXPECT_NE(folder.read("Lumeno.ini").find("autostartup=1"), std::string::npos);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(OptionsDialogTest, AFailedWriteShowsTheMessageAndTheBoxKeepsItsNewState) {
  auto dialog = open();
  ::chmod((folder / "Lumeno.ini").c_str(), 0444);
  click(*dialog, "chklog");
  EXPECT_TRUE(dialog->isLogOn());
  EXPECT_EQ(folder.read("Lumeno.ini"), kAllOff);
  ASSERT_EQ(boxes.shown.size(), 1U);
  EXPECT_EQ(boxes.shown[0], kApiError);
}

TEST_F(OptionsDialogTest, AnUnreadableKeyShowsTheMessageAndStaysOff) {
  folder.write("Lumeno.ini",
               "[Options]\r\nalertifoffline=1\r\nhostnameintext1.text=\r\nuselog=abc\r\n"
               "[Automation]\r\ntrayatstartup=\"\"\r\n");
  auto dialog = open();
  EXPECT_TRUE(ticked(*dialog, "alertifoffline"));
  // The empty keys do not take the value of the key read before them.
  EXPECT_FALSE(ticked(*dialog, "chkhostnamepopup"));
  EXPECT_FALSE(ticked(*dialog, "trayatstartup"));
  EXPECT_FALSE(ticked(*dialog, "chklog"));      // not a number
  EXPECT_FALSE(ticked(*dialog, "chkstartup"));  // absent key
  ASSERT_EQ(boxes.shown.size(), 2U);
  EXPECT_EQ(boxes.shown[0], kApiError);
  EXPECT_EQ(boxes.shown[1], kApiError);
  EXPECT_EQ(folder.read("Lumeno.ini"),
            "[Options]\r\nalertifoffline=1\r\nhostnameintext1.text=\r\nuselog=abc\r\n"
            "[Automation]\r\ntrayatstartup=\"\"\r\n");
  EXPECT_TRUE(autostart.calls.empty());
}

TEST_F(OptionsDialogTest, WithoutASettingsFileEverythingIsOffAndNothingIsCreated) {
  fs::remove(folder / "Lumeno.ini");
  auto dialog = open();
  EXPECT_FALSE(dialog->isLogOn());
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_FALSE(fs::exists(folder / "Lumeno.ini"));
}

TEST_F(OptionsDialogTest, ClearLogAsksAndEmptiesOnlyOnYes) {
  folder.write("log.txt", "[Lumeno Loaded] , Date : 05/12/2026 , Time : 11:26:06\r\n");
  auto dialog = open();
  boxes.answers = {BoxAnswer::No};
  clickButton(*dialog, "Command1");
  EXPECT_EQ(folder.read("log.txt"), "[Lumeno Loaded] , Date : 05/12/2026 , Time : 11:26:06\r\n");
  boxes.answers = {BoxAnswer::Yes};
  clickButton(*dialog, "Command1");
  EXPECT_EQ(folder.read("log.txt"), "");
  fs::remove(folder / "log.txt");
  boxes.answers = {BoxAnswer::Yes};
  clickButton(*dialog, "Command1");
  EXPECT_EQ(folder.read("log.txt"), "");  // created empty
  ASSERT_EQ(boxes.shown.size(), 3U);
  for (const BoxRequest& shown : boxes.shown) EXPECT_EQ(shown, kClearLog);
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(OptionsDialogTest, ALogThatCannotBeClearedSaysSo) {
  auto dialog = open();
  folder.write("log.txt", "keep\r\n");
  ::chmod((folder / "log.txt").c_str(), 0444);
  boxes.answers = {BoxAnswer::Yes};
  clickButton(*dialog, "Command1");
  EXPECT_EQ(folder.read("log.txt"), "keep\r\n");
  ASSERT_EQ(boxes.shown.size(), 2U);
  EXPECT_EQ(boxes.shown[1].icon, BoxIcon::Exclamation);
  EXPECT_EQ(boxes.shown[1].buttons, BoxButtons::Ok);
  EXPECT_NE(boxes.shown[1].text.find("could not be cleared"), std::string::npos);

  fs::remove(folder / "log.txt");
  fs::create_directory(folder / "log.txt");
  boxes.answers = {BoxAnswer::Yes};
  clickButton(*dialog, "Command1");
  ASSERT_EQ(boxes.shown.size(), 4U);
  EXPECT_NE(boxes.shown[3].text.find("could not be cleared"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(folder / "log.txt"));
}

TEST_F(OptionsDialogTest, ViewLogOpensTheMonitorAndDoneUnloads) {
  auto owned = open();
  clickButton(*owned, "Command2");
  EXPECT_EQ(logMonitorShown, 1);
  EXPECT_TRUE(owned->isVisible());
  click(*owned, "chkhostnamepopup");

  // As its owner keeps it: deleted on close, so the next use loads it afresh from the file.
  QPointer<OptionsDialog> dialog = owned.release();
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  clickButton(*dialog, "exitoptions");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(dialog.isNull());

  auto again = std::make_unique<OptionsDialog>(context, [] {});
  EXPECT_FALSE(again->isVisible());
  EXPECT_TRUE(again->isHostNamePopupOn());
  EXPECT_FALSE(again->isLogOn());
}

}  // namespace
}  // namespace lumeno::settings
