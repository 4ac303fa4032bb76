#include "about/AboutBox.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "FakeLauncher.h"
#include "FakeRegistry.h"
#include "ScriptedMessageBoxes.h"
#include "TempFolder.h"

namespace lumeno::about {
namespace {

class AboutBoxTest : public ::testing::Test {
 protected:
  template <typename T>
  T* child(const char* name) {
    T* found = box.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  test::TempFolder folder;
  test::ScriptedMessageBoxes boxes;
  platform::FakeLauncher launcher;
  platform::FakeRegistry registry;
  AppContext context = [this] {
    AppContext made;
    made.programFolder = folder.path();
    made.boxes = &boxes;
    made.launcher = &launcher;
    return made;
  }();
  AboutBox box{context, registry};
};

TEST_F(AboutBoxTest, ShowsTitleVersionPictureAndControls) {
  EXPECT_EQ(box.objectName(), QStringLiteral("frmAbout"));
  EXPECT_TRUE(box.windowTitle().isEmpty());
  EXPECT_EQ(child<QLabel>("lblTitle")->text(), QStringLiteral("Lumeno"));
  EXPECT_EQ(child<QLabel>("lblVersion")->text(), QStringLiteral("Version 1.0.27"));
  EXPECT_EQ(child<QLabel>("Picture1")->pixmap().size(), QSize(90, 51));
  EXPECT_EQ(child<QLabel>("Label5")->text(), QStringLiteral("WebSite"));
  EXPECT_EQ(child<QLabel>("Label5")->toolTip(), QStringLiteral("Visit us!"));
  EXPECT_EQ(child<QPushButton>("cmdSysInfo")->text(), QStringLiteral("&Sys Info"));
  EXPECT_EQ(child<QPushButton>("cmdOK")->text(), QStringLiteral("Done"));
  EXPECT_TRUE(child<QPushButton>("cmdOK")->isDefault());
  // Fixed size: the user cannot resize it.
  EXPECT_EQ(box.minimumSize(), box.maximumSize());
}

TEST_F(AboutBoxTest, EnterAndEscBothClose) {
  box.show();
  QTest::keyClick(&box, Qt::Key_Return);
  EXPECT_FALSE(box.isVisible());
  box.show();
  QTest::keyClick(&box, Qt::Key_Escape);
  EXPECT_FALSE(box.isVisible());
  box.show();
  QTest::mouseClick(child<QPushButton>("cmdOK"), Qt::LeftButton);
  EXPECT_FALSE(box.isVisible());
}

TEST_F(AboutBoxTest, SysInfoWithoutAnyToolTellsTheUserOncePerClickAndStaysOpen) {
  box.show();
  QTest::mouseClick(child<QPushButton>("cmdSysInfo"), Qt::LeftButton);
  ASSERT_EQ(boxes.shown.size(), 1U);
  EXPECT_EQ(boxes.shown[0].text, "System Information Is Unavailable At This Time");
  EXPECT_EQ(boxes.shown[0].icon, BoxIcon::None);
  QTest::mouseClick(child<QPushButton>("cmdSysInfo"), Qt::LeftButton);
  EXPECT_EQ(boxes.shown.size(), 2U);
  EXPECT_TRUE(box.isVisible());
  EXPECT_TRUE(launcher.started.empty());
}

TEST_F(AboutBoxTest, TheWebSiteLinkOpensTheHelpPageBesideTheProgram) {
  box.show();
  QTest::mouseClick(child<QLabel>("Label5"), Qt::LeftButton);
  ASSERT_EQ(launcher.openedUrls.size(), 1U);
  EXPECT_EQ(launcher.openedUrls[0], "file://" + folder.path().string() + "/help.html");
}

}  // namespace
}  // namespace lumeno::about
