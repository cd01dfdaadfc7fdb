// CallBuiltin: lookup, argument-count messages, the kinds of the results,
// the random generator and Env, checked below the evaluator.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/expect_error.h"
#include "engine/builtins/builtins.h"
#include "engine/script.h"
#include "support/errors.h"

namespace zu {
namespace {

using Args = std::vector<ScriptValue>;

ScriptValue Text(const char* s) { return ScriptValue::Text(s); }
ScriptValue Int(int32_t v) { return ScriptValue::Integer(v); }

class BuiltinsTable : public ::testing::Test {
 protected:
  ScriptValue Call(std::string_view name, const Args& args, std::string_view text = "") {
    return CallBuiltin(script_, name, args, text);
  }
  // The message of the script error the call raises; the error must carry
  // the calling script.
  std::string ErrorOf(std::string_view name, const Args& args, std::string_view text) {
    try {
      Call(name, args, text);
    } catch (const EZuScriptError& e) {
      EXPECT_EQ(&script_, e.Script);
      return e.what();
    }
    ADD_FAILURE() << "no script error from " << name;
    return "";
  }

  TZuScript script_{"main.zus", nullptr};
};

TEST_F(BuiltinsTable, NamesFoldOnlyAsciiLettersAndMatchWhole) {
  EXPECT_EQ("Unknow function: \"StrLän\"", ErrorOf("StrLän", {Text("a")}, "\"a\""));
  EXPECT_EQ("Unknow function: \"StrLen2\"", ErrorOf("StrLen2", {}, ""));
  EXPECT_EQ("Unknow function: \"\"", ErrorOf("", {}, ""));
}

TEST_F(BuiltinsTable, EveryBuiltinIsReachableWithItsArgumentCount) {
  struct Entry {
    const char* name;
    int count;
  };
  // Each built-in with one argument too many: the message proves the entry
  // exists and holds that count.
  const Entry entries[] = {{"Chr", 1},
                           {"Ord", 1},
                           {"Str", 1},
                           {"Hex", 2},
                           {"Num", 1},
                           {"Int", 1},
                           {"Frac", 1},
                           {"Crc16Str", 2},
                           {"Crc16File", 2},
                           {"Crc32Str", 2},
                           {"Crc32File", 2},
                           {"Date", 0},
                           {"Time", 0},
                           {"FormatDateTime", 2},
                           {"AsDateTime", 1},
                           {"Day", 1},
                           {"Month", 1},
                           {"Year", 1},
                           {"Hour", 1},
                           {"Minute", 1},
                           {"Second", 1},
                           {"DayOfWeek", 1},
                           {"StrPos", 2},
                           {"Substr", 3},
                           {"StrWord", 3},
                           {"StrLen", 1},
                           {"StrUpper", 1},
                           {"StrLower", 1},
                           {"StrRepl", 3},
                           {"Trim", 1},
                           {"StrPad", 3},
                           {"StrLPad", 3},
                           {"RegExpr", 2},
                           {"ReplaceRegExpr", 3},
                           {"Exec", 3},
                           {"Rnd", 0},
                           {"Sleep", 1},
                           {"Beep", 0},
                           {"Env", 1},
                           {"Not", 1},
                           {"ExtractFilePath", 1},
                           {"ExtractFileName", 1}};
  ASSERT_EQ(42u, std::size(entries));
  for (const Entry& e : entries) {
    const Args args(static_cast<size_t>(e.count + 1), Int(0));
    EXPECT_EQ(std::string("Too much arguments: ") + e.name + "(x)", ErrorOf(e.name, args, "x"));
  }
}

TEST_F(BuiltinsTable, ResultKinds) {
  EXPECT_EQ(ValueKind::Float, Call("Num", {Text("12")}).Kind());
  EXPECT_EQ(12.0, Call("Num", {Text("12")}).DoublePayload());
  const ScriptValue unchanged = Call("Num", {Int(3)});
  EXPECT_EQ(ValueKind::Integer, unchanged.Kind());
  EXPECT_EQ(3, unchanged.IntegerPayload());
  EXPECT_EQ(ValueKind::Boolean, Call("Num", {ScriptValue::Boolean(true)}).Kind());

  EXPECT_EQ(ValueKind::Integer, Call("Int", {ScriptValue::Float(2.5)}).Kind());
  EXPECT_EQ(2, Call("Int", {ScriptValue::Float(2.5)}).IntegerPayload());
  EXPECT_EQ(ValueKind::Float, Call("Frac", {Int(3)}).Kind());
  EXPECT_EQ(-0.5, Call("Frac", {ScriptValue::Float(-1.5)}).DoublePayload());

  EXPECT_EQ(ValueKind::DateTime, Call("Date", {}).Kind());
  EXPECT_EQ(ValueKind::DateTime, Call("Time", {}).Kind());
  EXPECT_EQ(ValueKind::DateTime, Call("AsDateTime", {Int(0)}).Kind());
  EXPECT_EQ(ValueKind::Boolean, Call("RegExpr", {Text("b"), Text("abc")}).Kind());
  EXPECT_EQ(ValueKind::Boolean, Call("Not", {Int(1)}).Kind());
  EXPECT_EQ(0, Call("Not", {Int(1)}).BoolPayload());
  EXPECT_EQ(-1, Call("Not", {ScriptValue::Boolean(false)}).BoolPayload());
  EXPECT_TRUE(Call("Sleep", {Int(0)}).IsEmpty());
  EXPECT_TRUE(Call("Exec", {Text("/no/such/program"), Text(""), Text("no flag")}).IsEmpty());
  EXPECT_EQ(ValueKind::Integer, Call("Crc32Str", {Text("123456789"), Int(-1)}).Kind());
  EXPECT_EQ(873187033, Call("Crc32Str", {Text("123456789"), Int(-1)}).IntegerPayload());
}

TEST_F(BuiltinsTable, RndFollowsTheSeedOfTheRunContext) {
  script_.Context().RandomSeed = 0;
  EXPECT_EQ(1.0 / 4294967296.0, Call("Rnd", {}).DoublePayload());
  EXPECT_EQ(1u, script_.Context().RandomSeed);
  EXPECT_EQ(134775814.0 / 4294967296.0, Call("Rnd", {}).DoublePayload());
  EXPECT_EQ(134775814u, script_.Context().RandomSeed);

  // The largest seed stays below 1.
  script_.Context().RandomSeed = 0x4D60AE66u;  // the seed before 0xFFFFFFFF
  const double top = Call("Rnd", {}).DoublePayload();
  EXPECT_EQ(0xFFFFFFFFu, script_.Context().RandomSeed);
  EXPECT_LT(top, 1.0);
}

TEST_F(BuiltinsTable, EnvReadsConstantsThroughTheOwnerChain) {
  script_.DefineConstant("HomeDir", "/scripts/");
  TZuScript function("F", &script_);
  const ScriptValue v = CallBuiltin(function, "Env", {Text("HOMEDIR")}, "\"HOMEDIR\"");
  EXPECT_EQ("/scripts/", v.TextPayload());

  EXPECT_SCRIPT_ERROR(CallBuiltin(function, "Env", {Text("PATH")}, "\"PATH\""), &function,
                      "Environment variable \"PATH\" not found");
}

}  // namespace
}  // namespace zu
