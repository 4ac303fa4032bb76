// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "platform/posix/InstanceLock.h"
#include "ui/qt/StartUp.h"

namespace lumeno::test {
namespace {

TEST(StartUp, WithoutTheSettingsFileTheUserIsToldAndNothingIsLogged) {
  MainWindowFixture f;
  std::filesystem::remove(f.folder / "Lumeno.ini");
  const platform::InstanceLock instance(f.folder / "lock");
  EXPECT_EQ(app::checkBeforeStart(f.context, instance), app::StartCheck::SettingsMissing);
  ASSERT_EQ(f.boxes.shown.size(), 1U);
  EXPECT_EQ(
      f.boxes.shown[0],
      (BoxRequest{"Error, the file 'Lumeno.ini' is missing or damaged. Please reinstall Lumeno", "Lumeno"}));
  EXPECT_EQ(f.log(), "<missing>");
}

}  // namespace
}  // namespace lumeno::test
