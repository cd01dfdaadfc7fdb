// Splitting paths at the platform's delimiters.
#include "platform/path_names.h"

namespace zu::platform {
namespace {

// Length of the directory part: the index just past the last delimiter.
size_t DirectoryLength(std::string_view path) {
  size_t i = path.size();
  while (i > 0 && !IsPathDelimiter(path[i - 1])) --i;
  return i;
}

}  // namespace

std::string ExtractFilePath(std::string_view path) {
  return std::string(path.substr(0, DirectoryLength(path)));
}

std::string ExtractFileName(std::string_view path) {
  return std::string(path.substr(DirectoryLength(path)));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  const size_t nameStart = DirectoryLength(path);
  const size_t dot = path.rfind('.');
  std::string out(
      path.substr(0, dot != std::string_view::npos && dot >= nameStart ? dot : path.size()));
  out += ext;
  return out;
}

std::string IncludeTrailingDelimiter(std::string dir) {
  if (!dir.empty() && !IsPathDelimiter(dir.back())) dir += PathSeparator();
  return dir;
}

}  // namespace zu::platform
