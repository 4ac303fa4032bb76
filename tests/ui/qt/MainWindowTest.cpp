// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "ui/qt/OptionsDialog.h"
#include "ui/qt/QtMessageBoxes.h"
#include "ui/qt/SysTray.h"
#include "ui/qt/TrayImages.h"

namespace lumeno::test {
namespace {

// What the presenter shows at start and on each tick is MainPresenterTest's; the status texts, the
// lamp's colour and name and their contrast on a real screen are the e2e cases'. Here, the rest.
TEST(MainWindow, StartsWithItsTimersShowsTheStatusInColourAndAClickBringsTheNextLabel) {
  MainWindowFixture f;
  auto& w = f.window();
  EXPECT_EQ(w.centralWidget()->palette().color(QPalette::Window), QColor(192, 192, 192));
  EXPECT_EQ(w.findChild<QLineEdit*>("Text1")->palette().color(QPalette::Text), QColor(0, 0, 255));
  EXPECT_FALSE(f.tray->visible);  // nothing in the tray while the window is up
  for (const auto& [name, interval] :
       {std::pair{"Timer1", 1000}, {"Timer2", 1500}, {"alertifoffline", 30000}}) {
    auto* timer = w.findChild<QTimer*>(name);
    ASSERT_NE(timer, nullptr) << name;
    EXPECT_TRUE(timer->isActive() && timer->interval() == interval) << name;
  }
  QLabel* status = w.infoLabel(app::InfoLabel::Status);
  for (const bool online : {false, true}) {
    f.network.connected = online;
    QMetaObject::invokeMethod(w.findChild<QTimer*>("Timer2"), "timeout");
    EXPECT_EQ(w.sysTray().picture().pixmap(16).toImage(),
              tray::trayImage(online ? "mainicon" : "offlineicon").pixmap(16).toImage());
    // Offline is red, in the darker shade that reads on the silver strip (pure red there is 2.2:1).
    const QColor text = status->palette().color(QPalette::WindowText);
    EXPECT_TRUE(online ? text == QColor(0, 0, 255)
                       : text.red() > 100 && text.green() == 0 && text.blue() == 0)
        << text.name().toStdString();
  }
  w.show();
  QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(status, &release);
  EXPECT_FALSE(status->isVisible());
  EXPECT_TRUE(w.infoLabel(app::InfoLabel::Version)->isVisible());
}

// (The close box ends the program: the e2e start and exit case.)
TEST(MainWindow, TheColourCommandsPaintTheAddressBoxAndResetRestoresItsColours) {
  MainWindowFixture f;
  auto& w = f.window();
  const QLineEdit* box = w.findChild<QLineEdit*>("Text1");
  f.colors.picks = {QColor(10, 200, 30)};
  w.presenter().onIpBackgroundChosen();
  EXPECT_EQ(box->palette().color(QPalette::Base), QColor(10, 200, 30));
  EXPECT_EQ(f.colors.openedOn, std::vector<QColor>{QColor(255, 255, 255)});  // on the box's own colour
  w.presenter().onResetColorChosen();
  EXPECT_EQ(box->palette().color(QPalette::Base), QColor(255, 255, 255));
  EXPECT_EQ(box->palette().color(QPalette::Text), QColor(0, 0, 255));
  EXPECT_EQ(w.centralWidget()->palette().color(QPalette::Window),
            QApplication::palette().color(QPalette::Window));
}

TEST(MainWindow, TheStatusTickDoesNotLoadAClosedOptionsDialogAgain) {
  MainWindowFixture f("[Options]\r\nfollowip=1\r\n");
  auto& w = f.window();
  w.options().close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  const auto loadedOptions = [] {
    int count = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) count += top->objectName() == "frmoptions";
    return count;
  };
  ASSERT_EQ(loadedOptions(), 0);
  w.presenter().onStatusTick();
  EXPECT_EQ(loadedOptions(), 0);
  // The option is still on after "Done".
  f.network.address = "10.9.9.9";
  w.presenter().onStatusTick();
  EXPECT_EQ(w.findChild<QLineEdit*>("Text1")->text(), "10.9.9.9");
}

// A file name, a host name or what a server said may look like markup: shown as written.
TEST(MainWindow, MessageBoxesAndEveryLabelShowTheirTextsAsWritten) {
  MainWindowFixture f;
  auto& w = f.window();
  for (const app::OtherWindow other :
       {app::OtherWindow::Options, app::OtherWindow::LogMonitor, app::OtherWindow::IpTools,
        app::OtherWindow::About, app::OtherWindow::History}) {
    w.openWindow(other);
  }
  for (QWidget* top : QApplication::topLevelWidgets()) {
    for (const QLabel* label : top->findChildren<QLabel*>()) {
      EXPECT_EQ(label->textFormat(), Qt::PlainText)
          << top->objectName().toStdString() << " " << label->objectName().toStdString();
    }
  }

  const QString hostile = "<b>x</b><img src=y.png>";
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    seen = box->text() == hostile && box->textFormat() == Qt::PlainText;
    box->button(QMessageBox::Ok)->click();
  });
  EXPECT_EQ(QtMessageBoxes().show({hostile.toStdString()}), BoxAnswer::Ok);
  EXPECT_TRUE(seen);
  for (QWidget* top : QApplication::topLevelWidgets()) top->close();
}

}  // namespace
}  // namespace lumeno::test
