// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32ui/NetIpRequest.h"

#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include <winhttp.h>

#include "app/NetIpAnswer.h"

namespace lumeno::win32ui {

// What the worker and the window share: the worker may outlive the request object.
struct NetIpRequest::Shared {
  std::mutex mutex;
  HWND window = nullptr;  // none once the request object is gone
  UINT answered = 0;
  std::optional<std::string> answer;
};

namespace {

using app::netIpFailedText;
using app::netIpFoundText;

using InternetHandle = std::unique_ptr<void, decltype(&::WinHttpCloseHandle)>;

InternetHandle owned(HINTERNET handle) {
  return {handle, &::WinHttpCloseHandle};
}

// The socket's own word for a time-out, which some WinHTTPs (Wine's) pass on as it is.
constexpr DWORD kSocketTimedOut = 10060;  // WSAETIMEDOUT

std::string failure(DWORD error) {
  switch (error) {
    case ERROR_WINHTTP_TIMEOUT:
    case kSocketTimedOut: return netIpFailedText("the service did not answer in time.");
    case ERROR_WINHTTP_NAME_NOT_RESOLVED: return netIpFailedText("the service's name could not be resolved.");
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case ERROR_WINHTTP_CONNECTION_ERROR: return netIpFailedText("the service could not be reached.");
    case ERROR_WINHTTP_SECURE_FAILURE: return netIpFailedText("the secure connection to the service failed.");
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME: return netIpFailedText("the service's address is not valid.");
    default: break;
  }
  return netIpFailedText("the request failed (WinHTTP error " + std::to_string(error) + ").");
}

std::string failure() {
  return failure(::GetLastError());
}

// One GET of the service, start to end; the text to show the user.
std::string lookUp(const std::wstring& service, std::chrono::milliseconds timeout) {
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof(parts);
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (::WinHttpCrackUrl(service.c_str(), 0, 0, &parts) == FALSE) return failure();
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";

  // A service on this machine is asked directly, never through a proxy elsewhere.
  const bool onThisMachine = host == L"127.0.0.1" || host == L"localhost" || host == L"::1";
  const InternetHandle session = owned(::WinHttpOpen(
      L"Lumeno", onThisMachine ? WINHTTP_ACCESS_TYPE_NO_PROXY : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
      WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return failure();
  // Each step (name, connection, sending, each wait for data) may take this long, no longer.
  const int limit = static_cast<int>(timeout.count());
  ::WinHttpSetTimeouts(session.get(), limit, limit, limit, limit);
  const InternetHandle connection = owned(::WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
  if (!connection) return failure();
  const DWORD flags =
      WINHTTP_FLAG_REFRESH | (parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
  const InternetHandle request =
      owned(::WinHttpOpenRequest(connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                 WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
  if (!request) return failure();
  // The wait for the head of the answer has a limit of its own.
  DWORD headLimit = static_cast<DWORD>(limit);
  ::WinHttpSetOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headLimit, sizeof(headLimit));
  if (::WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                           0) == FALSE ||
      ::WinHttpReceiveResponse(request.get(), nullptr) == FALSE)
    return failure();

  DWORD status = 0;
  DWORD size = sizeof(status);
  if (::WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX) == FALSE)
    return failure();
  if (status < 200 || status > 299)
    return netIpFailedText("the service answered with HTTP status " + std::to_string(status) + ".");

  // An address is a few characters: whatever goes on past this is no address anyway.
  constexpr std::size_t kEnough = 64;
  std::string body;
  char buffer[kEnough];
  while (body.size() < kEnough) {
    DWORD read = 0;
    if (::WinHttpReadData(request.get(), buffer, sizeof(buffer), &read) == FALSE) return failure();
    if (read == 0) break;
    body.append(buffer, read);
  }
  if (const auto address = app::parseNetIpAnswer(body)) return netIpFoundText(*address);
  return netIpFailedText("the service gave an answer that is not an address.");
}

void deliver(NetIpRequest::Shared& shared, std::string text) {
  const std::lock_guard lock(shared.mutex);
  shared.answer = std::move(text);
  if (shared.window != nullptr) ::PostMessageW(shared.window, shared.answered, 0, 0);
}

}  // namespace

NetIpRequest::NetIpRequest(HWND window, UINT answered, std::wstring service,
                           std::chrono::milliseconds timeout)
    : shared_(std::make_shared<Shared>()), service_(std::move(service)), timeout_(timeout) {
  shared_->window = window;
  shared_->answered = answered;
}

NetIpRequest::~NetIpRequest() {
  const std::lock_guard lock(shared_->mutex);
  shared_->window = nullptr;
}

bool NetIpRequest::start() {
  if (running_) return false;
  running_ = true;
  try {
    // Detached: the window never waits for the service, not even while it closes.
    std::thread([shared = shared_, service = service_, timeout = timeout_] {
      deliver(*shared, lookUp(service, timeout));
    }).detach();
  } catch (const std::system_error& error) {
    deliver(*shared_,
            netIpFailedText("no thread could be started for it (" + std::string(error.what()) + ")."));
  }
  return true;
}

std::optional<std::string> NetIpRequest::takeAnswer() {
  const std::lock_guard lock(shared_->mutex);
  if (!shared_->answer) return std::nullopt;
  std::optional<std::string> answer = std::move(shared_->answer);
  shared_->answer.reset();
  running_ = false;
  return answer;
}

}  // namespace lumeno::win32ui
