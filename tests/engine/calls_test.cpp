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

TEST(Calls, EveryCallStartsWithoutTheLocalsOfTheLastOne) {
  // Instances are reused from call to call: locals, arrays and parameters
  // of one call must not be seen by the next, nor by a recursive one.
  auto out = RunText(
      "loc = \"global\";\n"
      "Func F(k) { If (k) { Var loc = \"local\"; Array t[1] = (k); } result = loc; }\n"
      "Func R(n) { If (n > 0) { x = R(n - 1); } n = n * 10 + 1; result = n; }\n"
      "a = F(1); b = F(0); c = F(2); r = R(3);");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("local", VarText(out, "a"));
  EXPECT_EQ("global", VarText(out, "b"));
  EXPECT_EQ("local", VarText(out, "c"));
  EXPECT_EQ("31", VarText(out, "r"));
}

TEST(Calls, LookupsFollowNamesThatAppearDuringARun) {
  // A name read from the same place finds a global first, then the local
  // declared after it, and the global again in the next call; a parameter
  // named like a constant, and two parameters differing in case, resolve as
  // the sorted list does (upper case first, the earlier added of equals).
  auto out = RunText(
      "g = 1;\n"
      "Func F() { s = 0; For k = 1 to 2 { s = s * 10 + g; If (k == 1) { Var g = 5; } } result = s; }\n"
      "Func T(true) { result = true; }\n"
      "Func D(x, X) { result = x; }\n"
      "a = F(); b = F(); t = T(7); d = D(1, 2);");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("15", VarText(out, "a"));
  EXPECT_EQ("15", VarText(out, "b"));
  EXPECT_EQ("7", VarText(out, "t"));
  EXPECT_EQ("2", VarText(out, "d"));
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
