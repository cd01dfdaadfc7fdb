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
// backtracked this often, so that no pair is explored twice: a search can
// then never take exponential time, whatever the input's size.
constexpr uint64_t kMemoAfterBacktracks = 2048;

enum class FrameKind : uint8_t {
  kAlternative,  // the next Alternative of a choice to try
  kRepeat,       // a greedy repetition giving back one character at a time
  kFailMark,     // everything above failed: remember (node, position)
  kRunMark,      // a repetition's every continuation failed: remember the range
};

struct Frame {
  FrameKind Kind;
  int32_t Node;  // kAlternative: next alternative; kRepeat: the repetition; kFailMark: choice index
  int32_t Pos;   // position to restore (kRepeat: start of the repetition)
  int32_t Count;           // kRepeat: characters to try next
  int32_t Min;             // kRepeat: minimum count
  uint32_t Trail;          // trail length to restore
  uint32_t Undo;           // loop-record undo length to restore
  unsigned char NextChar;  // kRepeat: first character of a following Literal, or 0
  uint64_t MemoKey;        // kFailMark: the memo entry to set
};

// A group boundary passed on the current path.
struct TrailEntry {
  int16_t Slot;
  bool Close;
  int32_t Pos;
};

// Continuations that failed after an unbounded repetition, per repetition
// node: every position in [Low, End] failed, for repetitions whose run of
// matching characters ended at End. A later entry with the same run end
// tries only the positions below Low (and fails at once when none is
// left), so ".*" followed by ".*" and a literal that is not there costs
// linear time instead of quadratic, per start and over all starts. Only
// for programs without loops, where what follows a node at a position
// depends on nothing else.
struct RunFailure {
  int32_t End = -1;
  int32_t Low = 0;
};

// A LoopPos entry to put back when backtracking.
struct LoopUndo {
  int32_t Loop;
  int32_t OldPos;
};

}  // namespace

// The failed (choice node, loop tag, position) triples of one search: an
// open-addressing hash set, so that memory follows the pairs actually
// visited rather than the input's size. Pairs below the position of the
// current attempt can never be met again (positions only grow along a
// path); they are dropped when the table is full. If a single attempt needs
// more than the table holds, the search ends with code 1014: memory stays
// bounded and nothing hangs.
class FailMemo {
 public:
  static uint64_t Key(int choice, int tag, int pos) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(pos)) << 32) |
           (static_cast<uint64_t>(choice) << 16) | static_cast<uint64_t>(tag);
  }
  // True for choice and tag values that fit a key.
  static bool Fits(int choice, int tag) { return choice < 65536 && tag < 65536; }

  void Clear() {
    slots_.assign(kFirstSlots, kEmpty);
    count_ = 0;
  }
  bool Contains(uint64_t key) const {
    size_t mask = slots_.size() - 1;
    for (size_t i = Hash(key) & mask;; i = (i + 1) & mask) {
      if (slots_[i] == key) return true;
      if (slots_[i] == kEmpty) return false;
    }
  }
  // Adds key; false when the table is full even after dropping every pair
  // below `floor`.
  bool Insert(uint64_t key, int floor) {
    if ((count_ + 1) * 2 > slots_.size()) {
      if (slots_.size() < kMaxSlots) {
        Rehash(slots_.size() * 2, -1);
      } else {
        Rehash(slots_.size(), floor);
        // Room for a quarter of the table again, or the attempt is too big.
        if (count_ * 4 > slots_.size()) return false;
      }
    }
    Place(key);
    return true;
  }

 private:
  static constexpr uint64_t kEmpty = ~uint64_t{0};  // position 0xFFFFFFFF never occurs
  static constexpr size_t kFirstSlots = size_t{1} << 12;
  static constexpr size_t kMaxSlots = size_t{1} << 23;  // 64 MB

  static size_t Hash(uint64_t key) {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32);
  }
  void Place(uint64_t key) {
    size_t mask = slots_.size() - 1;
    size_t i = Hash(key) & mask;
    while (slots_[i] != kEmpty) {
      if (slots_[i] == key) return;
      i = (i + 1) & mask;
    }
    slots_[i] = key;
    ++count_;
  }
  // Rebuilds the table with `size` slots, keeping the pairs at `floor` or
  // later (all of them for -1).
  void Rehash(size_t size, int floor) {
    std::vector<uint64_t> old(size, kEmpty);
    old.swap(slots_);
    count_ = 0;
    for (uint64_t key : old) {
      if (key != kEmpty && static_cast<int64_t>(key >> 32) >= floor) Place(key);
    }
  }

  std::vector<uint64_t> slots_;
  size_t count_ = 0;
};

struct MatchScratch {
  std::vector<Frame> Stack;
  std::vector<TrailEntry> Trail;
  std::vector<LoopUndo> Undo;
  std::vector<int32_t> LoopPos;  // position of the last pass through each LoopBack
  // By choice index, for the search under way; empty when the program has
  // loops. Kept here so that a search allocates nothing once warm.
  std::vector<RunFailure> Runs;
  FailMemo Memo;
};

void MatchScratchDeleter::operator()(MatchScratch* scratch) const { delete scratch; }

std::unique_ptr<MatchScratch, MatchScratchDeleter> NewMatchScratch() {
  return std::unique_ptr<MatchScratch, MatchScratchDeleter>(new MatchScratch());
}

namespace {

class Matcher {
 public:
  Matcher(const TRegExprProgram& program, std::string_view input, MatchScratch& scratch)
      : program_(program),
        code_(program.Code.data()),
        input_(reinterpret_cast<const unsigned char*>(input.data())),
        length_(static_cast<int>(input.size())),
        scratch_(scratch) {
    scratch_.LoopPos.assign(static_cast<size_t>(program_.LoopCount), -1);
    memoOn_ = false;
    if (program_.LoopCount == 0)
      scratch_.Runs.assign(static_cast<size_t>(program_.ChoiceCount), RunFailure{});
    else
      scratch_.Runs.clear();
  }

  // One attempt at `start`; on success fills the slots.
  bool Attempt(int start, MatchSlots& slots);

 private:
  unsigned char Char(int pos) const { return pos < length_ ? input_[pos] : 0; }
  uint8_t Op(int node) const { return static_cast<uint8_t>(code_[node]); }

  bool SingleMatches(int node, unsigned char c) const;
  // The next count of a greedy repetition to try, taken from the frame
  // (counting down), or -1 when none is left: the continuation is tried only
  // where the following literal could start.
  int NextRepeatCount(Frame& f) const {
    while (f.Count >= f.Min) {
      int c = f.Count--;
      if (f.NextChar == 0 || Char(f.Pos + c) == f.NextChar) return c;
    }
    return -1;
  }
  int CountRepeat(int simple, int pos, int max) const;

  void Push(const Frame& f) {
    if (scratch_.Stack.size() >= kMaxFrames) RaiseRegExprError(1014, 0);
    scratch_.Stack.push_back(f);
  }
  Frame MakeFrame(FrameKind kind, int node, int pos) const {
    return Frame{kind,
                 node,
                 pos,
                 0,
                 0,
                 static_cast<uint32_t>(scratch_.Trail.size()),
                 static_cast<uint32_t>(scratch_.Undo.size()),
                 0,
                 0};
  }
  void Restore(const Frame& f) {
    scratch_.Trail.resize(f.Trail);
    while (scratch_.Undo.size() > f.Undo) {
      scratch_.LoopPos[scratch_.Undo.back().Loop] = scratch_.Undo.back().OldPos;
      scratch_.Undo.pop_back();
    }
  }

  // Memo of failed choice points. Whether the rest of a match succeeds from
  // a node at a position depends on that pair and, through the end of a
  // loop after a pass that consumed nothing, on which loops were last passed
  // at this very position (records at earlier positions can never equal a
  // later one). So the key is (choice node, position, that loop or none);
  // with two or more such loops nothing is recorded.
  int LoopTag(int pos) const {
    int tag = 0;
    for (size_t l = 0; l < scratch_.LoopPos.size(); ++l) {
      if (scratch_.LoopPos[l] != pos) continue;
      if (tag != 0) return -1;
      tag = static_cast<int>(l) + 1;
    }
    return tag;
  }
  void CountBacktrack() {
    if (memoOn_ || ++backtracks_ < kMemoAfterBacktracks) return;
    scratch_.Memo.Clear();
    memoOn_ = true;
  }
  void RememberFailure(uint64_t key) {
    if (!scratch_.Memo.Insert(key, attemptStart_)) RaiseRegExprError(1014, 0);
  }
  // Opens a choice point at `node`: false when it is known to fail here.
  bool EnterChoice(int node, int pos) {
    if (!memoOn_) return true;
    int tag = LoopTag(pos);
    int choice = program_.NodeIndex[node];
    if (tag < 0 || !FailMemo::Fits(choice, tag)) return true;
    uint64_t key = FailMemo::Key(choice, tag, pos);
    if (scratch_.Memo.Contains(key)) return false;
    Frame mark = MakeFrame(FrameKind::kFailMark, 0, pos);
    mark.MemoKey = key;
    Push(mark);
    return true;
  }

  const TRegExprProgram& program_;
  const char* code_;
  const unsigned char* input_;
  int length_;
  MatchScratch& scratch_;
  bool memoOn_ = false;
  uint64_t backtracks_ = 0;
  int attemptStart_ = 0;
};

bool Matcher::SingleMatches(int node, unsigned char c) const {
  switch (Op(node)) {
    case kAnyChar:
      return true;
    case kLiteral:
      return c == static_cast<unsigned char>(code_[node + kNodeHeader]);
    case kLiteralCI:
      return program_.Upper[c] ==
                 program_.Upper[static_cast<unsigned char>(code_[node + kNodeHeader])] &&
             code_[node + kNodeHeader] != 0;
    case kCharIn:
    case kCharNotIn:
    case kCharInCI:
    case kCharNotInCI:
      return program_.Sets[program_.SetIndex[node]].test(c);
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
  int limit = std::min(length_ - pos, max);
  uint8_t op = Op(simple);
  if (op == kAnyChar) return limit;
  int count = 0;
  if (op == kLiteral) {
    unsigned char c = static_cast<unsigned char>(code_[simple + kNodeHeader]);
    while (count < limit && input_[pos + count] == c) ++count;
    return count;
  }
  // Validates the opcode even when no character is left to test.
  if (limit == 0) {
    SingleMatches(simple, 'a');
    return 0;
  }
  while (count < limit && SingleMatches(simple, input_[pos + count])) ++count;
  return count;
}

bool Matcher::Attempt(int start, MatchSlots& slots) {
  attemptStart_ = start;
  scratch_.Stack.clear();
  scratch_.Trail.clear();
  scratch_.Undo.clear();
  std::fill(scratch_.LoopPos.begin(), scratch_.LoopPos.end(), -1);
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
        for (auto it = scratch_.Trail.rbegin(); it != scratch_.Trail.rend(); ++it) {
          int& field = it->Close ? slots.Ends[it->Slot] : slots.Starts[it->Slot];
          if (field < 0) field = it->Pos;
        }
        for (int g = 1; g <= kMaxGroups; ++g)
          if (slots.Starts[g] < 0 || slots.Ends[g] < 0) slots.Starts[g] = slots.Ends[g] = -1;
        slots.Starts[0] = start;
        slots.Ends[0] = pos;
        return true;
      }
      case kAtStart:
        ok = pos == 0;
        break;
      case kAtEnd:
        ok = pos >= length_;
        break;
      case kNothing:
      case kComment:
        break;
      case kLoopBack: {
        // A pass that consumed nothing would repeat forever: it ends the
        // repetition, and the match goes on after the loop. (Rejecting the
        // pass instead would backtrack into a later alternative of the
        // repeated group, which neither stopping nor refusing the pattern
        // gives.)
        int loop = program_.NodeIndex[node];
        if (scratch_.LoopPos[loop] == pos) {
          int exit = program_.LoopExit[node];
          if (exit < 0) {
            ok = false;
            break;
          }
          node = exit;
          continue;
        }
        scratch_.Undo.push_back({loop, scratch_.LoopPos[loop]});
        scratch_.LoopPos[loop] = pos;
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
        ok = pos < length_ && SingleMatches(node, input_[pos]);
        if (ok) ++pos;
        break;
      case kLiteral:
      case kLiteralCI: {
        const unsigned char* lit =
            reinterpret_cast<const unsigned char*>(code_ + node + kNodeHeader);
        if (pos >= length_ || lit[0] == 0) {
          ok = false;
          break;
        }
        size_t len = static_cast<size_t>(program_.LiteralLength[node]);
        if (static_cast<size_t>(length_ - pos) < len) {
          ok = false;
          break;
        }
        if (op == kLiteral) {
          // Most literals are a few characters long: compared in place
          // rather than through a call.
          if (len <= 8) {
            for (size_t i = 0; ok && i < len; ++i) ok = lit[i] == input_[pos + i];
          } else {
            ok = std::memcmp(lit, input_ + pos, len) == 0;
          }
        } else {
          // Every character folds with the locale's mapping, as single
          // characters, sets and repetitions do. Folding only a-z for longer
          // literals would let a one-letter accented literal match in either
          // case but not a two-letter one, in a single-byte locale; under
          // UTF-8 and C the mapping is a-z only anyway.
          for (size_t i = 0; ok && i < len; ++i)
            ok = program_.Upper[lit[i]] == program_.Upper[input_[pos + i]];
        }
        if (ok) pos += static_cast<int>(len);
        break;
      }
      case kAlternative: {
        int next = program_.Next(node);
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
        int max = length_;
        int simple = node + kNodeHeader;
        if (op == kRepeatBraces) {
          min = static_cast<unsigned char>(code_[node + kNodeHeader]);
          max = static_cast<unsigned char>(code_[node + kNodeHeader + 1]);
          simple += 2;
        }
        int after = program_.Next(node);
        if (!EnterChoice(node, pos)) {
          ok = false;
          break;
        }
        int count = 0;
        if (!scratch_.Runs.empty() && op != kRepeatBraces) {
          const int32_t index = program_.NodeIndex[node];
          const RunFailure& known = scratch_.Runs[static_cast<size_t>(index)];
          // Every entry from `from` on ran to known.End: one at or after it
          // has only known failures to try, one before it needs to scan no
          // further than `from` to join that run.
          const int from = known.Low - min;
          if (known.End >= 0 && pos >= from && pos <= known.End) {
            ok = false;
            break;
          }
          if (known.End >= 0 && pos < from) {
            count = CountRepeat(simple, pos, from - pos);
            if (count == from - pos) count = known.End - pos;
          } else {
            count = CountRepeat(simple, pos, max);
          }
          const int end = pos + count;
          if (known.End == end) count = known.Low - 1 - pos;  // only the untried positions
          Frame mark = MakeFrame(FrameKind::kRunMark, index, pos + min);
          mark.Count = end;
          Push(mark);
        } else {
          count = CountRepeat(simple, pos, max);
        }
        Frame f = MakeFrame(FrameKind::kRepeat, node, pos);
        f.Count = count;
        f.Min = min;
        if (after >= 0 && Op(after) == kLiteral)
          f.NextChar = static_cast<unsigned char>(code_[after + kNodeHeader]);
        // The first try, taken here as backtracking into the frame would
        // take it; the frame is kept only while it has counts left to try.
        if (scratch_.Stack.size() >= kMaxFrames) RaiseRegExprError(1014, 0);
        const int found = NextRepeatCount(f);
        if (found < 0) {
          ok = false;
          break;
        }
        CountBacktrack();
        pos = f.Pos + found;
        node = after;
        if (f.Count >= f.Min) scratch_.Stack.push_back(f);
        continue;
      }
      default:
        if (op > kGroupOpen && op <= kGroupOpen + kMaxGroups) {
          scratch_.Trail.push_back({static_cast<int16_t>(op - kGroupOpen), false, pos});
          break;
        }
        if (op > kGroupClose && op <= kGroupClose + kMaxGroups) {
          scratch_.Trail.push_back({static_cast<int16_t>(op - kGroupClose), true, pos});
          break;
        }
        RaiseRegExprError(1001, 0);
    }
    if (ok) {
      node = program_.Next(node);
      continue;
    }

    // Backtrack to the latest choice that has something left to try.
    for (;;) {
      if (scratch_.Stack.empty()) return false;
      Frame& f = scratch_.Stack.back();
      if (f.Kind == FrameKind::kFailMark) {
        uint64_t key = f.MemoKey;
        scratch_.Stack.pop_back();
        RememberFailure(key);
        continue;
      }
      if (f.Kind == FrameKind::kRunMark) {
        // The positions tried now join the known ones when the run ends at
        // the same place; a run ending elsewhere starts a new range.
        RunFailure& known = scratch_.Runs[static_cast<size_t>(f.Node)];
        if (known.End == f.Count) {
          known.Low = std::min(known.Low, f.Pos);
        } else {
          known = RunFailure{f.Count, f.Pos};
        }
        scratch_.Stack.pop_back();
        continue;
      }
      Restore(f);
      if (f.Kind == FrameKind::kAlternative) {
        CountBacktrack();
        int alt = f.Node;
        pos = f.Pos;
        int next = program_.Next(alt);
        if (next >= 0 && Op(next) == kAlternative)
          f.Node = next;
        else
          scratch_.Stack.pop_back();
        node = alt + kNodeHeader;
        break;
      }
      // kRepeat: the greedy count goes down one character at a time.
      const int found = NextRepeatCount(f);
      if (found < 0) {
        scratch_.Stack.pop_back();
        continue;
      }
      CountBacktrack();
      pos = f.Pos + found;
      node = program_.Next(f.Node);
      if (f.Count < f.Min) scratch_.Stack.pop_back();
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
  if (!program.Required.empty() && input.find(program.Required, start) == std::string_view::npos)
    return false;
  Matcher m(program, input, scratch);
  if (program.Anchored) return m.Attempt(s, slots);
  if (program.HasFirstSet) {
    // A match consumes a first character from the set, so no other position
    // (and not the end) can start one.
    const unsigned char* text = reinterpret_cast<const unsigned char*>(input.data());
    for (int p = s; p < n; ++p) {
      if (program.FirstSet[text[p]] && m.Attempt(p, slots)) return true;
    }
    slots.Clear();
    return false;
  }
  if (program.FirstChar != 0) {
    for (size_t p = input.find(static_cast<char>(program.FirstChar), start);
         p != std::string_view::npos; p = input.find(static_cast<char>(program.FirstChar), p + 1)) {
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
