// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>

#include <windows.h>

namespace lumeno::win32ui {

// Asks a plain-text echo service for the address the Internet sees, only when the user asks.
// The request runs on a worker thread through WinHTTP, so the window never waits; when it is
// over, `answered` is posted to the window, whose handler takes the text with takeAnswer().
class NetIpRequest {
 public:
  // A well-known service that answers an HTTPS GET with the caller's IPv4 address as text.
  static constexpr const wchar_t* kServiceUrl = L"https://api.ipify.org";
  // The whole lookup, from the click to the answer, takes at most this long.
  static constexpr std::chrono::milliseconds kTimeout{8000};
  // An address is a few characters; a body this long or longer is no address.
  static constexpr std::size_t kLongestAnswer = 64;

  NetIpRequest(HWND window, UINT answered, std::wstring service = kServiceUrl,
               std::chrono::milliseconds timeout = kTimeout);
  NetIpRequest(const NetIpRequest&) = delete;
  NetIpRequest& operator=(const NetIpRequest&) = delete;
  // A lookup still under way is left to end by itself (its deadline bounds it); it posts
  // nothing any more.
  ~NetIpRequest();

  // Starts a lookup; false, and nothing done, while one is under way. Its answer is posted by
  // the deadline at the latest, whatever the service does.
  bool start();
  [[nodiscard]] bool running() const { return running_; }
  // The text to show the user once `answered` has arrived: the address, or why there is none.
  // Nothing when no answer is waiting. The next lookup may start after this.
  std::optional<std::string> takeAnswer();

  struct Shared;

 private:
  std::shared_ptr<Shared> shared_;
  std::wstring service_;
  std::chrono::milliseconds timeout_;
  bool running_ = false;
};

}  // namespace lumeno::win32ui
