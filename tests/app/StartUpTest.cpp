// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>

#include "MainWindowFixture.h"
#include "TempFolder.h"
#include "ui/qt/StartUp.h"

namespace lumeno::test {
namespace {

TEST(StartUp, WithoutTheSettingsFileTheUserIsToldAndNothingIsLogged) {
  MainWindowFixture f;
  std::filesystem::remove(f.folder / "Lumeno.ini");
  const app::SingleInstance instance(QString::fromStdString((f.folder / "lock").string()));
  EXPECT_EQ(app::checkBeforeStart(f.context, instance), app::StartCheck::SettingsMissing);
  ASSERT_EQ(f.boxes.shown.size(), 1U);
  EXPECT_EQ(
      f.boxes.shown[0],
      (BoxRequest{"Error, the file 'Lumeno.ini' is missing or damaged. Please reinstall Lumeno", "Lumeno"}));
  EXPECT_EQ(f.log(), "<missing>");
}

TEST(StartUp, WithoutARuntimeFolderTheLockIsInAFolderOfTheUsersOwnInTheSharedOneOrNowhere) {
  const TempFolder shared;
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
  const QByteArray temporary = qgetenv("TMPDIR");
  qunsetenv("XDG_RUNTIME_DIR");
  qputenv("TMPDIR", QFile::encodeName(QString::fromStdString(shared.path().string())));
  const auto own = shared / ("lumeno-" + std::to_string(::geteuid()));
  const std::string first = app::SingleInstance::defaultLockFile().toStdString();
  std::error_code missing;
  std::filesystem::permissions(own, std::filesystem::perms::all, missing);  // now others could use it
  const std::string opened = app::SingleInstance::defaultLockFile().toStdString();
  const auto restore = [](const char* name, const QByteArray& value) {
    if (value.isNull())
      qunsetenv(name);
    else
      qputenv(name, value);
  };
  restore("XDG_RUNTIME_DIR", runtime);
  restore("TMPDIR", temporary);
  EXPECT_EQ(first, (own / "lumeno.lock").string());
  EXPECT_EQ(opened, "") << "no lock rather than one another user could hold";
}

}  // namespace
}  // namespace lumeno::test
