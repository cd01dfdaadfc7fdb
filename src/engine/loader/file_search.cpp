// File search for includes and modules, the include path, and the line and
// column of a statement for error reports.
#include "engine/loader/loader.h"
#include "platform/platform.h"
#include "support/files.h"
#include "support/text_utils.h"

namespace zu {

std::string ExtractFileName(std::string_view path) {
  size_t i = path.size();
  while (i > 0 && !platform::IsPathDelimiter(path[i - 1])) --i;
  return std::string(path.substr(i));
}

std::string ExtractFilePath(std::string_view path) {
  size_t i = path.size();
  while (i > 0 && !platform::IsPathDelimiter(path[i - 1])) --i;
  return std::string(path.substr(0, i));
}

std::string TZuScript::FindFile(const std::string& name) const {
  if (platform::FileExists(name)) return name;
  const std::string part = ExtractFileName(name);
  if (platform::FileExists(part)) return part;
  std::string candidate = ExtractFilePath(FileName) + part;
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
      if (!platform::IsPathDelimiter(entry.back())) entry += platform::PathSeparator();
      IncludePath.push_back(std::move(entry));
    }
    start = end + 1;
  }
}

void TZuScript::GetStatementLocation(int32_t index, int32_t& line, int32_t& column) const {
  line = 0;
  column = 0;
  // The pending record (index StatementCount) is located too: load-time
  // failures before a statement's record exists give it a position.
  if (index < 0 || index > StatementCount || static_cast<size_t>(index) >= Statements.size())
    return;
  const TZuScriptStatementDef& record = Statements[static_cast<size_t>(index)];
  if (record.Position <= 0) return;

  // Positions were counted in the file's lines joined with CR LF, so the
  // file is read the same way, whatever its own line ends are.
  const std::string name = record.FileName.empty() ? FileName : record.FileName;
  std::string text;
  if (!name.empty()) {
    const std::string part = ExtractFileName(name);
    // The file this script or one of its includes was loaded from comes
    // first; only then the search by name.
    std::string path;
    if (ExtractFileName(FileName) == part && platform::FileExists(FileName)) {
      path = FileName;
    } else {
      for (const auto& included : IncludedFiles) {
        if (ExtractFileName(included) == part && platform::FileExists(included)) {
          path = included;
          break;
        }
      }
    }
    if (path.empty()) {
      if (platform::FileExists(platform::ProgramDirectory() + name)) {
        path = platform::ProgramDirectory() + name;
      } else if (platform::FileExists(FindFile(name))) {
        path = FindFile(name);
      }
    }
    if (!path.empty()) text = JoinLines(SplitLines(ReadTextFile(path)));
  } else {
    // A script without a file: the text of the outermost script, in which a
    // function body's positions were counted as well.
    const TZuScript* root = this;
    while (root->Owner != nullptr) root = root->Owner;
    text = JoinLines(root->Source);
  }

  LineAndColumn(text, record.Position, line, column);
}

void LineAndColumn(std::string_view text, int32_t position, int32_t& line, int32_t& column) {
  line = 0;
  column = 0;
  if (position <= 0) return;
  line = 1;
  column = 1;
  const size_t count = std::min(text.size(), static_cast<size_t>(position - 1));
  for (size_t i = 0; i < count; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\r') {
      ++line;
      column = 1;
    } else if (c >= 32) {
      ++column;
    }
  }
}

}  // namespace zu
