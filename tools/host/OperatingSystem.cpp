#include "tools/host/OperatingSystem.h"

#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>

namespace {

std::string LastErrorText() {
  const DWORD code = GetLastError();
  char* text = nullptr;
  FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string message = text ? text : "";
  LocalFree(text);
  // Some messages name the file as "%1".
  const size_t insert = message.find("%1");
  if (insert != std::string::npos) message.replace(insert, 2, "the file");
  message.erase(message.find_last_not_of(" .\r\n") + 1);
  return message + " (error " + std::to_string(code) + ")";
}

// LoadLibrary takes backslashes only and searches for relative names, so it gets the
// file's full path.
std::string FullPath(const std::string& path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

}  // namespace

void* OpenLibrary(const std::string& path, std::string& error) {
  HMODULE library = LoadLibraryA(FullPath(path).c_str());
  if (!library) error = LastErrorText();
  return reinterpret_cast<void*>(library);
}

void* LibrarySymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(void* library) {
  FreeLibrary(static_cast<HMODULE>(library));
}

std::string FolderOf(const std::string& path) {
  const size_t separator = path.find_last_of("/\\");
  return separator == std::string::npos ? "." : path.substr(0, separator);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + "\\" + name;
}

bool IsReadableFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ".";
  return FolderOf(std::string(path, length));
}

std::vector<std::string> PluginFolders() {
  std::vector<std::string> folders;
  if (const char* programs = std::getenv("ProgramFiles")) {
    folders.push_back(JoinPath(programs, "VSTPlugins"));
    folders.push_back(JoinPath(programs, "Steinberg\\VstPlugins"));
  }
  if (const char* common = std::getenv("CommonProgramFiles")) {
    folders.push_back(JoinPath(common, "VST2"));
  }
  return folders;
}

bool StderrIsTerminal() {
  return _isatty(_fileno(stderr));
}

#else
#include <dlfcn.h>
#include <unistd.h>

void* OpenLibrary(const std::string& path, std::string& error) {
  // A bare name would be searched on the library path; a real host opens the file named.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) error = dlerror();
  return library;
}

void* LibrarySymbol(void* library, const char* name) {
  return dlsym(library, name);
}

void CloseLibrary(void* library) {
  dlclose(library);
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + "/" + name;
}

bool IsReadableFile(const std::string& path) {
  return access(path.c_str(), R_OK) == 0;
}

std::string ProgramFolder() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  return FolderOf(std::string(path, static_cast<size_t>(length)));
}

std::vector<std::string> PluginFolders() {
  std::vector<std::string> folders;
  if (const char* home = std::getenv("HOME")) folders.push_back(JoinPath(home, ".vst"));
  folders.insert(folders.end(), {"/usr/local/lib/vst", "/usr/lib/vst"});
  return folders;
}

bool StderrIsTerminal() {
  return isatty(STDERR_FILENO);
}
#endif
