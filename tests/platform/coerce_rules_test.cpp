// The coercion service's rules for US English beyond the recorded fixture:
// number texts, float texts, date texts both ways, and missing years.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/date_codec.h"
#include "platform/platform.h"

namespace zu::platform {
namespace {

constexpr uint16_t kInteger = 3, kFloat = 5, kDateTime = 7, kBoolean = 11, kText = 256;

class CoerceRules : public ::testing::Test {
 protected:
  void SetUp() override {
    const LocaleValues& loc = Locale();
    if (loc.DecimalSeparator != '.' || loc.ThousandSeparator != ',' ||
        loc.ShortDateFormat != "M/d/yyyy" || loc.LongTimeFormat != "h:mm:ss AMPM")
      GTEST_SKIP() << "US English rules";
  }
  static Variant Text(std::string s) {
    Variant v;
    v.Kind = kText;
    v.Text = std::move(s);
    return v;
  }
  static Variant Number(uint16_t kind, double d) {
    Variant v;
    v.Kind = kind;
    v.Double = d;
    return v;
  }
  static std::string AsText(const Variant& v) {
    Variant out;
    return ChangeType(v, kText, out) ? out.Text : "ERR";
  }
  static std::string AsFloat(const std::string& s) {
    Variant out;
    if (!ChangeType(Text(s), kFloat, out)) return "ERR";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", out.Double);
    return buf;
  }
  static std::string AsInteger(const std::string& s) {
    Variant out;
    return ChangeType(Text(s), kInteger, out) ? std::to_string(out.Int) : "ERR";
  }
  static std::string AsDate(const std::string& s) {
    Variant out;
    if (!ChangeType(Text(s), kDateTime, out)) return "ERR";
    return AsText(Number(kDateTime, out.Double));
  }
};

TEST_F(CoerceRules, FloatTexts) {
  EXPECT_EQ("0.1", AsText(Number(kFloat, 0.1)));
  EXPECT_EQ("0.333333333333333", AsText(Number(kFloat, 1.0 / 3)));
  EXPECT_EQ("100000000000001", AsText(Number(kFloat, 1e14 + 0.5)));
  EXPECT_EQ("-100000000000001", AsText(Number(kFloat, -1e14 - 0.5)));
  EXPECT_EQ("1E+15", AsText(Number(kFloat, 1e15)));
  EXPECT_EQ("1E-05", AsText(Number(kFloat, 1e-5)));
  EXPECT_EQ("0.0001", AsText(Number(kFloat, 0.0001)));
  EXPECT_EQ("0", AsText(Number(kFloat, -0.0)));
  EXPECT_EQ("1.5E+300", AsText(Number(kFloat, 1.5e300)));
  EXPECT_EQ("1E+100", AsText(Number(kFloat, 1e100)));
  EXPECT_EQ("123456789012345", AsText(Number(kFloat, 123456789012345.0)));
  EXPECT_EQ("1.23456789012346E+15", AsText(Number(kFloat, 1234567890123456.0)));
  EXPECT_EQ("0.000123456789012346", AsText(Number(kFloat, 0.000123456789012345678)));
  // 0.15 is a little below its decimal; 15 digits round it back up.
  EXPECT_EQ("0.15", AsText(Number(kFloat, 0.15)));
}

TEST_F(CoerceRules, LenientNumberTexts) {
  EXPECT_EQ("-5", AsFloat("5-"));
  EXPECT_EQ("-5", AsFloat("(5)"));
  EXPECT_EQ("5", AsFloat("$5"));
  EXPECT_EQ("5", AsFloat("5$"));
  EXPECT_EQ("1", AsFloat("1."));
  EXPECT_EQ("0.5", AsFloat(".5"));
  EXPECT_EQ("15", AsFloat("1,5"));
  EXPECT_EQ("1000", AsFloat("1,,000"));
  EXPECT_EQ("16", AsFloat("&H10"));
  EXPECT_EQ("15", AsFloat("&o17"));
  EXPECT_EQ("5", AsFloat(" \t5\r\n"));
  EXPECT_EQ("2147483648", AsFloat("2147483648"));
  EXPECT_EQ("ERR", AsInteger("2147483648"));
  EXPECT_EQ("-1", AsInteger("&HFFFFFFFF"));
  for (const char* bad : {"", " ", ".", "-", "1e", "0x10", "1.2.3", "1 2", "Infinity", "NaN", ",5",
                          "(5", "5)", "--5", "-5-", "&H", "&O8", "1e309"})
    EXPECT_EQ("ERR", AsFloat(bad)) << bad;
  EXPECT_EQ("ERR", AsInteger("&H100000000"));
  EXPECT_EQ("0", AsFloat("1e-400"));
  // A very long digit string still reads as the nearest double.
  EXPECT_EQ("1.0000000000000001e+300", AsFloat("1" + std::string(300, '0')));
  EXPECT_EQ("ERR", AsFloat("1" + std::string(999, '0')));
  EXPECT_EQ("0", AsFloat("0." + std::string(2000, '0') + "1"));
}

TEST_F(CoerceRules, BooleanTexts) {
  const auto asBool = [](const char* s) {
    Variant out;
    return ChangeType(Text(s), kBoolean, out) ? std::to_string(out.Bool) : "ERR";
  };
  EXPECT_EQ("-1", asBool("tRuE"));
  EXPECT_EQ("0", asBool("FALSE"));
  EXPECT_EQ("-1", asBool("#TRUE#"));
  EXPECT_EQ("ERR", asBool("#True#"));
  EXPECT_EQ("ERR", asBool(" true "));
  EXPECT_EQ("-1", asBool(" 5 "));
  EXPECT_EQ("0", asBool("0.0"));
  EXPECT_EQ("ERR", asBool("yes"));
  EXPECT_EQ("ERR", asBool(""));
}

TEST_F(CoerceRules, DateTexts) {
  EXPECT_EQ("12/6/2026 6:00:00 PM", AsText(Number(kDateTime, 46362.75)));
  EXPECT_EQ("12/6/2026", AsText(Number(kDateTime, 46362)));
  EXPECT_EQ("12:00:00 PM", AsText(Number(kDateTime, -0.5)));
  EXPECT_EQ("12:00:00 AM", AsText(Number(kDateTime, 0)));
  EXPECT_EQ("12/7/2026 12:00:00 AM", AsText(Number(kDateTime, 46362.999999)));
  EXPECT_EQ("12/29/1899 6:00:00 AM", AsText(Number(kDateTime, -1.25)));
  EXPECT_EQ("1/1/100", AsText(Number(kDateTime, -657434)));
  EXPECT_EQ("ERR", AsText(Number(kDateTime, -657435)));
  EXPECT_EQ("ERR", AsText(Number(kDateTime, 2958466)));
  EXPECT_EQ("ERR", AsText(Number(kDateTime, NAN)));
}

TEST_F(CoerceRules, ReadingDates) {
  EXPECT_EQ("12/6/2026 6:00:00 PM", AsDate("12/6/2026 6:00:00 PM"));
  EXPECT_EQ("12/6/2026 6:00:00 PM", AsDate("6 PM 12/6/2026"));
  EXPECT_EQ("6/13/2026", AsDate("13/6/2026"));
  EXPECT_EQ("12/6/2026", AsDate("2026-12-06"));
  EXPECT_EQ("12/6/2026", AsDate("Sunday, December 6, 2026"));
  EXPECT_EQ("12/6/2026", AsDate("6-dec-2026"));
  EXPECT_EQ("1/1/1950", AsDate("1/1/50"));
  EXPECT_EQ("1/1/2049", AsDate("1/1/49"));
  EXPECT_EQ("12:30:15 PM", AsDate("12:30:15 PM"));
  EXPECT_EQ("8:00:00 PM", AsDate("8 pm"));
  EXPECT_EQ("12:30:00 AM", AsDate("12:30 AM"));
  for (const char* bad :
       {"", "46362", "2/30/2026", "25:00", "12:60", "12/6/2026 x", "12//6/2026", "13/13/2026",
        "1/1/10000", "noon", "AM", "12:", "2026-12-06T18:30", "12:30:15.5", "1.2.3", "1/2/3/4"})
    EXPECT_EQ("ERR", AsDate(bad)) << bad;
}

TEST_F(CoerceRules, MissingYearIsTheCurrentOne) {
  const int year = LocalNow().Year;
  const std::string suffix = "/" + std::to_string(year);
  EXPECT_EQ("12/6" + suffix, AsDate("12/6"));
  EXPECT_EQ("12/6" + suffix, AsDate("Dec 6"));
  EXPECT_EQ("12/1/2026", AsDate("Dec 2026"));
}

TEST_F(CoerceRules, OtherKinds) {
  Variant out, empty;
  ASSERT_TRUE(ChangeType(empty, kText, out));
  EXPECT_EQ("", out.Text);
  ASSERT_TRUE(ChangeType(empty, kDateTime, out));
  EXPECT_EQ(0.0, out.Double);
  Variant b;
  b.Kind = kBoolean;
  b.Bool = -1;
  EXPECT_EQ("-1", AsText(b));
  ASSERT_TRUE(ChangeType(b, kDateTime, out));
  EXPECT_EQ(-1.0, out.Double);
  EXPECT_FALSE(ChangeType(Number(kFloat, 2147483647.5), kInteger, out));
  ASSERT_TRUE(ChangeType(Number(kFloat, -2147483648.5), kInteger, out));
  EXPECT_EQ(INT32_MIN, out.Int);
  EXPECT_FALSE(ChangeType(Number(kFloat, NAN), kInteger, out));
  Variant unknown;
  unknown.Kind = 8;
  EXPECT_FALSE(ChangeType(unknown, kText, out));
}

}  // namespace
}  // namespace zu::platform
