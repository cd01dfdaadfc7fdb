// CallBuiltin: lookup, every row's function and argument count, the random
// generator and Env, checked below the evaluator.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "common/expect_error.h"
#include "engine/builtins/builtins.h"
#include "engine/script.h"
#include "support/errors.h"
#include "support/files.h"

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

// The kind and value of a result ("Integer 3", "Text FF", "Empty").
std::string Describe(const ScriptValue& v) {
  char number[32];
  std::snprintf(number, sizeof number, "%.15g", v.DoublePayload());
  if (v.Kind() == ValueKind::Integer) return "Integer " + std::to_string(v.IntegerPayload());
  if (v.Kind() == ValueKind::Float) return std::string("Float ") + number;
  if (v.Kind() == ValueKind::DateTime) return std::string("DateTime ") + number;
  if (v.Kind() == ValueKind::Boolean) return v.BoolPayload() ? "Boolean true" : "Boolean false";
  if (v.Kind() == ValueKind::Text) return "Text " + std::string(v.TextPayload());
  return "Empty";
}

TEST_F(BuiltinsTable, EveryRowRunsItsOwnFunction) {
  const std::string file = ::testing::TempDir() + "builtins_table_crc.txt";
  std::remove(file.c_str());
  AppendText(file, "123456789");
  script_.DefineConstant("HomeDir", "/scripts/");
  script_.Context().RandomSeed = 0;
  const double when = 45258.573599537;  // Tuesday, 28 November 2023, 13:45:59
  struct Row {
    const char* name;
    Args args;
    const char* expected;  // "today" and "time of day" stand for the clock
  };
  // Each built-in called through the table with exactly its argument count
  // and arguments whose result no other built-in gives: a row with another
  // row's function or count fails here.
  const Row rows[] = {
      {"Chr", {Int(65)}, "Text A"},
      {"Ord", {Text("a")}, "Integer 97"},
      {"Str", {ScriptValue::Boolean(true)}, "Text true"},
      {"Hex", {Int(255), Int(4)}, "Text 00FF"},
      {"Num", {Text("12")}, "Float 12"},
      {"Num", {Int(3)}, "Integer 3"},
      {"Num", {ScriptValue::Boolean(true)}, "Boolean true"},
      {"Int", {ScriptValue::Float(2.5)}, "Integer 2"},
      {"Frac", {ScriptValue::Float(-1.5)}, "Float -0.5"},
      {"Frac", {Int(3)}, "Float 0"},
      {"Crc16Str", {Text("123456789"), Int(0)}, "Integer 12739"},
      {"Crc16File", {Text(file.c_str()), Int(0xFFFF)}, "Integer 10673"},
      {"Crc32Str", {Text("123456789"), Int(-1)}, "Integer 873187033"},
      {"Crc32File", {Text(file.c_str()), Int(0)}, "Integer 771566984"},
      {"Date", {}, "today"},
      {"Time", {}, "time of day"},
      {"FormatDateTime", {Text("yyyy-mm-dd"), Int(0)}, "Text 1899-12-30"},
      {"AsDateTime", {ScriptValue::Float(1.5)}, "DateTime 1.5"},
      {"Day", {ScriptValue::Float(when)}, "Integer 28"},
      {"Month", {ScriptValue::Float(when)}, "Integer 11"},
      {"Year", {ScriptValue::Float(when)}, "Integer 2023"},
      {"Hour", {ScriptValue::Float(when)}, "Integer 13"},
      {"Minute", {ScriptValue::Float(when)}, "Integer 45"},
      {"Second", {ScriptValue::Float(when)}, "Integer 59"},
      {"DayOfWeek", {ScriptValue::Float(when)}, "Integer 3"},
      {"StrPos", {Text("abcb"), Text("b")}, "Integer 2"},
      {"Substr", {Text("abcdef"), Int(2), Int(3)}, "Text bcd"},
      {"StrWord", {Int(2), Text("a b c"), Text(" ")}, "Text b"},
      {"StrLen", {Text("abcd")}, "Integer 4"},
      {"StrUpper", {Text("aB")}, "Text AB"},
      {"StrLower", {Text("aB")}, "Text ab"},
      {"StrRepl", {Text("aaa"), Text("aa"), Text("b")}, "Text ba"},
      {"Trim", {Text(" x ")}, "Text x"},
      {"StrPad", {Text("ab"), Int(4), Text("*")}, "Text ab**"},
      {"StrLPad", {Text("ab"), Int(4), Text("*")}, "Text **ab"},
      {"RegExpr", {Text("b+"), Text("abbc")}, "Boolean true"},
      {"ReplaceRegExpr", {Text("b+"), Text("abbc"), Text("-")}, "Text a-c"},
      {"Exec", {Text("/no/such/program"), Text(""), Text("no flag")}, "Empty"},
      {"Rnd", {}, "Float 2.3283064365387e-10"},
      {"Sleep", {Int(0)}, "Empty"},
      {"Beep", {}, "Empty"},
      {"Env", {Text("HOMEDIR")}, "Text /scripts/"},
      {"Not", {Int(1)}, "Boolean false"},
      {"ExtractFilePath", {Text("/a/b.zus")}, "Text /a/"},
      {"ExtractFileName", {Text("/a/b.zus")}, "Text b.zus"},
  };
  std::set<std::string> names;
  for (const Row& row : rows) {
    names.insert(row.name);
    const ScriptValue v = Call(row.name, row.args);
    const double d = v.DoublePayload();
    if (std::string_view(row.expected) == "today")  // a whole day, after 2023
      EXPECT_TRUE(v.Kind() == ValueKind::DateTime && d > 45000 && d == std::floor(d)) << d;
    else if (std::string_view(row.expected) == "time of day")  // on day 0
      EXPECT_TRUE(v.Kind() == ValueKind::DateTime && d >= 0 && d < 1) << d;
    else
      EXPECT_EQ(row.expected, Describe(v)) << row.name;
  }
  EXPECT_EQ(42u, names.size());
  std::remove(file.c_str());
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
