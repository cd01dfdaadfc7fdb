// The line and column of a statement record, counted from its source file
// when an error is reported, and the record's full location.
#include "engine/statement_location.h"

#include "engine/loader/loader.h"
#include "platform/path_names.h"
#include "platform/platform.h"
#include "support/files.h"
#include "support/text_utils.h"

namespace zu {

void TZuScript::GetStatementLocation(int32_t index, int32_t& line, int32_t& column) const {
  line = 0;
  column = 0;
  // The pending record (index StatementCount) is located too: load-time
  // failures before a statement's record exists give it a position.
  const std::vector<TZuScriptStatementDef>& table = StatementTable();
  if (index < 0 || index > StatementCount || static_cast<size_t>(index) >= table.size()) return;
  const TZuScriptStatementDef& record = table[static_cast<size_t>(index)];
  if (record.Position <= 0) return;

  // Positions were counted in the file's lines joined with CR LF, so the
  // file is read the same way, whatever its own line ends are.
  const std::string name = record.FileName.empty() ? FileName : record.FileName;
  std::string text;
  if (!name.empty()) {
    const std::string part = platform::ExtractFileName(name);
    // The file this script or one of its includes was loaded from comes
    // first; only then the search by name.
    std::string path;
    if (platform::ExtractFileName(FileName) == part && platform::FileExists(FileName)) {
      path = FileName;
    } else {
      for (const auto& included : IncludedFiles) {
        if (platform::ExtractFileName(included) == part && platform::FileExists(included)) {
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
    // Read whole, as the loader read it (a file it cannot read gives line 1).
    if (!path.empty() && ReadWholeFile(path, text) != 0) text.clear();
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
  // The text is walked as if its lines were joined with CR LF (a CR LF, a
  // lone CR or a lone LF each count as the two characters CR LF), without
  // building that copy: a file of millions of lines is located in place.
  line = 1;
  column = 1;
  const size_t count = static_cast<size_t>(position - 1);
  size_t joined = 0;  // characters of the joined text passed so far
  for (size_t i = 0; i < text.size() && joined < count; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++line;  // the CR; the LF after it counts nothing
      column = 1;
      joined += 2;
    } else {
      if (c >= 32) ++column;
      ++joined;
    }
  }
}

StatementLocation LocateStatement(const TZuScript& script, int32_t index) {
  StatementLocation where;
  script.GetStatementLocation(index, where.Line, where.Column);
  const std::vector<TZuScriptStatementDef>& table = script.StatementTable();
  if (index >= 0 && index <= script.StatementCount && static_cast<size_t>(index) < table.size()) {
    where.FileName = table[static_cast<size_t>(index)].FileName;
  }
  return where;
}

}  // namespace zu
