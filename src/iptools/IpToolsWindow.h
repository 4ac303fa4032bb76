// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringDecoder>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "common/AppContext.h"
#include "iptools/OutputTail.h"
#include "iptools/StopClickGuard.h"
#include "iptools/ToolCommands.h"
#include "iptools/ToolRunner.h"
#include "iptools/WindowRules.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace lumeno::iptools {

// The "IP Tools" window (objectName "frmMain"): ping, trace route to a typed address or a host
// name, netstat, the stored results and "Clear all". Every control carries its objectName.
//
// A tool runs in the background: while it runs, the window shows the busy pointer and takes no
// other command, its button reads "Stop" and ends it (so does Esc), and its output shows live in
// the output box, which keeps only the end of a runaway tool's output. Closing or destroying the
// window ends a running tool.
//
// Constructing the window loads it: the result files get their placeholder texts and the window
// starts in Ping mode with " Ready...".
class IpToolsWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit IpToolsWindow(const AppContext& context, QWidget* parent = nullptr);
  IpToolsWindow(const IpToolsWindow&) = delete;
  IpToolsWindow& operator=(const IpToolsWindow&) = delete;
  ~IpToolsWindow() override;

  // Monotonic milliseconds.
  using MonotonicClock = std::function<std::int64_t()>;

  // Where the tools are found; by default the search path and the system folders.
  void setProgramFinder(ToolRunner::ProgramFinder finder);
  // The clock that tells a double-click's second click from a Stop; by default the steady clock.
  void setMonotonicClock(MonotonicClock clock);
  // Other limits and stop times than the designed ones, so that they can be tried quickly.
  void setOutputLimits(OutputLimits limits);
  void setResultFileLimit(std::uint64_t bytes);
  void setStopGrace(std::chrono::milliseconds grace);

  // The trace target: the typed address in address trace mode (also setting the status label to
  // its class), else the domain box's text. Empty, after the "Error, Wrong input." message, when
  // an octet box does not hold a number.
  QString obtainip();

  // Selects the whole text of the host box, the count box or the output box.
  void selectall(QWidget* box);

  [[nodiscard]] bool isToolRunning() const;
  // Process id of the running tool, 0 when none runs.
  [[nodiscard]] qint64 toolProcessId() const;

  // Ends the running tool, as its "Stop" button does.
  void stopTool();

 Q_SIGNALS:
  // The tool's process has been asked to start.
  void toolStarted();
  // More of the running tool's output is in the output box.
  void toolOutputShown();
  // The tool has ended and the window shows its whole result file.
  void toolFinished();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void buildMenus();
  void load();
  void applyMode(Mode mode);
  void refreshEnabledStates();
  void applyLayoutRule();

  void pingClicked();
  void traceClicked();
  void netstatClicked();
  void toolButtonClickedWhileRunning(Tool tool);
  void startTool(const ToolRequest& request);
  void showOutput(const QByteArray& bytes);
  void mirror(OutputTail& tail);
  void toolEnded(RunEnd end);
  void leaveRunState();
  void showResultFile(Tool tool, RunEnd end);
  void caretToEnd();
  void caretToStart();

  void showLastPing();
  void showLastTrace();
  void showLastNetstat();
  // Shows the file (its end, when it is long) and tells whether it could be shown.
  bool showStoredFile(std::string_view fileName);
  void clearAll();

  void setStatus(std::string_view text);
  void showMessage(std::string_view text);
  [[nodiscard]] QPushButton* toolButton(Tool tool) const;
  [[nodiscard]] std::filesystem::path resultPath(std::string_view fileName) const;
  [[nodiscard]] int xPixels(int twips) const;
  [[nodiscard]] int yPixels(int twips) const;
  [[nodiscard]] QRect twips(int left, int top, int width, int height) const;

  AppContext context_;
  ToolRunner* runner_ = nullptr;
  std::optional<Tool> runningTool_;
  MonotonicClock clock_;
  StopClickGuard stopGuard_;
  OutputLimits outputLimits_;
  std::unique_ptr<OutputTail> liveOutput_;
  QStringDecoder liveDecoder_{QStringDecoder::Utf8};
  Mode mode_ = Mode::Ping;
  bool centred_ = false;

  QWidget* client_ = nullptr;
  QPlainTextEdit* txtOutPut_ = nullptr;
  QRadioButton* pingopt_ = nullptr;
  QLineEdit* txtIP_ = nullptr;
  QLabel* amountping_ = nullptr;
  QLineEdit* txtNumber_ = nullptr;
  QPushButton* cmdPing_ = nullptr;
  QRadioButton* ipopt_ = nullptr;
  QLineEdit* iptxt_[4] = {};
  QLineEdit* hops_ = nullptr;
  QLineEdit* timeout_ = nullptr;
  QRadioButton* urlopt_ = nullptr;
  QLineEdit* urltxt_ = nullptr;
  QCheckBox* chkgethostnames_ = nullptr;
  QPushButton* tracmd_ = nullptr;
  QRadioButton* netstatopt_ = nullptr;
  QCheckBox* chknetstatall_ = nullptr;
  QPushButton* netstatbutton_ = nullptr;
  QLabel* classlbl_ = nullptr;

  QMenu* mnuoptions_ = nullptr;
  QAction* mnulastping_ = nullptr;
  QAction* mnulasttrace_ = nullptr;
  QAction* mnunetstat_ = nullptr;
  QAction* mnuclearall_ = nullptr;
};

}  // namespace lumeno::iptools
