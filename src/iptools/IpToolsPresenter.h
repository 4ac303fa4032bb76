// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/AppContext.h"
#include "iptools/IpToolsView.h"
#include "iptools/OutputTail.h"
#include "iptools/StopClickGuard.h"
#include "iptools/ToolCommands.h"
#include "iptools/ToolRunner.h"

namespace lumeno::iptools {

// Everything the IP tools window decides: the load sequence, the four modes and what each
// enables, the status texts and the ping counter, what Ping, Trace and Netstat do, the stored
// results, "Clear all", and the run of a tool.
//
// A tool runs in the background: while it runs the window shows the busy pointer and takes no
// other command, the tool's button reads "Stop" and ends it (so does Esc), and its output shows
// live in the output box, which keeps only the end of a runaway tool's output. Closing the
// window ends a running tool.
class IpToolsPresenter {
 public:
  // Monotonic milliseconds, to tell a double-click's second click from a Stop.
  using MonotonicClock = std::function<std::int64_t()>;
  static std::int64_t steadyMilliseconds();

  IpToolsPresenter(const AppContext& context, IpToolsView& view, ToolRunner& runner,
                   MonotonicClock clock = &steadyMilliseconds);
  IpToolsPresenter(const IpToolsPresenter&) = delete;
  IpToolsPresenter& operator=(const IpToolsPresenter&) = delete;

  // Other limits of the output box than the designed ones, so that they can be tried quickly.
  void setOutputLimits(OutputLimits limits) { outputLimits_ = limits; }

  // The window has been loaded: the result files get their placeholder texts and the window
  // goes into Ping mode with " Ready...".
  void onLoaded();
  // An option button was selected.
  void onModeChosen(Mode mode);

  // The tool buttons; while their tool runs they read "Stop".
  void onPingClicked();
  void onTraceClicked();
  void onNetstatClicked();
  void onEscPressed();
  // What the running tool reports.
  void onToolOutput(std::string_view bytes);
  void onToolFinished(RunEnd end);

  // The menus.
  void onLastPingChosen();
  void onLastTraceChosen();
  void onLastNetstatChosen();
  void onClearAllChosen();
  void onExitChosen();

  // A click on the host box or the count box, or on the output box.
  void onBoxClicked(Control box);
  void onOutputBoxClicked();
  // The window is being closed, by "Exit" or its close box.
  void onClosing();

  // The trace target: the typed address in address trace mode (also putting its class into the
  // status label), else the domain box's text. Empty, after "Error, Wrong input.", when an octet
  // box does not hold a number.
  std::string obtainip();

  [[nodiscard]] bool isToolRunning() const { return runningTool_.has_value(); }

 private:
  void applyMode(Mode mode);
  void refreshEnabledStates();
  void stopClicked(Tool tool);
  void startTool(const ToolRequest& request);
  void showLiveChange();
  void leaveRunState();
  void showResultFile(Tool tool, RunEnd end);
  bool showStoredFile(std::string_view fileName);
  void showStoredResult(Tool tool);
  void setStatus(std::string_view text);
  void showMessage(std::string_view text);
  [[nodiscard]] std::filesystem::path resultPath(std::string_view fileName) const;

  const AppContext& context_;
  IpToolsView& view_;
  ToolRunner& runner_;
  MonotonicClock clock_;
  Mode mode_ = Mode::Ping;
  std::string counter_ = "0";
  std::optional<Tool> runningTool_;
  StopClickGuard stopGuard_;
  OutputLimits outputLimits_;
  std::unique_ptr<OutputTail> liveOutput_;
  std::string unfinishedCharacter_;  // the bytes of a character whose end has not come yet
  bool outputEndsLine_ = true;       // the tool's output so far ends with a line break
};

}  // namespace lumeno::iptools
