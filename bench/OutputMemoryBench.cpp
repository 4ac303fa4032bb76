// SPDX-License-Identifier: GPL-3.0-or-later
// The program's memory while the IP tools window shows a tool that floods it, and after the window
// has closed. Baseline, in the same run: the same window showing a flood a hundred times smaller.
// A window that kept what it was shown would grow with the output; the output box keeps only the
// end of it and the result file is cut at 64 MB, so the growth must stay about the same.
//   output_memory_bench [megabytes of the large flood, default 100]
#include <QAbstractButton>
#include <QApplication>
#include <QSignalSpy>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "ResidentMemory.h"
#include "TempFolder.h"
#include "ui/qt/IpToolsWindow.h"

namespace {

using lumeno::bench::residentKb;

// The memory a run needed above the start, at its peak and once its window had gone, in KB.
struct Growth {
  long peak = 0;
  long afterClose = 0;
  bool finished = false;
};

Growth flood(unsigned long megabytes) {
  qputenv("LUMENO_STAND_IN_BYTES", QByteArray::number(static_cast<qulonglong>(megabytes) * 1000 * 1000));
  const lumeno::test::TempFolder folder;
  const long start = residentKb();
  long peak = start;
  Growth growth;
  {
    lumeno::AppContext context;
    context.programFolder = folder.path();
    auto window = std::make_unique<lumeno::iptools::IpToolsWindow>(context);
    window->runner().setProgramFinder([](const QString&) { return QStringLiteral(LUMENO_STAND_IN_FLOOD); });
    window->show();
    QObject::connect(window.get(), &lumeno::iptools::IpToolsWindow::toolOutputShown, window.get(),
                     [&peak] { peak = std::max(peak, residentKb()); });
    QSignalSpy finished(window.get(), &lumeno::iptools::IpToolsWindow::toolFinished);
    window->findChild<QAbstractButton*>(QStringLiteral("cmdPing"))->click();
    growth.finished = finished.wait(600000);
    peak = std::max(peak, residentKb());
    window->close();
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  growth.peak = peak - start;
  growth.afterClose = residentKb() - start;
  return growth;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  const QApplication application(argc, argv);
  const unsigned long large = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  const unsigned long small = std::max(1UL, large / 100);
  flood(small);  // the first window loads fonts and plugins once; neither run should pay for it
  const Growth baseline = flood(small);
  const Growth measured = flood(large);
  if (!baseline.finished || !measured.finished) {
    std::printf("a flood did not finish\n");
    return 1;
  }
  const auto mb = [](long kb) { return static_cast<double>(kb) / 1024.0; };
  // Rounded up to 4 MB so that a few pages' noise in a tiny baseline makes no ratio.
  const auto floor4 = [](long kb) { return static_cast<double>(std::max(kb, 4L * 1024)); };
  const double peakRatio = static_cast<double>(measured.peak) / floor4(baseline.peak);
  std::printf(
      "resident memory above the start, MB: %lu MB flood peak %.1f, after close %.1f; "
      "%lu MB flood (baseline) peak %.1f, after close %.1f\n",
      large, mb(measured.peak), mb(measured.afterClose), small, mb(baseline.peak), mb(baseline.afterClose));
  std::printf(
      "peak growth: %.1fx the baseline's for %lux the output (must be <= 10x); "
      "after close %.1f MB more than the baseline (must be <= 40)\n",
      peakRatio, large / small, mb(measured.afterClose - baseline.afterClose));
  const bool bounded = peakRatio <= 10.0 && measured.afterClose - baseline.afterClose <= 40L * 1024;
  return bounded ? 0 : 1;
}
