// TRegExpr substitution and the one-shot operations with their cache: the
// one-shot results and errors must equal a fresh object's, also over a few
// thousand random patterns and inputs, none of which may crash.
#include "regexpr/regexpr.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace zu {
namespace {

std::string Replace(std::string_view expression, std::string_view text,
                    std::string_view replacement) {
  TRegExpr re;
  re.SetExpression(expression);
  return re.ReplaceAll(text, replacement);
}

// The result of an operation, or "error CODE: MESSAGE".
template <class F>
std::string Outcome(F operation) {
  try {
    return operation();
  } catch (const ERegExpr& e) {
    return "error " + std::to_string(e.ErrorCode) + ": " + e.what();
  }
}
std::string FreshMatch(std::string_view pattern, std::string_view text) {
  return Outcome([&]() -> std::string {
    TRegExpr re;
    re.SetExpression(pattern);
    return re.Exec(text) ? "true" : "false";
  });
}
std::string FreshReplace(std::string_view pattern, std::string_view text, std::string_view with) {
  return Outcome([&] { return Replace(pattern, text, with); });
}
// The cache the one-shot operations share across the tests of this file.
TRegExprCache& OneShotCache() {
  static TRegExprCache cache;
  return cache;
}
std::string OneShotMatch(std::string_view pattern, std::string_view text) {
  return Outcome([&]() -> std::string {
    return RegExprMatch(OneShotCache(), pattern, text) ? "true" : "false";
  });
}
std::string OneShotReplace(std::string_view pattern, std::string_view text, std::string_view with) {
  return Outcome([&] { return RegExprReplace(OneShotCache(), pattern, text, with); });
}

TEST(TRegExpr, ReplaceAllInsertsTheTextLiterally) {
  EXPECT_EQ(Replace("a", "banana", "o"), "bonono");
  EXPECT_EQ(Replace("(a)", "a", "$1"), "$1");
  EXPECT_EQ(Replace("x*", "abc", "-"), "-a-b-c-");
  EXPECT_EQ(Replace("z", "abc", "-"), "abc");
  EXPECT_EQ(Replace("a*", "baaac", "-"), "-b--c-");
  EXPECT_EQ(Replace("\\s+", "a  b\t\tc", " "), "a b c");
  EXPECT_EQ(Replace("^a", "aaa", ""), "aa");
  EXPECT_EQ(Replace("$", "ab", "!"), "ab");
  EXPECT_EQ(Replace("$", "", "!"), "!");
  EXPECT_EQ(Replace("b", "", "x"), "");
  // What follows a 0 byte is not searched but kept.
  EXPECT_EQ(Replace("b", std::string_view("ab\0b", 4), "x"), std::string("ax\0b", 4));
}

TEST(TRegExpr, OneShotOperationsEqualAFreshObject) {
  const char* patterns[] = {"b+", "^b", "c$", "$", "x*", "(a)", "", "(", "a{3,2}", "(?i)B"};
  const char* texts[] = {"abbbc", "abc", "", "banana", "ABC"};
  for (int round = 0; round < 2; ++round) {  // the second round runs from the cache
    for (const char* p : patterns) {
      for (const char* t : texts) {
        EXPECT_EQ(OneShotMatch(p, t), FreshMatch(p, t)) << p << " / " << t;
        EXPECT_EQ(OneShotReplace(p, t, "-"), FreshReplace(p, t, "-")) << p << " / " << t;
      }
    }
  }
  EXPECT_EQ(OneShotMatch("", "x"), "error 1003: TRegExpr(exec): Not Assigned Expression Property");
  EXPECT_EQ(OneShotReplace(std::string_view("a\0b", 3), "ab", "-"), "-b");
}

TEST(TRegExpr, CacheEvictionKeepsResults) {
  // More patterns than the cache holds, then the first ones again.
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 40; ++i) {
      std::string pattern = "a{" + std::to_string(i % 7) + "}" + std::to_string(i);
      std::string text = std::string(static_cast<size_t>(i % 7), 'a') + std::to_string(i);
      EXPECT_TRUE(RegExprMatch(OneShotCache(), pattern, text)) << pattern;
      EXPECT_EQ(RegExprReplace(OneShotCache(), pattern, text, "#"), "#") << pattern;
    }
  }
}

// Random patterns over a small alphabet of pieces, random inputs over the
// same letters: nothing may crash or hang, every error is an ERegExpr, the
// one-shot operations agree with a fresh object, and captures lie inside
// the input.
TEST(TRegExpr, RandomPatternsNeverCrash) {
  const char* pieces[] = {"a",     "b",     "c",     ".",    "*",     "+",     "?",
                          "|",     "(",     ")",     "[",    "]",     "^",     "$",
                          "\\",    "{",     "}",     ",",    "2",     "0",     "-",
                          "\\d",   "\\w",   "\\s",   "(?i)", "(?-s)", "(?#c)", "{1,3}",
                          "{0,2}", "[^ab]", "[a-c]", "\\x4", "\\x41", "\n",    "A"};
  const char letters[] = "abcAB1 \n-";
  std::mt19937 rng(20240607);
  int compiled = 0;
  int matched = 0;
  for (int i = 0; i < 4000; ++i) {
    std::string pattern;
    int n = 1 + static_cast<int>(rng() % 10);
    for (int k = 0; k < n; ++k) pattern += pieces[rng() % (sizeof(pieces) / sizeof(pieces[0]))];
    std::string text;
    int len = static_cast<int>(rng() % 24);
    for (int k = 0; k < len; ++k) text += letters[rng() % (sizeof(letters) - 1)];

    TRegExpr re;
    bool ok = true;
    try {
      re.SetExpression(pattern);
    } catch (const ERegExpr& e) {
      ok = false;
      EXPECT_GT(e.ErrorCode, 0);
      EXPECT_LT(e.ErrorCode, 1000) << pattern;
    }
    EXPECT_EQ(OneShotMatch(pattern, text), FreshMatch(pattern, text)) << pattern << " / " << text;
    EXPECT_EQ(OneShotReplace(pattern, text, "<>"), FreshReplace(pattern, text, "<>"))
        << pattern << " / " << text;
    if (!ok) continue;
    ++compiled;
    try {
      if (!re.Exec(text)) continue;
    } catch (const ERegExpr& e) {
      ADD_FAILURE() << pattern << ": " << e.what();
      continue;
    }
    ++matched;
    for (int g = 0; g <= 9; ++g) {
      if (re.MatchStart(g) < 0) continue;
      EXPECT_GE(re.MatchStart(g), 1);
      EXPECT_LE(re.MatchStart(g) - 1 + re.MatchLength(g), static_cast<int>(text.size()))
          << pattern << " / " << text;
    }
  }
  // The generator must exercise both compiled and rejected patterns.
  EXPECT_GT(compiled, 500);
  EXPECT_GT(matched, 200);
}

}  // namespace
}  // namespace zu
