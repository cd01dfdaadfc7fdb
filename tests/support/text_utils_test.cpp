// Text helpers: replacing, words, fields, trimming, padding and lines.
#include "support/text_utils.h"

#include <gtest/gtest.h>

namespace zu {
namespace {

TEST(TextUtils, ReplaceAllText) {
  EXPECT_EQ(ReplaceAllText("a.b.c", ".", ""), "abc");
  EXPECT_EQ(ReplaceAllText("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAllText("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAllText("abab", "ab", "abab"), "abababab");  // inserted text not searched
  EXPECT_EQ(ReplaceAllText("Abc", "a", "x"), "Abc");            // case-sensitive
  EXPECT_EQ(ReplaceAllText(std::string("a\0b", 3), std::string("\0", 1), "-"), "a-b");
}

TEST(TextUtils, WordStartAndWordAt) {
  CharSet space = MakeCharSet(" ");
  EXPECT_EQ(WordAt(1, "  a b", space), "a");
  EXPECT_EQ(WordStart(1, "  a b", space), 3u);
  EXPECT_EQ(WordAt(2, "  a  bc ", space), "bc");
  EXPECT_EQ(WordAt(3, "a b", space), "");
  EXPECT_EQ(WordStart(0, "a b", space), 0u);
  EXPECT_EQ(WordStart(-1, "a b", space), 0u);
  EXPECT_EQ(WordAt(1, "", space), "");
  EXPECT_EQ(WordAt(2, "x;y,z", MakeCharSet(";,")), "y");
}

TEST(TextUtils, FieldAtKeepsLeadingEmptyField) {
  EXPECT_EQ(FieldAt(1, " a b", " "), "");
  EXPECT_EQ(FieldAt(2, " a b", " "), "a");
  EXPECT_EQ(FieldAt(1, ",a,,b", ","), "");
  EXPECT_EQ(FieldAt(2, ",a,,b", ","), "a");
  EXPECT_EQ(FieldAt(3, ",a,,b", ","), "b");
  EXPECT_EQ(FieldAt(4, ",a,,b", ","), "");
  EXPECT_EQ(FieldAt(0, "a,b", ","), "");
  EXPECT_EQ(FieldAt(1, "a,b", ""), "a,b");
  EXPECT_EQ(FieldAt(2, "a;b,c", ",;"), "b");
  // A field after a trailing run is empty; runs of a set count once.
  EXPECT_EQ(FieldAt(2, "a,,", ","), "");
  EXPECT_EQ(FieldAt(3, "a,;b;,c", ",;"), "c");
  EXPECT_EQ(FieldAt(2, std::string("a\0b c", 5), " "), "c");
  EXPECT_EQ(FieldView(3, "x y z w", " "), "z");
  EXPECT_EQ(FieldView(2, std::string_view(), ","), "");
}

TEST(TextUtils, TrimRemovesCodesUpTo32) {
  EXPECT_EQ(Trim(std::string("\0\t x y \r\n", 9)), "x y");
  EXPECT_EQ(TrimLeft("  x "), "x ");
  EXPECT_EQ(TrimRight("  x "), "  x");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(TrimView(" \xA0 "), "\xA0");  // above 127 is no blank
}

TEST(TextUtils, SmallHelpers) {
  EXPECT_EQ(CharString('x', -2), "");
  EXPECT_EQ(CountChar("a;b;;c", ';'), 3);
  EXPECT_EQ(PadRight("ab", 4, '.'), "ab..");
  EXPECT_EQ(PadLeft("ab", 4, '0'), "00ab");
  EXPECT_EQ(PadLeft("abcde", 4, '0'), "abcde");
  EXPECT_EQ(PadRight("ab", -1, '.'), "ab");
}

TEST(TextUtils, AsciiCaseAndLines) {
  EXPECT_EQ(UpperAscii("abz{\xE4}"), "ABZ{\xE4}");
  EXPECT_TRUE(SameTextAscii("Print", "PRINT"));
  EXPECT_FALSE(SameTextAscii("Print", "PRIN"));
  EXPECT_FALSE(SameTextAscii("\xE4", "\xC4"));
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd\r\n"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SplitLines("").empty());
}

}  // namespace
}  // namespace zu
