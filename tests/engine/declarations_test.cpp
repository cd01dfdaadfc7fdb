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
  auto out = RunText("Var e == 4; Const k = 9;");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("4", VarText(out, "e"));
  EXPECT_TRUE(out.Script->FindVar("k")->IsConstant);
  EXPECT_EQ(testing::RunError("Const c = 1; c = 2;"),
            "1:14 Value can't be assign to constant \"c\"");
  EXPECT_EQ(testing::RunError("Var result;"),
            "1:1 Variable or constant \"result\" already defined");
}

TEST(Declarations, ArrayInitializers) {
  // At most 1024 initializers are taken; empty items stay empty.
  std::string values = "0";
  for (int k = 1; k < 1030; ++k) {
    values += ',';
    values += std::to_string(k);
  }
  auto out = RunText("Array big[1030] = (" + values + ");");
  ASSERT_FALSE(out.Failed) << out.Message;
  EXPECT_EQ("1023", ToText(out.Script->FindArray("big")->GetItem(1023)));
  EXPECT_TRUE(out.Script->FindArray("big")->GetItem(1024).IsEmpty());
  out = RunText("Array s[3] = (1,,2, ,3);");
  EXPECT_EQ("2", ToText(out.Script->FindArray("s")->GetItem(1)));
  EXPECT_TRUE(out.Script->FindArray("s")->GetItem(2).IsEmpty());
  EXPECT_EQ(testing::RunError("Array a[1]; Array A[2];"), "1:13 Array \"A\" already exist");
  // The first block is closed by a ")" that the second one lacks.
  EXPECT_EQ(testing::RunError("Array a[1] = (1) x), b[1] = (2;"),
            "1:1 Unexpected end of initializators block (24)");
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
    script.Run({});
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

TEST(Declarations, ObjectWithoutClassAfterColon) {
  EXPECT_EQ(testing::RunError("Object f : ;"), "1:2 Class name expected: f :");
}

}  // namespace
}  // namespace zu
