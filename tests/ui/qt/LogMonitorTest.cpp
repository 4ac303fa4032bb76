// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/LogMonitorWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPaintEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"
#include "ui/qt/LogLinesView.h"

namespace lumeno::log {
namespace {

QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string numberedLines(int count) {
  std::string bytes;
  for (int n = 0; n < count; ++n) bytes += "entry " + std::to_string(n) + "\r\n";
  return bytes;
}

struct LogMonitorTest : ::testing::Test {
  LogMonitorTest() {
    folder.write("log.txt", numberedLines(200));
    window = std::make_unique<LogMonitorWindow>(context);
  }

  void append(std::string_view text) const { ASSERT_TRUE(platform::appendToFile(folder / "log.txt", text)); }
  [[nodiscard]] LogLinesView* lines() const { return window->findChild<LogLinesView*>("RichTextBox1"); }
  [[nodiscard]] QString lastShown() const {
    return lines()->visibleLines().value(lines()->visibleLines().size() - 1);
  }
  // The colours of the pane as one paint draws it, over a red backdrop that shows what it missed.
  [[nodiscard]] QSet<QRgb> paneColours() const {
    QImage image(lines()->viewport()->size(), QImage::Format_RGB32);
    image.fill(Qt::red);
    lines()->viewport()->render(&image);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    return colours;
  }
  void clickLine(int row, Qt::KeyboardModifiers modifiers = {}) const {
    const int height = lines()->fontMetrics().lineSpacing();
    QTest::mouseClick(lines()->viewport(), Qt::LeftButton, modifiers, QPoint(10, row * height + height / 2));
  }

  test::TempFolder folder;
  test::ScriptedMessageBoxes boxes;
  AppContext context{.programFolder = folder.path(), .boxes = &boxes, .places = {}};
  std::unique_ptr<LogMonitorWindow> window;
};

TEST_F(LogMonitorTest, IsBuiltAsDesignedOpensOnTheNewestLinesAndEachTickBringsNewOnesIntoView) {
  window->show();  // its caption, and its lines drawn, are read off the screen by the e2e screens case
  QStringList menu, designed;
  for (const QAction* item : window->findChild<QMenu*>(qs(design::kFileMenuName))->actions())
    menu << item->objectName() + ":" + item->text();
  for (const design::MenuItemDesign& item : design::kFileMenu)
    designed << qs(item.name) + ":" + qs(item.caption);
  EXPECT_EQ(menu, designed);
  for (const design::ControlDesign& button : {design::kFindPrevious, design::kFindNext})
    EXPECT_EQ(window->findChild<QPushButton*>(qs(button.name))->text().toStdString(), button.text);
  EXPECT_EQ(lastShown(), "entry 199");
  const auto* timer = window->findChild<QTimer*>(qs(design::kReloadTimerName));
  EXPECT_TRUE(timer->isActive() && timer->interval() == design::kReloadIntervalMs);
  EXPECT_TRUE(window->findChild<QWidget*>(qs(design::kStatusBar.name))->isVisible());

  lines()->verticalScrollBar()->setValue(0);  // the user scrolls up to read
  append("two\r\n");
  window->onReloadTick();
  EXPECT_EQ(lastShown(), "two");
}

// Records which widget is asked to draw, and how high a strip.
struct PaintLog : QObject {
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint)
      drawn.emplace_back(watched, static_cast<QPaintEvent*>(event)->rect().height());
    return false;
  }
  std::vector<std::pair<QObject*, int>> drawn;
};

TEST_F(LogMonitorTest, ANewLineDrawsOnlyItselfNotTheWholeView) {
  folder.write("log.txt", numberedLines(2000) + std::string(300, 'w') + "\r\n");  // wider than the view
  window = std::make_unique<LogMonitorWindow>(context);
  window->show();
  QCoreApplication::processEvents();
  PaintLog paints;
  for (QWidget* watched : std::initializer_list<QWidget*>{
           lines(), lines()->viewport(), lines()->verticalScrollBar(), lines()->horizontalScrollBar()})
    watched->installEventFilter(&paints);
  append("entry 200\r\n");
  window->onReloadTick();
  QCoreApplication::processEvents();
  // The lines drawn already move up; only the strip that comes into sight is drawn.
  ASSERT_EQ(paints.drawn.size(), 1U);
  EXPECT_EQ(paints.drawn[0].first, lines()->viewport());
  EXPECT_LE(paints.drawn[0].second, 2 * lines()->fontMetrics().lineSpacing());
  EXPECT_EQ(lastShown(), "entry 200");
}

// Clear log on the real file and screen is the e2e screens case's.
TEST_F(LogMonitorTest, PauseHoldsTheViewAndAReopenedMonitorRunsUntilItsLogIsGone) {
  window->show();
  window->findChild<QAction*>("mnupausescreen")->trigger();
  EXPECT_FALSE(window->findChild<QAction*>("mnupausescreen")->isEnabled() ||
               window->findChild<QTimer*>("Timer1")->isActive());
  EXPECT_TRUE(window->findChild<QAction*>("mnuresume")->isEnabled());

  window->findChild<QAction*>("mnuexit")->trigger();
  EXPECT_FALSE(window->isVisible());
  append("after\r\n");
  window->show();
  EXPECT_TRUE(window->findChild<QTimer*>("Timer1")->isActive());
  EXPECT_EQ(lastShown(), "after");

  std::filesystem::remove(folder / "log.txt");  // a log that is gone shows an empty pane
  window->onReloadTick();
  EXPECT_EQ(paneColours(), QSet<QRgb>{lines()->palette().color(QPalette::Base).rgb()});
}

TEST_F(LogMonitorTest, LinesAreSelectedWithMouseAndKeysAndCopiedWithCtrlC) {
  folder.write("log.txt", "one\r\ntwo\r\nthree\r\n");
  window = std::make_unique<LogMonitorWindow>(context);
  window->show();
  lines()->setFocus();
  clickLine(0);
  clickLine(1, Qt::ShiftModifier);
  QTest::keySequence(lines(), QKeySequence::Copy);
  EXPECT_EQ(QApplication::clipboard()->text(), "one\ntwo");
  QTest::keyClick(lines(), Qt::Key_Down, Qt::ShiftModifier);
  QTest::keySequence(lines(), QKeySequence::Copy);
  EXPECT_EQ(QApplication::clipboard()->text(), "one\ntwo\nthree");
  clickLine(1);
  QTest::keySequence(lines(), QKeySequence::SelectAll);
  QTest::keySequence(lines(), QKeySequence::Copy);
  EXPECT_EQ(QApplication::clipboard()->text(), "one\ntwo\nthree");
}

TEST_F(LogMonitorTest, CtrlFSearchesTheLogAndBringsTheLineFoundIntoView) {
  append("The Needle here\r\n");
  window->show();
  window->onReloadTick();
  lines()->verticalScrollBar()->setValue(0);
  window->findChild<QAction*>("findaction")->trigger();
  auto* box = window->findChild<QLineEdit*>("txtfind");
  ASSERT_TRUE(box->isVisible());
  EXPECT_EQ(box->placeholderText().toStdString(), design::kFindBox.text);
  QTest::keyClicks(box, "needle");
  QTest::keyClick(box, Qt::Key_Return);
  while (window->presenter().busy()) window->presenter().doWork();
  EXPECT_EQ(window->presenter().currentLine(), 200U);
  EXPECT_TRUE(lines()->visibleLines().contains("The Needle here"));
  EXPECT_FALSE(paneColours().contains(qRgb(255, 0, 0)));

  box->setText("entry 3");
  QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);  // previous
  EXPECT_EQ(window->presenter().currentLine(), 39U);
  box->setText("absent");
  QTest::keyClick(box, Qt::Key_Return);
  while (window->presenter().busy()) window->presenter().doWork();
  EXPECT_EQ(window->findChild<QLabel*>("lblfindstate")->text(), "Not found");
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_FALSE(box->isVisible());
}

}  // namespace
}  // namespace lumeno::log
