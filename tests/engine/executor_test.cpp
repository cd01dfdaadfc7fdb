// Run, Call and the statements that steer execution: assignments, If chains,
// For and While, Break/Continue/Exit, and where their errors are located.
#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace zu {
namespace {

using testing::RunText;
using testing::VarText;

TEST(Executor, RunDefinesArgumentsAndReturnsResult) {
  const auto out = RunText("result = argc * 10 + StrLen(argv[1]);", "\"main\"\r\"a\\tb\"\r");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ(23, out.Result.IntegerPayload());
  EXPECT_EQ("a\tb", ToText(out.Script->FindArray("argv")->GetItem(1)));
  EXPECT_EQ("", VarText(out, "stdout"));
  EXPECT_TRUE(RunText("x = 1;").Result.IsEmpty());
}

TEST(Executor, CallChecksTheArgumentCount) {
  auto out = RunText("Func F(a, b) { result = a; }");
  TZuScript instance("F", out.Script.get());
  instance.InstantiateFrom(*out.Script->FindFunc("F"));
  try {
    instance.Call({ScriptValue::Integer(1)});
    FAIL() << "no error";
  } catch (const EZuScriptError& e) {
    EXPECT_STREQ("Invalid number of arguments (must be 2)", e.what());
  }
  EXPECT_EQ(5, instance.Call({ScriptValue::Integer(5), ScriptValue()}).IntegerPayload());
}

TEST(Executor, AssignmentTargets) {
  const auto out = RunText(
      "Array t[2]; t[1] = 5; x = 1; Func F() { x = 2; y = 3; } F();\n"
      "f = (1 == 1); s = \"a=b\";");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("5", ToText(out.Script->FindArray("t")->GetItem(1)));
  EXPECT_EQ("2", VarText(out, "x"));
  EXPECT_EQ("<none>", VarText(out, "y"));
  EXPECT_EQ("-1", VarText(out, "f"));
  EXPECT_EQ("a=b", VarText(out, "s"));
  EXPECT_SCRIPT_ERROR("q[1] = 2;", "Array \"q\" not defined", 1, 1);
  EXPECT_SCRIPT_ERROR("Array q[2];\nq[1 = 2;", "Unexpected end of index expression", 2, 1);
  EXPECT_SCRIPT_ERROR("Array q[2]; q[\"1\"] = 2;", "Invalid index expression", 1, 13);
  EXPECT_SCRIPT_ERROR("Array q[2]; q[2] = 2;", "Index of array q is out of bounds", 1, 13);
  EXPECT_SCRIPT_ERROR("o.p = 1;", "Object \"o\" not defined", 1, 1);
  EXPECT_SCRIPT_ERROR("true = 0;", "Value can't be assign to constant \"true\"", 1, 1);
}

TEST(Executor, IfChainRunsExactlyOneBranch) {
  const std::string chain =
      "If (c == 1) { r = \"a\"; } ElseIf (c == 2) { r = \"b\"; } Else { r = \"c\"; }";
  EXPECT_EQ("a", VarText(RunText("c = 1; r = 0; " + chain), "r"));
  EXPECT_EQ("b", VarText(RunText("c = 2; r = 0; " + chain), "r"));
  EXPECT_EQ("c", VarText(RunText("c = 3; r = 0; " + chain), "r"));
}

TEST(Executor, ForLoops) {
  auto out = RunText("n = 0; For i = 1 to 3 { n = n + i; } For j = 5 To 1 { n = 100; }");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("6", VarText(out, "n"));
  EXPECT_EQ("4", VarText(out, "i"));
  EXPECT_EQ("5", VarText(out, "j"));
  // The body may move the loop variable; Continue still steps it.
  out = RunText("n = 0; For i = 1 to 10 { i = i + 1; If (i > 6) { Continue; } n = n + 1; }");
  EXPECT_EQ("3", VarText(out, "n"));
  EXPECT_SCRIPT_ERROR("For i = 1 until 3 { }", "\"To\" keyword expected in \"For\" statement", 1,
                      2);
  EXPECT_SCRIPT_ERROR("For i to 3 { }", "Initial expression expected", 1, 2);
  EXPECT_SCRIPT_ERROR("For true = 1 to 3 { }", "Value can't be assign to constant \"true\"", 1, 2);
}

TEST(Executor, LoopsEndOnBreakExitAndStop) {
  auto out = RunText(
      "n = 0; While (true) { n = n + 1; If (n == 3) { Break; } }\n"
      "m = 0; For i = 1 to 5 { m = m + 1; Exit; }\n"
      "k = 0; While (k < 5) { k = k + 1; Stop; } after = 1;\n"
      "Exit; never = 1;");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("3", VarText(out, "n"));
  EXPECT_EQ("1", VarText(out, "m"));
  EXPECT_EQ("1", VarText(out, "k"));
  EXPECT_EQ("1", VarText(out, "after"));
  EXPECT_EQ("<none>", VarText(out, "never"));
  out = RunText("Func F() { result = 1; Exit; result = 2; } x = F();");
  EXPECT_EQ("1", VarText(out, "x"));
}

TEST(Executor, BreakNeedsALoopOfItsOwnScript) {
  EXPECT_SCRIPT_ERROR("x = 1;\nIf (1) {\n  Break;\n}", "Unexpected Break or Continue statement", 3,
                      3);
  const auto out = RunText("Func F() {\n Continue;\n}\nWhile (true) { F(); }");
  EXPECT_EQ("Unexpected Break or Continue statement", out.Message);
  EXPECT_EQ("F", out.ErrorScript);
  EXPECT_EQ(2, out.Line);
}

TEST(Executor, LoopTestFailureIsLocatedAtTheLoop) {
  EXPECT_SCRIPT_ERROR("n = 0;\nWhile (n < 2 + zz[n]) {\n  n = n + 1;\n}",
                      "Array \"zz\" not defined", 2, 2);
  EXPECT_SCRIPT_ERROR("n = 0;\nWhile (n < 2) {\n  n = n + 1;\n  If (n == 2) { n = nope; }\n}",
                      "Constant or variable \"nope\" not defined", 4, 17);
}

}  // namespace
}  // namespace zu
