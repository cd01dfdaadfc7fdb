// The wildcard matcher and its segment search, quirks included.
#include "support/wildcard.h"

#include <gtest/gtest.h>

namespace zu {
namespace {

struct Case {
  const char* name;
  const char* mask;
  bool match;
};

TEST(Wildcard, Matches) {
  const Case cases[] = {
      {"readme.txt", "*.txt", true},
      {"readme", "*.*", false},
      {"readme", "*", true},
      {"", "*", true},
      {"", "", true},
      {"a", "", false},
      {"", "a", false},
      {"abc", "a**c", true},
      {"abc", "a?c", true},
      {"ac", "a?c", false},
      {"AC", "A*AC", true},
      {"AXB", "A*B*B", false},
      {"AXBYB", "A*B*B", true},
      {"abc", "abc*", true},
      {"abcd", "abc", false},
      {"ab", "abc", false},
      {"ab", "ab*", true},
      {"x.tar.gz", "*.gz", true},
      {"x.tar.gz", "*.tar", false},
      {"x.tar.gz", "*.tar*", true},
      {"data1.csv", "data?.c?v", true},
      {"data12.csv", "data?.csv", false},
      {"abcabc", "*b*c", true},
      {"a*b", "a*b", true},
      {"aXYZb", "a*?Z*", true},
      {"ab", "a*??", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WildcardMatch(c.name, c.mask, false), c.match)
        << "name \"" << c.name << "\" mask \"" << c.mask << "\"";
  }
}

TEST(Wildcard, Case) {
  EXPECT_FALSE(WildcardMatch("README.TXT", "*.txt", false));
  EXPECT_TRUE(WildcardMatch("README.TXT", "*.txt", true));
  EXPECT_TRUE(WildcardMatch("Read.Me", "r?AD.m*", true));
  // UTF-8 bytes pass through the upper-casing unchanged.
  EXPECT_TRUE(WildcardMatch("\xC3\xA9t\xC3\xA9.txt", "\xC3\xA9*.TXT", true));
}

TEST(Wildcard, FindSegment) {
  EXPECT_EQ(FindSegment("b", "abc"), 2u);
  EXPECT_EQ(FindSegment("?c", "abc"), 2u);
  EXPECT_EQ(FindSegment("bc", "abcbc"), 2u);
  EXPECT_EQ(FindSegment("x", "abc"), 0u);
  EXPECT_EQ(FindSegment("abcd", "abc"), 0u);
  EXPECT_EQ(FindSegment("a?", "ba"), 0u);
  EXPECT_EQ(FindSegment("??", "ab"), 1u);
}

}  // namespace
}  // namespace zu
