// The character scan of the loader: comments, string literals, statement ends
// and blocks, and the completion of a statement into a record.
#include <algorithm>

#include "engine/loader/loader.h"

#include "platform/path_names.h"
#include "support/text_utils.h"

namespace zu {

namespace {

// Statement texts longer than this after their keyword are cut.
constexpr size_t kMaxKeywordText = 9999;

inline unsigned char At(std::string_view s, size_t i) { return static_cast<unsigned char>(s[i]); }

}  // namespace

TZuLoader::TZuLoader(TZuScript& script, std::string_view text, bool prelude)
    : script_(script),
      text_(text),
      prelude_(prelude),
      fileName_(platform::ExtractFileName(script.FileName)) {
  // A first line starting with "#!" (the interpreter line of an executable
  // script) is a comment on every platform. The scan resumes at the CR that
  // ends it, so positions, and with them line numbers, stay as they are.
  // Function bodies have an owner and never start a file.
  if (!prelude_ && script.Owner == nullptr && text_.substr(0, 2) == "#!") {
    pos_ = std::min(text_.find('\r'), text_.size());
  }
}

int32_t TZuLoader::PositionOf(size_t position) const {
  if (prelude_) return 0;
  return static_cast<int32_t>(position) + 1 + script_.BaseOffset;
}

void TZuLoader::MarkPending(size_t position) {
  auto& s = script_;
  if (static_cast<size_t>(s.StatementCount) >= s.Statements.size())
    s.Statements.resize(s.Statements.size() + 128);
  s.CurrentStatement = s.StatementCount;
  TZuScriptStatementDef& pending = s.Statements[static_cast<size_t>(s.StatementCount)];
  pending.FileName = fileName_;
  pending.Position = PositionOf(std::min(position, text_.empty() ? 0 : text_.size() - 1));
}

void TZuLoader::FailAt(size_t position, const std::string& message) {
  MarkPending(position);
  throw EZuScriptError(&script_, message);
}

void TZuLoader::RejectNul() {
  if (const size_t nul = text_.find('\0'); nul != std::string_view::npos)
    FailAt(nul, "Unexpected NUL character");
}

TZuLoadObserver* TZuLoader::Observer() const {
  return prelude_ ? nullptr : script_.Context().LoadObserver;
}

void TZuLoader::EndOfText(const std::string& statement, size_t firstChar) {
  // The scan ends quietly: a statement that no ";" ended is dropped.
  if (TZuLoadObserver* observer = Observer(); observer != nullptr) {
    const std::string_view text = TrimView(statement);
    if (!text.empty()) observer->StatementDropped(script_.FileName, PositionOf(firstChar), text);
  }
}

bool TZuLoader::ScanBlock(bool nested) {
  script_.CheckStack("Blocks");
  const size_t len = text_.size();
  std::string statement;
  size_t firstChar = std::string::npos;  // text position of the statement's first character
  while (pos_ < len) {
    // Each of the three checks runs once per step, in this order: a comment
    // right after another block comment or after a string literal is not
    // recognised (its first character becomes statement text).
    if (pos_ + 1 < len && text_[pos_] == '/' && text_[pos_ + 1] == '*') {
      const size_t open = pos_;
      pos_ += 2;
      // The '*' of the opening "/*" counts: "/*/" is a whole comment.
      while (pos_ < len && !(text_[pos_ - 1] == '*' && text_[pos_] == '/')) ++pos_;
      if (pos_ >= len) {
        if (TZuLoadObserver* observer = Observer())
          observer->CommentOpenAtEnd(script_.FileName, PositionOf(open));
        EndOfText(statement, firstChar);
        return false;
      }
      ++pos_;
    }
    if (pos_ < len &&
        (text_[pos_] == '@' || (pos_ + 1 < len && text_[pos_] == '/' && text_[pos_ + 1] == '/'))) {
      // Two characters are skipped before the search for CR, so an "@" that
      // ends its line hides the following line too (it skips the CR).
      if (TZuLoadObserver* observer = Observer();
          observer != nullptr && text_[pos_] == '@' && pos_ + 1 < len && text_[pos_ + 1] == '\r') {
        const size_t from = std::min(pos_ + 3, len);  // past "@", CR and LF
        const std::string_view hidden = TrimView(text_.substr(from, text_.find('\r', from) - from));
        if (!hidden.empty()) observer->LineHidden(script_.FileName, PositionOf(pos_), hidden);
      }
      pos_ += 2;
      while (pos_ < len && text_[pos_] != '\r') ++pos_;
      if (pos_ >= len) {
        EndOfText(statement, firstChar);
        return false;
      }
      ++pos_;
    }
    if (pos_ < len && (text_[pos_] == '"' || text_[pos_] == '\'')) {
      const char quote = text_[pos_];
      const size_t open = pos_;
      if (firstChar == std::string::npos) firstChar = pos_;
      statement += quote;
      ++pos_;
      for (;;) {
        if (pos_ >= len) {
          EndOfText(statement, firstChar);
          return false;
        }
        const unsigned char c = At(text_, pos_);
        if (c < 32) FailAt(pos_, "Unexpected end of line");
        statement += static_cast<char>(c);
        ++pos_;
        if (c == static_cast<unsigned char>(quote)) {
          const size_t at = pos_ - 1;
          const bool escaped =
              at - 1 > open && text_[at - 1] == '\\' && !(at - 2 > open && text_[at - 2] == '\\');
          if (!escaped) break;
        }
      }
    }
    if (pos_ >= len) break;
    const char c = text_[pos_];
    if (c == '}') {
      if (nested && TrimView(statement).empty()) {
        ++pos_;
        return true;
      }
      FailAt(pos_, "Unexpected end of block");
    } else if (c == ';' || c == '{') {
      CompleteStatement(c, statement, firstChar);
      statement.clear();
      firstChar = std::string::npos;
    } else {
      if (At(text_, pos_) < 32) {
        statement += ' ';
      } else {
        if (c != ' ' && firstChar == std::string::npos) firstChar = pos_;
        statement += c;
      }
      ++pos_;
    }
  }
  // Blocks that were not closed end with the text.
  EndOfText(statement, firstChar);
  return false;
}

void TZuLoader::CompleteStatement(char terminator, const std::string& statement, size_t firstChar) {
  const std::string text = Trim(statement);
  if (text.empty()) FailAt(pos_, "Unexpected end of statement");
  const size_t blank = text.find(' ');
  const TZuScriptKwDef* keyword = FindKeyword(
      std::string_view(text).substr(0, blank == std::string::npos ? text.size() : blank));
  ++pos_;  // past the terminator
  if (keyword == nullptr || (keyword->Code & kExecutableBit) != 0) {
    CompleteRecord(keyword, terminator, text, firstChar);
    return;
  }
  switch (keyword->Code & 0xFF) {
    case kStmtFunc:
      ScanFunc(text, terminator, firstChar);
      break;
    case kStmtInclude:
      ScanInclude(text, terminator, firstChar);
      break;
    case kStmtImport:
      ScanImport(text, terminator, firstChar);
      break;
    default:
      FailAt(firstChar, std::string("Unknow unexecutable keyword: \"") + keyword->Name + "\"");
  }
}

void TZuLoader::CompleteRecord(const TZuScriptKwDef* keyword, char terminator,
                               const std::string& text, size_t firstChar) {
  auto& s = script_;
  if (s.StatementCount >= kMaxStatements) FailAt(firstChar, TooManyStatementsMessage());
  MarkPending(firstChar);
  const int32_t index = s.StatementCount++;
  TZuScriptStatementDef& record = s.Statements[static_cast<size_t>(index)];
  record.FileName = fileName_;
  // The position after the terminator less the length of the trimmed text:
  // the statement's first character when nothing but its text precedes the
  // terminator. Blanks or a comment before the terminator move it right,
  // and error reports show the column that way.
  record.Position =
      prelude_ ? 0 : static_cast<int32_t>(pos_ - text.size()) + script_.BaseOffset;
  if (keyword != nullptr) {
    record.Kind = static_cast<uint8_t>(keyword->Code & 0xFF);
    const size_t nameLength = std::char_traits<char>::length(keyword->Name);
    record.Text = Trim(std::string_view(text).substr(nameLength, kMaxKeywordText));
    const bool needsBlock = (keyword->Code & kBlockBit) != 0;
    if (needsBlock && terminator != '{')
      s.Fail(std::string("Begin of block expected, but ") + terminator + " found");
    if (!needsBlock && terminator == '{') s.Fail("Unexpected begin of block");
    if (record.Kind == kStmtElse || record.Kind == kStmtElseIf) {
      // The statement that ends right before this one at the same level: the
      // outermost record whose block ends here.
      int32_t before = -1;
      for (int32_t j = 0; j < index; ++j) {
        if (s.Statements[static_cast<size_t>(j)].BlockEnd == index) {
          before = j;
          break;
        }
      }
      const uint8_t kind = before < 0 ? 0 : s.Statements[static_cast<size_t>(before)].Kind;
      if (kind != kStmtIf && kind != kStmtElseIf)
        s.Fail(record.Kind == kStmtElse ? "Unexpected ELSE" : "Unexpected ELSEIF");
    }
    if (terminator == '{') {
      if (!ScanBlock(true)) {
        if (TZuLoadObserver* observer = Observer())
          observer->BlockOpenAtEnd(
              script_.FileName, s.Statements[static_cast<size_t>(index)].Position, keyword->Name);
      }
      s.CurrentStatement = index;
    }
  } else {
    record.Kind = kStmtExpression;
    record.Text = text;
    if (terminator == '{') s.Fail("Unexpected begin of block");
  }
  // The statement vector may have grown inside the block.
  TZuScriptStatementDef& done = s.Statements[static_cast<size_t>(index)];
  s.CheckParentheses(done.Text);
  done.BlockEnd = s.StatementCount;
}

}  // namespace zu
