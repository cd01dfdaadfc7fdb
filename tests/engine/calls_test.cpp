// CallNamed: argument splitting and counting, dispatch order, user-function
// instances, argument limits and the depth of nested calls.
#include <gtest/gtest.h>

#include "engine_test_util.h"
#include "platform/platform.h"

namespace zu {
namespace {

using testing::RunText;
using testing::VarText;

TEST(Calls, ArgumentsAreSplitAndCountedAsWritten) {
  const std::string f =
      "Func N0() { result = 0; } Func N1(a) { result = a; }\n"
      "Func N2(a, b) { result = b; }\n";
  auto out = RunText(f +
                     "a = N0(); b = N1(1,); c = N2(,7); d = N1( ); e = N1(\"a,b\");"
                     " g = N2(N1(1), N1(2));");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("0", VarText(out, "a"));
  EXPECT_EQ("1", VarText(out, "b"));
  EXPECT_EQ("7", VarText(out, "c"));
  EXPECT_EQ("", VarText(out, "d"));
  EXPECT_EQ("a,b", VarText(out, "e"));
  EXPECT_EQ("2", VarText(out, "g"));
  // Without a nesting count the first ")" ends the wait.
  EXPECT_SCRIPT_ERROR(f + "x = N1(N2(N1(1), 2));", "Unexpected end of function call: N1(1", 3, 1);
  EXPECT_SCRIPT_ERROR(f + "x = N2(1);", "Invalid number of arguments: N2(1)", 3, 1);
}

TEST(Calls, UnknownNamesReachTheBuiltInTable) {
  EXPECT_SCRIPT_ERROR("x = 1;\n  NoSuchFunction(x);", "Unknow function: \"NoSuchFunction\"", 2, 3);
}

TEST(Calls, ArgumentsRunEvenWhenTheCallFails) {
  const auto out = RunText("n = 0; Func Inc() { n = n + 1; } x = Missing(Inc(), Inc());");
  EXPECT_TRUE(out.Failed);
  EXPECT_EQ("2", VarText(out, "n"));
}

TEST(Calls, MoreThan64ArgumentsAreRefused) {
  std::string args = "1";
  for (int i = 1; i < 65; ++i) args += ",1";
  EXPECT_SCRIPT_ERROR("x = F(" + args + ");", "Too many arguments (more than 64): F(" + args + ")",
                      1, 1);
}

TEST(Calls, UserFunctionHidesBuiltIn) {
  const auto out = RunText("Func Length(s) { result = 42; } x = Length(\"abc\");");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("42", VarText(out, "x"));
}

TEST(Calls, ErrorInFunctionNamesTheInstanceAndKeepsItAlive) {
  auto out = RunText("Func Inner(a) {\n  result = a + zz;\n}\nx = Inner(1);");
  ASSERT_TRUE(out.Failed);
  EXPECT_EQ("Inner", out.ErrorScript);
  EXPECT_EQ(2, out.Line);
  EXPECT_EQ(3, out.Column);
  TZuRunContext& context = out.Script->Context();
  ASSERT_EQ(1u, context.Abandoned.size());
  EXPECT_EQ(context.Abandoned[0].get(), context.Active);
  EXPECT_EQ(0, context.CallDepth);
}

TEST(Calls, RecursionTenThousandDeepWorksAndRunawayRecursionStops) {
  testing::RunOutcome ok, runaway;
  platform::RunWithStack(kInterpreterStackBytes, [&] {
    ok = RunText(
        "Func Down(n) { If (n > 0) { result = Down(n - 1) + 1; } Else { result = 0; } }\n"
        "x = Down(10000);");
    runaway = RunText("Func Forever(n) {\n  result = Forever(n + 1);\n}\nx = Forever(0);");
  });
  ASSERT_FALSE(ok.Failed) << ok.Message;
  EXPECT_EQ("10000", VarText(ok, "x"));
  ASSERT_TRUE(runaway.Failed);
  EXPECT_EQ("Too many nested function calls (more than 12000) in call of \"Forever\"",
            runaway.Message);
  EXPECT_EQ("Forever", runaway.ErrorScript);
  EXPECT_EQ(2, runaway.Line);
  EXPECT_EQ(3, runaway.Column);
}

}  // namespace
}  // namespace zu
