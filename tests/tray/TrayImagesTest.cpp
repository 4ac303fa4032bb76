#include "tray/TrayImages.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

namespace lumeno::tray {
namespace {

// The colour in the middle of the status badge, bottom right of the icon.
QColor badgeColour(const QIcon& icon, int size) {
  const QImage image = icon.pixmap(size, size).toImage();
  return image.pixelColor(size * 23 / 32, size * 23 / 32 - size / 8);
}

TEST(TrayImagesTest, TrayIconsComeAt16And32PixelsAndShowTheirState) {
  for (const char* key : {"mainicon", "offlineicon"}) {
    const QIcon icon = trayImage(QString::fromLatin1(key));
    ASSERT_FALSE(icon.isNull()) << key;
    const QList<QSize> sizes = icon.availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16))) << key;
    EXPECT_TRUE(sizes.contains(QSize(32, 32))) << key;
    EXPECT_EQ(icon.pixmap(16, 16).size(), QSize(16, 16));
  }
  // Online is green, offline red, at both sizes.
  for (const int size : {16, 32}) {
    const QColor online = badgeColour(trayImage(QStringLiteral("mainicon")), size);
    const QColor offline = badgeColour(trayImage(QStringLiteral("offlineicon")), size);
    EXPECT_GT(online.green(), online.red() + 60) << size << " " << online.name().toStdString();
    EXPECT_GT(offline.red(), offline.green() + 60) << size << " " << offline.name().toStdString();
  }
}

TEST(TrayImagesTest, TheProgramIconComesLargeAndUnknownKeysGiveNothing) {
  const QIcon program = trayImage(QStringLiteral("lumeno"));
  const QList<QSize> sizes = program.availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(48, 48)));
  EXPECT_TRUE(sizes.contains(QSize(128, 128)));
  EXPECT_TRUE(trayImage(QStringLiteral("noicon")).isNull());
  EXPECT_TRUE(trayImage(QString()).isNull());
}

}  // namespace
}  // namespace lumeno::tray
