// Module classes, object proxies and module functions at run time: creating
// objects, calling methods and functions, reading and setting properties,
// and how values and failures cross the boundary.
#include <string>
#include <vector>

#include "exthost/fixture.h"

namespace zu::testing {
namespace {

class ExtCalls : public ExtHostTest {
 protected:
  void SetUp() override {
    ExtHostTest::SetUp();
    script_.ImportModule(ModulePath("testmod.zux"));
  }
  TZuScript script_{"main", nullptr};
};

TEST_F(ExtCalls, ModuleRefusalsReachTheScriptUnchanged) {
  TZuScriptClass* cls = script_.FindClass("TCOUNTER");
  auto object = cls->CreateObject("c");
  EXPECT_SCRIPT_ERROR(cls->CreateObject("C"), &script_, "Object \"C\" already exists");
  EXPECT_SCRIPT_ERROR(object->CallMethod("Nope", {}), &script_, "Method \"Nope\" not found");
  EXPECT_SCRIPT_ERROR(object->GetProperty("Size.Low"), &script_,
                      "Property \"Size.Low\" not found in class \"TCOUNTER\"");
  EXPECT_SCRIPT_ERROR(object->SetProperty("Value", ScriptValue::Text("x")), &script_,
                      "Property \"Value\" can't be set");
  EXPECT_SCRIPT_ERROR(script_.FindExtFunc("FAIL")->CallFunction({}), &script_,
                      "Function failed on purpose");
}

TEST_F(ExtCalls, ErrorsCarryTheImportingScriptFromAFunctionInstance) {
  TZuScript function("f", &script_);
  TZuScriptFunction* fail = function.FindExtFunc("fail");
  ASSERT_NE(fail, nullptr);
  EXPECT_SCRIPT_ERROR(fail->CallFunction({}), &script_, "Function failed on purpose");
}

TEST_F(ExtCalls, MethodsReceiveEveryArgument) {
  auto object = script_.FindClass("TCOUNTER")->CreateObject("c");
  EXPECT_EQ(object->CallMethod("Inc", {}).IntegerPayload(), 1);
  EXPECT_EQ(object->CallMethod("inc", {}).IntegerPayload(), 2);
  std::vector<ScriptValue> args;
  EXPECT_EQ(object->CallMethod("ArgCount", args).IntegerPayload(), 0);
  for (int i = 0; i < 64; ++i) args.push_back(ScriptValue::Integer(i));
  EXPECT_EQ(object->CallMethod("ArgCount", args).IntegerPayload(), 64);
  // Beyond the evaluator's limit nothing is cut off.
  args.push_back(ScriptValue::Text("65th"));
  EXPECT_EQ(object->CallMethod("ArgCount", args).IntegerPayload(), 65);
}

TEST_F(ExtCalls, ValuesCrossBothWays) {
  auto object = script_.FindClass("TCOUNTER")->CreateObject("c");
  auto echo = [&](const ScriptValue& v) { return object->CallMethod("Echo", {v}); };

  ScriptValue text = echo(ScriptValue::Text("h\xE9llo"));
  EXPECT_EQ(text.Kind(), ValueKind::Text);
  EXPECT_EQ(text.TextPayload(), "h\xE9llo");
  EXPECT_EQ(echo(ScriptValue::Text(std::string("ab\0cd", 5))).TextPayload(), "ab");
  EXPECT_EQ(echo(ScriptValue::Text("")).TextPayload(), "");

  ScriptValue number = echo(ScriptValue::Integer(-7));
  EXPECT_EQ(number.Kind(), ValueKind::Integer);
  EXPECT_EQ(number.IntegerPayload(), -7);
  EXPECT_EQ(echo(ScriptValue::Float(2.5)).DoublePayload(), 2.5);
  ScriptValue date = echo(ScriptValue::DateTime(46362.75));
  EXPECT_EQ(date.Kind(), ValueKind::DateTime);
  EXPECT_EQ(date.DoublePayload(), 46362.75);
  ScriptValue yes = echo(ScriptValue::Boolean(true));
  EXPECT_EQ(yes.Kind(), ValueKind::Boolean);
  EXPECT_EQ(yes.BoolPayload(), -1);
  EXPECT_EQ(echo(ScriptValue::Boolean(false)).BoolPayload(), 0);
  EXPECT_TRUE(echo(ScriptValue()).IsEmpty());
  // The record kinds the module sees.
  EXPECT_EQ(object->CallMethod("Kind", {ScriptValue::Boolean(true)}).IntegerPayload(), xkBoolean);
  EXPECT_EQ(object->CallMethod("Kind", {ScriptValue::Text("x")}).IntegerPayload(), xkText);
}

TEST_F(ExtCalls, TextResultsAreCopiedAtOnce) {
  TZuScriptFunction* echo = script_.FindExtFunc("ECHO");
  ScriptValue first = echo->CallFunction({ScriptValue::Text("first")});
  ScriptValue second = echo->CallFunction({ScriptValue::Text("second")});
  EXPECT_EQ(first.TextPayload(), "first");
  EXPECT_EQ(second.TextPayload(), "second");
}

TEST_F(ExtCalls, FunctionArgumentCountIsCheckedBeforeTheModuleIsCalled) {
  EXPECT_SCRIPT_ERROR(script_.FindExtFunc("add")->CallFunction({}), &script_,
                      "Function \"ADD\" in extension module \"" + ModulePath("testmod.zux") +
                          "\" must have 2 arguments");
  // ARGCOUNT answers what it got: the module saw no call with a wrong count.
  EXPECT_EQ(script_.FindExtFunc("ARGCOUNT")->CallFunction({}).IntegerPayload(), 0);
}

TEST_F(ExtCalls, ObjectEntryPointsAreLookedUpAtCreation) {
  TZuScript script("main", nullptr);
  script.ImportModule(ModulePath("testmod_nosetprop.zux"));
  EXPECT_SCRIPT_ERROR(script.FindClass("TCOUNTER")->CreateObject("c"), &script,
                      MissingMessage("ZuScriptXSetProperty", "testmod_nosetprop.zux"));
}

}  // namespace
}  // namespace zu::testing
