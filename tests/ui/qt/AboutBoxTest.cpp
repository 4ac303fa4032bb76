// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/AboutBox.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "FakeLauncher.h"
#include "FakeSystemInfoTool.h"
#include "ScriptedMessageBoxes.h"
#include "about/AboutDesign.h"
#include "about/SysInfo.h"
#include "ui/qt/WindowGeometry.h"

namespace lumeno::about {
namespace {

struct AboutBoxTest : ::testing::Test {
  template <class Widget>
  Widget* find(const char* name) {
    auto* widget = box.findChild<Widget*>(name);
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }

  test::ScriptedMessageBoxes boxes;
  platform::FakeLauncher launcher;
  platform::FakeSystemInfoTool tool;  // finds none
  AppContext context{.programFolder = "/opt/lumeno", .boxes = &boxes, .launcher = &launcher, .places = {}};
  AboutBox box{context, tool};
};

TEST_F(AboutBoxTest, BuildsEveryDesignedControlInItsPlace) {
  EXPECT_TRUE(box.objectName().toStdString() == design::kWindowName && box.windowTitle().isEmpty());
  // The design's size, or wider where the font needs it to show a whole text.
  EXPECT_GE(box.width(), app::twipsX(box, design::kClientWidth));
  EXPECT_EQ(box.height(), app::twipsY(box, design::kClientHeight));
  EXPECT_EQ(box.minimumSize(), box.maximumSize());

  // The texts themselves are read off the screen by the e2e screens case.
  for (const design::ControlDesign& control :
       {design::kPicture, design::kTitle, design::kVersion, design::kLink, design::kLine, design::kSysInfo,
        design::kDone}) {
    SCOPED_TRACE(control.name);
    QWidget* widget = find<QWidget>(std::string(control.name).c_str());
    if (widget == nullptr || control.name == design::kLine.name) continue;  // the line spans the box
    const auto* label = qobject_cast<QLabel*>(widget);
    const auto* button = qobject_cast<QPushButton*>(widget);
    const QString text = label != nullptr ? label->text() : button != nullptr ? button->text() : "";
    EXPECT_EQ(widget->toolTip().toStdString(), control.tip);
    // In its designed place, grown (and a button moved along) only as far as its whole text needs.
    const Twips& twips = control.place;
    const QRect designed = app::twipsRect(box, twips.left, twips.top, twips.width, twips.height);
    const int textWidth = widget->fontMetrics().horizontalAdvance(QString(text).remove('&'));
    EXPECT_TRUE(widget->y() == designed.y() && widget->height() == designed.height());
    EXPECT_GE(widget->width(), std::max(designed.width(), text.isEmpty() ? 0 : textWidth));
    EXPECT_LE(widget->width(),
              std::max(designed.width(), textWidth + widget->fontMetrics().averageCharWidth() + 8));
    EXPECT_LE(widget->geometry().right(), box.width());
    if (button == nullptr) {
      EXPECT_EQ(widget->x(), designed.x());
    }
  }
  EXPECT_EQ(find<QLabel>("Picture1")->pixmap().size(), QSize(90, 51));
  const QLabel* link = find<QLabel>("Label5");
  EXPECT_EQ(link->font().family().toStdString(), design::kLinkFontName);
  EXPECT_DOUBLE_EQ(link->font().pointSizeF(), design::kLinkFontPoints);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_TRUE(find<QPushButton>("cmdOK")->isDefault());
}

TEST_F(AboutBoxTest, ClicksAndKeysReachThePresenter) {
  box.show();
  QTest::mouseClick(find<QPushButton>("cmdSysInfo"), Qt::LeftButton);
  ASSERT_EQ(boxes.shown.size(), 1U);
  EXPECT_EQ(boxes.shown[0].text, kSysInfoUnavailable);
  QTest::mouseClick(find<QLabel>("Label5"), Qt::LeftButton);
  EXPECT_EQ(launcher.openedUrls, std::vector<std::string>{"file:///opt/lumeno/help.html"});
  EXPECT_TRUE(box.isVisible());

  // "Done", Enter and the title bar's close button all unload it (Esc: the e2e screens case).
  QTest::mouseClick(find<QPushButton>("cmdOK"), Qt::LeftButton);
  EXPECT_FALSE(box.isVisible());
  box.show();
  QTest::keyClick(&box, Qt::Key_Return);
  EXPECT_FALSE(box.isVisible());
  box.show();
  EXPECT_TRUE(box.close() && !box.isVisible());
  EXPECT_TRUE(boxes.shown.size() == 1U && launcher.openedUrls.size() == 1U);
}

}  // namespace
}  // namespace lumeno::about
