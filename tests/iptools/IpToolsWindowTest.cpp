// SPDX-License-Identifier: GPL-3.0-or-later
// The window itself: its controls as designed, the tab order, the menus, and that clicks, keys
// and menu items reach the presenter. What the window decides is tested on its presenter.
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>

#include <string>
#include <vector>

#include "AccessibleNames.h"
#include "IpToolsFixture.h"
#include "iptools/IpToolsDesign.h"
#include "iptools/OutputTail.h"
#include "platform/Files.h"
#include "ui/qt/WindowGeometry.h"

namespace lumeno::iptools::test {
namespace {

using ::lumeno::test::spokenName;
using WindowTest = IpToolsFixture;
using Strings = std::vector<std::string>;

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Every control of the design is built with its name, place, text, tip, limit and font.
TEST_F(WindowTest, BuildsEveryDesignedControlAndMenuInItsPlace) {
  EXPECT_EQ(window->objectName(), qs(design::kWindowName));
  EXPECT_EQ(window->windowTitle(), qs(design::kCaption));
  for (const design::ControlDesign& control : design::kControls) {
    SCOPED_TRACE(std::string(control.name) + " " + std::to_string(control.index));
    QWidget* widget = nullptr;
    for (QWidget* named : window->findChildren<QWidget*>(qs(control.name)))
      if (control.index < 0 || named->property("index").toInt() == control.index) widget = named;
    ASSERT_NE(widget, nullptr);
    if (control.kind != design::Kind::OutputBox)
      EXPECT_EQ(widget->geometry(), app::twipsRect(*window, control.place.left, control.place.top,
                                                   control.place.width, control.place.height));
    EXPECT_EQ(widget->toolTip(), qs(control.tip));
    if (control.kind == design::Kind::Separator) continue;  // a line: no text, no font
    EXPECT_EQ(widget->font().family() == qs(design::kFontName), control.verdana);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
      EXPECT_EQ(line->text(), qs(control.text));
      EXPECT_EQ(line->maxLength(), control.maxLength > 0 ? control.maxLength : 32767);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      // The status label shows the presenter's word from the start.
      if (control.control != Control::StatusLabel) EXPECT_EQ(label->text(), qs(control.text));
      EXPECT_EQ(label->frameShape() == QFrame::Box, control.kind == design::Kind::FramedLabel);
    } else if (auto* clickable = qobject_cast<QAbstractButton*>(widget)) {
      EXPECT_EQ(clickable->text(), qs(control.text));
    }
  }
  for (const design::MenuDesign& menu : design::kMenus) {
    auto* action = find<QAction>(std::string(menu.name).c_str());
    auto* asMenu = find<QMenu>(std::string(menu.name).c_str());
    ASSERT_TRUE(action != nullptr || asMenu != nullptr) << menu.name;
    EXPECT_EQ(action != nullptr ? action->text() : asMenu->title(), qs(menu.caption)) << menu.name;
  }
  Strings bar, designedBar;
  for (const QAction* action : window->menuBar()->actions()) bar.push_back(action->text().toStdString());
  for (const design::MenuDesign& menu : design::kMenus)
    if (menu.parent.empty()) designedBar.emplace_back(menu.caption);
  EXPECT_EQ(bar, designedBar);
  EXPECT_EQ(spokenName(button("netstatopt")), "Netstat");  // the caption is the designer's, cut off

  // The output box takes the client area's width and all but the tool rows of its height.
  window->show();
  const QWidget* output = find("txtOutPut");
  EXPECT_EQ(output->pos(), QPoint(0, 0));
  EXPECT_EQ(output->width(), window->centralWidget()->width());
  EXPECT_EQ(output->height(),
            window->centralWidget()->height() - app::twipsY(*window, design::kRowsBelowOutput));
  EXPECT_EQ(window->centralWidget()->width(), app::twipsX(*window, design::kClientWidth));
}

TEST_F(WindowTest, TabGoesThroughTheControlsInTheDesignedOrderFromTheHostBox) {
  window->show();
  QApplication::setActiveWindow(window.get());
  EXPECT_EQ(QApplication::focusWidget(), box("txtIP"));
  Strings order, designed;
  QWidget* at = box("txtIP");
  for (const std::string_view name : design::kTabOrder) {
    designed.emplace_back(name);
    order.push_back(at->objectName().toStdString());
    at = at->nextInFocusChain();
    while (at->focusPolicy() == Qt::NoFocus || at->parentWidget() != window->centralWidget())
      at = at->nextInFocusChain();
  }
  EXPECT_EQ(order, designed);

  // Tab leaves the output box for the next control instead of typing into it.
  auto* outputBox = find<QPlainTextEdit>("txtOutPut");
  outputBox->setPlainText("output");
  outputBox->setFocus();
  QTest::keyClick(outputBox, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), button("pingopt"));
  EXPECT_EQ(outputBox->toPlainText(), "output");
}

TEST_F(WindowTest, ClicksKeysAndMenuItemsReachThePresenter) {
  window->show();
  button("ipopt")->click();
  EXPECT_EQ(std::pair(box("iptxt1")->isEnabled(), box("txtIP")->isEnabled()), std::pair(true, false));
  button("pingopt")->click();
  button("pingopt")->click();  // a second click leaves it chosen, and the only one chosen
  EXPECT_EQ(std::pair(button("pingopt")->isChecked(), button("ipopt")->isChecked()), std::pair(true, false));

  QTest::mouseClick(box("txtIP"), Qt::LeftButton);
  EXPECT_EQ(box("txtIP")->selectedText(), "www.debian.org");

  trigger("mnulastping");
  EXPECT_EQ(output(), "No ping has been done yet");
  auto* outputBox = find<QPlainTextEdit>("txtOutPut");
  QTest::mouseClick(outputBox->viewport(), Qt::LeftButton);
  EXPECT_EQ(outputBox->textCursor().selectedText(), "No ping has been done yet");
  EXPECT_TRUE(find<QMenu>("mnuoptions")->isVisible());
  find<QMenu>("mnuoptions")->close();

  // A large stored result goes into the box a piece at a time, the window's events handled in
  // between; what it shows in the end is the kept tail, read from its top.
  std::string large;
  for (int n = 0; n < 300000; ++n)
    large += "64 bytes from 192.0.2.1: icmp_seq=" + std::to_string(n) + " ttl=64\n";
  platform::writeFile(folder / "ping.txt", large);
  trigger("mnulastping");
  OutputTail kept;
  kept.append(large);
  const std::string expected = kept.text();
  EXPECT_LT(output().size(), expected.size() / 4);
  for (int turn = 0; turn < 1000 && output().size() < expected.size(); ++turn)
    QCoreApplication::processEvents();
  EXPECT_TRUE(output() == expected);
  EXPECT_EQ(outputBox->textCursor().position(), 0);

  boxes.answers = {BoxAnswer::Yes};
  trigger("mnuclearall");
  EXPECT_EQ(std::pair(status(), text("txtIP")), (std::pair<std::string, std::string>(" All Cleared", "")));

  type("txtIP", "127.0.0.1");
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_EQ(counter(), "1");

  trigger("mnuexit");
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace lumeno::iptools::test
