// TZuScriptObjList and the entities: ordering, case-insensitive lookup,
// constants and array bounds.
#include <gtest/gtest.h>

#include "common/expect_error.h"
#include "engine/script.h"

namespace zu {
namespace {

std::unique_ptr<TZuScriptVariable> Var(const char* name, int v = 0) {
  return std::make_unique<TZuScriptVariable>(name, false, ScriptValue::Integer(v), nullptr);
}

TEST(ObjList, KeepsOrdinalOrderAndFindsFirstCaseInsensitiveMatch) {
  TZuScriptObjList list("VarList", nullptr);
  list.Add(Var("b"));
  list.Add(Var("abc", 1));
  list.Add(Var("ABC", 2));
  list.Add(Var("Zed"));
  ASSERT_EQ(4, list.Count());
  EXPECT_EQ("ABC", list.Get(0)->Name);
  EXPECT_EQ("Zed", list.Get(1)->Name);
  EXPECT_EQ("abc", list.Get(2)->Name);
  EXPECT_EQ("b", list.Get(3)->Name);
  // Upper case sorts first, so it is the match for every spelling.
  EXPECT_EQ(2, static_cast<TZuScriptVariable*>(list.Find("aBc"))->Value.IntegerPayload());
  EXPECT_EQ(nullptr, list.Find("ab"));
  EXPECT_EQ(nullptr, list.Find("abcd"));
  EXPECT_EQ(nullptr, list.Add(nullptr));
  EXPECT_EQ(4, list.Count());
}

TEST(ObjList, EqualNamesAreFoundInAddingOrder) {
  TZuScriptObjList list("FuncList", nullptr);
  list.Add(Var("f", 1));
  list.Add(Var("a"));
  list.Add(Var("f", 2));
  EXPECT_EQ(1, static_cast<TZuScriptVariable*>(list.Find("F"))->Value.IntegerPayload());
}

TEST(ObjList, IndexKeepsTheFirstMatchThroughGrowthRemovalAndClear) {
  TZuScriptObjList list("VarList", nullptr);
  for (int k = 0; k < 40; ++k) list.Add(Var(("v" + std::to_string(k)).c_str(), k));
  list.Add(Var("V7", 100));  // sorts before "v7": the new first match
  list.Add(Var("v7", 200));  // equal to an earlier name: not the match
  EXPECT_EQ(100, static_cast<TZuScriptVariable*>(list.Find("v7"))->Value.IntegerPayload());
  EXPECT_EQ(39, static_cast<TZuScriptVariable*>(list.Find("V39"))->Value.IntegerPayload());
  const uint32_t generation = list.Generation();
  list.RemoveUnless([](TZuScriptRoot* e) { return e->Name != "V7"; });
  EXPECT_NE(generation, list.Generation());
  EXPECT_EQ(7, static_cast<TZuScriptVariable*>(list.Find("V7"))->Value.IntegerPayload());
  list.Clear();
  EXPECT_EQ(nullptr, list.Find("v1"));
  list.Add(Var("v1", 1));
  EXPECT_EQ(1, static_cast<TZuScriptVariable*>(list.Find("V1"))->Value.IntegerPayload());
}

TEST(ObjList, CaseFoldingIsLimitedToAsciiLetters) {
  TZuScriptObjList list("VarList", nullptr);
  list.Add(Var("\xE4x"));
  list.Add(Var("_a"));
  EXPECT_NE(nullptr, list.Find("\xE4X"));
  EXPECT_EQ(nullptr, list.Find("\xC4x"));
  EXPECT_NE(nullptr, list.Find("_A"));
}

TEST(Entities, ConstantRefusesNewValue) {
  TZuScriptVariable c("HomeDir", true, ScriptValue::Text("x"), nullptr);
  EXPECT_SCRIPT_ERROR(c.SetValue(ScriptValue::Integer(1)), nullptr,
                      "Value can't be assign to constant \"HomeDir\"");
  EXPECT_EQ("x", c.Value.TextPayload());
}

TEST(Entities, ArrayBoundsOnReadAndWrite) {
  TZuScriptArray a("t", 2, nullptr);
  a.SetItem(1, ScriptValue::Integer(5));
  EXPECT_EQ(5, a.GetItem(1).IntegerPayload());
  EXPECT_TRUE(a.GetItem(0).IsEmpty());
  for (int32_t index : {-1, 2}) {
    EXPECT_SCRIPT_ERROR(a.GetItem(index), nullptr, "Index of array t is out of bounds");
    EXPECT_SCRIPT_ERROR(a.SetItem(index, ScriptValue()), nullptr,
                        "Index of array t is out of bounds");
  }
  TZuScriptArray none("z", 0, nullptr);
  EXPECT_SCRIPT_ERROR(none.GetItem(0), nullptr, "Index of array z is out of bounds");
}

}  // namespace
}  // namespace zu
