#include "platform/HttpGet.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

class Socket {
 public:
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket() {
    if (fd_ >= 0) close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int Fd() const { return fd_; }

 private:
  int fd_;
};

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

bool WaitFor(int fd, short events, Clock::time_point deadline) {
  pollfd entry{fd, events, 0};
  for (;;) {
    const int ready = poll(&entry, 1, MillisecondsLeft(deadline));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

// A non-blocking connection to the first address that answers before the deadline.
int Connect(const std::string& server, int port, Clock::time_point deadline) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* addresses = nullptr;
  if (getaddrinfo(server.c_str(), std::to_string(port).c_str(), &hints, &addresses) != 0) {
    return -1;
  }
  int connected = -1;
  for (addrinfo* a = addresses; a && connected < 0; a = a->ai_next) {
    const int fd =
        socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) continue;
    int error = 0;
    socklen_t length = sizeof error;
    const bool ok = (connect(fd, a->ai_addr, a->ai_addrlen) == 0) ||
                    (errno == EINPROGRESS && WaitFor(fd, POLLOUT, deadline) &&
                     getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0);
    if (ok) {
      connected = fd;
    } else {
      close(fd);
    }
  }
  freeaddrinfo(addresses);
  return connected;
}

bool SendAll(int fd, const std::string& text, Clock::time_point deadline) {
  size_t sent = 0;
  while (sent < text.size()) {
    if (!WaitFor(fd, POLLOUT, deadline)) return false;
    // MSG_NOSIGNAL: a peer that hung up gives an error, never SIGPIPE in the host.
    const ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    if (n > 0) sent += static_cast<size_t>(n);
  }
  return true;
}

// Reads until the server closes; false on a timeout, an error or more than `limit` bytes.
bool ReceiveAll(int fd, size_t limit, Clock::time_point deadline, std::string& reply) {
  char chunk[1024];
  for (;;) {
    if (!WaitFor(fd, POLLIN, deadline)) return false;
    const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EAGAIN || errno == EINTR) continue;
      return false;
    }
    reply.append(chunk, static_cast<size_t>(n));
    if (reply.size() > limit) return false;
  }
}

// The body of a complete "HTTP/1.x 200" reply.
HttpReply BodyOf(const std::string& reply) {
  HttpReply result;
  const size_t headerEnd = reply.find("\r\n\r\n");
  if (reply.compare(0, 7, "HTTP/1.") != 0 || headerEnd == std::string::npos) return result;
  const size_t space = reply.find(' ');
  if (space == std::string::npos || space > reply.find("\r\n")) return result;
  if (reply.compare(space + 1, 4, "200 ") != 0 && reply.compare(space + 1, 5, "200\r\n") != 0) {
    return result;
  }
  result.body = reply.substr(headerEnd + 4);
  result.answered = result.body.size() <= kHttpMaxBody;
  return result;
}

}  // namespace

HttpReply HttpGet(const std::string& server, int port, const std::string& path, int timeoutMs) {
  const auto connectDeadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  Socket socket(Connect(server, port, connectDeadline));
  if (socket.Fd() < 0) return {};
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  const std::string request = "GET " + path + " HTTP/1.0\r\nHost: " + server +
                              "\r\nUser-Agent: Tarsyn7\r\nAccept: */*\r\nConnection: close\r\n\r\n";
  std::string reply;
  // Room for the headers on top of the body.
  if (!SendAll(socket.Fd(), request, deadline) ||
      !ReceiveAll(socket.Fd(), kHttpMaxBody + 4096, deadline, reply)) {
    return {};
  }
  return BodyOf(reply);
}
