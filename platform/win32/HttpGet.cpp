#include "platform/HttpGet.h"

#include "platform/win32/WideText.h"

// clang-format off
#include <windows.h>
#include <wininet.h>
// clang-format on

namespace {

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_) InternetCloseHandle(handle_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET Get() const { return handle_; }

 private:
  HINTERNET handle_;
};

// Every handle gets the timeouts: WinINet versions differ in which handle's settings a
// request follows (wine's ignores the receive timeout of the internet handle).
void SetTimeouts(HINTERNET handle, DWORD timeoutMs) {
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    InternetSetOptionW(handle, option, &timeoutMs, sizeof timeoutMs);
  }
}

DWORD StatusCode(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr)) {
    return 0;
  }
  return status;
}

// No cache, no cookies, no dialogs, no credentials; a redirect is an answer other than 200,
// never followed, so no address from the reply is ever asked.
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES |
                                INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTH |
                                INTERNET_FLAG_NO_AUTO_REDIRECT;

// The body up to the end of the reply; false on a failed read, more than kHttpMaxBody bytes,
// or a server still sending at `deadline` (each read waits at most the receive timeout).
bool ReadBody(HINTERNET request, ULONGLONG deadline, std::string& body) {
  char chunk[1024];
  DWORD read = 0;
  while (GetTickCount64() < deadline && InternetReadFile(request, chunk, sizeof chunk, &read)) {
    if (read == 0) return true;
    body.append(chunk, read);
    if (body.size() > kHttpMaxBody) return false;
  }
  return false;
}

}  // namespace

HttpReply HttpGet(const std::string& server, int port, const std::string& path, int timeoutMs) {
  const auto timeout = static_cast<DWORD>(timeoutMs);
  InternetHandle internet(
      InternetOpenW(L"Tarsyn7", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!internet.Get()) return {};
  SetTimeouts(internet.Get(), timeout);
  InternetHandle connection(InternetConnectW(internet.Get(), WideFromUtf8(server).c_str(),
                                             static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection.Get()) return {};
  SetTimeouts(connection.Get(), timeout);
  const wchar_t* accept[] = {L"*/*", nullptr};
  InternetHandle request(HttpOpenRequestW(connection.Get(), L"GET", WideFromUtf8(path).c_str(),
                                          nullptr, nullptr, accept, kRequestFlags, 0));
  if (!request.Get()) return {};
  SetTimeouts(request.Get(), timeout);
  if (!HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0) ||
      StatusCode(request.Get()) != 200) {
    return {};
  }
  HttpReply result;
  result.answered = ReadBody(request.Get(), GetTickCount64() + timeout, result.body);
  if (!result.answered) result.body.clear();
  return result;
}
