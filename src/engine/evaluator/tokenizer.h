// The expression tokenizer: cuts an expression text into operand and
// operator tokens without looking anything up, so its result depends on the
// text alone.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zu {

class TZuSourceText;

// The tokens of one expression. A token is a piece of the text itself when
// it has no dropped character inside (the usual case, no copy); otherwise
// it is kept in a small scratch buffer. The first tokens live inline, so a
// short expression costs no heap allocation.
class TokenList {
 public:
  TokenList() = default;
  TokenList(const TokenList&) = delete;
  TokenList& operator=(const TokenList&) = delete;

  size_t Count() const { return count_; }
  std::string_view Get(size_t index) const;
  // True when the token is a copy (a blank inside it was dropped); else it
  // is the piece of the text that begins at Offset.
  bool IsCopied(size_t index) const { return At(index).Owned; }
  size_t Offset(size_t index) const { return At(index).Begin; }

  // Used by the tokenizer.
  void Reset(std::string_view text);
  // Appends the character at text index i to the current token, starting a
  // new token first when newToken is set.
  void Append(size_t i, bool newToken);
  // Appends the characters at text indexes from .. to-1 to the current token.
  void AppendRange(size_t from, size_t to);

 private:
  struct Span {
    uint32_t Begin = 0;
    uint32_t Length = 0;
    bool Owned = false;  // in scratch_ instead of the text
  };
  Span& At(size_t index) { return index < kInline ? inline_[index] : more_[index - kInline]; }
  const Span& At(size_t index) const {
    return index < kInline ? inline_[index] : more_[index - kInline];
  }

  static constexpr size_t kInline = 16;
  std::string_view text_;
  Span inline_[kInline];
  std::vector<Span> more_;
  size_t count_ = 0;
  std::string scratch_;
};

// Fills tokens from text. Raises EZuScriptError (without script) with
// "Invalid character \"C\" in expression \"TEXT\"". When text is the piece
// of source that begins at base, a parenthesis group is skipped at once
// through the source's tables (deeply nested texts) instead of by a scan.
void TokenizeExpression(std::string_view text, TokenList& tokens,
                        const TZuSourceText* source = nullptr, size_t base = 0);

}  // namespace zu
