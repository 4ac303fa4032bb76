// SPDX-License-Identifier: GPL-3.0-or-later
// "Refresh Net IP" on Windows: the WinHTTP lookup against a service of the test's own on 127.0.0.1.
#include "LoopbackHttpServer.h"
// After winsock2.h, which must come before windows.h.
#include <chrono>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "ui/win32/NetIpRequest.h"

namespace lumeno::test {
namespace {

using std::chrono::milliseconds;
using win32ui::NetIpRequest;
using Reply = LoopbackHttpServer::Reply;

constexpr UINT kAnswered = WM_APP + 7;
const std::string kLate = "The Net IP could not be found: the service did not answer in time.";

// A window of the test's thread that only collects the request's message.
struct AnswerWindow {
  AnswerWindow()
      : handle(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr)) {}
  AnswerWindow(const AnswerWindow&) = delete;
  AnswerWindow& operator=(const AnswerWindow&) = delete;
  ~AnswerWindow() { ::DestroyWindow(handle); }

  [[nodiscard]] bool takeMessage() const {
    MSG message{};
    return ::PeekMessageW(&message, handle, kAnswered, kAnswered, PM_REMOVE) != FALSE;
  }
  // Waits for the message, then takes the answer; the deadline only fails the test.
  std::optional<std::string> await(NetIpRequest& request) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!takeMessage()) {
      if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_POSTMESSAGE);
    }
    return request.takeAnswer();
  }

  HWND handle;
};

std::optional<std::string> lookUpOnce(const std::wstring& url, milliseconds timeout = milliseconds(8000)) {
  AnswerWindow window;
  NetIpRequest request(window.handle, kAnswered, url, timeout);
  EXPECT_TRUE(request.start());
  return window.await(request);
}

// Which bodies are an address is NetIpAnswer's rule; here, what reaches it over WinHTTP.
TEST(Win32NetIp, TheServicesAnswerBecomesTheMessageTextAndAnErrorPageIsNoAnswer) {
  const std::pair<Reply, const char*> rows[] = {
      {Reply::Address, "Your Net IP (the address the Internet sees) is 203.0.113.7"},
      {Reply::ServerError, "The Net IP could not be found: the service answered with HTTP status 503."},
      // The reading stops once the body is longer than any address, however much more comes.
      {Reply::Flood, "The Net IP could not be found: the service gave an answer that is not an address."}};
  for (const auto& [reply, text] : rows) {
    LoopbackHttpServer server(reply);
    EXPECT_EQ(lookUpOnce(server.url()), text);
    EXPECT_EQ(server.requestLine(), "GET / HTTP/1.1");
  }
  const std::wstring ended = LoopbackHttpServer(Reply::Address).url();  // nothing listens there any more
  EXPECT_EQ(lookUpOnce(ended), "The Net IP could not be found: the service could not be reached.");
  EXPECT_EQ(lookUpOnce(L"no address at all"),
            "The Net IP could not be found: the service's address is not valid.");
  // Each byte comes long before any single wait would give up: the whole lookup's deadline ends it.
  LoopbackHttpServer trickle(Reply::Trickle);
  EXPECT_EQ(lookUpOnce(trickle.url(), milliseconds(500)), kLate);
}

TEST(Win32NetIp, ASilentServiceTimesOutAndASecondRequestMeanwhileIsIgnored) {
  LoopbackHttpServer server(Reply::Silent);
  AnswerWindow window;
  NetIpRequest request(window.handle, kAnswered, server.url(), milliseconds(300));
  EXPECT_FALSE(request.takeAnswer().has_value());  // nothing asked, nothing to take
  ASSERT_TRUE(request.start());
  EXPECT_FALSE(request.start());
  EXPECT_EQ(window.await(request), kLate);
  EXPECT_EQ(server.connections(), 1);
  EXPECT_FALSE(window.takeMessage());  // one request, one answer
  ASSERT_TRUE(server.waitForClientToLeave());
  EXPECT_TRUE(request.start());
  EXPECT_TRUE(window.await(request).has_value());
  EXPECT_EQ(server.connections(), 2);
}

TEST(Win32NetIp, ClosingTheWindowDuringALookupNeitherWaitsForItNorHearsFromItLater) {
  LoopbackHttpServer silent(Reply::Silent);
  AnswerWindow window;
  {
    NetIpRequest request(window.handle, kAnswered, silent.url(), milliseconds(300));
    ASSERT_TRUE(request.start());
  }
  // The abandoned lookup runs to its end by itself, and the window hears only from its next one.
  ASSERT_TRUE(silent.waitForClientToLeave());
  LoopbackHttpServer server(Reply::Address);
  NetIpRequest next(window.handle, kAnswered, server.url());
  ASSERT_TRUE(next.start());
  EXPECT_EQ(window.await(next), "Your Net IP (the address the Internet sees) is 203.0.113.7");
  EXPECT_FALSE(window.takeMessage());
}

}  // namespace
}  // namespace lumeno::test
