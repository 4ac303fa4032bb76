// SPDX-License-Identifier: GPL-3.0-or-later
#include "iptools/IpToolsPresenter.h"

#include <array>
#include <chrono>
#include <system_error>
#include <utility>

#include "common/MessageBoxes.h"
#include "iptools/Address.h"
#include "iptools/IpToolsDesign.h"
#include "iptools/WindowRules.h"
#include "platform/RegularFile.h"

namespace lumeno::iptools {
namespace {

constexpr std::array<Tool, 3> kTools{Tool::Ping, Tool::Trace, Tool::Netstat};
constexpr std::array<Control, 4> kMenuItems{Control::LastPingItem, Control::LastTraceItem,
                                            Control::LastNetstatItem, Control::ClearAllItem};

Control buttonOf(Tool tool) {
  switch (tool) {
    case Tool::Ping: return Control::PingButton;
    case Tool::Trace: return Control::TraceButton;
    case Tool::Netstat: return Control::NetstatButton;
  }
  return Control::PingButton;
}

bool isTick(Control control) {
  return control == Control::HostNamesTick || control == Control::ShowAllTick;
}

// Text split before the first bytes of a character whose last bytes are still to come, so that
// the box is never given half a character.
struct SplitText {
  std::string complete;
  std::string unfinished;
};

SplitText splitUnfinishedCharacter(std::string text) {
  const auto isContinuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U; };
  std::size_t continuations = 0;
  while (continuations < 3 && continuations < text.size() &&
         isContinuation(text[text.size() - 1 - continuations])) {
    ++continuations;
  }
  if (continuations == text.size()) return {std::move(text), {}};
  const std::size_t leadAt = text.size() - 1 - continuations;
  const auto lead = static_cast<unsigned char>(text[leadAt]);
  const std::size_t length = (lead & 0xE0U) == 0xC0U   ? 2
                             : (lead & 0xF0U) == 0xE0U ? 3
                             : (lead & 0xF8U) == 0xF0U ? 4
                                                       : 1;
  if (continuations + 1 >= length) return {std::move(text), {}};
  std::string unfinished = text.substr(leadAt);
  text.resize(leadAt);
  return {std::move(text), std::move(unfinished)};
}

}  // namespace

std::int64_t IpToolsPresenter::steadyMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

IpToolsPresenter::IpToolsPresenter(const AppContext& context, IpToolsView& view, ToolRunner& runner,
                                   MonotonicClock clock)
    : context_(context), view_(view), runner_(runner), clock_(std::move(clock)) {}

void IpToolsPresenter::onLoaded() {
  // A result file that is not a regular file keeps its place untouched; its tool will say so.
  for (const FileText& placeholder : kPlaceholders) {
    platform::writeRegularFile(resultPath(placeholder.file), placeholder.text);
  }
  view_.selectMode(Mode::Ping);
  applyMode(Mode::Ping);
  view_.setEnabled(Control::NetstatButton, false);
  view_.setEnabled(Control::TraceButton, false);
  setStatus(kStatusReady);
}

void IpToolsPresenter::onModeChosen(Mode mode) {
  applyMode(mode);
}

void IpToolsPresenter::applyMode(Mode mode) {
  mode_ = mode;
  refreshEnabledStates();
}

void IpToolsPresenter::refreshEnabledStates() {
  for (const Control control : kModeControls) view_.setEnabled(control, enabledInMode(mode_, control));
  if (runningTool_) {
    // Only the running tool's "Stop" takes a click until the tool has ended.
    for (const Tool tool : kTools) view_.setEnabled(buttonOf(tool), tool == *runningTool_);
  }
  for (const Control item : kMenuItems) view_.setEnabled(item, !runningTool_);
}

// ---- the tools ---------------------------------------------------------------------------------

void IpToolsPresenter::onPingClicked() {
  if (runningTool_) {
    stopClicked(Tool::Ping);
    return;
  }
  setStatus(kStatusWorking);
  const std::string host = view_.text(Control::HostBox);
  if (host.empty()) {
    view_.showBusyPointer(false);
    setStatus(kStatusError);
    showMessage(kEmptyHostMessage);
    return;
  }
  ToolRequest request;
  request.tool = Tool::Ping;
  request.count = view_.text(Control::CountBox);
  request.host = host;
  view_.showBusyPointer(true);
  startTool(request);
}

void IpToolsPresenter::onTraceClicked() {
  if (runningTool_) {
    stopClicked(Tool::Trace);
    return;
  }
  if (mode_ == Mode::DomainTrace && isMissingDomain(view_.text(Control::DomainBox))) {
    showMessage(kMissingDomainMessage);
    return;
  }
  view_.showBusyPointer(true);
  ToolRequest request;
  request.tool = Tool::Trace;
  request.target = obtainip();
  request.resolveNames = view_.isTicked(Control::HostNamesTick);
  request.hops = view_.text(Control::HopsBox);
  request.timeout = view_.text(Control::TimeoutBox);
  startTool(request);
}

void IpToolsPresenter::onNetstatClicked() {
  if (runningTool_) {
    stopClicked(Tool::Netstat);
    return;
  }
  setStatus(kStatusNetstatWorking);
  view_.showBusyPointer(true);
  ToolRequest request;
  request.tool = Tool::Netstat;
  request.showAll = view_.isTicked(Control::ShowAllTick);
  startTool(request);
}

std::string IpToolsPresenter::obtainip() {
  if (mode_ != Mode::AddressTrace) return view_.text(Control::DomainBox);
  const std::array<std::string, 4> texts{view_.text(Control::Octet1), view_.text(Control::Octet2),
                                         view_.text(Control::Octet3), view_.text(Control::Octet4)};
  const std::optional<TypedAddress> address = addressFromOctets({texts[0], texts[1], texts[2], texts[3]});
  if (!address) {
    showMessage(kWrongInputMessage);
    return {};
  }
  if (address->classText) setStatus(*address->classText);
  return address->target;
}

void IpToolsPresenter::stopClicked(Tool tool) {
  // The running tool's button reads "Stop"; a click on it within a double-click of the start is
  // the second half of the click that started it.
  if (tool != *runningTool_) return;
  if (stopGuard_.acceptsStopAt(clock_(), view_.doubleClickInterval())) runner_.stop();
}

void IpToolsPresenter::onEscPressed() {
  if (runningTool_) runner_.stop();
}

void IpToolsPresenter::startTool(const ToolRequest& request) {
  runningTool_ = request.tool;
  stopGuard_.started(clock_());
  view_.setText(buttonOf(request.tool), std::string(kStopCaption));
  refreshEnabledStates();
  view_.setText(Control::OutputBox, "");
  view_.setOutputReadOnly(true);  // the box follows the tool's output line by line meanwhile
  liveOutput_ = std::make_unique<OutputTail>(outputLimits_);
  unfinishedCharacter_.clear();
  outputEndsLine_ = true;
  // Last: a runner may report the end of a run that could not start at once.
  runner_.start(request, context_.resultFolder());
}

void IpToolsPresenter::onToolOutput(std::string_view bytes) {
  if (!liveOutput_ || bytes.empty()) return;
  outputEndsLine_ = bytes.back() == '\n';
  liveOutput_->append(bytes);
  showLiveChange();
  view_.moveCaretToEnd();
}

// Brings the box in line with the kept output without giving it again what it already shows.
void IpToolsPresenter::showLiveChange() {
  OutputTail::Change change = liveOutput_->takeChange();
  if (change.rebuild) {
    SplitText text = splitUnfinishedCharacter(liveOutput_->text());
    unfinishedCharacter_ = std::move(text.unfinished);
    view_.setText(Control::OutputBox, text.complete);
    return;
  }
  if (change.addNote) view_.insertOutputAtStart(std::string(kEarlierOutputLeftOut) + "\n");
  if (change.dropLines > 0) {
    view_.removeOutputLines(liveOutput_->leftOutEarlierOutput() ? 1 : 0, change.dropLines);
  }
  if (!change.appended.empty()) {
    SplitText text = splitUnfinishedCharacter(std::move(unfinishedCharacter_) + change.appended);
    unfinishedCharacter_ = std::move(text.unfinished);
    if (!text.complete.empty()) view_.appendOutput(text.complete);
  }
}

void IpToolsPresenter::leaveRunState() {
  if (!runningTool_) return;
  const Tool tool = *runningTool_;
  liveOutput_.reset();
  unfinishedCharacter_.clear();
  view_.setOutputReadOnly(false);
  view_.setText(buttonOf(tool), std::string(design::initialText(buttonOf(tool))));
  runningTool_.reset();
  refreshEnabledStates();
}

void IpToolsPresenter::onToolFinished(RunEnd end) {
  if (!runningTool_) return;
  const Tool tool = *runningTool_;
  leaveRunState();
  const bool started = startedTheTool(end);
  const bool ended = end == RunEnd::Stopped || end == RunEnd::Cut;
  // A run that could not be stored is never reported as done.
  const bool stored = end != RunEnd::NotStored;
  const auto statusAfter = [&](std::string_view done) {
    return !started ? kStatusError : !stored ? kStatusNotStored : ended ? kStatusStopped : done;
  };

  switch (tool) {
    case Tool::Ping:
      if (started) view_.beep();
      view_.showBusyPointer(false);
      showResultFile(tool, end);
      setStatus(statusAfter(kStatusDone));
      // It counts pings that ran, stopped ones too; a ping that never started is not one.
      if (started) {
        counter_ = nextPingCount(counter_);
        view_.setText(Control::Counter, counter_);
      }
      break;
    case Tool::Trace:
      showResultFile(tool, end);
      view_.showBusyPointer(false);
      if (!stored) setStatus(kStatusNotStored);
      if (ended) setStatus(kStatusStopped);
      break;
    case Tool::Netstat:
      showResultFile(tool, end);
      view_.showBusyPointer(false);
      setStatus(statusAfter(kStatusNetstatDone));
      break;
  }
}

void IpToolsPresenter::showResultFile(Tool tool, RunEnd end) {
  const std::string_view name = resultFileName(tool);
  switch (end) {
    case RunEnd::ResultUnwritable:
      view_.setText(Control::OutputBox, unwritableResultNote(resultPath(name)));
      break;
    case RunEnd::ResultNotRegular:
      view_.setText(Control::OutputBox, notRegularResultNote(resultPath(name)));
      break;
    case RunEnd::NotStored: {
      // The file holds less than was shown: what is shown stays, and says so at its end.
      std::string note = outputEndsLine_ ? "" : "\n";
      note += notStoredNote(resultPath(name));
      view_.appendOutput(note);
      view_.moveCaretToEnd();
      return;
    }
    default:
      if (showStoredFile(name) && startedTheTool(end)) {
        view_.moveCaretToEnd();
        return;
      }
  }
  // A note why nothing ran is read from its first character.
  view_.moveCaretToStart();
}

void IpToolsPresenter::onClosing() {
  // Closing the window ends the running tool; nothing of that run is shown any more.
  if (!runningTool_) return;
  runner_.kill();
  leaveRunState();
  view_.showBusyPointer(false);
}

void IpToolsPresenter::onExitChosen() {
  view_.closeWindow();
}

// ---- stored results and "Clear all" ------------------------------------------------------------

bool IpToolsPresenter::showStoredFile(std::string_view fileName) {
  // Read piece by piece into the kept tail, so that a huge file never sits in memory whole.
  OutputTail tail(outputLimits_);
  const std::filesystem::path file = resultPath(fileName);
  const platform::FileAccess read =
      platform::readRegularFile(file, [&tail](std::string_view bytes) { tail.append(bytes); });
  switch (read) {
    case platform::FileAccess::Ok: view_.setText(Control::OutputBox, tail.text()); return true;
    case platform::FileAccess::Missing: view_.setText(Control::OutputBox, missingResultNote(file)); break;
    case platform::FileAccess::NotRegular:
      view_.setText(Control::OutputBox, notRegularStoredNote(file));
      break;
    case platform::FileAccess::Failed: view_.setText(Control::OutputBox, unreadableResultNote(file)); break;
  }
  return false;
}

void IpToolsPresenter::showStoredResult(Tool tool) {
  if (runningTool_) return;
  setStatus(kStatusWorking);
  showStoredFile(resultFileName(tool));
  setStatus(kStatusDone);
}

void IpToolsPresenter::onLastPingChosen() {
  showStoredResult(Tool::Ping);
}

void IpToolsPresenter::onLastNetstatChosen() {
  showStoredResult(Tool::Netstat);
}

void IpToolsPresenter::onLastTraceChosen() {
  if (runningTool_) return;
  setStatus(kStatusWorking);
  const std::string_view name = resultFileName(Tool::Trace);
  std::error_code error;
  const bool exists = std::filesystem::exists(resultPath(name), error);
  if (!exists && !error) platform::writeRegularFile(resultPath(name), kTraceRecoveryText);
  showStoredFile(name);
  setStatus(kStatusDone);
}

void IpToolsPresenter::onClearAllChosen() {
  if (runningTool_) return;
  BoxRequest question;
  question.text = std::string(kClearAllQuestion);
  question.title = "Lumeno";
  question.icon = BoxIcon::Exclamation;
  question.buttons = BoxButtons::YesNo;
  if (context_.boxes == nullptr || context_.boxes->show(question) != BoxAnswer::Yes) return;

  for (const ResetStep& step : kClearAllSteps) {
    if (isTick(step.control)) {
      view_.setTicked(step.control, false);
      continue;
    }
    if (step.control == Control::Counter) counter_ = std::string(step.value);
    view_.setText(step.control, std::string(step.value));
  }
}

// ---- selecting and the pop-up menu -------------------------------------------------------------

void IpToolsPresenter::onBoxClicked(Control box) {
  view_.selectAll(box);
}

void IpToolsPresenter::onOutputBoxClicked() {
  view_.selectAll(Control::OutputBox);
  view_.popUpOptionsMenu();
}

// ---- small helpers -----------------------------------------------------------------------------

void IpToolsPresenter::setStatus(std::string_view text) {
  view_.setText(Control::StatusLabel, std::string(text));
}

void IpToolsPresenter::showMessage(std::string_view text) {
  if (context_.boxes == nullptr) return;
  BoxRequest request;
  request.text = std::string(text);
  request.title = "Lumeno";
  context_.boxes->show(request);
}

std::filesystem::path IpToolsPresenter::resultPath(std::string_view fileName) const {
  return context_.file(fileName);
}

}  // namespace lumeno::iptools
