// The regular expression compiler: a recursive descent run twice over the
// expression, first counting the bytes of every node, then writing the
// program; afterwards the search hints and the matcher's indexes are derived
// (program_index.cpp).
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "regexpr/program.h"
#include "support/numbers.h"

namespace zu::regexpr_internal {
namespace {

// Flags of a parsed element.
constexpr int kHasWidth = 1;        // never matches the empty string
constexpr int kSimple = 2;          // compiles to one simple node
constexpr int kStartsWithStar = 4;  // begins with a * or + repetition

constexpr int kNoNode = -1;
constexpr std::string_view kMeta = "^$.[()|?+*\\{";

bool IsMeta(char c) { return kMeta.find(c) != std::string_view::npos; }
bool IsQuantifierChar(char c) { return c == '*' || c == '+' || c == '?' || c == '{'; }

// The control escapes shared by atoms and sets; 0 when `c` is none of them.
unsigned char ControlEscape(char c) {
  switch (c) {
    case 't':
      return 9;
    case 'n':
      return 10;
    case 'r':
      return 13;
    case 'f':
      return 12;
    case 'a':
      return 7;
    case 'e':
      return 27;
    default:
      return 0;
  }
}

// A brace quantifier as written at some position: its extent and counts.
struct Braces {
  bool Valid = false;  // the text has the quantifier's form
  size_t End = 0;      // just after the closing brace
  bool TooBig = false;
  int Min = 0;
  int Max = 0;
};

// Reads "{n}", "{n,}" or "{n,m}" at `p` (which holds '{'). Counts of more
// than 3 digits or above 255 are reported as too big, not as literal text.
Braces ReadBraces(std::string_view e, size_t p) {
  Braces b;
  auto number = [&](size_t& q, int& value) {
    size_t first = q;
    long v = 0;
    while (q < e.size() && e[q] >= '0' && e[q] <= '9') {
      if (v <= 100000) v = v * 10 + (e[q] - '0');
      ++q;
    }
    size_t digits = q - first;
    if (digits > 3 || v > kBracesMax) b.TooBig = true;
    value = static_cast<int>(v > kBracesMax ? kBracesMax : v);
    return digits > 0;
  };
  size_t q = p + 1;
  if (!number(q, b.Min) || q >= e.size()) return b;
  if (e[q] == '}') {
    b.Max = b.Min;
  } else if (e[q] == ',') {
    ++q;
    if (q < e.size() && e[q] == '}') {
      b.Max = kBracesMax;
    } else if (!number(q, b.Max) || q >= e.size() || e[q] != '}') {
      return b;
    }
  } else {
    return b;
  }
  b.Valid = true;
  b.End = q + 1;
  return b;
}

class Compiler {
 public:
  Compiler(std::string_view expression, int modifiers) : expr_(expression), modifiers_(modifiers) {}

  std::shared_ptr<const TRegExprProgram> Run() {
    // Size pass.
    sizing_ = true;
    size_ = 0;
    Pass();
    if (size_ >= static_cast<size_t>(kMaxProgram)) Error(101);
    // Emit pass.
    sizing_ = false;
    code_.clear();
    code_.reserve(size_);
    int flags = Pass();
    auto program = std::make_shared<TRegExprProgram>();
    program->Code = std::move(code_);
    program->Modifiers = modifiers_;
    DeriveSearchHints(*program, (flags & kStartsWithStar) != 0);
    BuildMatcherIndexes(*program);
    return program;
  }

 private:
  int Pass() {
    pos_ = 0;
    group_ = 1;
    compileMods_ = modifiers_;
    EmitByte(kProgramMagic);
    int flags = 0;
    ParseReg(false, flags);
    return flags;
  }

  [[noreturn]] void Error(int code) { RaiseRegExprError(code, static_cast<int>(pos_)); }

  bool AtEnd() const { return pos_ >= expr_.size(); }
  char Peek() const { return AtEnd() ? '\0' : expr_[pos_]; }
  bool CaseInsensitive() const { return (compileMods_ & kModifierI) != 0; }

  // ---------------------------------------------------------- emitting
  int Here() const { return static_cast<int>(sizing_ ? size_ : code_.size()); }

  void EmitByte(unsigned char b) {
    if (sizing_)
      ++size_;
    else
      code_.push_back(static_cast<char>(b));
  }

  int EmitNode(uint8_t op) {
    int at = Here();
    EmitByte(op);
    EmitByte(0);
    EmitByte(0);
    return at;
  }

  // Puts a node of `op` (with `extra` operand bytes) in front of the atom
  // that starts at `operand`; the atom moves up.
  void Insert(uint8_t op, int operand, unsigned char min = 0, unsigned char max = 0,
              int extra = 0) {
    if (sizing_) {
      size_ += kNodeHeader + extra;
      return;
    }
    std::string node{static_cast<char>(op), '\0', '\0'};
    if (extra == 2) {
      node.push_back(static_cast<char>(min));
      node.push_back(static_cast<char>(max));
    }
    code_.insert(static_cast<size_t>(operand), node);
  }

  int Next(int p) const {
    if (sizing_ || p == kNoNode) return kNoNode;
    int d = (static_cast<uint8_t>(code_[p + 1]) << 8) | static_cast<uint8_t>(code_[p + 2]);
    if (d == 0) return kNoNode;
    return static_cast<uint8_t>(code_[p]) == kLoopBack ? p - d : p + d;
  }

  // Links the last node of the chain starting at `p` to `target`.
  void Tail(int p, int target) {
    if (sizing_) return;
    int scan = p;
    for (int next = Next(scan); next != kNoNode; next = Next(scan)) scan = next;
    int d = static_cast<uint8_t>(code_[scan]) == kLoopBack ? scan - target : target - scan;
    code_[scan + 1] = static_cast<char>((d >> 8) & 0xFF);
    code_[scan + 2] = static_cast<char>(d & 0xFF);
  }

  // Tail on the operand chain of an Alternative; nothing for other nodes.
  void OpTail(int p, int target) {
    if (sizing_ || p == kNoNode || static_cast<uint8_t>(code_[p]) != kAlternative) return;
    Tail(p + kNodeHeader, target);
  }

  // ---------------------------------------------------------- parsing
  // The top-level expression or the inside of a group: alternatives
  // separated by '|', closed by End or GroupClose.
  int ParseReg(bool paren, int& flags) {
    flags = kHasWidth;
    int savedMods = compileMods_;
    int ret = kNoNode;
    int group = 0;
    if (paren) {
      if (group_ > kMaxGroups) Error(102);
      group = group_++;
      ret = EmitNode(static_cast<uint8_t>(kGroupOpen + group));
    }
    for (bool first = true;; first = false) {
      if (!first) ++pos_;  // past '|'
      int branchFlags = 0;
      int branch = ParseBranch(branchFlags);
      if (ret != kNoNode)
        Tail(ret, branch);
      else
        ret = branch;
      if (!(branchFlags & kHasWidth)) flags &= ~kHasWidth;
      flags |= branchFlags & kStartsWithStar;
      if (Peek() != '|') break;
    }
    int ender =
        EmitNode(paren ? static_cast<uint8_t>(kGroupClose + group) : static_cast<uint8_t>(kEnd));
    Tail(ret, ender);
    for (int b = ret; b != kNoNode; b = Next(b)) OpTail(b, ender);
    if (paren) {
      if (Peek() != ')') Error(103);
      ++pos_;
    } else if (!AtEnd()) {
      Error(Peek() == ')' ? 104 : 105);
    }
    compileMods_ = savedMods;
    return ret;
  }

  // One alternative: an Alternative node followed by its pieces.
  int ParseBranch(int& flags) {
    flags = 0;
    int ret = EmitNode(kAlternative);
    int chain = kNoNode;
    bool any = false;
    while (!AtEnd() && Peek() != '|' && Peek() != ')') {
      int pieceFlags = 0;
      int latest = ParsePiece(pieceFlags);
      flags |= pieceFlags & kHasWidth;
      if (!any)
        flags |= pieceFlags & kStartsWithStar;
      else
        Tail(chain, latest);
      chain = latest;
      any = true;
    }
    if (!any) EmitNode(kNothing);
    return ret;
  }

  // An atom with its optional quantifier.
  int ParsePiece(int& flags) {
    int atomFlags = 0;
    int ret = ParseAtom(atomFlags);
    char op = Peek();
    if (AtEnd() || !IsQuantifierChar(op)) {
      flags = atomFlags;
      return ret;
    }
    if (op == '{') {
      // The width test comes before the brace syntax is examined.
      if (!(atomFlags & kHasWidth)) Error(106);
      Braces b = ReadBraces(expr_, pos_);
      if (!b.Valid) {  // a literal '{': the next atom takes it
        flags = atomFlags;
        return ret;
      }
      pos_ = b.End;
      if (b.TooBig) Error(122);
      if (b.Max < b.Min) Error(124);
      if (!(atomFlags & kSimple)) Error(126);
      Insert(kRepeatBraces, ret, static_cast<unsigned char>(b.Min),
             static_cast<unsigned char>(b.Max), 2);
      flags = b.Max > 0 ? (kHasWidth | kStartsWithStar) : 0;
    } else {
      if (!(atomFlags & kHasWidth) && op != '?') Error(106);
      ++pos_;
      bool simple = (atomFlags & kSimple) != 0;
      if (op == '*') {
        flags = kStartsWithStar;
        if (simple) {
          Insert(kRepeatStar, ret);
        } else {
          // X* as Alternative(X, LoopBack), Alternative(Nothing).
          Insert(kAlternative, ret);
          OpTail(ret, EmitNode(kLoopBack));
          OpTail(ret, ret);
          Tail(ret, EmitNode(kAlternative));
          Tail(ret, EmitNode(kNothing));
        }
      } else if (op == '+') {
        flags = kStartsWithStar | kHasWidth;
        if (simple) {
          Insert(kRepeatPlus, ret);
        } else {
          // X+ as X, Alternative(LoopBack to X), Alternative(Nothing).
          int next = EmitNode(kAlternative);
          Tail(ret, next);
          Tail(EmitNode(kLoopBack), ret);
          Tail(next, EmitNode(kAlternative));
          Tail(ret, EmitNode(kNothing));
        }
      } else {  // '?': Alternative(X), Alternative(Nothing)
        flags = 0;
        Insert(kAlternative, ret);
        Tail(ret, EmitNode(kAlternative));
        int next = EmitNode(kNothing);
        Tail(ret, next);
        OpTail(ret, next);
      }
    }
    if (IsQuantifierChar(Peek()) && !AtEnd()) Error(107);
    return ret;
  }

  // Emits a one-character literal (escapes).
  int EmitChar(unsigned char c, int& flags) {
    int ret = EmitNode(CaseInsensitive() ? kLiteralCI : kLiteral);
    EmitByte(c);
    EmitByte(0);
    flags = kHasWidth | kSimple;
    return ret;
  }

  // Reads the two digits of \x at pos_; `endAfterX`/`endAfterDigit` are the
  // codes for an expression that ends early.
  unsigned char ReadHex(int endAfterX, int endAfterDigit) {
    if (AtEnd()) Error(endAfterX);
    int hi = HexDigitValue(expr_[pos_]);
    if (hi < 0) Error(108);
    ++pos_;
    if (AtEnd()) Error(endAfterDigit);
    int lo = HexDigitValue(expr_[pos_]);
    if (lo < 0) Error(108);
    ++pos_;
    return static_cast<unsigned char>(hi * 16 + lo);
  }

  int ParseAtom(int& flags) {
    flags = 0;
    if (AtEnd()) Error(114);
    char c = expr_[pos_++];
    switch (c) {
      case '^':
        return EmitNode(kAtStart);
      case '$':
        return EmitNode(kAtEnd);
      case '.': {
        int ret;
        if (compileMods_ & kModifierS) {
          ret = EmitNode(kAnyChar);
        } else {
          ret = EmitNode(kCharNotIn);
          EmitByte(10);
          EmitByte(0);
        }
        flags = kHasWidth | kSimple;
        return ret;
      }
      case '[':
        flags = kHasWidth | kSimple;
        return ParseSet();
      case '(':
        if (Peek() == '?') return ParseSpecialGroup();
        {
          int groupFlags = 0;
          int ret = ParseReg(true, groupFlags);
          flags = groupFlags & (kHasWidth | kStartsWithStar);
          return ret;
        }
      case '|':
      case ')':
        --pos_;
        Error(114);
      case '?':
      case '+':
      case '*':
        Error(115);
      case '\\':
        return ParseEscape(flags);
      default:
        --pos_;
        return ParseLiteralRun(flags);
    }
  }

  // "(?#...)" comments and "(?imrs-...)" modifier groups; both match nothing.
  int ParseSpecialGroup() {
    ++pos_;  // past '?'
    if (Peek() == '#' && !AtEnd()) {
      size_t close = expr_.find(')', pos_);
      if (close == std::string_view::npos) {
        pos_ = expr_.size();
        Error(125);
      }
      pos_ = close + 1;
      return EmitNode(kComment);
    }
    bool on = true;
    int mods = compileMods_;
    for (;;) {
      if (AtEnd()) Error(127);
      char m = expr_[pos_];
      if (m == ')') break;
      int bit = 0;
      switch (m) {
        case 'i':
        case 'I':
          bit = kModifierI;
          break;
        case 'r':
        case 'R':
          bit = kModifierR;
          break;
        case 's':
        case 'S':
          bit = kModifierS;
          break;
        case '-':
          on = false;
          break;
        default:
          Error(127);
      }
      if (bit) mods = on ? (mods | bit) : (mods & ~bit);
      ++pos_;
    }
    ++pos_;  // past ')'
    compileMods_ = mods;
    return EmitNode(kComment);
  }

  int ParseEscape(int& flags) {
    if (AtEnd()) Error(116);
    char e = expr_[pos_++];
    uint8_t op = 0;
    switch (e) {
      case 'd':
        op = kDigit;
        break;
      case 'D':
        op = kNonDigit;
        break;
      case 'w':
        op = kWordChar;
        break;
      case 'W':
        op = kNonWordChar;
        break;
      case 's':
        op = kSpace;
        break;
      case 'S':
        op = kNonSpace;
        break;
      default:
        break;
    }
    if (op) {
      flags = kHasWidth | kSimple;
      return EmitNode(op);
    }
    if (e == 'x') return EmitChar(ReadHex(117, 118), flags);
    unsigned char control = ControlEscape(e);
    return EmitChar(control ? control : static_cast<unsigned char>(e), flags);
  }

  // A run of ordinary characters (it may start with a '{' that is no
  // quantifier). Before a quantifier the last character becomes an atom of
  // its own, so the quantifier applies to it alone.
  int ParseLiteralRun(int& flags) {
    size_t len = Peek() == '{' ? 1 : 0;
    while (pos_ + len < expr_.size() && !IsMeta(expr_[pos_ + len])) ++len;
    if (len == 0) Error(119);
    size_t after = pos_ + len;
    if (len > 1 && after < expr_.size()) {
      char q = expr_[after];
      if (q == '*' || q == '+' || q == '?' || (q == '{' && ReadBraces(expr_, after).Valid)) --len;
    }
    int ret = EmitNode(CaseInsensitive() ? kLiteralCI : kLiteral);
    for (size_t i = 0; i < len; ++i) EmitByte(static_cast<unsigned char>(expr_[pos_ + i]));
    EmitByte(0);
    pos_ += len;
    flags = kHasWidth | (len == 1 ? kSimple : 0);
    return ret;
  }

  // Adds one member to a set; 0 can never match (the input ends there), so
  // it is left out rather than cutting the member list short.
  void EmitMember(unsigned char c) {
    if (c != 0) EmitByte(c);
  }

  void EmitRange(int from, int to) {
    for (int c = from; c <= to; ++c) EmitMember(static_cast<unsigned char>(c));
  }

  int ParseSet() {
    bool negate = Peek() == '^' && !AtEnd();
    if (negate) ++pos_;
    uint8_t op =
        CaseInsensitive() ? (negate ? kCharNotInCI : kCharInCI) : (negate ? kCharNotIn : kCharIn);
    int ret = EmitNode(op);
    int last = -1;  // the last single character added: a range may start there
    if (!AtEnd() && (Peek() == ']' || Peek() == '-')) {
      last = static_cast<unsigned char>(expr_[pos_++]);
      EmitMember(static_cast<unsigned char>(last));
    }
    while (!AtEnd() && Peek() != ']') {
      char c = expr_[pos_++];
      if (c == '-' && !AtEnd() && Peek() != ']' && last >= 0) {
        int to = ReadSetChar();
        if (to < 0) {  // a class escape after '-': the '-' is a member
          EmitMember('-');
          last = -1;
          continue;
        }
        AddRange(last, to);
        last = to;
      } else if (c == '\\') {
        --pos_;
        int single = ReadSetChar();
        last = single;
      } else {
        last = static_cast<unsigned char>(c);
        EmitMember(static_cast<unsigned char>(c));
      }
    }
    if (AtEnd()) Error(113);
    ++pos_;  // past ']'
    EmitByte(0);
    return ret;
  }

  // One set element at pos_ (a character or an escape). A single character
  // is added and returned; a class escape (\d, \w) adds its class and gives -1.
  int ReadSetChar() {
    char c = expr_[pos_++];
    if (c != '\\') {
      return static_cast<unsigned char>(c);
    }
    if (AtEnd()) Error(110);
    char e = expr_[pos_++];
    if (e == 'd') {
      EmitRange('0', '9');
      return -1;
    }
    if (e == 'w') {
      EmitRange('a', 'z');
      EmitRange('A', 'Z');
      EmitMember('_');
      return -1;
    }
    unsigned char value;
    if (e == 'x') {
      value = ReadHex(111, 112);
    } else {
      unsigned char control = ControlEscape(e);
      value = control ? control : static_cast<unsigned char>(e);
    }
    EmitMember(value);
    return value;
  }

  // The members from `from` (already added) to `to` (added by the caller
  // when it came from an escape, else not yet). With r on, the Cyrillic
  // letter ranges also take their two extra letters.
  void AddRange(int from, int to) {
    bool cyrillic = (compileMods_ & kModifierR) != 0;
    if (cyrillic && from == 0xE0 && to == 0xFF) {
      EmitRange(0xE0, 0xFF);
      EmitMember(0xB8);
    } else if (cyrillic && from == 0xC0 && to == 0xDF) {
      EmitRange(0xC0, 0xDF);
      EmitMember(0xA8);
    } else if (cyrillic && from == 0xE0 && to == 0xDF) {
      EmitRange(0xC0, 0xFF);
      EmitMember(0xA8);
      EmitMember(0xB8);
    } else {
      if (to < from) Error(109);
      EmitRange(from, to);
    }
  }

  std::string_view expr_;
  int modifiers_;
  int compileMods_ = 0;
  size_t pos_ = 0;
  int group_ = 1;
  bool sizing_ = true;
  size_t size_ = 0;
  std::string code_;
};

}  // namespace

std::shared_ptr<const TRegExprProgram> CompileProgram(std::string_view expression, int modifiers) {
  return Compiler(expression, modifiers).Run();
}

}  // namespace zu::regexpr_internal
