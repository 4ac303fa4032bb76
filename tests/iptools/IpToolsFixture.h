#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "app/AppContext.h"
#include "iptools/IpToolsWindow.h"

namespace lumeno::iptools::test {

// One IP tools window over a temporary program folder, with scripted message boxes.
class IpToolsFixture : public ::testing::Test {
 protected:
  void SetUp() override { open(); }

  [[nodiscard]] AppContext context() {
    AppContext context;
    context.programFolder = folder.path();
    context.boxes = &boxes;
    return context;
  }
  void open() {
    window.reset();
    window = std::make_unique<IpToolsWindow>(context());
  }

  template <typename T>
  T* find(const char* name) const {
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  [[nodiscard]] QLineEdit* box(const char* name) const { return find<QLineEdit>(name); }
  [[nodiscard]] QAbstractButton* button(const char* name) const { return find<QAbstractButton>(name); }
  [[nodiscard]] std::string status() const { return find<QLabel>("classlbl")->text().toStdString(); }
  [[nodiscard]] std::string counter() const { return find<QLabel>("amountping")->text().toStdString(); }
  [[nodiscard]] std::string output() const {
    return find<QPlainTextEdit>("txtOutPut")->toPlainText().toStdString();
  }
  void trigger(const char* action) const {
    auto* item = window->findChild<QAction*>(QString::fromLatin1(action));
    ASSERT_NE(item, nullptr) << action;
    item->trigger();
  }

  // Clicks a tool button and waits (blocking on the tool's end, never a fixed delay) for the run.
  [[nodiscard]] ::testing::AssertionResult run(const char* toolButton) const {
    QSignalSpy finished(window.get(), &IpToolsWindow::toolFinished);
    button(toolButton)->click();
    if (finished.isEmpty() && !finished.wait(60000)) {
      return ::testing::AssertionFailure() << toolButton << ": the tool did not end";
    }
    return ::testing::AssertionSuccess();
  }

  lumeno::test::TempFolder folder;
  lumeno::test::ScriptedMessageBoxes boxes;
  std::unique_ptr<IpToolsWindow> window;
};

}  // namespace lumeno::iptools::test
