// The values of the running program's version resource: the first
// translation of "\VarFileInfo\Translation" selects the string table.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/win32_api.h"

namespace zu::platform {
namespace {

// A version block larger than this is ignored.
constexpr DWORD kMaxVersionBlock = 4096;

std::string QueryString(std::vector<char>& block, const std::string& key) {
  char* value = nullptr;
  UINT length = 0;
  if (!::VerQueryValueA(block.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ||
      value == nullptr || length == 0) {
    return std::string();
  }
  // The length counts the terminating NUL where there is one.
  std::string text(value, length);
  const size_t nul = text.find('\0');
  if (nul != std::string::npos) text.resize(nul);
  return text;
}

}  // namespace

VersionValues ProgramVersionValues() {
  VersionValues values;
  const std::string path = ProgramPath();
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size < 1 || size > kMaxVersionBlock) return values;
  std::vector<char> block(size);
  if (!::GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return values;
  DWORD* translation = nullptr;
  UINT length = 0;
  if (!::VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
      translation == nullptr || length < sizeof(DWORD)) {
    return values;
  }
  char table[40];
  std::snprintf(table, sizeof table, "\\StringFileInfo\\%04X%04X\\",
                static_cast<unsigned>(LOWORD(*translation)),
                static_cast<unsigned>(HIWORD(*translation)));
  values.ProductName = QueryString(block, std::string(table) + "ProductName");
  values.ProductVersion = QueryString(block, std::string(table) + "ProductVersion");
  values.LegalCopyright = QueryString(block, std::string(table) + "LegalCopyright");
  return values;
}

}  // namespace zu::platform
