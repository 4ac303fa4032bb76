// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

namespace lumeno::test {

// A plain-HTTP server on 127.0.0.1 that plays the echo service: it reads each request and
// answers it in one chosen way. Nothing leaves the machine.
class LoopbackHttpServer {
 public:
  enum class Reply {
    Address,      // 200 with an address and a line break, as the service answers
    ServerError,  // 503
    Silent,       // takes the request and never answers
    Flood,        // 200 with an address, then white space without end
    Trickle,      // begins a head and goes on with a byte now and then, never ending it
  };

  explicit LoopbackHttpServer(Reply reply) : reply_(reply) {
    WSADATA data{};
    ::WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = loopback(0);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::listen(listener_, 4);
    int size = sizeof(address);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    clientLeft_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    stopped_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([this] { serve(); });
  }
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;
  ~LoopbackHttpServer() {
    stopping_ = true;
    ::SetEvent(stopped_);
    {
      // A connection of our own wakes the accept; a silent connection still open is ended.
      const std::lock_guard lock(mutex_);
      if (open_ != INVALID_SOCKET) ::shutdown(open_, SD_BOTH);
    }
    SOCKET waker = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = loopback(port_);
    ::connect(waker, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    thread_.join();
    ::closesocket(waker);
    ::closesocket(listener_);
    ::CloseHandle(clientLeft_);
    ::CloseHandle(stopped_);
    ::WSACleanup();
  }

  [[nodiscard]] std::wstring url() const { return L"http://127.0.0.1:" + std::to_wstring(port_) + L"/"; }
  [[nodiscard]] int connections() const { return connections_; }
  // The request line of the last request, e.g. "GET / HTTP/1.1".
  [[nodiscard]] std::string requestLine() const {
    const std::lock_guard lock(mutex_);
    return requestLine_;
  }
  // Waits until the client has closed a connection the server kept silent on; the deadline
  // only fails the test.
  bool waitForClientToLeave() const { return ::WaitForSingleObject(clientLeft_, 60000) == WAIT_OBJECT_0; }

 private:
  static sockaddr_in loopback(unsigned short port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
  }

  void serve() {
    while (true) {
      SOCKET connection = ::accept(listener_, nullptr, nullptr);
      if (connection == INVALID_SOCKET || stopping_) {
        if (connection != INVALID_SOCKET) ::closesocket(connection);
        return;
      }
      ++connections_;
      {
        const std::lock_guard lock(mutex_);
        open_ = connection;
      }
      readRequest(connection);
      answer(connection);
      {
        const std::lock_guard lock(mutex_);
        open_ = INVALID_SOCKET;
      }
      ::closesocket(connection);
    }
  }

  void readRequest(SOCKET connection) {
    std::string request;
    char buffer[512];
    while (request.find("\r\n\r\n") == std::string::npos) {
      const int got = ::recv(connection, buffer, sizeof(buffer), 0);
      if (got <= 0) break;
      request.append(buffer, static_cast<std::size_t>(got));
    }
    const std::lock_guard lock(mutex_);
    requestLine_ = request.substr(0, request.find("\r\n"));
  }

  void answer(SOCKET connection) {
    std::string response;
    switch (reply_) {
      case Reply::Address: response = withBody("200 OK", "203.0.113.7\n"); break;
      case Reply::ServerError: response = withBody("503 Service Unavailable", "203.0.113.7"); break;
      case Reply::Flood: {
        // No length: the body goes on until the client hangs up.
        const std::string head =
            "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n203.0.113.7\n";
        const std::string spaces(4096, ' ');
        if (::send(connection, head.data(), static_cast<int>(head.size()), 0) <= 0) return;
        while (!stopping_ && ::send(connection, spaces.data(), static_cast<int>(spaces.size()), 0) > 0) {
        }
        ::SetEvent(clientLeft_);
        return;
      }
      case Reply::Trickle: {
        // Every single wait of the client sees data; only the whole can be too long.
        const std::string head = "HTTP/1.1 200 OK\r\nX-Slow: ";
        if (::send(connection, head.data(), static_cast<int>(head.size()), 0) <= 0) return;
        while (::WaitForSingleObject(stopped_, 50) == WAIT_TIMEOUT && ::send(connection, "x", 1, 0) > 0) {
        }
        ::SetEvent(clientLeft_);
        return;
      }
      case Reply::Silent: {
        // Waits for the client to give up and close.
        char buffer[64];
        while (::recv(connection, buffer, sizeof(buffer), 0) > 0) {
        }
        ::SetEvent(clientLeft_);
        return;
      }
    }
    ::send(connection, response.data(), static_cast<int>(response.size()), 0);
    ::shutdown(connection, SD_SEND);
  }

  static std::string withBody(const std::string& status, const std::string& body) {
    return "HTTP/1.1 " + status +
           "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
  }

  Reply reply_;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  HANDLE clientLeft_ = nullptr;
  HANDLE stopped_ = nullptr;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  SOCKET open_ = INVALID_SOCKET;
  std::string requestLine_;
  std::thread thread_;
};

}  // namespace lumeno::test
