// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/Win32ToolRunner.h"

#include <utility>

#include "iptools/WindowRules.h"
#include "ui/win32/WindowProcedure.h"

namespace lumeno::win32ui {
namespace {

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

std::int64_t Win32ToolRunner::processId() const {
  return static_cast<std::int64_t>(process_.processId());
}

// ---- starting ----------------------------------------------------------------------------------

void Win32ToolRunner::start(const iptools::ToolRequest& request, const std::filesystem::path& folder) {
  if (run_.running()) return;
  refusal_.clear();
  {
    const std::lock_guard lock(queueLock_);
    queued_.clear();
    toolEnded_ = false;
    woken_ = false;
    abandoned_ = false;
  }

  if (!run_.begin(request.tool, folder)) return;
  // The tools read options after the host too: a host that looks like one is not run at all.
  std::string refusal = iptools::refusalOf(request);
  if (!refusal.empty()) {
    run_.notStarted(refusal + "\r\n");
    refusal_ = std::move(refusal);
    return;
  }
  startProcess(request, folder);
}

void Win32ToolRunner::startProcess(const iptools::ToolRequest& request, const std::filesystem::path& folder) {
  const iptools::WindowsCommand command = iptools::windowsCommand(request);
  const std::filesystem::path program = finder_(command.program);
  std::string error = "the system folder was not found";
  if (!program.empty() &&
      process_.start(
          program, command.arguments, folder, [this](std::string_view bytes) { queueOutput(bytes); },
          [this](unsigned /*exitCode*/) { queueEnd(); }, error)) {
    return;
  }
  // The same line end as the tools' own output and the program's other notes.
  run_.notStarted(iptools::notStartedNote(command.program, error, "\r\n"));
}

void Win32ToolRunner::postFinish() {
  ::PostMessageW(window_, kFinishPending, 0, 0);
}

void Win32ToolRunner::armKillTimer(std::chrono::milliseconds grace) {
  ::SetTimer(window_, kKillTimer, static_cast<UINT>(grace.count()), nullptr);
}

void Win32ToolRunner::cancelKillTimer() {
  ::KillTimer(window_, kKillTimer);
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
      if (run_.finishPending() && !refusal_.empty() && boxes_ != nullptr)
        boxes_->show({refusal_, "Lumeno", BoxIcon::Exclamation});
      run_.onFinishPosted();
      return 0;
    case WM_TIMER:
      if (wParam == kKillTimer) {
        ::KillTimer(window_, kKillTimer);
        run_.onKillTimer();
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
  if (!run_.running()) return;  // a stale wake-up of a run that was killed
  run_.onOutput(bytes);
  if (!ended) return;
  process_.wait();
  run_.onToolEnded();
}

// ---- ending ------------------------------------------------------------------------------------

void Win32ToolRunner::kill() {
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
  run_.abandon();
}

}  // namespace lumeno::win32ui
