// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ProcessWatch.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "ui/qt/IpToolsWindow.h"

namespace lumeno::iptools::test {

// One IP tools window over a temporary program folder, with scripted message boxes.
class IpToolsFixture : public ::testing::Test {
 protected:
  void SetUp() override { open(); }
  void open() {
    window.reset();
    AppContext context;
    context.programFolder = folder.path();
    context.boxes = &boxes;
    window = std::make_unique<IpToolsWindow>(context, nullptr, [this] { return now; });
    if (!standIn.isEmpty())
      window->runner().setProgramFinder([program = standIn](const QString&) { return program; });
  }

  template <typename T = QWidget>
  T* find(const char* name) const {
    return window->findChild<T*>(QString::fromLatin1(name));
  }
  QLineEdit* box(const char* name) const { return find<QLineEdit>(name); }
  QAbstractButton* button(const char* name) const { return find<QAbstractButton>(name); }
  std::string text(const char* name) const { return box(name)->text().toStdString(); }
  void type(const char* name, const char* typed) const { box(name)->setText(QString::fromUtf8(typed)); }
  void typeOctets(const std::array<const char*, 4>& octets) const {
    for (std::size_t i = 0; i < 4; ++i) type(("iptxt" + std::to_string(i + 1)).c_str(), octets[i]);
  }
  std::string status() const { return find<QLabel>("classlbl")->text().toStdString(); }
  std::string counter() const { return find<QLabel>("amountping")->text().toStdString(); }
  std::string output() const { return find<QPlainTextEdit>("txtOutPut")->toPlainText().toStdString(); }
  void trigger(const char* item) const { find<QAction>(item)->trigger(); }

  // What the echoing stand-in prints for these arguments, run in the program folder.
  std::string echoed(const std::vector<std::string>& arguments) const {
    std::string printed;
    for (const std::string& argument : arguments) printed += "[" + argument + "]\n";
    return printed + "cwd: " + folder.path().string() + "\n";
  }

  // Clicks a tool button and blocks until the window reports the tool's end.
  [[nodiscard]] ::testing::AssertionResult run(const char* toolButton) const {
    QSignalSpy finished(window.get(), &IpToolsWindow::toolFinished);
    button(toolButton)->click();
    if (!finished.isEmpty() || finished.wait(60000)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << toolButton << ": the tool did not end";
  }

  // Every tool a window opened from now on asks for is this stand-in; the real tools when empty.
  QString standIn = QStringLiteral(LUMENO_STAND_IN_ECHO);
  std::int64_t now = 1'000'000;  // what the window's monotonic clock says, in milliseconds
  lumeno::test::TempFolder folder;
  lumeno::test::ScriptedMessageBoxes boxes;
  std::unique_ptr<IpToolsWindow> window;
};

}  // namespace lumeno::iptools::test
