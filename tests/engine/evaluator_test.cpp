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

// The operand rules the golden scripts do not reach, as expression -> text
// of x (or the error message).
TEST(Evaluator, OperandRulesAndTheirMessages) {
  const std::string arrays = "Array t[3] = (10, 20, 30); i = 2; a = 1; b = 2;";
  const struct {
    const char* expression;
    const char* expected;
  } rows[] = {
      {"()", ""},
      {"(a)+(b)", "3"},
      {"t[i]", "30"},
      {"t[]", "error: Unexpected type of result of index expression"},
      {"f(1)x", "error: Unexpected end of function call: f(1)x"},
      // The element rule comes before the property rule.
      {"a.b[1]", "error: Array \"a.b\" not defined"},
      {"0xZZ", "error: Invalid hexadecimal number"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(row.expected, Eval(row.expression, arrays)) << row.expression;
}

TEST(Evaluator, TextsTheLoaderCannotPassThrough) {
  // Braces end statements and line ends end literals in the loader, so
  // these texts reach Evaluate only from built-ins or modules.
  auto out = RunText("a = 3;");
  EXPECT_EQ(3, out.Script->Evaluate("{a}").IntegerPayload());
  EXPECT_EQ(3, out.Script->Evaluate("{ a }").IntegerPayload());
  EXPECT_SCRIPT_ERROR(out.Script->Evaluate("'abc"), nullptr, "Unexpected end of string");
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
  EXPECT_SCRIPT_ERROR(script->Run({}), script.get(), "Expressions nested too deeply");
  EXPECT_EQ("1",
            testing::VarText(
                RunText("x = " + std::string(200, '(') + "1" + std::string(200, ')') + ";"), "x"));
}

}  // namespace
}  // namespace zu
