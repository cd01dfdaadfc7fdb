// CallNamed: what the golden scripts cannot see — nested calls as arguments,
// arguments that run before a failing lookup, and the abandoned instance an
// error leaves behind.
#include <gtest/gtest.h>

#include "engine_test_util.h"

namespace zu {
namespace {

using testing::RunText;
using testing::VarText;

TEST(Calls, ArgumentsOfNestedAndFailingCalls) {
  auto out = RunText(
      "Func N1(a) { result = a; } Func N2(a, b) { result = b; }\n"
      "g = N2(N1(1), N1(2));");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("2", VarText(out, "g"));
  // The arguments run even when the function is then not found.
  out = RunText("n = 0; Func Inc() { n = n + 1; } x = Missing(Inc(), Inc());");
  EXPECT_TRUE(out.Failed);
  EXPECT_EQ("2", VarText(out, "n"));
}

TEST(Calls, ErrorInFunctionKeepsTheInstanceAlive) {
  auto out = RunText("Func Inner(a) {\n  result = a + zz;\n}\nx = Inner(1);");
  ASSERT_TRUE(out.Failed);
  EXPECT_EQ("Inner", out.ErrorScript);
  EXPECT_EQ(2, out.Line);
  EXPECT_EQ(3, out.Column);
  // The error report reads the instance after the stack has unwound.
  TZuRunContext& context = out.Script->Context();
  ASSERT_EQ(1u, context.Abandoned.size());
  EXPECT_EQ(context.Abandoned[0].get(), context.Active);
  EXPECT_EQ(0, context.CallDepth);
}

}  // namespace
}  // namespace zu
