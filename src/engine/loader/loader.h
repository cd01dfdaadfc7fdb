// The source loader's scanner: one pass over a text that records statements
// into a TZuScript, handling comments, string literals, blocks and the
// load-time keywords Func, Include and Import.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/loader/load_observer.h"
#include "engine/script.h"

namespace zu {

// One keyword of the language. The low byte of Code is the statement kind;
// kBlockBit means a block must follow, kExecutableBit that the statement
// becomes a record (statement_kinds.h).
struct TZuScriptKwDef {
  const char* Name;
  uint32_t Code;
};
// The keyword table, or nullptr for a word that is no keyword (A-Z case ignored).
const TZuScriptKwDef* FindKeyword(std::string_view word);
// The names of the keyword table, in table order (for tools and for the
// tests that hold documents and editor grammars to the table).
std::vector<std::string_view> KeywordNames();

// Lines joined, each followed by CR LF: the text positions are counted in.
std::string JoinLines(const std::vector<std::string>& lines);
// Line and column of a 1-based position in such a text: a CR starts the next
// line, every other character of code 32 or above takes one column (LF and
// tab none). Both are 0 for position 0 (no position). The text may also be
// the file itself, with any line ends: a CR LF, a lone CR or a lone LF
// counts as the CR LF the lines were joined with.
void LineAndColumn(std::string_view text, int32_t position, int32_t& line, int32_t& column);

// Scans one text (the prelude or the source) into the script's table. The
// position is shared by the nested block scans of one text.
class TZuLoader {
 public:
  TZuLoader(TZuScript& script, std::string_view text, bool prelude);
  // Scans statements until the end of the text or, when nested, the "}"
  // that closes the block. True when a "}" closed it.
  bool ScanBlock(bool nested);
  // Fails at the first NUL character of the text: a script is text, and
  // nothing after a NUL may be silently lost.
  void RejectNul();

 private:
  void CompleteStatement(char terminator, const std::string& statement, size_t firstChar);
  void CompleteRecord(const TZuScriptKwDef* keyword, char terminator, const std::string& text,
                      size_t firstChar);
  void ScanFunc(const std::string& text, char terminator, size_t firstChar);
  void ScanInclude(const std::string& text, char terminator, size_t firstChar);
  void ScanImport(const std::string& text, char terminator, size_t firstChar);
  // Makes the record at StatementCount the pending one, located at the given
  // text position (no location in the prelude), for a failure before the
  // statement's record exists.
  void MarkPending(size_t position);
  [[noreturn]] void FailAt(size_t position, const std::string& message);
  int32_t PositionOf(size_t position) const;
  // The check mode's observer (none in the prelude or in a normal run).
  TZuLoadObserver* Observer() const;
  // Tells the observer about a statement the end of the text drops.
  void EndOfText(const std::string& statement, size_t firstChar);

  TZuScript& script_;
  std::string_view text_;
  size_t pos_ = 0;
  bool prelude_;
  std::string fileName_;  // file name part of the script's FileName
};

}  // namespace zu
