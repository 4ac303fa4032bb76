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
#include "iptools/OutputTail.h"
#include "platform/Files.h"
#include "ui/qt/WindowGeometry.h"

namespace lumeno::iptools::test {
namespace {

using ::lumeno::test::spokenName;
using ::lumeno::test::unnamedControls;
using WindowTest = IpToolsFixture;
using Strings = std::vector<std::string>;

struct Designed {
  const char* name;
  int left, top, width, height;
  const char* text;
  const char* tip;
  int maxLength;
};

TEST_F(WindowTest, ControlsCarryTheirNamesTextsTipsLimitsAndPlacesInTwips) {
  EXPECT_EQ(window->objectName(), "frmMain");
  EXPECT_EQ(window->windowTitle(), "IP Tools");
  const std::vector<Designed> rows{
      {"txtIP", 480, 2565, 1935, 285, "www.debian.org", "Insert Ip or Domain address here to test...", 128},
      {"txtNumber", 4200, 2580, 375, 255, "4", "Amount of times to ping.", 2},
      {"iptxt3", 1440, 3105, 495, 285, "",
       "Enter the IP to do a trace route on. Class type will be displayed in status.", 3},
      {"hops", 3120, 3150, 375, 195, "30", "Limit the amount of hops.", 3},
      {"timeout", 4560, 3150, 615, 195, "3000", "Time in 'ms' before trace route gives up.", 6},
      {"urltxt", 480, 3525, 1935, 285, "www.", "Enter your domain address to do a trace route on.", 32767}};
  for (const Designed& row : rows) {
    SCOPED_TRACE(row.name);
    QLineEdit* line = box(row.name);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->geometry(), app::twipsRect(*window, row.left, row.top, row.width, row.height));
    EXPECT_EQ(line->text().toStdString(), row.text);
    EXPECT_EQ(line->toolTip().toStdString(), row.tip);
    EXPECT_EQ(line->maxLength(), row.maxLength);
  }
  EXPECT_EQ(box("txtIP")->font().family(), "Verdana");
  EXPECT_NE(box("iptxt1")->font().family(), "Verdana");  // the octet boxes keep the window's font

  EXPECT_EQ(button("cmdPing")->geometry(), app::twipsRect(*window, 4680, 2520, 855, 375));
  EXPECT_EQ(button("netstatopt")->text(), "Option1");
  EXPECT_EQ(spokenName(button("netstatopt")), "Netstat");  // the caption is the designer's, cut off
  EXPECT_EQ(unnamedControls(*window), "");
  EXPECT_EQ(button("chkgethostnames")->text(), "Get host names");
  EXPECT_EQ(find<QLabel>("amountping")->toolTip(), "Amount of true pings");
  EXPECT_EQ(find<QLabel>("classlbl")->frameShape(), QFrame::Box);
  std::vector<int> separators;
  for (const QLabel* line : window->findChildren<QLabel*>(QStringLiteral("Label6"))) {
    separators.push_back(line->property("index").toInt());
    EXPECT_EQ(line->height(), app::twipsY(*window, 15));
  }
  EXPECT_EQ(separators, (std::vector<int>{0, 1}));

  // The output box takes the client area's width and all but the tool rows of its height.
  window->show();
  const QWidget* output = find("txtOutPut");
  EXPECT_EQ(output->pos(), QPoint(0, 0));
  EXPECT_EQ(output->width(), window->centralWidget()->width());
  EXPECT_EQ(output->height(), window->centralWidget()->height() - app::twipsY(*window, 2400));
  EXPECT_EQ(window->centralWidget()->width(), app::twipsX(*window, 5655));
}

TEST_F(WindowTest, TabGoesThroughTheControlsInTheDesignedOrderFromTheHostBox) {
  window->show();
  QApplication::setActiveWindow(window.get());
  EXPECT_EQ(QApplication::focusWidget(), box("txtIP"));
  const Strings designed{"txtIP",         "txtNumber", "cmdPing",         "ipopt",        "iptxt1",
                         "iptxt2",        "iptxt3",    "iptxt4",          "hops",         "timeout",
                         "urlopt",        "urltxt",    "chkgethostnames", "tracmd",       "netstatopt",
                         "netstatbutton", "txtOutPut", "pingopt",         "chknetstatall"};
  Strings order;
  QWidget* at = box("txtIP");
  for (std::size_t i = 0; i < designed.size(); ++i) {
    order.push_back(at->objectName().toStdString());
    at = at->nextInFocusChain();
    while (at->focusPolicy() == Qt::NoFocus || at->parentWidget() != window->centralWidget()) {
      at = at->nextInFocusChain();
    }
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

Strings captions(const QMenu* menu) {
  Strings texts;
  for (const QAction* action : menu->actions()) texts.push_back(action->text().toStdString());
  return texts;
}

TEST_F(WindowTest, TheMenusHoldTheirItemsWithoutAccessKeys) {
  EXPECT_EQ(captions(find<QMenu>("mnufile")), Strings{"Exit"});
  EXPECT_EQ(captions(find<QMenu>("mnuoptions")), (Strings{"View", "Clear all"}));
  EXPECT_EQ(captions(find<QMenu>("mnuview")), (Strings{"Last ping", "Last trace route", "Last netstat"}));
  Strings bar;
  for (const QAction* action : window->menuBar()->actions()) bar.push_back(action->text().toStdString());
  EXPECT_EQ(bar, (Strings{"File", "Options"}));
}

TEST_F(WindowTest, ClicksKeysAndMenuItemsReachThePresenter) {
  window->show();
  button("ipopt")->click();
  EXPECT_TRUE(box("iptxt1")->isEnabled());
  EXPECT_FALSE(box("txtIP")->isEnabled());
  button("pingopt")->click();
  button("pingopt")->click();  // a second click leaves it chosen, and the only one chosen
  EXPECT_TRUE(button("pingopt")->isChecked());
  EXPECT_FALSE(button("ipopt")->isChecked());

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
  EXPECT_EQ(status(), " All Cleared");
  EXPECT_EQ(text("txtIP"), "");

  type("txtIP", "127.0.0.1");
  ASSERT_TRUE(run("cmdPing"));
  EXPECT_EQ(counter(), "1");

  trigger("mnuexit");
  EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace lumeno::iptools::test
