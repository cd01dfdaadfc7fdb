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

// Only what the recorded fixture does not already hold.
TEST_F(CoerceRules, FloatTexts) {
  EXPECT_EQ("0.1", AsText(Number(kFloat, 0.1)));
  EXPECT_EQ("-100000000000001", AsText(Number(kFloat, -1e14 - 0.5)));
  EXPECT_EQ("1.5E+300", AsText(Number(kFloat, 1.5e300)));
  EXPECT_EQ("1E+100", AsText(Number(kFloat, 1e100)));
  EXPECT_EQ("123456789012345", AsText(Number(kFloat, 123456789012345.0)));
  EXPECT_EQ("1.23456789012346E+15", AsText(Number(kFloat, 1234567890123456.0)));
  // 0.15 is a little below its decimal; 15 digits round it back up.
  EXPECT_EQ("0.15", AsText(Number(kFloat, 0.15)));
}

TEST_F(CoerceRules, NumberAndBooleanTexts) {
  EXPECT_EQ("5", AsFloat(" \t5\r\n"));
  EXPECT_EQ("ERR", AsInteger("&H100000000"));
  // A very long digit string still reads as the nearest double.
  EXPECT_EQ("1.0000000000000001e+300", AsFloat("1" + std::string(300, '0')));
  EXPECT_EQ("ERR", AsFloat("1" + std::string(999, '0')));
  EXPECT_EQ("0", AsFloat("0." + std::string(2000, '0') + "1"));
  Variant out;
  ASSERT_TRUE(ChangeType(Text("tRuE"), kBoolean, out));
  EXPECT_EQ(-1, out.Bool);
  EXPECT_FALSE(ChangeType(Text("#True#"), kBoolean, out));
}

TEST_F(CoerceRules, ReadingDates) {
  EXPECT_EQ("12/6/2026 6:00:00 PM", AsDate("6 PM 12/6/2026"));
  EXPECT_EQ("12/6/2026", AsDate("6-dec-2026"));
  EXPECT_EQ("8:00:00 PM", AsDate("8 pm"));
  for (const char* bad : {"12/6/2026 x", "AM", "12:", "1/2/3/4"})
    EXPECT_EQ("ERR", AsDate(bad)) << bad;
}

TEST_F(CoerceRules, MissingYearIsTheCurrentOne) {
  // Appended, not "/" + to_string(...): GCC 12 at -O3 warns (-Wrestrict)
  // on the inlined operator+(const char*, string&&).
  std::string expected = "12/6/";
  expected += std::to_string(LocalNow().Year);
  EXPECT_EQ(expected, AsDate("12/6"));
  EXPECT_EQ(expected, AsDate("Dec 6"));
}

TEST_F(CoerceRules, NanAndUnknownKindsFail) {
  Variant out;
  EXPECT_FALSE(ChangeType(Number(kFloat, NAN), kInteger, out));
  EXPECT_EQ("ERR", AsText(Number(kDateTime, NAN)));
  Variant unknown;
  unknown.Kind = 8;
  EXPECT_FALSE(ChangeType(unknown, kText, out));
}

}  // namespace
}  // namespace zu::platform
