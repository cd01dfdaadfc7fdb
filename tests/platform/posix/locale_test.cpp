// Locale values and case mapping in the C locale: the US English values, and
// case mapping that touches A-Z/a-z only.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform.h"
#include "test_env.h"

namespace zu::platform {
namespace {

// The locale is read once per process: the C locale is chosen before any
// test runs.
const bool kCLocaleChosen = (zu::testing::SetEnv("LC_ALL", "C"), true);

TEST(Locale, CLocaleGivesUsEnglishValues) {
  ASSERT_TRUE(kCLocaleChosen);
  const LocaleValues& v = Locale();
  EXPECT_EQ(v.DecimalSeparator, '.');
  EXPECT_EQ(v.ThousandSeparator, ',');
  EXPECT_EQ(v.DateSeparator, '/');
  EXPECT_EQ(v.TimeSeparator, ':');
  EXPECT_EQ(v.ShortDateFormat, "M/d/yyyy");
  EXPECT_EQ(v.LongDateFormat, "dddd, MMMM d, yyyy");
  EXPECT_EQ(v.ShortTimeFormat, "h:mm AMPM");
  EXPECT_EQ(v.LongTimeFormat, "h:mm:ss AMPM");
  EXPECT_EQ(v.TimeAMString, "AM");
  EXPECT_EQ(v.TimePMString, "PM");
  EXPECT_EQ(v.LongMonthNames[0], "January");
  EXPECT_EQ(v.LongMonthNames[11], "December");
  EXPECT_EQ(v.ShortMonthNames[8], "Sep");
  EXPECT_EQ(v.LongDayNames[0], "Sunday");
  EXPECT_EQ(v.ShortDayNames[6], "Sat");
  EXPECT_EQ(&Locale(), &v);  // read once
}

TEST(CaseMapping, AsciiLettersOnlyInTheCLocale) {
  EXPECT_EQ(UpperText("abc xyz 019 {}@`"), "ABC XYZ 019 {}@`");
  EXPECT_EQ(LowerText("ABC XYZ [\\]"), "abc xyz [\\]");
  // UTF-8 bytes pass through both ways unchanged
  EXPECT_EQ(UpperText("\xC3\xA4x"), "\xC3\xA4X");
  EXPECT_EQ(LowerText("\xC3\x84X"), "\xC3\x84x");
  for (int c = 128; c < 256; ++c) {
    EXPECT_EQ(UpperChar(static_cast<unsigned char>(c)), c);
    EXPECT_EQ(LowerChar(static_cast<unsigned char>(c)), c);
  }
  EXPECT_EQ(UpperText(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(CaseMapping, CompareIgnoresLetterCase) {
  EXPECT_EQ(CompareTextIgnoreCase("Hello", "hELLO"), 0);
  EXPECT_LT(CompareTextIgnoreCase("abc", "ABD"), 0);
  EXPECT_GT(CompareTextIgnoreCase("b", "A"), 0);
  EXPECT_LT(CompareTextIgnoreCase("ab", "ABC"), 0);
  EXPECT_GT(CompareTextIgnoreCase("abc", "AB"), 0);
  EXPECT_EQ(CompareTextIgnoreCase("", ""), 0);
  EXPECT_GT(CompareTextIgnoreCase("\xE4", "a"), 0);  // bytes above 127 sort after ASCII
}

}  // namespace
}  // namespace zu::platform
