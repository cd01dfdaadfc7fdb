// The locale values of the user's default locale and the case mapping of
// code page 1252, as Windows (and Wine, started in a C or en_US locale)
// gives them for US English.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace zu::platform {
namespace {

bool UsEnglish() {
  const LocaleValues& v = Locale();
  return v.DecimalSeparator == '.' && v.ShortDateFormat == "M/d/yyyy" &&
         v.LongMonthNames[0] == "January";
}

TEST(Locale, UsEnglishValuesInThePatternLanguage) {
  if (!UsEnglish()) GTEST_SKIP() << "the user's locale is not US English";
  const LocaleValues& v = Locale();
  EXPECT_EQ(v.ThousandSeparator, ',');
  EXPECT_EQ(v.DateSeparator, '/');
  EXPECT_EQ(v.TimeSeparator, ':');
  EXPECT_EQ(v.LongDateFormat, "dddd, MMMM d, yyyy");
  // Windows writes "h:mm:ss tt"; the marker is AMPM in the pattern language.
  EXPECT_EQ(v.LongTimeFormat, "h:mm:ss AMPM");
  EXPECT_EQ(v.ShortTimeFormat, "h:mm AMPM");
  EXPECT_EQ(v.TimeAMString, "AM");
  EXPECT_EQ(v.TimePMString, "PM");
  EXPECT_EQ(v.ShortMonthNames[8], "Sep");
  // The locale's day names start on Monday, ours on Sunday.
  EXPECT_EQ(v.LongDayNames[0], "Sunday");
  EXPECT_EQ(v.LongDayNames[1], "Monday");
  EXPECT_EQ(v.ShortDayNames[6], "Sat");
}

// The pairs of code page 1252: A-Z, 0xC0-0xDE but 0xD7 (x), and S, OE, Z
// and Y with their marks (0x8A, 0x8C, 0x8E, 0x9F).
int LowerOf1252(int c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 32;
  if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 16;
  if (c == 0x9F) return 0xFF;
  return c;
}

TEST(CaseMapping, CodePage1252) {
  if (!UsEnglish()) GTEST_SKIP() << "the user's locale is not US English";
  int upper[256];
  for (int c = 0; c < 256; ++c) upper[c] = c;
  for (int c = 0; c < 256; ++c) {
    if (LowerOf1252(c) != c) upper[LowerOf1252(c)] = c;
  }
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(LowerChar(static_cast<unsigned char>(c)), LowerOf1252(c)) << c;
    EXPECT_EQ(UpperChar(static_cast<unsigned char>(c)), upper[c]) << c;
  }
  EXPECT_EQ(UpperText(std::string("a\0\xE4", 3)), std::string("A\0\xC4", 3));
}

TEST(CaseMapping, CompareIgnoresLetterCase) {
  EXPECT_EQ(CompareTextIgnoreCase("Hello", "hELLO"), 0);
  EXPECT_LT(CompareTextIgnoreCase("abc", "ABD"), 0);
  EXPECT_GT(CompareTextIgnoreCase("b", "A"), 0);
  EXPECT_LT(CompareTextIgnoreCase("ab", "ABC"), 0);
  EXPECT_EQ(CompareTextIgnoreCase("\xE4", "\xC4"), 0);
}

}  // namespace
}  // namespace zu::platform
