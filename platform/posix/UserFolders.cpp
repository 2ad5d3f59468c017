#include "platform/UserFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <sys/stat.h>
#include <cstdlib>

namespace {

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::string HomeFolder() {
  std::string home = EnvironmentValue("HOME");
  if (home.empty()) {
    if (const passwd* entry = getpwuid(getuid())) home = entry->pw_dir ? entry->pw_dir : "";
  }
  return home;
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

// Follows the XDG base directories: the data home stands in for local application data.
std::string LocalAppDataFolder() {
  const std::string dataHome = EnvironmentValue("XDG_DATA_HOME");
  if (!dataHome.empty()) return dataHome;
  const std::string home = HomeFolder();
  return home.empty() ? std::string() : home + "/.local/share";
}

std::string DocumentsFolder() {
  const std::string configured = EnvironmentValue("XDG_DOCUMENTS_DIR");
  if (IsFolder(configured)) return configured;
  const std::string home = HomeFolder();
  if (IsFolder(home + "/Documents")) return home + "/Documents";
  return home;
}

char PathSeparator() {
  return '/';
}
