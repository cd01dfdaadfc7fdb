// Bad input never crashes: arbitrary bytes as literals and texts, every
// operator text and every pair of kinds give a value or a defined error.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "support/errors.h"
#include "support/numbers.h"
#include "support/text_utils.h"
#include "values/script_value.h"

namespace zu {
namespace {

const std::set<std::string> kFailures = {"Invalid variant type conversion",
                                         "Invalid variant operation",
                                         "Division by zero",
                                         "Floating point division by zero",
                                         "Invalid floating point operation",
                                         "Floating point overflow"};
const std::set<std::string> kScriptErrors = {"Unexpected end of string",
                                             "Invalid hexadecimal number"};

// Runs fn and accepts a normal return or one of the defined errors.
template <typename Fn>
void ExpectDefined(Fn fn, const std::string& what) {
  try {
    fn();
  } catch (const EFailure& e) {
    const std::string m = e.what();
    // The parsers quote the whole text, which may hold a NUL that what() cuts.
    const bool parser = e.Kind() == kConvertError && m.rfind("'", 0) == 0;
    EXPECT_TRUE(kFailures.count(m) || parser) << what << ": " << m;
  } catch (const EZuScriptError& e) {
    const std::string m = e.what();
    EXPECT_TRUE(kScriptErrors.count(m) || m.rfind("Invalid operator \"", 0) == 0)
        << what << ": " << m;
  }
}

std::string RandomText(std::mt19937& rng) {
  static const char kAlphabet[] = "0123456789+-.,xXeE$&HhOo()\"'\\ \t:/APMampTRUEfalse";
  std::string s;
  const int len = static_cast<int>(rng() % 14);
  for (int i = 0; i < len; ++i) {
    const unsigned r = rng() % 4;
    s += r == 0 ? static_cast<char>(rng() % 256) : kAlphabet[rng() % (sizeof kAlphabet - 1)];
  }
  return s;
}

std::vector<ScriptValue> SampleValues(std::mt19937& rng) {
  return {ScriptValue(),
          ScriptValue::Integer(0),
          ScriptValue::Integer(INT32_MIN),
          ScriptValue::Integer(-1),
          ScriptValue::Integer(static_cast<int32_t>(rng())),
          ScriptValue::Float(0.0),
          ScriptValue::Float(-1e308),
          ScriptValue::Float(1e-320),
          ScriptValue::Float(2147483647.5),
          ScriptValue::Float(std::numeric_limits<double>::quiet_NaN()),
          ScriptValue::Float(std::numeric_limits<double>::infinity()),
          ScriptValue::DateTime(46362.75),
          ScriptValue::DateTime(-1e12),
          ScriptValue::Boolean(true),
          ScriptValue::BooleanPayload(7),
          ScriptValue::Text(""),
          ScriptValue::Text(std::string("1\0", 2)),
          ScriptValue::Text("\xff\xfe"),
          ScriptValue::Text("12/6/2026 6 PM"),
          ScriptValue::Text(RandomText(rng))};
}

TEST(Robustness, EveryOperatorOnEveryPairOfKinds) {
  std::mt19937 rng(12345);
  const char* const kOperators[] = {"+",  "-",  "*", "/",  "%",  "&",  "|",   "^",
                                    "<<", ">>", ">", ">=", "<",  "<=", "==",  "<>",
                                    "||", "&&", "=", "!",  "+=", "",   "<<<", "\0"};
  for (int round = 0; round < 3; ++round) {
    const std::vector<ScriptValue> values = SampleValues(rng);
    for (const ScriptValue& l : values)
      for (const ScriptValue& r : values)
        for (const char* op : kOperators) ExpectDefined([&] { ApplyOperator(l, op, r); }, op);
  }
}

TEST(Robustness, ArbitraryBytesAsLiteralsTextsAndParsers) {
  std::mt19937 rng(777);
  for (int i = 0; i < 5000; ++i) {
    std::string s = RandomText(rng);
    if (i % 3 == 0) s = "\"" + s;
    const ScriptValue t = ScriptValue::Text(s);
    ExpectDefined(
        [&] {
          if (IsLiteralText(s)) LiteralValue(s);
        },
        "literal " + s);
    ExpectDefined([&] { ToInteger(t); }, "int " + s);
    ExpectDefined([&] { ToFloat(t); }, "float " + s);
    ExpectDefined([&] { ToBoolean(t); }, "bool " + s);
    ExpectDefined([&] { ToDateTime(t); }, "date " + s);
    ExpectDefined([&] { ParseNumber(s); }, "ParseNumber " + s);
    ExpectDefined([&] { ParseInteger(s); }, "ParseInteger " + s);
    ExpectDefined([&] { DecodeEscapes(s); }, "escapes " + s);
    ExpectDefined([&] { TextToFraction(s); }, "fraction " + s);
  }
}

TEST(Robustness, ConversionsOfExtremeValues) {
  std::mt19937 rng(99);
  for (const ScriptValue& v : SampleValues(rng)) {
    ExpectDefined([&] { ToText(v); }, "text");
    ExpectDefined([&] { ToInteger(v); }, "int");
    ExpectDefined([&] { ToDateTime(v); }, "date");
    ExpectDefined([&] { NotValue(v); }, "not");
  }
}

}  // namespace
}  // namespace zu
