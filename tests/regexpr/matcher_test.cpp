// Matcher tests through TRegExpr: anchors and the end-position rule, classes,
// case folding, repetitions, alternatives, group captures, the search
// hints, execution errors, and patterns that would exhaust a recursive
// matcher or loop forever.
#include <gtest/gtest.h>

#include <string>

#include "regexpr/regexpr.h"

namespace zu {
namespace {

bool Matches(std::string_view expression, std::string_view text) {
  TRegExpr re;
  re.SetExpression(expression);
  return re.Exec(text);
}

// "start,length" of slot n after matching, or "none".
std::string Slot(std::string_view expression, std::string_view text, int n) {
  TRegExpr re;
  re.SetExpression(expression);
  if (!re.Exec(text)) return "none";
  return std::to_string(re.MatchStart(n)) + "," + std::to_string(re.MatchLength(n));
}

#define EXPECT_EXEC_ERROR(statement, code, message) \
  do {                                              \
    try {                                           \
      statement;                                    \
      ADD_FAILURE() << "no error: " #statement;     \
    } catch (const ERegExpr& e_) {                  \
      EXPECT_EQ(e_.ErrorCode, code);                \
      EXPECT_EQ(std::string(e_.what()), message);   \
    }                                               \
  } while (0)

TEST(Matcher, AnchorsAndTheEndPosition) {
  EXPECT_TRUE(Matches("b+", "abbbc"));
  EXPECT_FALSE(Matches("^b", "abc"));
  EXPECT_TRUE(Matches("c$", "abc"));
  // The position after the last character is tried only when the search
  // starts there.
  EXPECT_FALSE(Matches("$", "abc"));
  EXPECT_TRUE(Matches("$", ""));
  EXPECT_TRUE(Matches("^$", ""));
  EXPECT_FALSE(Matches("^$", "\n"));
  TRegExpr re;
  re.SetExpression("$");
  re.Exec("abc");
  EXPECT_TRUE(re.ExecPos(4));
  EXPECT_EQ(re.MatchStart(0), 4);
  EXPECT_EQ(re.MatchLength(0), 0);
  EXPECT_FALSE(re.ExecPos(5));
  re.SetExpression("^a");
  re.Exec("aa");
  EXPECT_FALSE(re.ExecPos(2));  // anchored: only the input start
}

TEST(Matcher, DotClassesAndCase) {
  EXPECT_FALSE(Matches(".", ""));
  EXPECT_TRUE(Matches("a.b", "a\nb"));
  EXPECT_FALSE(Matches("(?-s)a.b", "a\nb"));
  EXPECT_TRUE(Matches("(?-s)a.b", "a\rb"));
  EXPECT_FALSE(Matches("ABC", "xabcx"));
  EXPECT_TRUE(Matches("(?i)ABC", "xabcx"));
  EXPECT_TRUE(Matches("(?i)abc", "ABC"));
  EXPECT_TRUE(Matches("((?i)a)b", "Ab"));
  EXPECT_FALSE(Matches("((?i)a)b", "AB"));
  EXPECT_TRUE(Matches("(?i)[a-c]+$", "xAbC"));
  EXPECT_FALSE(Matches("(?i)[^a-c]", "AbC"));
  EXPECT_TRUE(Matches("(?i)x*Q", "XXq"));
  EXPECT_FALSE(Matches("\\w+", "123"));
  EXPECT_TRUE(Matches("^\\w+$", "ab_Z"));
  EXPECT_TRUE(Matches("^\\d\\D\\s\\S\\W$", "1a\tb-"));
  EXPECT_FALSE(Matches("\\s", "a\vb"));  // vertical tab is no space here
  EXPECT_TRUE(Matches("[\\s]", "s"));
  EXPECT_FALSE(Matches("[\\w]", "5"));
  EXPECT_TRUE(Matches("\\x41\\t", "A\t"));
  EXPECT_FALSE(Matches("\\x00", std::string_view("a\0", 2)));
  EXPECT_TRUE(Matches("[^\\x00]", "a"));
  EXPECT_TRUE(Matches("a{x}", "a{x}"));
  EXPECT_TRUE(Matches("[\xE0-\xFF]", "\xB8"));  // the Cyrillic extra letter
  // Input after a 0 byte is not seen.
  EXPECT_FALSE(Matches("b", std::string_view("a\0b", 3)));
}

TEST(Matcher, Repetitions) {
  EXPECT_EQ(Slot("a{2,3}", "aaaa", 0), "1,3");
  EXPECT_EQ(Slot("a{2,}", std::string(300, 'a'), 0), "1,255");
  EXPECT_FALSE(Matches("a{3}", "aa"));
  EXPECT_EQ(Slot("a{0}b", "ab", 0), "2,1");
  EXPECT_EQ(Slot("abc*", "abccc", 0), "1,5");
  EXPECT_EQ(Slot("abc{2}", "abcabcc", 0), "4,4");
  EXPECT_EQ(Slot("x*", "abc", 0), "1,0");
  EXPECT_EQ(Slot("a*ab", "aaab", 0), "1,4");
  EXPECT_EQ(Slot(".*c", "abcbc", 0), "1,5");
  EXPECT_EQ(Slot("[ab]+b", "aabab", 0), "1,5");
  EXPECT_EQ(Slot("\\d+x", "12 345x", 0), "4,4");
  EXPECT_EQ(Slot("(ab)+c", "xababc", 0), "2,5");
  EXPECT_EQ(Slot("(ab)*", "ababa", 0), "1,4");
  EXPECT_EQ(Slot("a?b", "b", 0), "1,1");
  EXPECT_EQ(Slot("(a|ab)c", "abc", 0), "1,3");
  EXPECT_EQ(Slot("cat|dog", "hotdog", 0), "4,3");
  EXPECT_EQ(Slot("a|", "b", 0), "1,0");
}

TEST(Matcher, GroupCaptures) {
  EXPECT_EQ(Slot("(a)*", "aa", 1), "2,1");  // the last iteration
  EXPECT_EQ(Slot("(a)(b)?c", "ac", 2), "-1,-1");
  EXPECT_EQ(Slot("(a|(b))+", "ab", 2), "2,1");
  EXPECT_EQ(Slot("x(a|(b))+", "xba", 2), "2,1");
  // Captures of an abandoned alternative do not survive.
  EXPECT_EQ(Slot("(a)b|ac", "ac", 1), "-1,-1");
  EXPECT_EQ(Slot("((a)b)c", "zabc", 1), "2,2");
  EXPECT_EQ(Slot("((a)b)c", "zabc", 2), "2,1");
  TRegExpr re;
  re.SetExpression("(\\w+)@(\\w+)");
  ASSERT_TRUE(re.Exec("mail: joe@host now"));
  EXPECT_EQ(re.Match(0), "joe@host");
  EXPECT_EQ(re.Match(1), "joe");
  EXPECT_EQ(re.Match(2), "host");
  EXPECT_EQ(re.MatchStart(3), -1);
  EXPECT_EQ(re.MatchStart(10), -1);
  EXPECT_EQ(re.MatchLength(-1), -1);
  EXPECT_FALSE(re.Exec("nothing"));
  EXPECT_EQ(re.MatchStart(0), -1);  // a failed search leaves the slots empty
}

TEST(Matcher, ExecNextWalksTheMatches) {
  TRegExpr re;
  re.SetExpression("\\d+");
  ASSERT_TRUE(re.Exec("a1b22c333"));
  EXPECT_EQ(re.Match(0), "1");
  ASSERT_TRUE(re.ExecNext());
  EXPECT_EQ(re.Match(0), "22");
  ASSERT_TRUE(re.ExecNext());
  EXPECT_EQ(re.Match(0), "333");
  EXPECT_FALSE(re.ExecNext());
  EXPECT_EXEC_ERROR(re.ExecNext(), 1007, "TRegExpr(exec): ExecNext Without Exec[Pos]");
  // After an empty match the next search starts one further on.
  re.SetExpression("x*");
  ASSERT_TRUE(re.Exec("ab"));
  ASSERT_TRUE(re.ExecNext());
  EXPECT_EQ(re.MatchStart(0), 2);
}

TEST(Matcher, ExecutionErrors) {
  TRegExpr re;
  EXPECT_EXEC_ERROR(re.Exec("x"), 1003, "TRegExpr(exec): Not Assigned Expression Property");
  re.SetExpression("");
  EXPECT_EXEC_ERROR(re.Exec("x"), 1003, "TRegExpr(exec): Not Assigned Expression Property");
  EXPECT_EQ(re.LastError(), 1003);
  TRegExpr fresh;
  fresh.SetExpression("a");
  EXPECT_EXEC_ERROR(fresh.ExecPos(1), 1005, "TRegExpr(exec): No Inpit String Specified");
  re.SetExpression("a");
  re.Exec("a");
  EXPECT_EXEC_ERROR(re.ExecPos(0), 1006, "TRegExpr(exec): Offset Must Be Greater Then 0");
  EXPECT_FALSE(re.ExecPos(3));  // beyond the end: no match, no error
  // A failed compilation leaves no program behind.
  EXPECT_THROW(re.SetExpression("("), ERegExpr);
  EXPECT_EXEC_ERROR(re.Exec("a"), 1003, "TRegExpr(exec): Not Assigned Expression Property");
}

TEST(Matcher, HintsDoNotChangeResults) {
  // Required literal present but the match must still line up.
  EXPECT_EQ(Slot("a*bc", "bxabc", 0), "3,3");
  EXPECT_FALSE(Matches("a*bc", "aaab"));
  EXPECT_EQ(Slot("ab+", "aaxabb", 0), "4,3");
  EXPECT_TRUE(Matches("^ab", "ab"));
  TRegExpr re;
  re.SetExpression("ab");
  re.Exec("abxab");
  ASSERT_TRUE(re.ExecPos(2));
  EXPECT_EQ(re.MatchStart(0), 4);
}

TEST(Matcher, EmptyIterationsEndTheRepetition) {
  // Braces with minimum 0 give width, so these compile; an iteration that
  // consumes nothing must not loop forever.
  EXPECT_EQ(Slot("(a{0,2})*b", "aaaab", 0), "1,5");
  EXPECT_EQ(Slot("(a{0,2})*", "xyz", 0), "1,0");
  EXPECT_EQ(Slot("(a{0,2})+", "b", 0), "1,0");
  EXPECT_EQ(Slot("(a{0,1}b{0,1})*c", "ababbac", 0), "1,7");
  EXPECT_THROW(Slot("((x{0,3})*)*y", "xxxxy", 0), ERegExpr);  // (x..)* has no width
  // The empty pass is taken, not refused: the repetition never backtracks
  // into a later alternative to avoid it, but the rest of the match may.
  TRegExpr re;
  re.SetExpression("(x{0,2}|ab)*");
  EXPECT_EQ(re.ReplaceAll("abab", "<>"), "<>a<>b<>a<>b<>");
  EXPECT_EQ(Slot("(x{0,2}|ab)*c", "ababc", 0), "1,5");
  EXPECT_EQ(Slot("(x{0,2}|ab)+", "abab", 0), "1,0");
}

TEST(Matcher, PathologicalPatternsFinish) {
  std::string as(40, 'a');
  // Exponential for a plain backtracker; failures are remembered instead.
  EXPECT_FALSE(Matches("(a|aa)*(c)b", as + "cxb"));
  EXPECT_FALSE(Matches("^(a|aa)*$", as + "c"));
  EXPECT_FALSE(Matches("(a|aa)*c$", as + "cx"));
  EXPECT_FALSE(Matches("(a{0,3}a{0,3})*b", as + "c"));
  EXPECT_TRUE(Matches("(a|aa)*b", as + "b"));
  // A megabyte of input through repeated groups: no deep recursion.
  std::string big(1 << 20, 'a');
  TRegExpr re;
  re.SetExpression("(a)*");
  ASSERT_TRUE(re.Exec(big));
  EXPECT_EQ(re.MatchLength(0), 1 << 20);
  EXPECT_EQ(re.MatchStart(1), 1 << 20);
  re.SetExpression("(a|b)+$");
  EXPECT_TRUE(re.Exec(big));
  re.SetExpression("a*b");
  EXPECT_FALSE(re.Exec(big));  // rejected by the required literal at once
  re.SetExpression("[ab]*c");
  EXPECT_FALSE(re.Exec(big + "b"));
  re.SetExpression("(.)*x");
  EXPECT_FALSE(re.Exec(big));
  // Choice nodes times input far beyond what a table of every pair would
  // take: the memory follows the pairs visited, and the search still ends.
  std::string runs;
  while (runs.size() < 100000) runs += std::string(30, 'a') + "X";
  std::string manyChoices = "(a|aa)*[cd]";
  for (int k = 0; k < 1400; ++k) manyChoices += "x?";
  re.SetExpression(manyChoices);
  EXPECT_FALSE(re.Exec(runs));
}

TEST(Matcher, FirstSetSkipsOnlyImpossibleStarts) {
  EXPECT_EQ(Slot("(cat|dog)s?[0-9]+", "hotdogs12 cat9", 0), "4,6");
  EXPECT_EQ(Slot("(cat|dog)s?[0-9]+", "hotdogs12 cat9", 1), "4,3");
  EXPECT_EQ(Slot("a?bc", "xxbc", 0), "3,2");
  EXPECT_EQ(Slot("(?i)(cat|dog)", "xDOG", 0), "2,3");
  EXPECT_FALSE(Matches("(cat|dog)", "cad dot"));
  TRegExpr re;
  re.SetExpression("(cat|dog)s?[0-9]+");
  EXPECT_EQ(re.ReplaceAll("dog1 cats22 dogma cat", "<pet>"), "<pet> <pet> dogma cat");
}

TEST(Matcher, RepetitionsAfterRepetitionsStayFast) {
  // ".*" after ".*" before a literal that is not there: each entry of the
  // second repetition used to rescan the rest of the line, quadratic in the
  // line per start and cubic over the matches of a replacement (a fuzzer
  // input of 1,264 bytes took 12 s). Known failed continuations are skipped.
  std::string line(200000, 'a');
  TRegExpr re;
  re.SetExpression(".*q?.*xyz|");
  ASSERT_TRUE(re.Exec(line));
  EXPECT_EQ(re.MatchLength(0), 0);
  EXPECT_EQ(re.ReplaceAll(std::string(1500, 'b'), "-").size(), 3001u);
  // The same answers as before where a continuation exists.
  EXPECT_EQ(Slot(".*a.*b", "xaybzb", 0), "1,6");
  EXPECT_EQ(Slot("a.*b.*c|z", "abcabz", 0), "1,3");
  EXPECT_EQ(Slot("(.+)x.+y", "axbycxdy", 1), "1,5");
}

}  // namespace
}  // namespace zu
