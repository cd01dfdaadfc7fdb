// Evaluate and EvaluateOperand: left-to-right operators, the operand rules in
// their order, and every evaluator message; SplitList.
#include <gtest/gtest.h>

#include "engine_test_util.h"
#include "platform/platform.h"

namespace zu {
namespace {

using testing::RunText;
using testing::VarText;

// The text of x after running "x = EXPR;" behind setup.
std::string Eval(const std::string& expression, const std::string& setup = "") {
  const auto out = RunText(setup + "x = " + expression + ";");
  if (out.Failed) return "error: " + out.Message;
  return VarText(out, "x");
}

TEST(Evaluator, OperatorsApplyStrictlyLeftToRight) {
  EXPECT_EQ("9", Eval("1 + 2 * 3"));
  EXPECT_EQ("6", Eval("2 * (1 + 2)"));
  EXPECT_EQ("5", Eval("10 - 2 - 3"));
  EXPECT_EQ("0", Eval("-5"));
  EXPECT_EQ("-5", Eval("0 - 5"));
  EXPECT_EQ("3", Eval("a +", "a = 3;"));
  EXPECT_EQ("error: Invalid operator \"++\"", Eval("a + + b", "a = 1; b = 2;"));
  EXPECT_EQ("12", Eval("1 2"));
  EXPECT_EQ("-1", Eval("a < = b", "a = 1; b = 2;"));
  EXPECT_EQ("", Eval("()"));
  EXPECT_EQ("3", Eval("(a)+(b)", "a = 1; b = 2;"));
}

TEST(Evaluator, BothSidesOfLogicalOperatorsRun) {
  const auto out = RunText(
      "n = 0; Func T() { n = n + 1; result = true; }\n"
      "x = T() || T(); y = false && T();");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("3", VarText(out, "n"));
  EXPECT_EQ("-1", VarText(out, "x"));
  EXPECT_EQ("0", VarText(out, "y"));
}

TEST(Evaluator, OperandRulesAndTheirMessages) {
  EXPECT_EQ("error: Unclosed parentheses", Eval("(a)b"));
  EXPECT_EQ("error: Array \"t\" not defined", Eval("t[1]"));
  const std::string arrays = "Array t[3] = (10, 20, 30), u[2] = (1, 2); i = 2;";
  EXPECT_EQ("30", Eval("t[i]", arrays));
  EXPECT_EQ("30", Eval("t[u[1]]", arrays));
  EXPECT_EQ("error: Unexpected end of index expression", Eval("t[i+1]", arrays));
  EXPECT_EQ("error: Unexpected type of result of index expression", Eval("t[\"1\"]", arrays));
  EXPECT_EQ("error: Unexpected type of result of index expression", Eval("t[]", arrays));
  EXPECT_EQ("error: Index of array t is out of bounds", Eval("t[3]", arrays));
  EXPECT_EQ("error: Unexpected end of function call: t[(i)]", Eval("t[(i)]", arrays));
  EXPECT_EQ("error: Unexpected end of function call: f(1)x", Eval("f(1)x"));
  EXPECT_EQ("error: Object \"nosuch\" not found", Eval("nosuch.x"));
  // The element rule comes before the property rule.
  EXPECT_EQ("error: Array \"a.b\" not defined", Eval("a.b[1]"));
  EXPECT_EQ("error: Object \"nosuch\" not found", Eval("nosuch.m(1)"));
  EXPECT_EQ("error: Constant or variable \"zz\" not defined", Eval("zz"));
  EXPECT_EQ("error: Invalid character \"!\" in expression \"a ! b\"", Eval("a ! b"));
  EXPECT_EQ("error: Invalid hexadecimal number", Eval("0xZZ"));
}

TEST(Evaluator, TextsTheLoaderCannotPassThrough) {
  // Braces end statements and line ends end literals in the loader, so
  // these texts reach Evaluate only from built-ins or modules.
  auto out = RunText("a = 3;");
  EXPECT_EQ(3, out.Script->Evaluate("{a}").IntegerPayload());
  EXPECT_EQ(3, out.Script->Evaluate("{ a }").IntegerPayload());
  try {
    out.Script->Evaluate("'abc");
    FAIL() << "no error";
  } catch (const EZuScriptError& e) {
    EXPECT_STREQ("Unexpected end of string", e.what());
  }
}

TEST(Evaluator, SplitListCutsAtTopLevelCommas) {
  using L = std::vector<std::string>;
  EXPECT_EQ((L{"a = 1", " b = \"x,y\""}), TZuScript::SplitList("a = 1, b = \"x,y\""));
  EXPECT_EQ((L{"a = \"it's\", b = 1"}), TZuScript::SplitList("a = \"it's\", b = 1"));
  EXPECT_EQ((L{"a = f(1, 2)", " b"}), TZuScript::SplitList("a = f(1, 2), b"));
  EXPECT_EQ((L{""}), TZuScript::SplitList(""));
}

TEST(Evaluator, DeepParenthesesEndWithAScriptError) {
  // One stack frame per level: the guard stops the nesting long before the
  // stack would run out. A small budget keeps the test quick.
  const std::string deep = std::string(50000, '(') + "1" + std::string(50000, ')');
  auto script = testing::ScriptFromText("x = " + deep + ";");
  script->Context().StackBudget = 256 * 1024;
  script->Parse();
  try {
    script->Run("");
    FAIL() << "no error";
  } catch (const EZuScriptError& e) {
    EXPECT_STREQ("Expressions nested too deeply", e.what());
    EXPECT_EQ(script.get(), e.Script);
  }
  EXPECT_EQ("1",
            testing::VarText(
                RunText("x = " + std::string(200, '(') + "1" + std::string(200, ')') + ";"), "x"));
}

}  // namespace
}  // namespace zu
