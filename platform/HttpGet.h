#pragma once

#include <cstddef>
#include <string>

// One plain HTTP GET on port `port`, for short answers such as a version number. The whole
// exchange ends within about twice `timeoutMs` whatever the server does: connecting and
// every wait for data are bounded. Only a complete answer with status 200 and a body of at
// most kHttpMaxBody bytes counts; anything else is no answer.
struct HttpReply {
  bool answered = false;
  std::string body;
};

constexpr size_t kHttpMaxBody = 4096;

// `path` begins with "/".
HttpReply HttpGet(const std::string& server, int port, const std::string& path, int timeoutMs);
