// Run, Call and the statements that steer execution: assignments, If chains,
// For and While, Break/Continue/Exit, and where their errors are located.
#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace zu {
namespace {

using testing::RunText;
using testing::VarText;

TEST(Executor, RunDefinesArgumentsAndReturnsResult) {
  // Arguments are texts as given: quotes, line breaks and code stay inert.
  const auto out = RunText("result = argc * 10 + StrLen(argv[1]);",
                           {"main", "a\"+Chr(65)+\"\r\nb"});
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ(35, out.Result.IntegerPayload());
  EXPECT_EQ("a\"+Chr(65)+\"\r\nb", ToText(out.Script->FindArray("argv")->GetItem(1)));
  EXPECT_EQ("", VarText(out, "stdout"));
  EXPECT_TRUE(RunText("x = 1;").Result.IsEmpty());
}

TEST(Executor, CallChecksTheArgumentCount) {
  auto out = RunText("Func F(a, b) { result = a; }");
  TZuScript instance("F", out.Script.get());
  instance.InstantiateFrom(*out.Script->FindFunc("F"));
  EXPECT_SCRIPT_ERROR(instance.Call({ScriptValue::Integer(1)}), &instance,
                      "Invalid number of arguments (must be 2)");
  EXPECT_EQ(5, instance.Call({ScriptValue::Integer(5), ScriptValue()}).IntegerPayload());
}

TEST(Executor, AssignmentsAndLoopsTheScriptsDoNotReach) {
  auto out = RunText("f = (1 == 1); s = \"a=b\";");
  EXPECT_EQ("-1", VarText(out, "f"));
  EXPECT_EQ("a=b", VarText(out, "s"));
  // The body may move the loop variable; Continue still steps it.
  out = RunText("n = 0; For i = 1 to 10 { i = i + 1; If (i > 6) { Continue; } n = n + 1; }");
  EXPECT_EQ("3", VarText(out, "n"));
  EXPECT_EQ(testing::RunError("For true = 1 to 3 { }"),
            "1:2 Value can't be assign to constant \"true\"");
  // Stop leaves only the loop at the top level; Exit leaves a function.
  out = RunText(
      "k = 0; While (k < 5) { k = k + 1; Stop; } after = 1;\n"
      "Func F() { result = 1; Exit; result = 2; } x = F();");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("1", VarText(out, "k"));
  EXPECT_EQ("1", VarText(out, "after"));
  EXPECT_EQ("1", VarText(out, "x"));
}

TEST(Executor, ErrorInALoopBodyIsLocatedAtItsStatement) {
  EXPECT_EQ(
      testing::RunError("n = 0;\nWhile (n < 2) {\n  n = n + 1;\n  If (n == 2) { n = nope; }\n}"),
      "4:17 Constant or variable \"nope\" not defined");
}

}  // namespace
}  // namespace zu
