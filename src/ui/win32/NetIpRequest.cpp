// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/win32/NetIpRequest.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include <winhttp.h>

#include "app/NetIpAnswer.h"

namespace lumeno::win32ui {

// What the workers and the window share: a worker may outlive the request object.
struct NetIpRequest::Shared {
  std::mutex mutex;
  HWND window = nullptr;  // none once the request object is gone
  UINT answered = 0;
  std::optional<std::string> answer;
  unsigned lookup = 0;     // the number of the latest lookup
  bool delivered = false;  // whether the latest lookup has had its answer
};

namespace {

using Clock = std::chrono::steady_clock;

// One lookup: its worker, and the watch that answers in its place at the deadline and cuts its
// request short.
struct Lookup {
  std::mutex mutex;
  std::condition_variable over;
  bool done = false;
  HINTERNET request = nullptr;  // while the worker uses it; the first to take it closes it
  Clock::time_point deadline;

  // What is left of the time, at least a millisecond: WinHTTP reads 0 as "no limit".
  [[nodiscard]] int millisecondsLeft() const {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 1, 0x7fffffff));
  }
  // Whether the watch has cut the request short: it is not to be touched any more.
  [[nodiscard]] bool cutShort() {
    const std::lock_guard lock(mutex);
    return request == nullptr;
  }
  void closeRequest() {
    HINTERNET taken = nullptr;
    {
      const std::lock_guard lock(mutex);
      std::swap(taken, request);
    }
    if (taken != nullptr) ::WinHttpCloseHandle(taken);
  }
};

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
std::string lookUp(const std::wstring& service, Lookup& lookup) {
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
  // No step may take longer than the time the whole lookup has left.
  const int limit = lookup.millisecondsLeft();
  ::WinHttpSetTimeouts(session.get(), limit, limit, limit, limit);
  const InternetHandle connection = owned(::WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
  if (!connection) return failure();
  const DWORD flags =
      WINHTTP_FLAG_REFRESH | (parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
  HINTERNET request = ::WinHttpOpenRequest(connection.get(), L"GET", path.c_str(), nullptr,
                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags);
  if (request == nullptr) return failure();
  {
    const std::lock_guard lock(lookup.mutex);
    lookup.request = request;
  }
  // Closed before the connection and the session, unless the watch closed it first.
  struct CloseAtEnd {
    Lookup& lookup;
    explicit CloseAtEnd(Lookup& closing) : lookup(closing) {}
    CloseAtEnd(const CloseAtEnd&) = delete;
    CloseAtEnd& operator=(const CloseAtEnd&) = delete;
    ~CloseAtEnd() { lookup.closeRequest(); }
  } closeAtEnd(lookup);
  const auto timeLeft = [&](DWORD option) {
    DWORD left = static_cast<DWORD>(lookup.millisecondsLeft());
    ::WinHttpSetOption(request, option, &left, sizeof(left));
  };
  timeLeft(WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT);
  if (::WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ==
          FALSE ||
      lookup.cutShort() || ::WinHttpReceiveResponse(request, nullptr) == FALSE)
    return failure();
  if (lookup.cutShort()) return failure(ERROR_WINHTTP_TIMEOUT);

  DWORD status = 0;
  DWORD size = sizeof(status);
  if (::WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX) == FALSE)
    return failure();
  if (status < 200 || status > 299)
    return netIpFailedText("the service answered with HTTP status " + std::to_string(status) + ".");

  // Never more than the longest answer: a service that goes on sending is cut off there.
  std::string body;
  char buffer[NetIpRequest::kLongestAnswer];
  while (body.size() < NetIpRequest::kLongestAnswer) {
    if (Clock::now() >= lookup.deadline || lookup.cutShort()) return failure(ERROR_WINHTTP_TIMEOUT);
    timeLeft(WINHTTP_OPTION_RECEIVE_TIMEOUT);
    DWORD read = 0;
    if (::WinHttpReadData(request, buffer, static_cast<DWORD>(NetIpRequest::kLongestAnswer - body.size()),
                          &read) == FALSE)
      return failure();
    if (read == 0) break;
    body.append(buffer, read);
  }
  if (body.size() < NetIpRequest::kLongestAnswer) {
    if (const auto address = app::parseNetIpAnswer(body)) return netIpFoundText(*address);
  }
  return netIpFailedText("the service gave an answer that is not an address.");
}

// The lookup's answer, unless it has had one (from its deadline) or a later lookup has begun.
void deliver(NetIpRequest::Shared& shared, unsigned lookup, std::string text) {
  const std::lock_guard lock(shared.mutex);
  if (lookup != shared.lookup || shared.delivered) return;
  shared.delivered = true;
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
  unsigned number = 0;
  {
    const std::lock_guard lock(shared_->mutex);
    number = ++shared_->lookup;
    shared_->delivered = false;
  }
  auto lookup = std::make_shared<Lookup>();
  lookup->deadline = Clock::now() + timeout_;
  try {
    // Detached: the window never waits for the service, not even while it closes.
    std::thread([shared = shared_, service = service_, lookup, number] {
      std::string text = lookUp(service, *lookup);
      deliver(*shared, number, std::move(text));
      const std::lock_guard lock(lookup->mutex);
      lookup->done = true;
      lookup->over.notify_all();
    }).detach();
    // At the deadline the user hears that the service did not answer in time, whatever it is
    // doing (sending a byte now and then keeps every single step alive).
    std::thread([shared = shared_, lookup, number] {
      std::unique_lock lock(lookup->mutex);
      if (lookup->over.wait_until(lock, lookup->deadline, [&] { return lookup->done; })) return;
      lock.unlock();
      deliver(*shared, number, failure(ERROR_WINHTTP_TIMEOUT));
      lookup->closeRequest();
    }).detach();
  } catch (const std::system_error& error) {
    deliver(*shared_, number,
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
