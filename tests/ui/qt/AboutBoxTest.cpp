// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/AboutBox.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include "DarkPalette.h"
#include "FakeLauncher.h"
#include "FakeSystemInfoTool.h"
#include "ScriptedMessageBoxes.h"
#include "about/HelpPage.h"
#include "about/SysInfo.h"
#include "ui/qt/ReadableColour.h"
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

TEST_F(AboutBoxTest, ControlsCarryTheirNamesTextsAndPlacesInTwips) {
  EXPECT_EQ(box.objectName(), "frmAbout");
  EXPECT_EQ(box.windowTitle(), "");
  // The design's size, or wider where the font needs it to show a whole text.
  EXPECT_GE(box.width(), app::twipsX(box, 3615));
  EXPECT_EQ(box.height(), app::twipsY(box, 1680));
  EXPECT_EQ(box.minimumSize(), box.maximumSize());

  struct Control {
    const char* name;
    QString text;
    QRect twips;
  };
  const std::vector<Control> controls{
      {"lblTitle", "Lumeno", {1920, 120, 1455, 255}},
      {"lblVersion", "Version 1.0.27", {2100, 360, 1455, 255}},
      {"Label5", "WebSite", {2160, 720, 975, 255}},
      {"cmdSysInfo", "&Sys Info", {1680, 1200, 855, 375}},
      {"cmdOK", "Done", {2640, 1200, 855, 375}},
  };
  for (const auto& [name, text, twips] : controls) {
    QWidget* widget = find<QWidget>(name);
    if (widget == nullptr) continue;
    const auto* label = qobject_cast<QLabel*>(widget);
    const auto* button = qobject_cast<QPushButton*>(widget);
    EXPECT_EQ(label != nullptr ? label->text() : button->text(), text) << name;
    // In its designed place, grown (and a button moved along) only as far as its whole text needs.
    const QRect designed = app::twipsRect(box, twips.x(), twips.y(), twips.width(), twips.height());
    const int textWidth = widget->fontMetrics().horizontalAdvance(QString(text).remove('&'));
    EXPECT_EQ(widget->y(), designed.y()) << name;
    EXPECT_EQ(widget->height(), designed.height()) << name;
    EXPECT_GE(widget->width(), std::max(designed.width(), textWidth)) << name;
    EXPECT_LE(widget->width(),
              std::max(designed.width(), textWidth + widget->fontMetrics().averageCharWidth() + 8))
        << name;
    EXPECT_LE(widget->geometry().right(), box.width()) << name;
    if (label != nullptr) {
      EXPECT_EQ(widget->x(), designed.x()) << name;
    }
  }
  QLabel* picture = find<QLabel>("Picture1");
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->geometry(), app::twipsRect(box, 240, 120, 1455, 855));
  EXPECT_EQ(picture->pixmap().size(), QSize(90, 51));
  EXPECT_NE(find<QWidget>("Line1"), nullptr);

  QLabel* link = find<QLabel>("Label5");
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->toolTip(), "Visit us!");
  EXPECT_EQ(link->font().family(), "Verdana");
  EXPECT_DOUBLE_EQ(link->font().pointSizeF(), 9.75);
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  EXPECT_TRUE(find<QPushButton>("cmdOK")->isDefault());
}

TEST(AboutBoxDark, TheLinkStaysBlueAndReadableOnADarkMenuColour) {
  const test::DarkPalette dark;
  test::ScriptedMessageBoxes boxes;
  const platform::FakeSystemInfoTool tool;
  const AppContext context{.programFolder = "/opt/lumeno", .boxes = &boxes, .places = {}};
  const AboutBox box{context, tool};
  const QPalette& link = box.findChild<QLabel*>("Label5")->palette();
  const QColor text = link.color(QPalette::WindowText);
  EXPECT_GE(app::contrastRatio(text, link.color(QPalette::Window)), 4.5);
  EXPECT_GT(text.blue(), std::max(text.red(), text.green()));
}

TEST_F(AboutBoxTest, ClicksAndKeysReachThePresenter) {
  box.show();
  QTest::mouseClick(find<QPushButton>("cmdSysInfo"), Qt::LeftButton);
  ASSERT_EQ(boxes.shown.size(), 1U);
  EXPECT_EQ(boxes.shown[0].text, kSysInfoUnavailable);
  QTest::mouseClick(find<QLabel>("Label5"), Qt::LeftButton);
  EXPECT_EQ(launcher.openedUrls, std::vector<std::string>{"file:///opt/lumeno/help.html"});
  EXPECT_TRUE(box.isVisible());

  QTest::mouseClick(find<QPushButton>("cmdOK"), Qt::LeftButton);
  EXPECT_FALSE(box.isVisible());
  for (const auto key : {Qt::Key_Return, Qt::Key_Escape}) {
    box.show();
    QTest::keyClick(&box, key);
    EXPECT_FALSE(box.isVisible()) << key;
  }
  box.show();
  EXPECT_TRUE(box.close());  // the title bar's close button
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(boxes.shown.size(), 1U);
  EXPECT_EQ(launcher.openedUrls.size(), 1U);
}

// The page's address reaches the desktop through Qt's URL handling, which must read it back as
// the same file.
TEST(AboutBoxHelpPage, QtReadsTheAddressBackAsTheSameFile) {
  for (const char* folder : {"/usr/lib/lumeno", "/home/ann/My Tools", "/srv/#1/50%/what?", "/home/zo\xC3\xAB",
                             "/x/<a>\"b\"{c}|d^e`f\\g", "/x/a!$&'()*+,;=:@~[b]-_.c"}) {
    const QString page = QString::fromUtf8(folder) + "/help.html";
    const QString url = QString::fromStdString(helpPageUrl(folder));
    EXPECT_EQ(url, QUrl::fromLocalFile(page).toString(QUrl::FullyEncoded)) << folder;
    EXPECT_EQ(QUrl(url, QUrl::StrictMode).toLocalFile(), page) << folder;
  }
}

}  // namespace
}  // namespace lumeno::about
