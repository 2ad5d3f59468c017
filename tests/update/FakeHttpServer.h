#pragma once

// A one-shot web server on 127.0.0.1 inside the test process, on sockets or Winsock, so the
// update check's Linux and Windows clients meet the same server: it answers one request with
// a prepared reply, or never answers, or sends without end (for a few seconds, so a client
// that never stops reading cannot hang the test), and remembers the request line.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <chrono>
#include <string>
#ifndef _WIN32
#include <thread>
#endif
#include <vector>

#ifdef _WIN32
using SocketHandle = SOCKET;
inline int WaitForSocket(pollfd* entry, int timeoutMs) {
  return WSAPoll(entry, 1, timeoutMs);
}
inline void CloseSocket(SocketHandle fd) {
  closesocket(fd);
}
constexpr int kSendFlags = 0;
inline void MakeNonBlocking(SocketHandle fd) {
  u_long on = 1;
  ioctlsocket(fd, FIONBIO, &on);
}
#else
using SocketHandle = int;
inline int WaitForSocket(pollfd* entry, int timeoutMs) {
  return poll(entry, 1, timeoutMs);
}
inline void CloseSocket(SocketHandle fd) {
  close(fd);
}
constexpr int kSendFlags = MSG_NOSIGNAL;
inline void MakeNonBlocking(SocketHandle fd) {
  fcntl(fd, F_SETFL, O_NONBLOCK);
}
#endif

inline std::string HttpOkReply(const std::string& body) {
  return "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body;
}

class FakeHttpServer {
 public:
  enum Mode {
    kReply,
    kSilent,
    kEndless,      // a "200" header, then digits without end
    kEndlessLine,  // bytes without a line end
    kQueueFull     // never takes a connection: the queue is full, the system drops new ones
  };

  explicit FakeHttpServer(Mode mode, std::string reply = "")
      : mode_(mode), reply_(std::move(reply)) {
#ifdef _WIN32
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
#endif
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
    listen(listener_, mode_ == kQueueFull ? 0 : 1);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    for (int i = 0; mode_ == kQueueFull && i < 4; ++i) {
      fillers_.push_back(socket(AF_INET, SOCK_STREAM, 0));
      MakeNonBlocking(fillers_.back());
      connect(fillers_.back(), reinterpret_cast<sockaddr*>(&address), length);
    }
    StartServing();
  }
  ~FakeHttpServer() {
    FinishServing();
    for (SocketHandle filler : fillers_) CloseSocket(filler);
    CloseSocket(listener_);
#ifdef _WIN32
    WSACleanup();
#endif
  }
  FakeHttpServer(const FakeHttpServer&) = delete;
  FakeHttpServer& operator=(const FakeHttpServer&) = delete;

  int Port() const {
    return port_;
  }
  const std::string& RequestLine() const {
    return requestLine_;
  }

 private:
  // Every wait ends within seconds, so a broken client cannot hang the test.
  static bool Ready(SocketHandle fd, short events) {
    pollfd entry{};
    entry.fd = fd;
    entry.events = events;
    return WaitForSocket(&entry, 5000) > 0;
  }

  // (Debian's Windows compilers come without std::thread.)
#ifdef _WIN32
  static DWORD WINAPI ServeOn(void* server) {
    static_cast<FakeHttpServer*>(server)->Serve();
    return 0;
  }
  void StartServing() {
    thread_ = CreateThread(nullptr, 0, ServeOn, this, 0, nullptr);
  }
  void FinishServing() {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  HANDLE thread_;
#else
  void StartServing() {
    thread_ = std::thread([this] { Serve(); });
  }
  void FinishServing() {
    thread_.join();
  }
  std::thread thread_;
#endif

  void Serve() {
    if (mode_ == kQueueFull || !Ready(listener_, POLLIN)) return;
    const SocketHandle client = accept(listener_, nullptr, nullptr);
    std::string request;
    char chunk[512];
    while (request.find("\r\n\r\n") == std::string::npos && Ready(client, POLLIN)) {
      const auto n = recv(client, chunk, sizeof chunk, 0);
      if (n <= 0) break;
      request.append(chunk, static_cast<size_t>(n));
    }
    requestLine_ = request.substr(0, request.find("\r\n"));
    if (mode_ == kReply) {
      send(client, reply_.data(), static_cast<int>(reply_.size()), kSendFlags);
    } else if (mode_ == kSilent) {
      Ready(client, POLLIN);  // until the client gives up
    } else {
      SendWithoutEnd(client, mode_ == kEndless ? HttpOkReply("") : "");
    }
    CloseSocket(client);
  }

  static void SendWithoutEnd(SocketHandle client, const std::string& header) {
    send(client, header.data(), static_cast<int>(header.size()), kSendFlags);
    const std::string filler(1000, '7');
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end && Ready(client, POLLOUT) &&
           send(client, filler.data(), static_cast<int>(filler.size()), kSendFlags) > 0) {
    }
  }

  Mode mode_;
  std::string reply_;
  SocketHandle listener_;
  std::vector<SocketHandle> fillers_;
  int port_ = 0;
  std::string requestLine_;
};
