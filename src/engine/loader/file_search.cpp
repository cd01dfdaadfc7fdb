// File search for includes and modules, and the include path.
#include "engine/loader/loader.h"
#include "platform/path_names.h"
#include "platform/platform.h"

namespace zu {

std::string TZuScript::FindFile(const std::string& name) const {
  if (platform::FileExists(name)) return name;
  const std::string part = platform::ExtractFileName(name);
  if (platform::FileExists(part)) return part;
  std::string candidate = platform::ExtractFilePath(FileName) + part;
  if (platform::FileExists(candidate)) return candidate;
  candidate = platform::ProgramDirectory() + part;
  if (platform::FileExists(candidate)) return candidate;
  for (const auto& dir : IncludePath) {
    candidate = dir + part;
    if (platform::FileExists(candidate)) return candidate;
  }
  return name;
}

std::string TZuScript::GetIncludePath() const {
  std::string text;
  for (size_t i = 0; i < IncludePath.size(); ++i) {
    if (i > 0) text += ';';
    text += IncludePath[i];
  }
  return text;
}

void TZuScript::SetIncludePath(const std::string& text) {
  // An empty entry (";;", or a ';' at either end) stands for nothing: it is
  // skipped rather than read as the root directory.
  IncludePath.clear();
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    std::string entry = text.substr(start, end - start);
    if (!entry.empty()) {
      IncludePath.push_back(platform::IncludeTrailingDelimiter(std::move(entry)));
    }
    start = end + 1;
  }
}

}  // namespace zu
