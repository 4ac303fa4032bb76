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

// The window draws the presenter's strips, names its figures and forwards the options button.
TEST(HistoryWindow, DrawsRedWhereTheOutageIsAndTellsItOnHover) {
  test::FakeProgram program("[Options]\r\nuselog=1\r\n");
  program.clock.value = test::kHistoryNoon;
  program.folder.write("log.txt", test::kHistoryLog);
  const platform::StampLayout layout = test::dayMonthYearLayout();
  int optionsOpened = 0;
  HistoryWindow window(
      program.context, [] { return false; }, [&] { ++optionsOpened; }, layout);
  window.show();

  EXPECT_EQ(window.findChild<QLabel*>("lblhistorynote")->text().toStdString(),
            HistoryPresenter::kLoggingOffNote);
  window.findChild<QPushButton*>("cmdhistoryoptions")->click();
  EXPECT_EQ(optionsOpened, 1);

  // The outage lies from 6 to 4 hours before now: three quarters of the way along and more.
  auto* strip = window.findChild<QWidget*>("picday");
  const QImage picture = strip->grab().toImage();
  const int outage = strip->width() * 19 / 24;
  const int online = strip->width() * 15 / 24;
  EXPECT_EQ(picture.pixelColor(outage, strip->height() / 2), QColor(220, 0, 0));
  EXPECT_EQ(picture.pixelColor(online, strip->height() / 2), QColor(0, 160, 0));
  QHelpEvent hover(QEvent::ToolTip, QPoint(outage, strip->height() / 2),
                   strip->mapToGlobal(QPoint(outage, 1)));
  QApplication::sendEvent(strip, &hover);
  EXPECT_EQ(QToolTip::text(), "Offline from 05/12/2026 06:00:00 for 2 h");
}

}  // namespace
}  // namespace lumeno::log
