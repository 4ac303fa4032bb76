#include <QLockFile>
#include <QProcess>

#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "app/StartUp.h"

namespace lumeno::test {
namespace {

TEST(StartUp, WithoutTheSettingsFileTheUserIsToldAndNothingIsLogged) {
  MainWindowFixture f;
  std::filesystem::remove(f.folder / "Lumeno.ini");
  const app::SingleInstance instance(QString::fromStdString((f.folder / "lock").string()));
  EXPECT_EQ(app::checkBeforeStart(f.context, instance), app::StartCheck::SettingsMissing);
  ASSERT_EQ(f.boxes.shown.size(), 1U);
  EXPECT_EQ(f.boxes.shown[0],
            (BoxRequest{"Error, the file 'Lumeno.ini' is missing or damaged. Please reinstall Lumeno",
                        "Lumeno", BoxIcon::None, BoxButtons::Ok}));
  EXPECT_EQ(f.log(), "<missing>");
}

TEST(StartUp, ASecondCopyEndsSilentlyWhileTheFirstRuns) {
  MainWindowFixture f;
  const QString lock = QString::fromStdString((f.folder / "lumeno.lock").string());
  const app::SingleInstance first(lock);
  ASSERT_TRUE(first.acquired());
  const app::SingleInstance second(lock);
  EXPECT_FALSE(second.acquired());
  EXPECT_EQ(app::checkBeforeStart(f.context, second), app::StartCheck::AlreadyRunning);
  EXPECT_TRUE(f.boxes.shown.empty());
  EXPECT_EQ(app::checkBeforeStart(f.context, first), app::StartCheck::Go);
}

TEST(StartUp, ALockLeftByAKilledCopyDoesNotBlockTheNextStart) {
  MainWindowFixture f;
  const QString lock = QString::fromStdString((f.folder / "lumeno.lock").string());
  // A process that has ended leaves its number behind, as a copy killed with SIGKILL would.
  QProcess gone;
  qint64 deadPid = 0;
  QObject::connect(&gone, &QProcess::started, [&] { deadPid = gone.processId(); });
  gone.start(QStringLiteral("true"), {});
  ASSERT_TRUE(gone.waitForFinished(10000));
  ASSERT_GT(deadPid, 0);
  f.folder.write("lumeno.lock", std::to_string(deadPid) + "\nlumeno\n\n");
  const app::SingleInstance next(lock);
  EXPECT_TRUE(next.acquired());
}

}  // namespace
}  // namespace lumeno::test
