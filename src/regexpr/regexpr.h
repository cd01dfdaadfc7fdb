// Regular expressions: TRegExpr compiles an expression into a compact byte
// program and runs it with a backtracking matcher; RegExprMatch and
// RegExprReplace are the two one-shot operations behind the script built-ins.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "support/errors.h"

namespace zu {

// A failure of the regular expression engine (compilation or execution).
// Not a script error: it ends the run through the host's last-resort report.
class ERegExpr : public EFailure {
 public:
  ERegExpr(int errorCode, int compilePos, const std::string& message)
      : EFailure(kRegExprError, message), ErrorCode(errorCode), CompilePos(compilePos) {}
  int ErrorCode;   // 100..127 compile codes, 1000.. execution codes
  int CompilePos;  // expression characters before the parse position; 0 outside compilation
};

// Modifier bits of TRegExpr::Modifiers(); also the indexes accepted by
// SetModifier/GetModifier.
inline constexpr int kModifierI = 1;  // case-insensitive matching
inline constexpr int kModifierR = 2;  // Cyrillic (Windows-1251) letter ranges in sets
inline constexpr int kModifierS = 4;  // '.' matches line feed too
// Modifiers of every new object: i off, r on, s on.
inline constexpr int kDefaultModifiers = kModifierR | kModifierS;

namespace regexpr_internal {
// One compiled program with its search hints; immutable once built, so it
// can be shared between objects and the one-shot cache without copying.
struct TRegExprProgram;
// The matcher's working memory, kept between searches.
struct MatchScratch;
struct MatchScratchDeleter {
  void operator()(MatchScratch* scratch) const;
};
}  // namespace regexpr_internal

// One regular expression. Setting Expression compiles at once; Exec, ExecPos
// and ExecNext search the stored input; MatchStart/MatchLength report the
// whole match (slot 0) and groups 1-9 as 1-based positions.
class TRegExpr {
 public:
  TRegExpr();
  ~TRegExpr();
  TRegExpr(const TRegExpr&) = delete;
  TRegExpr& operator=(const TRegExpr&) = delete;

  // The current expression ("" when none).
  const std::string& Expression() const { return expression_; }
  // Stores and compiles `expression` (text after a 0 byte is ignored). An
  // empty text leaves the object without a program. Raises ERegExpr on a
  // compile error (the object is then left without a program).
  void SetExpression(std::string_view expression);

  // Modifier bits (kModifierI | kModifierR | kModifierS).
  int Modifiers() const { return modifiers_; }
  // Reads one modifier; `index` is kModifierI, kModifierR or kModifierS,
  // anything else raises code 1013.
  bool GetModifier(int index);
  // Sets or clears one modifier and recompiles a program that was compiled
  // with other modifiers; any other index raises code 1013.
  void SetModifier(int index, bool on);

  // Compiles the current expression; raises code 100 without one.
  void Compile();
  // True after a successful compilation of the current expression.
  bool Compiled() const { return program_ != nullptr; }

  // Stores a copy of `input` (up to its first 0 byte), clears the match
  // slots and searches from offset 1.
  bool Exec(std::string_view input);
  // Searches the stored input from the 1-based `offset`.
  bool ExecPos(int offset);
  // Searches again just after the last match (one further on after an
  // empty match); raises code 1007 without a previous match.
  bool ExecNext();

  // 1-based start of slot n (0 = whole match, 1-9 = groups), or -1 when n
  // is outside 0-9, there is no input, or the slot is empty.
  int MatchStart(int n) const;
  // Length of slot n, or -1 under the same conditions as MatchStart.
  int MatchLength(int n) const;
  // Text of slot n, or "" when MatchStart(n) is -1.
  std::string Match(int n) const;

  // `input` with every match replaced by `replacement` taken literally.
  std::string ReplaceAll(std::string_view input, std::string_view replacement);

  // Code of the last failure (0 when none).
  int LastError() const { return lastError_; }
  // The fixed text of an error code ("Unknown error" for unlisted codes).
  static std::string ErrorText(int code);
  // Expression characters before the parse position while compiling, else 0.
  int CompileErrorPos() const { return compilePos_; }

  // A readable listing of the compiled program with its flags and search
  // hints, one node per line; "" without a program.
  std::string Dump() const;
  // The compiled program bytes (starting with the 0x9C marker); empty
  // without a program.
  std::string_view ProgramBytes() const;
  // Search hints of the compiled program.
  unsigned char FirstCharHint() const;
  bool Anchored() const;
  std::string_view RequiredLiteral() const;

 private:
  [[noreturn]] void Fail(int code);

  std::string expression_;
  std::shared_ptr<const regexpr_internal::TRegExprProgram> program_;
  int modifiers_ = kDefaultModifiers;
  int lastError_ = 0;
  int compilePos_ = 0;
  bool hasInput_ = false;
  std::string input_;
  // Match slots as 0-based offsets into input_; -1 when unset.
  std::array<int, 10> starts_{};
  std::array<int, 10> ends_{};
  std::unique_ptr<regexpr_internal::MatchScratch, regexpr_internal::MatchScratchDeleter> scratch_;
};

// Compiled programs of the one-shot operations below, kept by pattern and
// modifiers (the least recently used one makes room), and the matcher's
// scratch memory. Scripts call RegExpr with the same pattern on every line;
// a run keeps one cache in its run context. A program is immutable and a
// function of (pattern, modifiers) alone, so a cache never changes a result.
class TRegExprCache {
 public:
  TRegExprCache();
  ~TRegExprCache();
  TRegExprCache(const TRegExprCache&) = delete;
  TRegExprCache& operator=(const TRegExprCache&) = delete;

  struct Impl;

 private:
  friend bool RegExprMatch(TRegExprCache&, std::string_view, std::string_view);
  friend std::string RegExprReplace(TRegExprCache&, std::string_view, std::string_view,
                                    std::string_view);
  std::unique_ptr<Impl> impl_;
};

// RegExpr(pattern, text) of the scripts: whether `pattern`, compiled with the
// default modifiers, matches somewhere in `text`. Results and errors are
// exactly those of a fresh TRegExpr.
bool RegExprMatch(TRegExprCache& cache, std::string_view pattern, std::string_view text);

// ReplaceRegExpr(pattern, text, replacement): `text` with every match of
// `pattern` (default modifiers) replaced by `replacement` taken literally.
// Same results and errors as a fresh TRegExpr's ReplaceAll.
std::string RegExprReplace(TRegExprCache& cache, std::string_view pattern, std::string_view text,
                           std::string_view replacement);

}  // namespace zu
