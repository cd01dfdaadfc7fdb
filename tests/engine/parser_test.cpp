// The loader's statement records: keywords, blocks, Else/ElseIf checks, Func
// definitions and the parenthesis check, with the locations of their errors.
#include <gtest/gtest.h>

#include "engine/statement_dump.h"
#include "engine_test_util.h"

namespace zu {
namespace {

std::string Dump(const std::string& source) { return testing::ParseDump(source); }

TEST(Parser, BlocksRecordTheirEnd) {
  EXPECT_EQ(
      "0 If [end 3] - 1:2 (a)\n"
      "1 While [end 3] - 1:11 (b)\n"
      "2 Break [end 3] - 1:22 \n"
      "3 ElseIf [end 4] - 1:34 (c)\n"
      "4 Else [end 6] - 1:49 \n"
      "5 Write [end 6] - 1:55 1\n"
      "6 Expr [end 7] - 2:1 x = 1\n",
      Dump("If (a) { While (b) { break; } } elseif (c) { } ELSE { ? 1; }\nx = 1;"));
}

TEST(Parser, KeywordTextIsTrimmedAndCut) {
  EXPECT_EQ("0 Var [end 1] - 1:4 a = 1\n", Dump("VAR    a = 1   ;"));
  auto script = testing::ScriptFromText("Print \"" + std::string(20000, 'x') + "\";");
  script->Parse();
  // Cut to 9999 characters after the keyword (its blank included), then trimmed.
  EXPECT_EQ(9998u, script->Statements[0].Text.size());
}

TEST(Parser, MoreThanAMillionStatementsFailAtLoadTime) {
  std::string source;
  source.reserve(2 * kMaxStatements + 8);
  for (int32_t i = 0; i < kMaxStatements; ++i) source += "x;";
  auto script = testing::ScriptFromText(source);
  EXPECT_EQ(script->Parse(), kMaxStatements);
  script = testing::ScriptFromText(source + "\r\n y;");
  EXPECT_SCRIPT_ERROR(script->Parse(), script.get(), "Too many statements (more than 1000000)");
  int32_t line = 0, column = 0;
  script->GetStatementLocation(script->CurrentStatement, line, column);
  EXPECT_EQ(line * 1000 + column, 2002);
}

TEST(Parser, KeywordGluedToParenthesisIsAnExpression) {
  EXPECT_EQ("0 Expr [end 1] - 1:1 Print(1)\n", Dump("Print(1);"));
}

TEST(Parser, BlockAndElseMistakes) {
  EXPECT_EQ(testing::RunError("Else { }"), "1:2 Unexpected ELSE");
  EXPECT_EQ(testing::RunError("If (1) { } x = 1; Else { }"), "1:20 Unexpected ELSE");
}

TEST(Parser, ClosingBeforeOpeningParenthesisPassesTheCount) {
  EXPECT_EQ("0 Expr [end 1] - 1:1 x = )(\n", Dump("x = )(;"));
}

TEST(Parser, FuncDefinitionsKeepFilePositions) {
  auto script =
      testing::ScriptFromText("a = 1;\nFunc  Add ( x , y ) {\n  result = x + y;\n}\nb = 2;");
  script->Parse();
  EXPECT_EQ("0 Expr [end 1] - 1:1 a = 1\n1 Expr [end 2] - 5:1 b = 2\n", DumpStatements(*script));
  auto* f = script->FindFunc("ADD");
  ASSERT_NE(nullptr, f);
  EXPECT_EQ((std::vector<std::string>{"x", "y"}), f->ParamNames);
  EXPECT_EQ("0 Expr [end 1] - 3:3 result = x + y\n", DumpStatements(*f));
  auto none = testing::ScriptFromText("Func F() { }");
  none->Parse();
  EXPECT_TRUE(none->FindFunc("f")->ParamNames.empty());
  EXPECT_EQ(0, none->FindFunc("f")->StatementCount);
}

TEST(Parser, FuncMistakes) {
  // The message holds a NUL where the header ended; what() stops there.
  EXPECT_EQ(testing::RunError("Func F { }"), "1:1 \"(\" expected, but ");
  EXPECT_EQ(testing::RunError("Func F(a { }"), "1:1 \")\" expected, but ");
}

TEST(Parser, BracesInsideFuncBodyCountEvenInStrings) {
  // The "{" in the literal opens a level, so the body runs one "}" further
  // and its own scan then meets that "}" at the top.
  const auto out = testing::RunText("Func F() { x = \"{\"; }} y = 1;");
  EXPECT_EQ("Unexpected end of block", out.Message);
  EXPECT_EQ("F", out.ErrorScript);
  EXPECT_EQ(1, out.Line);
  EXPECT_EQ(21, out.Column);
}

}  // namespace
}  // namespace zu
