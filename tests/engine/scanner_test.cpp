// The loader's character scan: comments, string literals, statement ends,
// and the failures it locates at the scan position.
#include <gtest/gtest.h>

#include "engine/statement_dump.h"
#include "engine_test_util.h"

namespace zu {
namespace {

std::string Dump(const std::string& source) { return testing::ParseDump(source); }

TEST(Scanner, CommentsOfEveryKind) {
  EXPECT_EQ("0 Expr [end 1] - 1:9 a = 1\n1 Expr [end 2] - 2:1 b = 2\n",
            Dump("/* x; */a = 1; // c;\nb = 2; @ d;"));
  // "/*/" is a whole comment; a line comment right after a block comment
  // is recognised, but a second block comment is statement text.
  EXPECT_EQ("0 Expr [end 1] - 1:4 x\n", Dump("/*/x; /**/// y;"));
  EXPECT_EQ("0 Expr [end 1] - 1:5 /*b*/ x\n", Dump("/**//*b*/ x;"));
}

TEST(Scanner, AtSignAtLineEndHidesTheNextLine) {
  EXPECT_EQ("0 Expr [end 1] - 3:1 c = 3\n", Dump("@\nb = 2;\nc = 3;"));
  EXPECT_EQ("0 Expr [end 1] - 2:1 b = 2\n", Dump("//\nb = 2;"));
  EXPECT_EQ("0 Expr [end 1] - 2:1 a\n", Dump("a@echo off;\n;"));
}

TEST(Scanner, StringLiteralsKeepTerminatorsAndEscapes) {
  EXPECT_EQ("0 Write [end 1] - 1:1 \"a;b{}\" + 'c\\'d;'\n", Dump("Print \"a;b{}\" + 'c\\'d;';"));
  EXPECT_EQ("0 Expr [end 1] - 1:1 x = \"\\\\\"\n", Dump("x = \"\\\\\";"));
  // A comment straight after a closing quote is statement text.
  EXPECT_EQ("0 Expr [end 1] - 1:1 x = \"a\"//b\n", Dump("x = \"a\"//b;"));
  // So is a quote: the third quote of "a""b" opens a literal that runs into
  // the line end.
  EXPECT_EQ(testing::RunError("x = \"a\"\"b\";\ny = 1;"), "1:12 Unexpected end of line");
}

TEST(Scanner, LineEndsAndTabsBecomeBlanksAndUnterminatedTextIsDropped) {
  EXPECT_EQ("0 Expr [end 1] - 1:1 a =   1\n", Dump("a =\t\n1;\nb = 2"));
  EXPECT_EQ("", Dump("no terminator at all"));
  EXPECT_EQ("0 If [end 1] - 1:2 (1)\n", Dump("If (1) {"));
  // A column counts characters from the blank up: tabs count nothing.
  EXPECT_EQ("0 Expr [end 1] - 2:2 b = 2\n", Dump("\n\t\t b = 2;"));
}

TEST(Scanner, FailuresAreLocatedWhereTheScanStands) {
  EXPECT_EQ(testing::RunError("a = 1;\n  ;"), "2:3 Unexpected end of statement");
  EXPECT_EQ(testing::RunError("{"), "1:1 Unexpected end of statement");
}

}  // namespace
}  // namespace zu
