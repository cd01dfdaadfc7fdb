// Conversions of script values and the literal forms.
#include "values/script_value.h"

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "values/value_test_util.h"

namespace zu {
namespace {

using namespace zu::testing;

bool UsEnglish() {
  const platform::LocaleValues& loc = platform::Locale();
  return loc.DecimalSeparator == '.' && loc.ShortDateFormat == "M/d/yyyy";
}

TEST(ScriptValue, ValuesAreIndependentCopies) {
  ScriptValue a = T("abc");
  ScriptValue b = a;
  a = I(5);
  EXPECT_EQ("Text abc", Show(b));
  EXPECT_EQ(std::string("a\0b", 3), T(std::string("a\0b", 3)).TextPayload());
}

TEST(ScriptValue, AppendingInPlaceLeavesEveryOtherHolderUnchanged) {
  // x = x + e appends into x's storage; a copy taken before, and a second
  // append from that copy, must still see their own texts.
  ScriptValue x = ScriptValue::Concatenate(T("ab"), T("c"));
  const ScriptValue before = x;
  x = ScriptValue::Concatenate(x, T("d"));
  const ScriptValue other = ScriptValue::Concatenate(before, T("X"));
  x = ScriptValue::Concatenate(x, x);
  EXPECT_EQ("Text abcdabcd", Show(x));
  EXPECT_EQ("Text abc", Show(before));
  EXPECT_EQ("Text abcX", Show(other));
  // Every text of one character shares one storage: appending to it never
  // changes the others, and the storage outlives all its holders.
  for (int round = 0; round < 2; ++round) {
    const ScriptValue a = T("a");
    EXPECT_EQ("Text ab", Show(ScriptValue::Concatenate(a, T("b"))));
    EXPECT_EQ("Text ac", Show(ScriptValue::Concatenate(T("a"), T("c"))));
    EXPECT_EQ("Text a", Show(a));
    EXPECT_STREQ("a", a.TextCStr());
  }
  EXPECT_EQ(std::string(1, '\0'), T(std::string(1, '\0')).TextPayload());
  // The module boundary needs a NUL right after a text, also for a shorter
  // view of a storage that grew.
  EXPECT_STREQ("abc", before.TextCStr());
  EXPECT_STREQ("", T("").TextCStr());
  EXPECT_EQ(16u, sizeof(ScriptValue));
}

TEST(ScriptValue, ToIntegerRoundsHalfToEvenAndChecksRangeAfterRounding) {
  EXPECT_EQ(2, ToInteger(F(2.5)));
  EXPECT_EQ(4, ToInteger(F(3.5)));
  EXPECT_EQ(-2, ToInteger(F(-2.5)));
  EXPECT_EQ(-2147483648, ToInteger(F(-2147483648.5)));
  EXPECT_EQ(2147483647, ToInteger(F(2147483647.4)));
  EXPECT_FAILURE(ToInteger(F(2147483647.5)), kInvalidOp, "Invalid floating point operation");
  EXPECT_FAILURE(ToInteger(F(1e300)), kInvalidOp, "Invalid floating point operation");
  EXPECT_EQ(-1, ToInteger(B(true)));
  EXPECT_EQ(0, ToInteger(E()));
  EXPECT_EQ(46363, ToInteger(D(46362.75)));
  EXPECT_EQ(-5, ToInteger(T(" (5) ")));
  EXPECT_EQ(2, ToInteger(T("2.5")));
  EXPECT_FAILURE(ToInteger(T("2147483648")), kVariantError, "Invalid variant type conversion");
  EXPECT_FAILURE(ToInteger(T("abc")), kVariantError, "Invalid variant type conversion");
}

TEST(ScriptValue, ToFloatToBooleanToDateTime) {
  EXPECT_EQ(-1.0, ToFloat(B(true)));
  EXPECT_EQ(0.0, ToFloat(E()));
  EXPECT_EQ(2147483648.0, ToFloat(T("2147483648")));
  EXPECT_EQ(46362.75, ToFloat(D(46362.75)));
  EXPECT_FAILURE(ToFloat(T("")), kVariantError, "Invalid variant type conversion");
  EXPECT_TRUE(ToBoolean(I(2)));
  EXPECT_TRUE(ToBoolean(F(0.1)));
  EXPECT_FALSE(ToBoolean(F(-0.0)));
  EXPECT_FALSE(ToBoolean(E()));
  EXPECT_TRUE(ToBoolean(T("True")));
  EXPECT_TRUE(ToBoolean(T(" 5 ")));
  EXPECT_FAILURE(ToBoolean(T(" true ")), kVariantError, "Invalid variant type conversion");
  EXPECT_FAILURE(ToBoolean(T("yes")), kVariantError, "Invalid variant type conversion");
  EXPECT_EQ(-1.0, ToDateTime(B(true)));
  EXPECT_EQ(0.0, ToDateTime(E()));
  EXPECT_EQ(5.0, ToDateTime(I(5)));
  EXPECT_FAILURE(ToDateTime(I(2958466)), kVariantError, "Invalid variant type conversion");
  EXPECT_FAILURE(ToDateTime(T("46362")), kVariantError, "Invalid variant type conversion");
}

TEST(ScriptValue, ToTextWritesTheServiceForms) {
  if (!UsEnglish()) GTEST_SKIP() << "US English forms";
  EXPECT_EQ("-2147483648", ToText(I(INT32_MIN)));
  EXPECT_EQ("0", ToText(I(0)));
  EXPECT_EQ("", ToText(E()));
  EXPECT_EQ("-1", ToText(B(true)));
  EXPECT_EQ("0", ToText(B(false)));
  EXPECT_EQ("3.5", ToText(F(3.5)));
  EXPECT_EQ("0.333333333333333", ToText(F(1.0 / 3)));
  EXPECT_EQ("1E+15", ToText(F(1e15)));
  EXPECT_EQ("12/6/2026 6:00:00 PM", ToText(D(46362.75)));
  EXPECT_EQ("12/6/2026", ToText(D(46362)));
  EXPECT_FAILURE(ToText(D(3e6)), kVariantError, "Invalid variant type conversion");
  // The fast Integer path agrees with the service for every magnitude.
  for (int32_t v : {1, -1, 9, 10, 99, 100, 123456789, INT32_MAX, INT32_MIN}) {
    platform::Variant src, dst;
    src.Kind = 3;
    src.Int = v;
    ASSERT_TRUE(platform::ChangeType(src, 256, dst));
    EXPECT_EQ(dst.Text, ToText(I(v)));
  }
}

// The escapes themselves are DecodeEscapes' tests; here the quoting.
TEST(Literals, Texts) {
  EXPECT_EQ("Text A", Show(LiteralValue("'\\x41'")));
  EXPECT_EQ("Text ", Show(LiteralValue("\"")));
  EXPECT_EQ("Text ", Show(LiteralValue("''")));
  EXPECT_EQ("Text a\"b", Show(LiteralValue("'a\"b'")));
  EXPECT_SCRIPT_ERROR(LiteralValue("\"abc"), nullptr, "Unexpected end of string");
  EXPECT_SCRIPT_ERROR(LiteralValue("\"abc'"), nullptr, "Unexpected end of string");
}

TEST(Literals, Numbers) {
  EXPECT_EQ("Integer 0", Show(LiteralValue("4294967296")));
  EXPECT_EQ("Integer -2147483648", Show(LiteralValue("2147483648")));
  EXPECT_EQ("Integer -12", Show(LiteralValue("-12")));
  EXPECT_EQ("Integer 102", Show(LiteralValue("1-2")));
  EXPECT_EQ("Integer 0", Show(LiteralValue("--")));
  EXPECT_EQ("Integer -1", Show(LiteralValue("0xFFFFFFFF")));
  EXPECT_EQ("Integer 0", Show(LiteralValue("0x100000000")));
  EXPECT_EQ("Integer 31", Show(LiteralValue("0X1f")));
  EXPECT_SCRIPT_ERROR(LiteralValue("0xG"), nullptr, "Invalid hexadecimal number");
  EXPECT_SCRIPT_ERROR(LiteralValue("0x1.5"), nullptr, "Invalid hexadecimal number");
  EXPECT_EQ("Float 0", Show(LiteralValue("1.2.3")));
  EXPECT_EQ("Float 0", Show(LiteralValue(".")));
  EXPECT_EQ("Float 0.5", Show(LiteralValue(".5")));
  EXPECT_EQ("Float 1.5", Show(LiteralValue("+1.5")));
  EXPECT_EQ("Float 0", Show(LiteralValue("+")));
  EXPECT_EQ("Float -0.25", Show(LiteralValue("-.25")));
}

TEST(Literals, IsLiteralText) {
  EXPECT_TRUE(IsLiteralText("'x"));
  EXPECT_TRUE(IsLiteralText("0x1"));
  EXPECT_TRUE(IsLiteralText("0xZ"));
  EXPECT_TRUE(IsLiteralText("-1.5"));
  EXPECT_TRUE(IsLiteralText("--"));
  EXPECT_FALSE(IsLiteralText("0x"));
  EXPECT_FALSE(IsLiteralText(""));
  EXPECT_FALSE(IsLiteralText("1e5"));
  EXPECT_FALSE(IsLiteralText("abc"));
}

}  // namespace
}  // namespace zu
