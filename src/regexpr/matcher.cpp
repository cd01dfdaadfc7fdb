// The backtracking matcher over the byte program and the search around it.
// Choice points live on an explicit stack instead of the process stack, so no
// pattern or input can overflow it; group captures are kept on a trail and
// committed only when a match succeeds.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "regexpr/program.h"

namespace zu::regexpr_internal {

namespace {

// Limit of the backtracking stack (frames). A path this long needs a
// repeated group over millions of characters; past it the search ends with
// code 1014 instead of taking all memory.
constexpr size_t kMaxFrames = size_t{1} << 23;
// Failed (choice node, position) pairs are remembered once a search has
// backtracked this often; the table costs choice nodes x input bits.
constexpr uint64_t kMemoAfterBacktracks = 2048;
constexpr uint64_t kMaxMemoBits = uint64_t{1} << 28;  // 32 MB

enum class FrameKind : uint8_t {
  kAlternative,  // the next Alternative of a choice to try
  kRepeat,       // a greedy repetition giving back one character at a time
  kFailMark,     // everything above failed: remember (node, position)
};

struct Frame {
  FrameKind kind;
  int32_t node;  // kAlternative: next alternative; kRepeat: the repetition; kFailMark: choice index
  int32_t pos;   // position to restore (kRepeat: start of the repetition)
  int32_t count;            // kRepeat: characters to try next
  int32_t min;              // kRepeat: minimum count
  uint32_t trail;           // trail length to restore
  uint32_t undo;            // loop-record undo length to restore
  unsigned char next_char;  // kRepeat: first character of a following Literal, or 0
  size_t memo_bit;          // kFailMark: the memo entry to set
};

// A group boundary passed on the current path.
struct TrailEntry {
  int16_t slot;
  bool close;
  int32_t pos;
};

struct LoopUndo {
  int32_t loop;
  int32_t old_pos;
};

}  // namespace

struct MatchScratch {
  std::vector<Frame> stack;
  std::vector<TrailEntry> trail;
  std::vector<LoopUndo> undo;
  std::vector<int32_t> loop_pos;  // position of the last pass through each LoopBack
  std::vector<uint64_t> memo;     // failed (choice, position) pairs
};

void MatchScratchDeleter::operator()(MatchScratch* scratch) const { delete scratch; }

std::unique_ptr<MatchScratch, MatchScratchDeleter> NewMatchScratch() {
  return std::unique_ptr<MatchScratch, MatchScratchDeleter>(new MatchScratch());
}

namespace {

class Matcher {
 public:
  Matcher(const TRegExprProgram& program, std::string_view input, MatchScratch& scratch)
      : p_(program),
        code_(program.code.data()),
        in_(reinterpret_cast<const unsigned char*>(input.data())),
        n_(static_cast<int>(input.size())),
        s_(scratch) {
    s_.loop_pos.assign(static_cast<size_t>(p_.loop_count), -1);
    memo_on_ = false;
  }

  // One attempt at `start`; on success fills the slots.
  bool Attempt(int start, MatchSlots& slots);

 private:
  unsigned char Char(int pos) const { return pos < n_ ? in_[pos] : 0; }
  uint8_t Op(int node) const { return static_cast<uint8_t>(code_[node]); }

  bool SingleMatches(int node, unsigned char c) const;
  int CountRepeat(int simple, int pos, int max) const;

  void Push(const Frame& f) {
    if (s_.stack.size() >= kMaxFrames) RaiseRegExprError(1014, 0);
    s_.stack.push_back(f);
  }
  Frame MakeFrame(FrameKind kind, int node, int pos) const {
    return Frame{kind,
                 node,
                 pos,
                 0,
                 0,
                 static_cast<uint32_t>(s_.trail.size()),
                 static_cast<uint32_t>(s_.undo.size()),
                 0,
                 0};
  }
  void Restore(const Frame& f) {
    s_.trail.resize(f.trail);
    while (s_.undo.size() > f.undo) {
      s_.loop_pos[s_.undo.back().loop] = s_.undo.back().old_pos;
      s_.undo.pop_back();
    }
  }

  // Memo of failed choice points. Whether the rest of a match succeeds from
  // a node at a position depends on that pair and, through the rejection of
  // empty loop iterations, on which loops were last passed at this very
  // position (records at earlier positions can never equal a later one). So
  // the key is (choice node, position, that loop or none); with two or more
  // such loops nothing is recorded.
  int LoopTag(int pos) const {
    int tag = 0;
    for (size_t l = 0; l < s_.loop_pos.size(); ++l) {
      if (s_.loop_pos[l] != pos) continue;
      if (tag != 0) return -1;
      tag = static_cast<int>(l) + 1;
    }
    return tag;
  }
  size_t MemoBit(int choice, int tag, int pos) const {
    size_t row = static_cast<size_t>(choice) * static_cast<size_t>(p_.loop_count + 1) +
                 static_cast<size_t>(tag);
    return row * static_cast<size_t>(n_ + 1) + static_cast<size_t>(pos);
  }
  bool MemoFailed(size_t b) const { return (s_.memo[b >> 6] >> (b & 63)) & 1; }
  void MemoSet(size_t b) { s_.memo[b >> 6] |= uint64_t{1} << (b & 63); }
  void CountBacktrack() {
    if (memo_on_ || ++backtracks_ < kMemoAfterBacktracks) return;
    uint64_t bits = static_cast<uint64_t>(p_.choice_count) *
                    static_cast<uint64_t>(p_.loop_count + 1) * static_cast<uint64_t>(n_ + 1);
    if (bits == 0 || bits > kMaxMemoBits) {
      backtracks_ = 0;  // too large for a table: keep plain backtracking
      return;
    }
    s_.memo.assign(static_cast<size_t>((bits + 63) / 64), 0);
    memo_on_ = true;
  }
  // Opens a choice point at `node`: false when it is known to fail here.
  bool EnterChoice(int node, int pos) {
    if (!memo_on_) return true;
    int tag = LoopTag(pos);
    if (tag < 0) return true;
    size_t bit = MemoBit(p_.node_index[node], tag, pos);
    if (MemoFailed(bit)) return false;
    Frame mark = MakeFrame(FrameKind::kFailMark, 0, pos);
    mark.memo_bit = bit;
    Push(mark);
    return true;
  }

  const TRegExprProgram& p_;
  const char* code_;
  const unsigned char* in_;
  int n_;
  MatchScratch& s_;
  bool memo_on_ = false;
  uint64_t backtracks_ = 0;
};

bool Matcher::SingleMatches(int node, unsigned char c) const {
  switch (Op(node)) {
    case kAnyChar:
      return true;
    case kLiteral:
      return c == static_cast<unsigned char>(code_[node + kNodeHeader]);
    case kLiteralCI:
      return p_.upper[c] == p_.upper[static_cast<unsigned char>(code_[node + kNodeHeader])] &&
             code_[node + kNodeHeader] != 0;
    case kCharIn:
    case kCharNotIn:
    case kCharInCI:
    case kCharNotInCI:
      return p_.sets[p_.set_index[node]].test(c);
    case kDigit:
      return IsDigitChar(c);
    case kNonDigit:
      return !IsDigitChar(c);
    case kWordChar:
      return IsWordChar(c);
    case kNonWordChar:
      return !IsWordChar(c);
    case kSpace:
      return IsSpaceChar(c);
    case kNonSpace:
      return !IsSpaceChar(c);
    default:
      RaiseRegExprError(1000, 0);
  }
}

// How many characters from `pos` the simple node matches, at most `max`;
// one loop, no recursion.
int Matcher::CountRepeat(int simple, int pos, int max) const {
  int limit = std::min(n_ - pos, max);
  uint8_t op = Op(simple);
  if (op == kAnyChar) return limit;
  int count = 0;
  if (op == kLiteral) {
    unsigned char c = static_cast<unsigned char>(code_[simple + kNodeHeader]);
    while (count < limit && in_[pos + count] == c) ++count;
    return count;
  }
  // Validates the opcode even when no character is left to test.
  if (limit == 0) {
    SingleMatches(simple, 'a');
    return 0;
  }
  while (count < limit && SingleMatches(simple, in_[pos + count])) ++count;
  return count;
}

bool Matcher::Attempt(int start, MatchSlots& slots) {
  s_.stack.clear();
  s_.trail.clear();
  s_.undo.clear();
  std::fill(s_.loop_pos.begin(), s_.loop_pos.end(), -1);
  int node = 1;
  int pos = start;

  for (;;) {
    bool ok = true;
    if (node < 0) RaiseRegExprError(1002, 0);
    uint8_t op = Op(node);
    switch (op) {
      case kEnd: {
        slots.Clear();
        // Unwinding order: the latest boundary first, each slot set once.
        for (auto it = s_.trail.rbegin(); it != s_.trail.rend(); ++it) {
          int& field = it->close ? slots.ends[it->slot] : slots.starts[it->slot];
          if (field < 0) field = it->pos;
        }
        for (int g = 1; g <= kMaxGroups; ++g)
          if (slots.starts[g] < 0 || slots.ends[g] < 0) slots.starts[g] = slots.ends[g] = -1;
        slots.starts[0] = start;
        slots.ends[0] = pos;
        return true;
      }
      case kAtStart:
        ok = pos == 0;
        break;
      case kAtEnd:
        ok = pos >= n_;
        break;
      case kNothing:
      case kComment:
        break;
      case kLoopBack: {
        // An iteration that consumed nothing would repeat forever: it is
        // rejected, and the loop's other alternative (stop) is taken.
        int loop = p_.node_index[node];
        if (s_.loop_pos[loop] == pos) {
          ok = false;
          break;
        }
        s_.undo.push_back({loop, s_.loop_pos[loop]});
        s_.loop_pos[loop] = pos;
        break;
      }
      case kAnyChar:
      case kCharIn:
      case kCharNotIn:
      case kCharInCI:
      case kCharNotInCI:
      case kDigit:
      case kNonDigit:
      case kWordChar:
      case kNonWordChar:
      case kSpace:
      case kNonSpace:
        ok = pos < n_ && SingleMatches(node, in_[pos]);
        if (ok) ++pos;
        break;
      case kLiteral:
      case kLiteralCI: {
        const unsigned char* lit =
            reinterpret_cast<const unsigned char*>(code_ + node + kNodeHeader);
        if (pos >= n_ || lit[0] == 0) {
          ok = false;
          break;
        }
        size_t len = std::strlen(reinterpret_cast<const char*>(lit));
        if (static_cast<size_t>(n_ - pos) < len) {
          ok = false;
          break;
        }
        if (op == kLiteral) {
          ok = std::memcmp(lit, in_ + pos, len) == 0;
        } else {
          // Every character folds with the locale's mapping, as single
          // characters, sets and repetitions do. Folding only a-z for longer
          // literals would let a one-letter accented literal match in either
          // case but not a two-letter one, in a single-byte locale; under
          // UTF-8 and C the mapping is a-z only anyway.
          for (size_t i = 0; ok && i < len; ++i) ok = p_.upper[lit[i]] == p_.upper[in_[pos + i]];
        }
        if (ok) pos += static_cast<int>(len);
        break;
      }
      case kAlternative: {
        int next = p_.Next(node);
        if (next >= 0 && Op(next) == kAlternative) {
          if (!EnterChoice(node, pos)) {
            ok = false;
            break;
          }
          Push(MakeFrame(FrameKind::kAlternative, next, pos));
        }
        node += kNodeHeader;  // into this alternative's chain
        continue;
      }
      case kRepeatStar:
      case kRepeatPlus:
      case kRepeatBraces: {
        int min = op == kRepeatStar ? 0 : 1;
        int max = n_;
        int simple = node + kNodeHeader;
        if (op == kRepeatBraces) {
          min = static_cast<unsigned char>(code_[node + kNodeHeader]);
          max = static_cast<unsigned char>(code_[node + kNodeHeader + 1]);
          simple += 2;
        }
        int after = p_.Next(node);
        if (!EnterChoice(node, pos)) {
          ok = false;
          break;
        }
        int count = CountRepeat(simple, pos, max);
        Frame f = MakeFrame(FrameKind::kRepeat, node, pos);
        f.count = count;
        f.min = min;
        if (after >= 0 && Op(after) == kLiteral)
          f.next_char = static_cast<unsigned char>(code_[after + kNodeHeader]);
        Push(f);
        ok = false;  // the first try of the repetition runs through backtracking
        break;
      }
      default:
        if (op > kGroupOpen && op <= kGroupOpen + kMaxGroups) {
          s_.trail.push_back({static_cast<int16_t>(op - kGroupOpen), false, pos});
          break;
        }
        if (op > kGroupClose && op <= kGroupClose + kMaxGroups) {
          s_.trail.push_back({static_cast<int16_t>(op - kGroupClose), true, pos});
          break;
        }
        RaiseRegExprError(1001, 0);
    }
    if (ok) {
      node = p_.Next(node);
      continue;
    }

    // Backtrack to the latest choice that has something left to try.
    for (;;) {
      if (s_.stack.empty()) return false;
      Frame& f = s_.stack.back();
      if (f.kind == FrameKind::kFailMark) {
        MemoSet(f.memo_bit);
        s_.stack.pop_back();
        continue;
      }
      Restore(f);
      if (f.kind == FrameKind::kAlternative) {
        CountBacktrack();
        int alt = f.node;
        pos = f.pos;
        int next = p_.Next(alt);
        if (next >= 0 && Op(next) == kAlternative)
          f.node = next;
        else
          s_.stack.pop_back();
        node = alt + kNodeHeader;
        break;
      }
      // kRepeat: the greedy count goes down one character at a time; the
      // continuation is tried only where the following literal could start.
      int found = -1;
      while (f.count >= f.min) {
        int c = f.count--;
        unsigned char at = Char(f.pos + c);
        if (f.next_char == 0 || at == f.next_char) {
          found = c;
          break;
        }
      }
      if (found < 0) {
        s_.stack.pop_back();
        continue;
      }
      CountBacktrack();
      pos = f.pos + found;
      node = p_.Next(f.node);
      if (f.count < f.min) s_.stack.pop_back();
      break;
    }
  }
}

}  // namespace

bool SearchProgram(const TRegExprProgram& program, std::string_view input, size_t start,
                   MatchSlots& slots, MatchScratch& scratch) {
  slots.Clear();
  const int n = static_cast<int>(input.size());
  int s = static_cast<int>(start);
  if (!program.required.empty() && input.find(program.required, start) == std::string_view::npos)
    return false;
  Matcher m(program, input, scratch);
  if (program.anchored) return m.Attempt(s, slots);
  if (program.first_char != 0) {
    for (size_t p = input.find(static_cast<char>(program.first_char), start);
         p != std::string_view::npos;
         p = input.find(static_cast<char>(program.first_char), p + 1)) {
      if (m.Attempt(static_cast<int>(p), slots)) return true;
    }
    slots.Clear();
    return false;
  }
  // Every position from s while a character is there; the end itself only
  // when the search starts there.
  for (int p = s;; ++p) {
    if (m.Attempt(p, slots)) return true;
    if (p >= n - 1) break;
  }
  slots.Clear();
  return false;
}

}  // namespace zu::regexpr_internal
