// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>

#include "FakeProgram.h"
#include "HistoryLog.h"
#include "ui/qt/HistoryWindow.h"

namespace lumeno::log {
namespace {

TEST(HistoryWindow, ForwardsTheOptionsButtonAndTellsAnOutageOnHover) {
  test::FakeProgram program("[Options]\r\nuselog=1\r\n");
  program.clock.value = test::kHistoryNoon;
  program.folder.write("log.txt", test::kHistoryLog);
  int optionsOpened = 0;
  HistoryWindow window(
      program.context, [] { return false; }, [&] { ++optionsOpened; }, test::dayMonthYearLayout());
  window.show();

  EXPECT_EQ(window.findChild<QLabel*>("lblhistorynote")->text().toStdString(),
            HistoryPresenter::kLoggingOffNote);
  window.findChild<QPushButton*>("cmdhistoryoptions")->click();
  EXPECT_EQ(optionsOpened, 1);

  // Red where the outages lie is the e2e screens case's; here, green elsewhere and the hover.
  auto* strip = window.findChild<QWidget*>("picday");
  const int outage = strip->width() * 19 / 24;  // from 6 to 4 hours before now
  EXPECT_EQ(strip->grab().toImage().pixelColor(strip->width() * 15 / 24, strip->height() / 2),
            QColor(0, 160, 0));
  QHelpEvent hover(QEvent::ToolTip, QPoint(outage, strip->height() / 2),
                   strip->mapToGlobal(QPoint(outage, 1)));
  QApplication::sendEvent(strip, &hover);
  EXPECT_EQ(QToolTip::text(), "Offline from 05/12/2026 06:00:00 for 2 h");
}

}  // namespace
}  // namespace lumeno::log
