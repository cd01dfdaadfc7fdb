// Var, Const, Array and Object statements with their messages and limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_test_util.h"

namespace zu {
namespace {

using testing::RunText;
using testing::VarText;

TEST(Declarations, VarAndConst) {
  auto out = RunText("Var a, b = 1, c = \"x,y\", d = 2 == 3, e == 4; Const k = 9;");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_TRUE(out.Script->FindVar("a")->Value.IsEmpty());
  EXPECT_EQ("1", VarText(out, "b"));
  EXPECT_EQ("x,y", VarText(out, "c"));
  EXPECT_EQ("2", VarText(out, "d"));
  EXPECT_EQ("4", VarText(out, "e"));
  EXPECT_TRUE(out.Script->FindVar("k")->IsConstant);
  EXPECT_SCRIPT_ERROR("Var a;\nVar A;", "Variable or constant \"A\" already defined", 2, 1);
  EXPECT_SCRIPT_ERROR("Const c;", "Constant \"c\" must have initial expression", 1, 1);
  EXPECT_SCRIPT_ERROR("Const c = 1; c = 2;", "Value can't be assign to constant \"c\"", 1, 14);
  EXPECT_SCRIPT_ERROR("Var result;", "Variable or constant \"result\" already defined", 1, 1);
}

TEST(Declarations, ArraysAndInitializers) {
  auto out = RunText("n = 2; Array a[n + 1] = (1, 2, 3) junk, b[2] = (7), c[0];\nArray nothing;");
  ASSERT_FALSE(out.Failed) << out.Message;
  auto* a = out.Script->FindArray("a");
  ASSERT_NE(nullptr, a);
  EXPECT_EQ(3, a->Size);
  EXPECT_EQ("3", ToText(a->GetItem(2)));
  EXPECT_EQ("7", ToText(out.Script->FindArray("b")->GetItem(0)));
  EXPECT_TRUE(out.Script->FindArray("b")->GetItem(1).IsEmpty());
  EXPECT_EQ(0, out.Script->FindArray("c")->Size);
  EXPECT_EQ(nullptr, out.Script->FindArray("nothing"));
  // At most 1024 initializers are taken.
  std::string values = "0";
  for (int k = 1; k < 1030; ++k) values += "," + std::to_string(k);
  out = RunText("Array big[1030] = (" + values + ");");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("1023", ToText(out.Script->FindArray("big")->GetItem(1023)));
  EXPECT_TRUE(out.Script->FindArray("big")->GetItem(1024).IsEmpty());
  out = RunText("Array s[3] = (1,,2, ,3);");
  EXPECT_EQ("2", ToText(out.Script->FindArray("s")->GetItem(1)));
  EXPECT_TRUE(out.Script->FindArray("s")->GetItem(2).IsEmpty());
}

TEST(Declarations, ArrayMessages) {
  EXPECT_SCRIPT_ERROR("Array a[3] = (1, 2, 3, 4);", "Index of array a is out of bounds", 1, 1);
  EXPECT_SCRIPT_ERROR("Array [3];", "Name of array expected", 1, 1);
  EXPECT_SCRIPT_ERROR("Array a-b[3];", "Invalid character \"-\" in array name", 1, 1);
  EXPECT_SCRIPT_ERROR("Array a[1]; Array A[2];", "Array \"A\" already exist", 1, 13);
  EXPECT_SCRIPT_ERROR("Array a[ ];", "Expected size expression of array \"a\"", 1, 1);
  EXPECT_SCRIPT_ERROR("Array a[1] b[2];", "Unexpected character: \"b\"", 1, 1);
  EXPECT_SCRIPT_ERROR("Array a[1] = 1, 2;", "Expected begin of initializators block: 1,", 1, 1);
  EXPECT_SCRIPT_ERROR("Array a[0-2];", "Size of array \"a\" is negative: -2", 1, 1);
  // The first block is closed by a ")" that the second one lacks.
  EXPECT_SCRIPT_ERROR("Array a[1] = (1) x), b[1] = (2;",
                      "Unexpected end of initializators block (24)", 1, 1);
}

// A class whose objects do nothing: enough to see what Object declares.
class FakeClass : public TZuScriptClass {
 public:
  using TZuScriptClass::TZuScriptClass;
  std::unique_ptr<TZuScriptObject> CreateObject(const std::string& objectName) override {
    struct Object : TZuScriptObject {
      using TZuScriptObject::TZuScriptObject;
      ScriptValue CallMethod(const std::string&, const std::vector<ScriptValue>&) override {
        return {};
      }
      ScriptValue GetProperty(const std::string&) override { return {}; }
      void SetProperty(const std::string&, const ScriptValue&) override {}
    };
    return std::make_unique<Object>(objectName, Owner);
  }
};

std::string RunWithClass(TZuScript& script) {
  try {
    script.Parse();
    script.ClassList.Add(std::make_unique<FakeClass>("TFake", &script));
    script.Run("");
  } catch (const EZuScriptError& e) {
    return e.what();
  }
  return "";
}

TEST(Declarations, ObjectsAreCheckedInTheirOwnScriptOnly) {
  // A local may take the name of a global object; at most 99 per statement.
  std::string many;
  for (int k = 0; k < 100; ++k) many += ", o" + std::to_string(k) + " : tfake";
  auto script = testing::ScriptFromText(
      "Object g : TFake; Func F() { Object G : TFake; }\n"
      "F(); Object " +
      many.substr(2) + ";");
  EXPECT_EQ("", RunWithClass(*script));
  EXPECT_EQ(100, script->ObjectList.Count());
  EXPECT_EQ(nullptr, script->FindObject("o99"));
  script = testing::ScriptFromText("Object a : TFake, b : TFake;\nObject A : TFake;");
  EXPECT_EQ("Object \"A\" already defined", RunWithClass(*script));
}

TEST(Declarations, ObjectMessages) {
  EXPECT_SCRIPT_ERROR("Object : TFile;", "Object name expected: : TFile", 1, 1);
  EXPECT_SCRIPT_ERROR("Object f;", "Class name expected: f", 1, 1);
  EXPECT_SCRIPT_ERROR("Object f : ;", "Class name expected: f :", 1, 2);
  EXPECT_SCRIPT_ERROR("Object f : TNoSuch;", "Class \"TNoSuch\" not defined", 1, 1);
}

}  // namespace
}  // namespace zu
