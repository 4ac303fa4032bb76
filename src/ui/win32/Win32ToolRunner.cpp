// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/Win32ToolRunner.h"

#include <utility>

#include "iptools/WindowRules.h"
#include "ui/win32/WindowProcedure.h"

namespace lumeno::win32ui {
namespace {

using iptools::RunEnd;

constexpr const wchar_t* kClass = L"LumenoToolRunner";
constexpr UINT kOutputWaiting = WM_APP + 1;
constexpr UINT kFinishPending = WM_APP + 2;
constexpr UINT_PTR kKillTimer = 1;

}  // namespace

Win32ToolRunner::Win32ToolRunner(MessageBoxes* boxes)
    : boxes_(boxes), finder_(&Win32ToolRunner::systemProgram) {
  static const bool registered =
      registerWindowClass(kClass, &Win32ToolRunner::procedure, {.arrowCursor = false});
  (void)registered;
  window_ = ::CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              ::GetModuleHandleW(nullptr), this);
}

Win32ToolRunner::~Win32ToolRunner() {
  kill();
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  ::DestroyWindow(window_);
}

std::filesystem::path Win32ToolRunner::systemProgram(const std::string& name) {
  std::wstring folder(MAX_PATH, L'\0');
  const UINT length = ::GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  if (length == 0 || length >= folder.size()) return {};
  folder.resize(length);
  return std::filesystem::path(folder) / name;
}

void Win32ToolRunner::setProgramFinder(ProgramFinder finder) {
  finder_ = std::move(finder);
}

void Win32ToolRunner::setStopGrace(std::chrono::milliseconds grace) {
  stopGrace_ = grace;
}

void Win32ToolRunner::setResultFileLimit(std::uint64_t bytes) {
  resultLimit_ = bytes;
}

void Win32ToolRunner::setHandlers(Handlers handlers) {
  handlers_ = std::move(handlers);
}

std::int64_t Win32ToolRunner::processId() const {
  return static_cast<std::int64_t>(process_.processId());
}

// ---- starting ----------------------------------------------------------------------------------

void Win32ToolRunner::start(const iptools::ToolRequest& request, const std::filesystem::path& folder) {
  if (running_) return;
  running_ = true;
  stopping_ = false;
  stored_ = true;
  refusal_.clear();
  cap_ = iptools::ResultCap(resultLimit_);
  {
    const std::lock_guard lock(queueLock_);
    queued_.clear();
    toolEnded_ = false;
    woken_ = false;
    abandoned_ = false;
  }

  switch (result_.open(folder / std::string(iptools::resultFileName(request.tool)))) {
    case platform::FileAccess::Ok: break;
    case platform::FileAccess::NotRegular: finishLater(RunEnd::ResultNotRegular); return;
    default: finishLater(RunEnd::ResultUnwritable); return;
  }
  // The tools read options after the host too: a host that looks like one is not run at all.
  std::string refusal = iptools::refusalOf(request);
  if (!refusal.empty()) {
    result_.write(refusal + "\r\n");
    result_.close();
    refusal_ = std::move(refusal);
    finishLater(RunEnd::NotStarted);
    return;
  }
  if (!startProcess(request, folder)) finishLater(RunEnd::NotStarted);
}

bool Win32ToolRunner::startProcess(const iptools::ToolRequest& request, const std::filesystem::path& folder) {
  const iptools::WindowsCommand command = iptools::windowsCommand(request);
  const std::filesystem::path program = finder_(command.program);
  std::string error = "the system folder was not found";
  if (!program.empty() &&
      process_.start(
          program, command.arguments, folder, [this](std::string_view bytes) { queueOutput(bytes); },
          [this](unsigned /*exitCode*/) { queueEnd(); }, error)) {
    return true;
  }
  // The same line end as the tools' own output and the program's other notes.
  result_.write(iptools::notStartedNote(command.program, error, "\r\n"));
  result_.close();
  return false;
}

void Win32ToolRunner::finishLater(RunEnd end) {
  // Reported from the message loop, like the end of a real process, so the caller has always
  // finished starting the run before it hears of its end.
  pendingEnd_ = end;
  ::PostMessageW(window_, kFinishPending, 0, 0);
}

// ---- the reader thread -------------------------------------------------------------------------

void Win32ToolRunner::queueOutput(std::string_view bytes) {
  std::unique_lock lock(queueLock_);
  // A tool that writes faster than the window shows waits on its full pipe, as in a console.
  roomInQueue_.wait(lock, [this] { return abandoned_ || queued_.size() < kWaitingOutputLimit; });
  if (abandoned_) return;
  queued_.append(bytes);
  wakeWindow();
}

void Win32ToolRunner::queueEnd() {
  const std::lock_guard lock(queueLock_);
  toolEnded_ = true;
  wakeWindow();
}

void Win32ToolRunner::wakeWindow() {
  // One wake-up at a time is enough: the window takes everything queued when it comes.
  if (woken_) return;
  woken_ = true;
  ::PostMessageW(window_, kOutputWaiting, 0, 0);
}

// ---- the window's thread -----------------------------------------------------------------------

LRESULT CALLBACK Win32ToolRunner::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return windowProcedure(window, message, wParam, lParam, &Win32ToolRunner::handle,
                         &Win32ToolRunner::window_);
}

LRESULT Win32ToolRunner::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kOutputWaiting: takeQueued(); return 0;
    case kFinishPending:
      if (running_ && pendingEnd_) {
        const RunEnd end = *pendingEnd_;
        pendingEnd_.reset();
        if (!refusal_.empty() && boxes_ != nullptr) boxes_->show({refusal_, "Lumeno", BoxIcon::Exclamation});
        finishNow(end);
      }
      return 0;
    case WM_TIMER:
      if (wParam == kKillTimer) {
        ::KillTimer(window_, kKillTimer);
        killTimerSet_ = false;
        process_.stop();  // the tool did not end when asked
      }
      return 0;
    default: break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

void Win32ToolRunner::takeQueued() {
  std::string bytes;
  bool ended = false;
  {
    const std::lock_guard lock(queueLock_);
    bytes.swap(queued_);
    ended = toolEnded_;
    woken_ = false;
  }
  roomInQueue_.notify_all();
  if (!running_) return;  // a stale wake-up of a run that was killed
  keep(bytes);
  if (!ended) return;
  process_.wait();
  if (killTimerSet_) {
    ::KillTimer(window_, kKillTimer);
    killTimerSet_ = false;
  }
  closeResult();
  finishNow(!stored_      ? RunEnd::NotStored
            : cap_.full() ? RunEnd::Cut
            : stopping_   ? RunEnd::Stopped
                          : RunEnd::Ran);
}

void Win32ToolRunner::store(std::string_view bytes) {
  // After a failed write (a full disk) nothing more goes in: the file would have a hole.
  if (stored_ && !result_.write(bytes)) stored_ = false;
}

void Win32ToolRunner::closeResult() {
  // A write the system had delayed may fail only here.
  if (result_.isOpen() && !result_.close()) stored_ = false;
}

void Win32ToolRunner::keep(std::string_view bytes) {
  // Everything is read, also after the file is full: a tool blocked on a full pipe could not end.
  if (bytes.empty() || cap_.full()) return;
  const iptools::ResultCap::Piece piece = cap_.take(bytes);
  if (!piece.keep.empty()) {
    store(piece.keep);
    if (handlers_.output) handlers_.output(piece.keep);
  }
  if (!piece.note.empty()) {
    store(piece.note);
    closeResult();
    if (handlers_.output) handlers_.output(piece.note);
    endTool();
  }
}

void Win32ToolRunner::finishNow(RunEnd end) {
  result_.close();
  running_ = false;
  stopping_ = false;
  if (handlers_.finished) handlers_.finished(end);
}

// ---- ending ------------------------------------------------------------------------------------

void Win32ToolRunner::stop() {
  if (!running_ || !process_.running()) return;
  stopping_ = true;
  endTool();
}

void Win32ToolRunner::endTool() {
  if (!process_.running() || killTimerSet_) return;
  // Where the tool's console cannot be reached, it is ended at once.
  if (!process_.interrupt()) {
    process_.stop();
    return;
  }
  killTimerSet_ = true;
  ::SetTimer(window_, kKillTimer, static_cast<UINT>(stopGrace_.count()), nullptr);
}

void Win32ToolRunner::kill() {
  if (killTimerSet_) {
    ::KillTimer(window_, kKillTimer);
    killTimerSet_ = false;
  }
  pendingEnd_.reset();
  {
    const std::lock_guard lock(queueLock_);
    abandoned_ = true;
  }
  roomInQueue_.notify_all();
  process_.stop();
  process_.wait();
  {
    const std::lock_guard lock(queueLock_);
    queued_.clear();
  }
  result_.close();
  running_ = false;
  stopping_ = false;
}

}  // namespace lumeno::win32ui
