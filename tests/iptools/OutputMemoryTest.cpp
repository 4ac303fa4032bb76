// SPDX-License-Identifier: GPL-3.0-or-later
// A tool that prints 100 MB: the program's memory grows by a bounded amount while it runs and
// goes back once the IP tools window has closed.
#include <QAbstractButton>
#include <QApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>

#include "ProcessWatch.h"
#include "TempFolder.h"
#include "ui/qt/IpToolsWindow.h"

namespace lumeno::iptools::test {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPlainAllocator = false;  // the sanitizer keeps freed memory in quarantine
#else
constexpr bool kPlainAllocator = true;
#endif

TEST(OutputMemory, AHundredMegabyteFloodStaysBoundedAndIsGivenBackOnClose) {
  if (!kPlainAllocator) GTEST_SKIP() << "memory is not measured under the address sanitizer";
  const lumeno::test::TempFolder folder;
  const long start = residentKilobytes();
  long peak = start;
  long shown = 0;
  {
    AppContext context;
    context.programFolder = folder.path();
    auto window = std::make_unique<IpToolsWindow>(context);
    window->runner().setProgramFinder([](const QString&) { return QStringLiteral(LUMENO_STAND_IN_FLOOD); });
    window->show();
    QObject::connect(window.get(), &IpToolsWindow::toolOutputShown, window.get(),
                     [&] { peak = std::max(peak, residentKilobytes()); });
    QSignalSpy finished(window.get(), &IpToolsWindow::toolFinished);
    window->findChild<QAbstractButton*>(QStringLiteral("cmdPing"))->click();
    ASSERT_TRUE(finished.wait(600000));
    shown = residentKilobytes();
    peak = std::max(peak, shown);
    window->close();
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  const long after = residentKilobytes();
  std::cout << "resident memory, MB: start " << start / 1024 << ", peak " << peak / 1024
            << ", with the result shown " << shown / 1024 << ", after close " << after / 1024 << "\n";
  EXPECT_LE(peak - start, 150L * 1024);
  EXPECT_LE(after - start, 40L * 1024);
  const std::uint64_t kept = std::filesystem::file_size(folder / "ping.txt");  // cut at 64 MB
  EXPECT_LE(kept, std::uint64_t{64} * 1024 * 1024);
  EXPECT_GT(kept, std::uint64_t{63} * 1024 * 1024);
}

}  // namespace
}  // namespace lumeno::iptools::test
