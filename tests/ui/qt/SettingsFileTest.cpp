// SPDX-License-Identifier: GPL-3.0-or-later
// The options dialog over Lumeno.ini, and the autostart entry "Start when computer loads" writes.
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
  EXPECT_TRUE(box(dialog, "chklog")->isChecked() && dialog.isLogOn());
  box(dialog, "chklog")->click();
  EXPECT_FALSE(dialog.isLogOn());
  box(dialog, "chkhostnamepopup")->click();
  EXPECT_TRUE(dialog.isHostNamePopupOn());
  // Everything after the "=" becomes the value.
  EXPECT_EQ(folder.read("Lumeno.ini"), allOff(3, "hostnameintext1.text =1"));
}

TEST_F(SettingsFile, TheDialogKeepsOneSizeSoDoneStaysPutOnEveryTab) {
  OptionsDialog dialog(context, {});
  auto* tabs = dialog.findChild<QTabWidget*>("SSTab1");
  auto* done = dialog.findChild<QPushButton*>("exitoptions");
  ASSERT_TRUE(tabs != nullptr && done != nullptr);
  dialog.show();
  QCoreApplication::processEvents();
  const QSize size = dialog.size();
  const QRect donePlace = done->geometry();
  for (const int tab : {2, 1, 3, 0, 2}) {
    tabs->setCurrentIndex(tab);
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog.size() == size && done->geometry() == donePlace) << tab;
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
  auto* list = dialog.findChild<QComboBox*>("cmbinterface");
  auto* alert = dialog.findChild<QGroupBox*>("Frame4");
  ASSERT_TRUE(tabs != nullptr && list != nullptr && alert != nullptr);
  EXPECT_EQ(tabs->currentIndex(), 0);  // "Automation" still opens first
  QWidget* connection = tabs->widget(3);
  tabs->setCurrentIndex(3);
  dialog.show();
  // Top to bottom: the alert's frame, then the two boxes, then "Interface:" beside the list (that
  // they show on this tab is the e2e screens case's).
  std::vector<int> tops;
  for (QWidget* control :
       std::initializer_list<QWidget*>{alert, box(dialog, "chkfollowip"), box(dialog, "chklogoutages"), list})
    tops.push_back(control->mapTo(connection, QPoint(0, 0)).y());
  EXPECT_TRUE(std::is_sorted(tops.begin(), tops.end()) && tops[1] > tops[0]) << tops[0] << " " << tops[1];
  EXPECT_GE(tops[1], alert->geometry().bottom());
  EXPECT_LT(dialog.findChild<QLabel*>("lblinterface")->mapTo(connection, QPoint(0, 0)).x(),
            list->mapTo(connection, QPoint(0, 0)).x());
  // The alert's frame keeps the place and height the other tabs' frames have.
  for (const auto& [tab, frame] : {std::pair{0, "Frame1"}, {1, "Frame2"}}) {
    tabs->setCurrentIndex(tab);
    QCoreApplication::processEvents();
    const QRect other = dialog.findChild<QGroupBox*>(frame)->geometry();
    EXPECT_TRUE(alert->geometry().top() == other.top() && alert->geometry().height() == other.height())
        << frame;
  }
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

  // A program whose path is no text cannot be named in an entry, nor can an entry go where a file
  // stands in the autostart folder's place.
  platform::XdgAutostart unnamed(folder / "autostart", folder / "not\xFFtext");
  EXPECT_FALSE(unnamed.enable() || fs::exists(unnamed.entryFile()));
  ASSERT_TRUE(platform::writeFile(folder / "blocked", ""));
  EXPECT_FALSE(platform::XdgAutostart(folder / "blocked" / "autostart", program).enable());
}

// Every key of the settings file the program reads is a bold entry under its section's heading.
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
