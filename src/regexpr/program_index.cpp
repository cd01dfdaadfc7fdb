// What is derived from a compiled program once, before any search: the
// search hints, and the matcher's helpers (node indexes, loop exits and set
// bitmaps).
#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "regexpr/program.h"

namespace zu::regexpr_internal {
namespace {

constexpr int kNoNode = -1;

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
  for (int at = 1; at < static_cast<int>(p.Code.size());) {
    uint8_t op = p.Op(at);
    if (op == kAlternative || op == kRepeatStar || op == kRepeatPlus || op == kRepeatBraces)
      p.NodeIndex[at] = p.ChoiceCount++;
    else if (op == kLoopBack)
      p.NodeIndex[at] = p.LoopCount++;
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
}

}  // namespace zu::regexpr_internal
