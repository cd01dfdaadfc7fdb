// What the system is, its path conventions and the well-known directories:
// the program's own path (GetModuleFileNameA) and the Windows directory
// (GetWindowsDirectoryA).
#include <string>

#include "platform/path_names.h"
#include "platform/win32/win32_api.h"

namespace zu::platform {

SystemFamily ThisSystem() { return SystemFamily::Windows; }

char PathSeparator() { return '\\'; }

// The system itself takes '/' for '\' in paths, so a path written either
// way splits the same.
bool IsPathDelimiter(char c) { return c == '\\' || c == ':' || c == '/'; }

std::string ProgramPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::string();
    // A full buffer may hold a truncated path: try again with more room.
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string ProgramDirectory() { return ExtractFilePath(ProgramPath()); }

std::string WindowsDirectory() {
  char buffer[MAX_PATH];  // 260 characters
  const UINT n = ::GetWindowsDirectoryA(buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::string();
  return IncludeTrailingDelimiter(std::string(buffer, n));
}

}  // namespace zu::platform
