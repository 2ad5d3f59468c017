#include "platform/HttpGet.h"

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

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
  return wide;
}

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

}  // namespace

HttpReply HttpGet(const std::string& server, int port, const std::string& path, int timeoutMs) {
  HttpReply result;
  InternetHandle internet(
      InternetOpenW(L"Tarsyn7", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  if (!internet.Get()) return result;
  SetTimeouts(internet.Get(), static_cast<DWORD>(timeoutMs));
  InternetHandle connection(InternetConnectW(internet.Get(), Wide(server).c_str(),
                                             static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection.Get()) return result;
  const wchar_t* accept[] = {L"*/*", nullptr};
  InternetHandle request(HttpOpenRequestW(
      connection.Get(), L"GET", Wide(path).c_str(), nullptr, nullptr, accept,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI, 0));
  if (!request.Get() || !HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0) ||
      StatusCode(request.Get()) != 200) {
    return result;
  }
  char chunk[1024];
  DWORD read = 0;
  while (InternetReadFile(request.Get(), chunk, sizeof chunk, &read)) {
    if (read == 0) {
      result.answered = true;
      return result;
    }
    result.body.append(chunk, read);
    if (result.body.size() > kHttpMaxBody) break;
  }
  result.body.clear();
  return result;
}
