// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/Win32ToolProcess.h"

#include <array>
#include <utility>

#include <windows.h>

#include "platform/win32/Text.h"
#include "platform/win32/Win32Launcher.h"

namespace lumeno::platform {
namespace {

std::string systemMessage(DWORD code) {
  std::array<wchar_t, 512> text{};
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        code, 0, text.data(), static_cast<DWORD>(text.size()), nullptr);
  std::wstring_view message(text.data(), length);
  while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' '))
    message.remove_suffix(1);
  return message.empty() ? "error " + std::to_string(code) : toUtf8(message);
}

// Ctrl+C and Ctrl+Break sent to a tool's console reach this program too while it is joined to
// that console; it goes on.
BOOL WINAPI ignoreInterrupt(DWORD event) {
  return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? TRUE : FALSE;
}

void ignoreInterruptsHere() {
  static const bool installed = ::SetConsoleCtrlHandler(&ignoreInterrupt, TRUE) != FALSE;
  (void)installed;
}

}  // namespace

std::wstring toolCommandLine(const std::filesystem::path& program,
                             const std::vector<std::string>& arguments) {
  std::wstring line = quotedArgument(program.wstring());
  for (const std::string& argument : arguments) line += L' ' + quotedArgument(toWide(argument));
  return line;
}

Win32ToolProcess::~Win32ToolProcess() {
  stop();
  wait();
}

bool Win32ToolProcess::start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                             const std::filesystem::path& workingFolder, Output output, Ended ended,
                             std::string& error) {
  wait();  // the reader of an earlier run, if any, has finished
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (::CreatePipe(&readEnd, &writeEnd, &inherit, 0) == FALSE) {
    error = systemMessage(::GetLastError());
    return false;
  }
  Handle pipeIn(readEnd);
  Handle pipeOut(writeEnd);
  // Only the tool's end is handed down.
  ::SetHandleInformation(pipeIn.get(), HANDLE_FLAG_INHERIT, 0);
  Handle nothingIn(::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 OPEN_EXISTING, 0, nullptr));

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nothingIn.get();
  startup.hStdOutput = pipeOut.get();
  startup.hStdError = pipeOut.get();
  PROCESS_INFORMATION info{};
  std::wstring line = toolCommandLine(program, arguments);
  const std::wstring folder = workingFolder.wstring();
  // A tool inherits whether Ctrl+C is ignored: it must not be, or Stop could not reach it.
  ignoreInterruptsHere();
  ::SetConsoleCtrlHandler(nullptr, FALSE);
  // The program is named in full, so no search and no shell takes part in choosing it.
  if (::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &startup, &info) == FALSE) {
    error = systemMessage(::GetLastError());
    return false;
  }
  ::CloseHandle(info.hThread);
  pipeOut.close();  // the pipe breaks when the tool, its only writer now, ends
  {
    const std::lock_guard lock(processLock_);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
  }
  running_ = true;
  reader_ = std::thread(
      [this, pipe = std::move(pipeIn), output = std::move(output), ended = std::move(ended)]() mutable {
        readUntilEnd(std::move(pipe), output, ended);
      });
  return true;
}

void Win32ToolProcess::readUntilEnd(Handle pipe, const Output& output, const Ended& ended) {
  std::array<char, 4096> buffer{};
  for (;;) {
    DWORD read = 0;
    if (::ReadFile(pipe.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) == FALSE ||
        read == 0)
      break;
    if (output) output(std::string_view(buffer.data(), read));
  }
  // The handle is replaced only by the next start, which first waits for this thread.
  DWORD code = 0;
  ::WaitForSingleObject(process_.get(), INFINITE);
  ::GetExitCodeProcess(process_.get(), &code);
  running_ = false;
  if (ended) ended(code);
}

void Win32ToolProcess::stop() {
  const std::lock_guard lock(processLock_);
  if (running_ && process_.valid()) ::TerminateProcess(process_.get(), 1);
}

bool Win32ToolProcess::interrupt() {
  const std::lock_guard lock(processLock_);
  if (!running_ || processId_ == 0) return false;
  ignoreInterruptsHere();
  // A program has one console at a time; Lumeno, a windowed program, has none of its own.
  ::FreeConsole();
  if (::AttachConsole(processId_) == FALSE) return false;
  const bool sent = ::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0) != FALSE;
  ::FreeConsole();
  return sent;
}

unsigned long Win32ToolProcess::processId() const {
  return running_ ? processId_ : 0;
}

void Win32ToolProcess::wait() {
  if (reader_.joinable() && reader_.get_id() != std::this_thread::get_id()) reader_.join();
}

}  // namespace lumeno::platform
