// SPDX-License-Identifier: GPL-3.0-or-later
// The window's own wiring: its controls as designed, the tab order, and that clicks, keys and menu
// items reach the presenter, which decides.
#include <QTest>

#include <string>
#include <vector>

#include "IpToolsFixture.h"
#include "iptools/IpToolsDesign.h"
#include "iptools/OutputTail.h"
#include "platform/Files.h"
#include "ui/qt/WindowGeometry.h"

namespace lumeno::iptools::test {
namespace {

using WindowTest = IpToolsFixture;
using Strings = std::vector<std::string>;

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Texts, tips, menus and spoken names are read off the real window by the e2e suites; what they
// cannot tell is a control's exact place, its font and its limit.
TEST_F(WindowTest, BuildsEveryDesignedControlInItsPlace) {
  EXPECT_EQ(window->objectName(), qs(design::kWindowName));
  for (const design::ControlDesign& control : design::kControls) {
    SCOPED_TRACE(std::string(control.name) + " " + std::to_string(control.index));
    QWidget* widget = nullptr;
    for (QWidget* named : window->findChildren<QWidget*>(qs(control.name)))
      if (control.index < 0 || named->property("index").toInt() == control.index) widget = named;
    ASSERT_NE(widget, nullptr);
    if (control.kind != design::Kind::OutputBox) {
      EXPECT_EQ(widget->geometry(), app::twipsRect(*window, control.place.left, control.place.top,
                                                   control.place.width, control.place.height));
    }
    if (control.kind == design::Kind::Separator) continue;  // a line: no text, no font
    EXPECT_EQ(widget->font().family() == qs(design::kFontName), control.verdana);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) {
      EXPECT_EQ(line->text(), qs(control.text));
      EXPECT_EQ(line->maxLength(), control.maxLength > 0 ? control.maxLength : 32767);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
      EXPECT_EQ(label->frameShape() == QFrame::Box, control.kind == design::Kind::FramedLabel);
    }
  }

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

  trigger("mnulastping");
  EXPECT_EQ(output(), "No ping has been done yet");
  auto* outputBox = find<QPlainTextEdit>("txtOutPut");

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
}

}  // namespace
}  // namespace lumeno::iptools::test
