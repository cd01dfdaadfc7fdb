// TZuScript: owner-chain lookups, function instances, environment constants.
#include <gtest/gtest.h>

#include "engine/script.h"
#include "engine_test_util.h"

namespace zu {
namespace {

using testing::RunText;
using testing::VarText;

TEST(Script, LookupsWalkTheOwnerChainOutward) {
  TZuScript main("main", nullptr);
  TZuScript func("f", &main);
  main.VarList.Add(std::make_unique<TZuScriptVariable>("g", false, ScriptValue::Integer(1), &main));
  main.ArrayList.Add(std::make_unique<TZuScriptArray>("A", 3, &main));
  func.VarList.Add(std::make_unique<TZuScriptVariable>("G", false, ScriptValue::Integer(2), &func));
  EXPECT_EQ(2, func.FindVar("g")->Value.IntegerPayload());
  EXPECT_EQ(1, main.FindVar("g")->Value.IntegerPayload());
  EXPECT_EQ(3, func.FindArray("a")->Size);
  EXPECT_EQ(nullptr, func.FindObject("a"));
  EXPECT_EQ(nullptr, main.FindFunc("f"));
  EXPECT_EQ(&main.Context(), &func.Context());
}

TEST(Script, DefineConstantTwiceFails) {
  TZuScript main("main", nullptr);
  main.DefineConstant("HomeDir", "/a/");
  EXPECT_EQ("/a/", main.FindEnv("homedir")->Value.TextPayload());
  EXPECT_EQ(nullptr, main.FindVar("HomeDir"));
  EXPECT_SCRIPT_ERROR(main.DefineConstant("HomeDir", "/b/"), &main,
                      "Value can't be assign to constant \"HomeDir\"");
}

TEST(Script, InstantiateCopiesTableParametersAndNestedFunctions) {
  auto out = RunText("Func Outer(a, b) { Func Inner() { result = 1; } x = a; }");
  ASSERT_FALSE(out.Failed) << out.Message;
  auto* def = out.Script->FindFunc("outer");
  ASSERT_NE(nullptr, def);
  TZuScript copy("Outer", def->Owner);
  copy.VarList.Add(std::make_unique<TZuScriptVariable>("stale", false, ScriptValue(), &copy));
  copy.InstantiateFrom(*def);
  EXPECT_EQ(0, copy.VarList.Count());
  EXPECT_EQ((std::vector<std::string>{"a", "b"}), copy.ParamNames);
  ASSERT_EQ(1, copy.StatementCount);
  EXPECT_EQ("x = a", copy.Statements[0].Text);
  ASSERT_EQ(1, copy.FuncList.Count());
  auto* inner = static_cast<TZuScript*>(copy.FuncList.Get(0));
  EXPECT_EQ(&copy, inner->Owner);
  EXPECT_EQ(1, inner->StatementCount);
}

TEST(Script, FunctionLocalHidesGlobalOfTheSameName) {
  auto out = RunText("Var v = 1; Func F() { Var v = 7; result = v; } r = F();");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("1", VarText(out, "v"));
  EXPECT_EQ("7", VarText(out, "r"));
}

}  // namespace
}  // namespace zu
