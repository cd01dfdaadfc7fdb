// What the system is, its path conventions and the well-known directories:
// the program directory (from /proc/self/exe) and the data directory that
// stands in for Windows'. ELF programs carry no version resource.
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/platform.h"

namespace zu::platform {

SystemFamily ThisSystem() { return SystemFamily::Posix; }

VersionValues ProgramVersionValues() { return VersionValues(); }

char PathSeparator() { return '/'; }

// ':' is an ordinary file-name character on POSIX.
bool IsPathDelimiter(char c) { return c == '/'; }

std::string ProgramPath() {
  // Looked up once: the program does not move while it runs. The kernel's
  // link gives the executable's path with every link on the way already
  // resolved, in one system call (realpath would read each component).
  static const std::string path = [] {
    char buffer[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return std::string();
    return std::string(buffer, static_cast<size_t>(n));
  }();
  return path;
}

std::string ProgramDirectory() {
  std::string path = ProgramPath();
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "./";
  return path.substr(0, slash + 1);
}

std::string WindowsDirectory() {
  std::string base;
  const char* xdg = getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') {
    base = xdg;  // the XDG rules ignore relative values
  } else {
    const char* home = getenv("HOME");
    if (home == nullptr || home[0] == 0) return std::string();
    base = std::string(home) + "/.local/share";
  }
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base + "/zus/";
}

}  // namespace zu::platform
