// The compiled program of a regular expression: the opcode list (declared
// once here), the node layout helpers and the immutable program record that
// compiler, matcher, dump and cache share.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "regexpr/regexpr.h"

namespace zu::regexpr_internal {

// How the bytes after a node's 3-byte header are laid out.
enum class Operand : uint8_t {
  kNone,    // no operand
  kText,    // bytes ending with a 0
  kSimple,  // one simple node follows
  kBraces,  // minimum byte, maximum byte, then one simple node
  kChain,   // the alternative's node chain follows
};

// Every opcode: X(name, code, operand layout). The group opcodes are ranges
// and handled beside the list (kGroupOpen + n, kGroupClose + n).
#define ZU_REGEXPR_OPCODES(X)  \
  X(End, 0, kNone)             \
  X(AtStart, 1, kNone)         \
  X(AtEnd, 2, kNone)           \
  X(AnyChar, 3, kNone)         \
  X(CharIn, 4, kText)          \
  X(CharNotIn, 5, kText)       \
  X(Alternative, 6, kChain)    \
  X(LoopBack, 7, kNone)        \
  X(Literal, 8, kText)         \
  X(Nothing, 9, kNone)         \
  X(RepeatStar, 10, kSimple)   \
  X(RepeatPlus, 11, kSimple)   \
  X(Digit, 12, kNone)          \
  X(NonDigit, 13, kNone)       \
  X(WordChar, 14, kNone)       \
  X(NonWordChar, 15, kNone)    \
  X(Space, 16, kNone)          \
  X(NonSpace, 17, kNone)       \
  X(RepeatBraces, 18, kBraces) \
  X(Comment, 19, kNone)        \
  X(LiteralCI, 40, kText)      \
  X(CharInCI, 41, kText)       \
  X(CharNotInCI, 42, kText)

enum Opcode : uint8_t {
#define ZU_OPCODE_ENUM(name, code, operand) k##name = code,
  ZU_REGEXPR_OPCODES(ZU_OPCODE_ENUM)
#undef ZU_OPCODE_ENUM
};

inline constexpr uint8_t kGroupOpen = 20;   // kGroupOpen + n opens group n (1-9)
inline constexpr uint8_t kGroupClose = 30;  // kGroupClose + n closes group n
inline constexpr uint8_t kProgramMagic = 0x9C;
inline constexpr int kNodeHeader = 3;      // opcode and 16-bit next distance
inline constexpr int kMaxGroups = 9;       // groups 1-9; slot 0 is the whole match
inline constexpr int kMaxProgram = 65536;  // every distance must fit in 16 bits
inline constexpr int kBracesMax = 255;

// True for a code of the table, group codes included.
bool IsKnownOpcode(uint8_t op);
// The opcode's name for dumps ("GroupOpen 3" for the group codes), or "" for
// an unknown code.
std::string OpcodeName(uint8_t op);
// Operand layout of a known opcode (kNone for the group codes).
Operand OperandOf(uint8_t op);

// Character classes of \d \w \s (\w has no digits).
inline bool IsDigitChar(unsigned char c) { return c >= '0' && c <= '9'; }
inline bool IsWordChar(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
inline bool IsSpaceChar(unsigned char c) {
  return c == ' ' || c == 9 || c == 10 || c == 12 || c == 13;
}

// One compiled expression. Immutable after compilation, so objects and the
// one-shot cache share it.
struct TRegExprProgram {
  std::string Code;             // Code[0] == kProgramMagic, nodes follow
  int Modifiers = 0;            // the modifiers it was compiled with
  unsigned char FirstChar = 0;  // every match starts with it, 0 = no hint
  bool Anchored = false;        // matches only at the input start
  std::string Required;         // a literal every match contains, "" = none

  // Matcher helpers derived from the bytes (not part of the byte format):
  // a dense index for every choice node (Alternative, repetitions) and every
  // LoopBack, by node offset; -1 elsewhere.
  std::vector<int32_t> NodeIndex;
  int ChoiceCount = 0;
  int LoopCount = 0;
  // By LoopBack offset: the node that leaves its loop (the Nothing of the
  // loop's last alternative), taken after a pass that consumed nothing;
  // -1 elsewhere.
  std::vector<int32_t> LoopExit;
  // By Literal / LiteralCI offset: the operand's length, so that matching
  // need not measure it.
  std::vector<int32_t> LiteralLength;
  // The characters every match starts with, when the program cannot match
  // the empty string (an alternation such as "(cat|dog)" gives c and d);
  // the search tries no other position. Empty when there is no such set or
  // FirstChar or Anchored says more.
  std::bitset<256> FirstSet;
  bool HasFirstSet = false;
  // Membership of every set node (SetIndex by node offset into Sets), case
  // folding already applied for the CI sets.
  std::vector<int32_t> SetIndex;
  std::vector<std::bitset<256>> Sets;
  // The locale's upper-case mapping, taken when the program was compiled.
  std::array<unsigned char, 256> Upper{};

  // Next node of the node at `p`, or -1 when it has none.
  int Next(int p) const {
    int d = (static_cast<uint8_t>(Code[p + 1]) << 8) | static_cast<uint8_t>(Code[p + 2]);
    if (d == 0) return -1;
    return static_cast<uint8_t>(Code[p]) == kLoopBack ? p - d : p + d;
  }
  uint8_t Op(int p) const { return static_cast<uint8_t>(Code[p]); }
};

// Compiles `expression` (no 0 bytes) with `modifiers`; raises ERegExpr with
// the compile codes.
std::shared_ptr<const TRegExprProgram> CompileProgram(std::string_view expression, int modifiers);

// The search hints that come with every program: the first
// character of a single alternative that starts with a case-sensitive
// Literal, anchoring at AtStart, and (for an expression that starts with a
// repetition) the longest top-level case-sensitive Literal as the required
// literal.
void DeriveSearchHints(TRegExprProgram& program, bool startsWithStar);
// The matcher's helpers of a compiled program: node indexes, loop exits,
// literal lengths, set bitmaps, the case mapping and the first-character set.
void BuildMatcherIndexes(TRegExprProgram& program);

// Raises ERegExpr for `code`; `compilePos` is appended as " (pos N)" for
// codes below 1000.
[[noreturn]] void RaiseRegExprError(int code, int compilePos);

// The physical extent of the node at `p` (header and operand bytes, not the
// simple node of a repetition), or 0 for an unknown opcode.
int NodeSize(const std::string& code, int p);

// Match slots as 0-based offsets; -1 when unset.
struct MatchSlots {
  std::array<int, 10> Starts;
  std::array<int, 10> Ends;
  void Clear() {
    Starts.fill(-1);
    Ends.fill(-1);
  }
};

// Searches `input` (which holds no 0 byte; its end plays the terminating 0)
// from the 0-based position `start` (at most input.size()), with every rule
// of the search: required literal, first-character hint, anchoring, and the
// end-position rule. Fills `slots` on success, clears them on failure.
bool SearchProgram(const TRegExprProgram& program, std::string_view input, size_t start,
                   MatchSlots& slots, MatchScratch& scratch);

// A new scratch area (the struct is private to the matcher).
std::unique_ptr<MatchScratch, MatchScratchDeleter> NewMatchScratch();

// Dump of a program, one node per line.
std::string DumpProgram(const TRegExprProgram& program);

}  // namespace zu::regexpr_internal
