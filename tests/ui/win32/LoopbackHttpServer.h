// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace lumeno::test {

// A plain-HTTP server on 127.0.0.1 that plays the echo service, answering every request one
// chosen way. Nothing leaves the machine.
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
    int size = sizeof(address);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), size);
    ::listen(listener_, 4);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
  }
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;
  ~LoopbackHttpServer() {
    ::SetEvent(stopped_);
    // A silent connection still open is ended; a connection of our own wakes the accept.
    if (const SOCKET open = open_; open != INVALID_SOCKET) ::shutdown(open, SD_BOTH);
    const SOCKET waker = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = loopback(port_);
    ::connect(waker, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    thread_.join();
    for (const SOCKET socket : {waker, listener_}) ::closesocket(socket);
    for (const HANDLE event : {clientLeft_, stopped_}) ::CloseHandle(event);
    ::WSACleanup();
  }

  [[nodiscard]] std::wstring url() const { return L"http://127.0.0.1:" + std::to_wstring(port_) + L"/"; }
  [[nodiscard]] int connections() const { return connections_; }
  [[nodiscard]] std::string requestLine() const {
    const std::lock_guard lock(mutex_);
    return requestLine_;
  }
  // Until the client has closed a connection the server did not end; the deadline only fails the test.
  bool waitForClientToLeave() const { return ::WaitForSingleObject(clientLeft_, 60000) == WAIT_OBJECT_0; }

 private:
  static sockaddr_in loopback(unsigned short port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
  }
  [[nodiscard]] bool stopping() const { return ::WaitForSingleObject(stopped_, 0) == WAIT_OBJECT_0; }

  void serve() {
    SOCKET connection = INVALID_SOCKET;
    while ((connection = ::accept(listener_, nullptr, nullptr)) != INVALID_SOCKET && !stopping()) {
      ++connections_;
      open_ = connection;
      readRequest(connection);
      answer(connection);
      open_ = INVALID_SOCKET;
      ::closesocket(connection);
    }
    if (connection != INVALID_SOCKET) ::closesocket(connection);
  }

  void readRequest(SOCKET connection) {
    std::string request;
    char buffer[512];
    for (int got = 0; request.find("\r\n\r\n") == std::string::npos;) {
      if ((got = ::recv(connection, buffer, sizeof(buffer), 0)) <= 0) break;
      request.append(buffer, static_cast<std::size_t>(got));
    }
    const std::lock_guard lock(mutex_);
    requestLine_ = request.substr(0, request.find("\r\n"));
  }

  void answer(SOCKET connection) {
    const auto send = [connection](const std::string& bytes) {
      return ::send(connection, bytes.data(), static_cast<int>(bytes.size()), 0) > 0;
    };
    switch (reply_) {
      case Reply::Address: send(withBody("200 OK", "203.0.113.7\n")); break;
      case Reply::ServerError: send(withBody("503 Service Unavailable", "203.0.113.7")); break;
      case Reply::Flood:  // no length: the body goes on until the client hangs up
        if (send("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n203.0.113.7\n"))
          while (!stopping() && send(std::string(4096, ' '))) {
          }
        break;
      case Reply::Trickle:  // every single wait of the client sees data; only the whole is too long
        if (send("HTTP/1.1 200 OK\r\nX-Slow: "))
          while (::WaitForSingleObject(stopped_, 50) == WAIT_TIMEOUT && send("x")) {
          }
        break;
      case Reply::Silent:  // until the client gives up and closes
        for (char buffer[64]; ::recv(connection, buffer, sizeof(buffer), 0) > 0;) {
        }
        break;
    }
    ::shutdown(connection, SD_SEND);
    ::SetEvent(clientLeft_);
  }

  static std::string withBody(const std::string& status, const std::string& body) {
    return "HTTP/1.1 " + status +
           "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
  }

  Reply reply_;
  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  HANDLE clientLeft_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE stopped_ = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::atomic<SOCKET> open_{INVALID_SOCKET};
  std::string requestLine_;
  std::thread thread_;
};

}  // namespace lumeno::test
