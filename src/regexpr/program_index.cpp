// What is derived from a compiled program once, before any search: the
// search hints, and the matcher's helpers (node indexes, loop exits, literal
// lengths, set bitmaps, and the set of characters a match can start with).
#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "regexpr/program.h"

namespace zu::regexpr_internal {
namespace {

constexpr int kNoNode = -1;

// The characters a match starting at some node can begin with. Any is set
// when the rest of the program may match without consuming a character
// there, or passes something this analysis does not follow (a LoopBack):
// then every position must be tried.
struct Starts {
  std::bitset<256> Chars;
  bool Any = false;
};

// Every link the analysis follows (a node's next, an alternative's operand,
// a repetition's continuation) leads to a higher offset; only LoopBack leads
// back, and it counts as Any. So the nodes are settled from the last to the
// first, each from results already known, without recursion.
class FirstSetAnalysis {
 public:
  explicit FirstSetAnalysis(const TRegExprProgram& p) : p_(p), result_(p.Code.size(), AnyStart()) {
    std::vector<int> nodes;
    for (int at = 1; at < static_cast<int>(p.Code.size());) {
      int size = NodeSize(p.Code, at);
      if (size == 0) break;
      nodes.push_back(at);
      at += size;
    }
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) result_[*it] = Compute(*it);
  }

  // The characters a match that starts at `node` can begin with.
  Starts Of(int node) const {
    if (node <= 0 || node >= static_cast<int>(p_.Code.size())) return AnyStart();
    return result_[node];
  }

 private:
  static Starts AnyStart() {
    Starts s;
    s.Any = true;
    return s;
  }
  static Starts Union(Starts a, const Starts& b) {
    a.Chars |= b.Chars;
    a.Any = a.Any || b.Any;
    return a;
  }

  // The characters the simple node at `node` matches.
  std::bitset<256> SimpleChars(int node) const {
    std::bitset<256> chars;
    uint8_t op = p_.Op(node);
    unsigned char first = static_cast<unsigned char>(p_.Code[node + kNodeHeader]);
    for (int c = 1; c < 256; ++c) {
      bool in = false;
      switch (op) {
        case kAnyChar:
          in = true;
          break;
        case kLiteral:
          in = c == first;
          break;
        case kLiteralCI:
          in = first != 0 && p_.Upper[c] == p_.Upper[first];
          break;
        case kCharIn:
        case kCharNotIn:
        case kCharInCI:
        case kCharNotInCI:
          in = p_.Sets[p_.SetIndex[node]].test(c);
          break;
        case kDigit:
          in = IsDigitChar(static_cast<unsigned char>(c));
          break;
        case kNonDigit:
          in = !IsDigitChar(static_cast<unsigned char>(c));
          break;
        case kWordChar:
          in = IsWordChar(static_cast<unsigned char>(c));
          break;
        case kNonWordChar:
          in = !IsWordChar(static_cast<unsigned char>(c));
          break;
        case kSpace:
          in = IsSpaceChar(static_cast<unsigned char>(c));
          break;
        case kNonSpace:
          in = !IsSpaceChar(static_cast<unsigned char>(c));
          break;
        default:
          break;
      }
      if (in) chars.set(c);
    }
    return chars;
  }

  Starts Compute(int node) {
    uint8_t op = p_.Op(node);
    switch (op) {
      case kAtStart:
      case kNothing:
      case kComment:
        return Of(p_.Next(node));
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
      case kLiteral:
      case kLiteralCI: {
        Starts s;
        s.Chars = SimpleChars(node);
        return s;
      }
      case kAlternative: {
        int next = p_.Next(node);
        if (next == kNoNode || p_.Op(next) != kAlternative) return Of(node + kNodeHeader);
        // This alternative's chain, then the rest of the run (settled already).
        return Union(Of(node + kNodeHeader), Of(next));
      }
      case kRepeatStar:
      case kRepeatPlus:
      case kRepeatBraces: {
        int simple = node + kNodeHeader + (op == kRepeatBraces ? 2 : 0);
        int min = op == kRepeatStar ? 0 : 1;
        if (op == kRepeatBraces) min = static_cast<unsigned char>(p_.Code[node + kNodeHeader]);
        int max =
            op == kRepeatBraces ? static_cast<unsigned char>(p_.Code[node + kNodeHeader + 1]) : 1;
        Starts s;
        if (max > 0) s.Chars = SimpleChars(simple);
        if (min == 0) s = Union(s, Of(p_.Next(node)));
        return s;
      }
      default:
        if ((op > kGroupOpen && op <= kGroupOpen + kMaxGroups) ||
            (op > kGroupClose && op <= kGroupClose + kMaxGroups))
          return Of(p_.Next(node));
        return AnyStart();  // End, AtEnd, LoopBack and anything unknown
    }
  }

  const TRegExprProgram& p_;
  std::vector<Starts> result_;  // by node offset; settled from the last node back
};

// The node that leaves the loop of the LoopBack at `loop`. X* is compiled as
// A1: Alternative(X ... LoopBack -> A1), A2: Alternative(Nothing), and X+ as
// X, A1: Alternative(LoopBack -> X), A2: Alternative(Nothing); either way
// the exit is A2's Nothing. -1 when the shape is not one of these.
int LoopExitOf(const TRegExprProgram& p, int loop) {
  int a1 = loop - kNodeHeader;
  if (a1 < 1 || p.Op(a1) != kAlternative) a1 = p.Next(loop);  // the X* form
  if (a1 == kNoNode || p.Op(a1) != kAlternative) return kNoNode;
  int a2 = p.Next(a1);
  if (a2 == kNoNode || p.Op(a2) != kAlternative || p.Op(a2 + kNodeHeader) != kNothing)
    return kNoNode;
  return a2 + kNodeHeader;
}

}  // namespace

void DeriveSearchHints(TRegExprProgram& p, bool startsWithStar) {
  const int first = 1;
  int after = p.Next(first);
  if (after == kNoNode || p.Op(after) != kEnd) return;  // more than one alternative
  int scan = first + kNodeHeader;
  if (p.Op(scan) == kLiteral)
    p.FirstChar = static_cast<unsigned char>(p.Code[scan + kNodeHeader]);
  else if (p.Op(scan) == kAtStart)
    p.Anchored = true;
  if (startsWithStar) {
    const char* longest = nullptr;
    size_t length = 0;
    for (int s = scan; s != kNoNode; s = p.Next(s)) {
      if (p.Op(s) != kLiteral) continue;
      const char* text = p.Code.data() + s + kNodeHeader;
      size_t n = std::strlen(text);
      if (n >= length) {
        longest = text;
        length = n;
      }
    }
    if (longest && length > 0) p.Required.assign(longest, length);
  }
}

void BuildMatcherIndexes(TRegExprProgram& p) {
  for (int c = 0; c < 256; ++c) p.Upper[c] = platform::UpperChar(static_cast<unsigned char>(c));
  p.NodeIndex.assign(p.Code.size(), -1);
  p.SetIndex.assign(p.Code.size(), -1);
  p.LoopExit.assign(p.Code.size(), -1);
  p.LiteralLength.assign(p.Code.size(), 0);
  for (int at = 1; at < static_cast<int>(p.Code.size());) {
    uint8_t op = p.Op(at);
    if (op == kAlternative || op == kRepeatStar || op == kRepeatPlus || op == kRepeatBraces)
      p.NodeIndex[at] = p.ChoiceCount++;
    else if (op == kLoopBack)
      p.NodeIndex[at] = p.LoopCount++;
    if (op == kLiteral || op == kLiteralCI)
      p.LiteralLength[at] = static_cast<int32_t>(std::strlen(p.Code.data() + at + kNodeHeader));
    if (op == kCharIn || op == kCharNotIn || op == kCharInCI || op == kCharNotInCI) {
      std::bitset<256> members;
      for (const char* m = p.Code.data() + at + kNodeHeader; *m; ++m)
        members.set(static_cast<unsigned char>(*m));
      if (op == kCharInCI || op == kCharNotInCI) {
        std::bitset<256> upperMembers;
        for (int c = 0; c < 256; ++c)
          if (members.test(c)) upperMembers.set(p.Upper[c]);
        members.reset();
        for (int c = 1; c < 256; ++c)
          if (upperMembers.test(p.Upper[c])) members.set(c);
      }
      if (op == kCharNotIn || op == kCharNotInCI) {
        members.flip();
        members.reset(0);
      }
      p.SetIndex[at] = static_cast<int32_t>(p.Sets.size());
      p.Sets.push_back(members);
    }
    int size = NodeSize(p.Code, at);
    if (size == 0) break;
    at += size;
  }
  for (int at = 1; at < static_cast<int>(p.Code.size()); at += NodeSize(p.Code, at)) {
    if (p.Op(at) == kLoopBack) p.LoopExit[at] = LoopExitOf(p, at);
    if (NodeSize(p.Code, at) == 0) break;
  }
  // The first-character set serves where the hints do not: an anchored
  // program is tried once, a first character is found faster by itself.
  if (p.Anchored || p.FirstChar != 0) return;
  Starts starts = FirstSetAnalysis(p).Of(1);
  if (!starts.Any && starts.Chars.count() < 255) {
    p.FirstSet = starts.Chars;
    p.HasFirstSet = true;
  }
}

}  // namespace zu::regexpr_internal
