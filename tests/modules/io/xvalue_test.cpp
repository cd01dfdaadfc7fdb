// The boundary record conversions in both directions.
#include "values/xvalue.h"

#include <gtest/gtest.h>

#include <cstring>

namespace zu {
namespace {

TZuScriptXValue Record(uint32_t kind) {
  TZuScriptXValue x;
  std::memset(&x, 0xAB, sizeof x);  // garbage the writer must overwrite
  x.Kind = kind;
  return x;
}

TEST(XValue, ValuesKeepTheirKindBothWays) {
  const ScriptValue values[] = {ScriptValue::Integer(-7),
                                ScriptValue::Float(2.5),
                                ScriptValue::DateTime(46000.25),
                                ScriptValue::Boolean(true),
                                ScriptValue::Boolean(false),
                                ScriptValue::Text("abc"),
                                ScriptValue()};
  for (const ScriptValue& v : values) {
    TZuScriptXValue x = Record(77);
    ValueToXValue(v, x);
    ScriptValue back = XValueToValue(x);
    ASSERT_EQ(back.Kind(), v.Kind());
    if (!v.IsEmpty()) {
      EXPECT_EQ(CompareValues(back, v), 0);
    }
  }
}

TEST(XValue, RecordLayout) {
  TZuScriptXValue x = Record(0);
  ValueToXValue(ScriptValue::Integer(-2), x);
  const unsigned char expectInt[12] = {2, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(&x, expectInt, 12), 0);

  ValueToXValue(ScriptValue::Boolean(true), x);
  const unsigned char expectTrue[12] = {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::memcmp(&x, expectTrue, 12), 0);

  ValueToXValue(ScriptValue(), x);
  const unsigned char zeros[12] = {};
  EXPECT_EQ(std::memcmp(&x, zeros, 12), 0);

  ScriptValue text = ScriptValue::Text("");
  ValueToXValue(text, x);
  EXPECT_EQ(x.Kind, static_cast<uint32_t>(xkText));
  // The packed record's pointer is read into a local: the assertions take
  // references, and a reference to the unaligned member is undefined.
  const char* pointer = x.Data.Text;
  ASSERT_NE(pointer, nullptr);
  EXPECT_STREQ(pointer, "");
  ScriptValue owned = ScriptValue::Text("owned");
  ValueToXValue(owned, x);
  pointer = x.Data.Text;
  EXPECT_EQ(pointer, owned.TextPayload().data());  // no copy is made

  // Arrays of records have a stride of twelve bytes.
  TZuScriptXValue pair[2];
  ValueToXValue(ScriptValue::Float(1.5), pair[0]);
  ValueToXValue(ScriptValue::Integer(9), pair[1]);
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(pair);
  EXPECT_EQ(bytes[12], 2);
  EXPECT_EQ(bytes[16], 9);
}

TEST(XValue, ReaderRules) {
  TZuScriptXValue x = Record(xkBoolean);
  x.Data.Boolean = 5;
  ScriptValue v = XValueToValue(x);
  EXPECT_EQ(v.Kind(), ValueKind::Boolean);
  EXPECT_EQ(v.BoolPayload(), -1);  // the engine's true

  for (uint32_t kind : {0u, 6u, 9u, 0xFFFFFFFFu}) {
    EXPECT_TRUE(XValueToValue(Record(kind)).IsEmpty()) << kind;
  }

  x = Record(xkText);
  x.Data.Text = nullptr;
  v = XValueToValue(x);
  EXPECT_EQ(v.Kind(), ValueKind::Text);
  EXPECT_EQ(v.TextPayload(), "");

  ScriptValue withNul = ScriptValue::Text(std::string("ab\0cd", 5));
  ValueToXValue(withNul, x);
  EXPECT_EQ(XValueToValue(x).TextPayload(), "ab");
}

}  // namespace
}  // namespace zu
