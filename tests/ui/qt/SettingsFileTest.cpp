// SPDX-License-Identifier: GPL-3.0-or-later
// Lumeno.ini through readSetting/writeSetting and the options dialog; clearing the log; the XDG
// autostart entry that "Start when computer loads" writes, checked and started as a desktop would.
#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>

#include <gtest/gtest.h>

#include "SettingsText.h"

#include "DesktopEntryReader.h"
#include "FakeProgram.h"
#include "platform/Files.h"
#include "platform/posix/XdgAutostart.h"
#include "ui/qt/OptionsDialog.h"

namespace lumeno::settings {
namespace {

namespace fs = std::filesystem;

class SettingsFile : public ::testing::Test, protected test::FakeProgram {
 protected:
  SettingsFile() : FakeProgram(allOff()) {}
  static QCheckBox* box(const OptionsDialog& dialog, const char* name) {
    return dialog.findChild<QCheckBox*>(QLatin1String(name));
  }
};

TEST_F(SettingsFile, TheDialogsBoxesAreTheOptionsAndAClickWritesItsKey) {
  folder.write("Lumeno.ini", allOff(4, "uselog=1"));
  OptionsDialog dialog(context, {});
  EXPECT_TRUE(box(dialog, "chklog")->isChecked());
  EXPECT_TRUE(dialog.isLogOn());
  box(dialog, "chklog")->click();
  EXPECT_FALSE(dialog.isLogOn());
  box(dialog, "chkhostnamepopup")->click();
  EXPECT_TRUE(dialog.isHostNamePopupOn());
  // Everything after the "=" becomes the value.
  EXPECT_EQ(folder.read("Lumeno.ini"), allOff(3, "hostnameintext1.text =1"));
}

TEST_F(SettingsFile, TheDialogKeepsOneSizeSoDoneStaysPutOnEveryTab) {
  OptionsDialog dialog(context, {});
  auto* tabs = dialog.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
  auto* done = dialog.findChild<QPushButton*>(QStringLiteral("exitoptions"));
  ASSERT_NE(tabs, nullptr);
  ASSERT_NE(done, nullptr);
  dialog.show();
  QCoreApplication::processEvents();
  const QSize size = dialog.size();
  const QRect donePlace = done->geometry();
  for (const int tab : {2, 1, 3, 0, 2}) {
    tabs->setCurrentIndex(tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.size(), size) << tabs->tabText(tab).toStdString();
    EXPECT_EQ(done->geometry(), donePlace) << tabs->tabText(tab).toStdString();
  }
  // Every tab's controls fit in that size: nothing is squeezed below what it needs.
  for (QWidget* control : dialog.findChildren<QWidget*>()) {
    if (qobject_cast<QCheckBox*>(control) || qobject_cast<QPushButton*>(control)) {
      EXPECT_GE(control->height(), control->minimumSizeHint().height())
          << control->objectName().toStdString();
    }
  }
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
}

TEST_F(SettingsFile, TheConnectionTabCarriesTheNewOptionsBelowTheAlertAndAChoiceWritesItsKey) {
  network.interfaces = {{"eth1", "10.1.0.7"}, {"wlan0", "10.2.0.8"}};
  folder.write("Lumeno.ini", "[Options]\r\nlogoutages=1\r\ninterface=wlan0\r\n");
  ConnectionOptions live;
  OptionsDialog dialog(context, {}, &live);
  auto* tabs = dialog.findChild<QTabWidget*>("SSTab1");
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->currentIndex(), 0);  // "Automation" still opens first
  QWidget* connection = tabs->widget(3);
  EXPECT_EQ(tabs->tabText(3), "Connection");
  auto* list = dialog.findChild<QComboBox*>("cmbinterface");
  ASSERT_NE(list, nullptr);
  tabs->setCurrentIndex(3);
  dialog.show();
  // Top to bottom: the alert's frame, then the two boxes, then "Interface:" beside the list.
  std::vector<int> tops;
  for (QWidget* control :
       std::initializer_list<QWidget*>{dialog.findChild<QGroupBox*>("Frame4"), box(dialog, "chkfollowip"),
                                       box(dialog, "chklogoutages"), list}) {
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(connection->isAncestorOf(control)) << control->objectName().toStdString();
    tops.push_back(control->mapTo(connection, QPoint(0, 0)).y());
  }
  EXPECT_TRUE(std::is_sorted(tops.begin(), tops.end()) && tops[1] > tops[0]) << tops[0] << " " << tops[1];
  EXPECT_GE(tops[1], dialog.findChild<QGroupBox*>("Frame4")->geometry().bottom());
  // Every tab's frame keeps the place and height it has on a dialog without these options, where
  // each filled its tab: the alert's frame stops where the others stop.
  const QRect alertFrame = dialog.findChild<QGroupBox*>("Frame4")->geometry();
  for (const auto& [tab, frame] : {std::pair{0, "Frame1"}, {1, "Frame2"}}) {
    tabs->setCurrentIndex(tab);
    QCoreApplication::processEvents();
    const QRect other = dialog.findChild<QGroupBox*>(frame)->geometry();
    EXPECT_EQ(alertFrame.top(), other.top()) << frame;
    EXPECT_EQ(alertFrame.height(), other.height()) << frame;
  }
  auto* label = dialog.findChild<QLabel*>("lblinterface");
  ASSERT_NE(label, nullptr);
  EXPECT_LT(label->mapTo(connection, QPoint(0, 0)).x(), list->mapTo(connection, QPoint(0, 0)).x());
  // What the list offers and what a choice writes are the presenter's (OptionsPresenterTest).
  EXPECT_EQ(list->currentIndex(), 2);
  box(dialog, "chkfollowip")->click();
  list->setCurrentIndex(1);  // moving the selection in code is no choice of the user's
  EXPECT_EQ(live.interfaceName, "wlan0");
  Q_EMIT list->activated(1);
  EXPECT_TRUE(live.followAddress);
  EXPECT_EQ(live.interfaceName, "eth1");
  // The record outlives the dialog: closing it does not switch anything off.
  dialog.close();
  EXPECT_TRUE(live.followAddress && live.logConnectionChanges);
}

// Runs a program to its end; what it printed.
std::string run(const std::string& program, const QStringList& arguments, const fs::path& workingFolder) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.setWorkingDirectory(QString::fromStdString(workingFolder.string()));
  process.start(QString::fromStdString(program), arguments);
  EXPECT_TRUE(process.waitForFinished(-1)) << program;
  EXPECT_EQ(process.exitCode(), 0) << program;
  return process.readAll().toStdString();
}

TEST_F(SettingsFile, StartWhenComputerLoadsWritesAValidEntryThatStartsTheProgramAndUntickingRemovesIt) {
  const QString validator = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
  ASSERT_FALSE(validator.isEmpty()) << "desktop-file-validate is missing (Debian package desktop-file-utils)";
  context.programFolder =
      folder / "Lumeno folder with spaces $HOME `id` \"q\" 'a' 100% back\\slash (1) caf\xC3\xA9;#~&";
  const fs::path program = context.programFolder / "lumeno stand-in";
  fs::create_directories(context.programFolder);
  ASSERT_TRUE(platform::writeFile(program, "#!/bin/sh\npwd -P > started.txt\n"));
  fs::permissions(program, fs::perms::owner_all);
  platform::XdgAutostart xdg(folder / "autostart", program);
  context.autostart = &xdg;

  OptionsDialog dialog(context, {});
  box(dialog, "chkstartup")->click();
  EXPECT_TRUE(xdg.isEnabled());
  const fs::path entry = xdg.entryFile();
  const std::string text = platform::readFile(entry).value_or("");
  EXPECT_EQ(run(validator.toStdString(), {QString::fromStdString(entry.string())}, folder.path()), "")
      << text;
  // Started as a session starts it: Exec read by the Desktop Entry rules, run in Path.
  const std::optional<std::vector<std::string>> argv =
      test::parseExec(test::entryValue(text, "Exec").value_or(""));
  ASSERT_EQ(argv, std::vector<std::string>{program.string()}) << text;
  ASSERT_EQ(test::entryValue(text, "Path"), context.programFolder.string()) << text;
  EXPECT_EQ(test::entryValue(text, "TryExec"), program.string()) << text;
  run(argv->front(), {}, *test::entryValue(text, "Path"));
  EXPECT_EQ(platform::readFile(context.file("started.txt")),
            fs::canonical(context.programFolder).string() + "\n");

  box(dialog, "chkstartup")->click();
  EXPECT_FALSE(xdg.isEnabled() || fs::exists(entry));
  EXPECT_EQ(platform::readFile(context.file("Lumeno.ini")), "[Automation]\r\nautostartup=0\r\n");
  EXPECT_TRUE(boxes.shown.empty());

  // A program whose path is no text cannot be named in an entry: start at log-in fails.
  platform::XdgAutostart unnamed(folder / "autostart", folder / "not\xFFtext");
  EXPECT_FALSE(unnamed.enable() || fs::exists(unnamed.entryFile()));
  // Nor where a file stands in the place of the autostart folder.
  ASSERT_TRUE(platform::writeFile(folder / "blocked", ""));
  EXPECT_FALSE(platform::XdgAutostart(folder / "blocked" / "autostart", program).enable());
}

// The manual page documents every key of the settings file the program reads, each as a bold
// entry under its section's heading.
TEST(ManualPage, NamesEveryKeyTheProgramReadsUnderItsSection) {
  const std::string page = platform::readFile(LUMENO_MANUAL_PAGE).value_or("");
  ASSERT_FALSE(page.empty()) << LUMENO_MANUAL_PAGE;
  for (const SettingKey& entry : settingKeysRead()) {
    const std::size_t section = page.find("\n.SS [" + entry.section + "]\n");
    const std::size_t key = page.find("\n.B " + entry.key + "\n", section);
    ASSERT_NE(section, std::string::npos) << entry.section;
    ASSERT_NE(key, std::string::npos) << entry.key;
    EXPECT_GT(page.find("\n.S", section + 1), key) << entry.key << " is not under [" << entry.section << "]";
  }
}

}  // namespace
}  // namespace lumeno::settings
