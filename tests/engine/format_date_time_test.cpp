// Date decoding as the date built-ins see it, and the FormatDateTime pattern
// language on fixed locale values.
#include "engine/builtins/format_date_time.h"

#include <gtest/gtest.h>

#include <string>

#include "common/expect_error.h"
#include "engine/builtins/date_fields.h"
#include "platform/date_codec.h"
#include "support/errors.h"

namespace zu {
namespace {

// The US English values the C locale yields, spelled out so the tests do not
// depend on the machine's locale.
platform::LocaleValues UsEnglish() {
  static const char* const kMonths[12] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};
  static const char* const kDays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                       "Thursday", "Friday", "Saturday"};
  platform::LocaleValues v;
  for (int i = 0; i < 12; ++i) {
    v.LongMonthNames[i] = kMonths[i];
    v.ShortMonthNames[i] = std::string(kMonths[i], 3);
  }
  for (int i = 0; i < 7; ++i) {
    v.LongDayNames[i] = kDays[i];
    v.ShortDayNames[i] = std::string(kDays[i], 3);
  }
  return v;
}

// A day-first locale with its own separators and a 24-hour clock.
platform::LocaleValues German() {
  platform::LocaleValues v = UsEnglish();
  v.DateSeparator = '.';
  v.TimeSeparator = ':';
  v.ShortDateFormat = "dd/MM/yyyy";
  v.LongDateFormat = "dddd, d. MMMM yyyy";
  v.ShortTimeFormat = "HH:mm";
  v.LongTimeFormat = "HH:mm:ss";
  v.TimeAMString = "vorm.";
  v.TimePMString = "nachm.";
  return v;
}

double At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0) {
  platform::CalendarTime t;
  t.Year = year;
  t.Month = month;
  t.Day = day;
  t.Hour = hour;
  t.Minute = minute;
  t.Second = second;
  t.Millisecond = ms;
  return platform::CalendarToDays(t);
}

std::string Us(const std::string& format, double when) {
  return FormatDateTime(format, when, UsEnglish());
}

// Sunday 6 December 2026, 18:04:05.007.
const double kEvening = At(2026, 12, 6, 18, 4, 5, 7);

TEST(DateFields, NegativeCountsBetweenMinusOneAndZeroAreDayZero) {
  // The whole part is the day, the fraction's magnitude the time.
  const platform::CalendarTime t = DecodeDayCount(-0.5);
  EXPECT_EQ(30, t.Day);
  EXPECT_EQ(12, t.Hour);
}

TEST(DateFields, CarriesRoundedMillisecondsIntoTheNextDay) {
  const platform::CalendarTime t = DecodeDayCount(46362.9999999999);
  EXPECT_EQ(7, t.Day);
  EXPECT_EQ(0, t.Hour);
  EXPECT_EQ(0, t.Millisecond);
  EXPECT_EQ(1, t.DayOfWeek);  // Monday
}

TEST(DateFields, DecodesBeyondTheCodecYears) {
  platform::CalendarTime t = DecodeDayCount(At(9999, 12, 31) + 1.5);
  EXPECT_EQ(10000, t.Year);
  EXPECT_EQ(1, t.Month);
  EXPECT_EQ(1, t.Day);
  EXPECT_EQ(12, t.Hour);
  EXPECT_EQ(6, t.DayOfWeek);  // 1 January 10000 is a Saturday

  t = DecodeDayCount(At(100, 1, 1) - 1);
  EXPECT_EQ(99, t.Year);
  EXPECT_EQ(12, t.Month);
  EXPECT_EQ(31, t.Day);

  t = DecodeDayCount(-800000.25);
  EXPECT_EQ(-291, t.Year);
  EXPECT_EQ(6, t.Hour);
}

TEST(DateFields, RejectsCountsThatAreNoDate) {
  for (double bad : {1e300, -1e300, kMaxDayCount * 2}) {
    EXPECT_FAILURE(DecodeDayCount(bad), "EInvalidOp", "Invalid floating point operation") << bad;
  }
}

TEST(FormatDateTime, EmptyFormatAndCShowTheTimeOnlyWhenThereIsOne) {
  EXPECT_EQ("12/6/2026 6:04:05 PM", Us("", kEvening));
  EXPECT_EQ("12/6/2026 6:04:05 PM", Us("c", kEvening));
  EXPECT_EQ("12/6/2026", Us("", At(2026, 12, 6)));
  EXPECT_EQ("12/6/2026", Us("cc", At(2026, 12, 6, 0, 0, 0, 500)));
  EXPECT_EQ("12/30/1899 12:00:01 AM", Us("c", At(1899, 12, 30, 0, 0, 1)));
}

TEST(FormatDateTime, DayMonthAndYearForms) {
  EXPECT_EQ("6 06 Sun Sunday", Us("d dd ddd dddd", kEvening));
  EXPECT_EQ("12/6/2026|Sunday, December 6, 2026|Sunday, December 6, 2026",
            Us("ddddd|dddddd|ddddddd", kEvening));
  EXPECT_EQ("3 03 Mar March March", Us("m mm mmm mmmm mmmmm", At(2026, 3, 1)));
  EXPECT_EQ("05 05 2005 2005", Us("y yy yyy yyyy", At(2005, 3, 1)));
  EXPECT_EQ("0100", Us("yyyy", At(100, 1, 1)));
  EXPECT_EQ("Sun Sunday Sunday", Us("aaa aaaa AAAAA", kEvening));
  EXPECT_EQ("2026 2026 A.D.", Us("e ee gg", kEvening));
}

TEST(FormatDateTime, LettersAreCaseInsensitive) {
  EXPECT_EQ(Us("dd/mm/yyyy hh:nn:ss", kEvening), Us("DD/MM/YYYY HH:NN:SS", kEvening));
  EXPECT_EQ("06/12/2026 18:04:05", Us("dD/Mm/yYYy hH:Nn:sS", kEvening));
}

TEST(FormatDateTime, MonthLetterRightAfterAnHourLetterMeansMinutes) {
  EXPECT_EQ("18:04", Us("hh:mm", kEvening));
  EXPECT_EQ("18:4", Us("h:m", kEvening));
  EXPECT_EQ("18 04", Us("hh mm", kEvening));
  EXPECT_EQ("18h04", Us("hh\"h\"mm", kEvening));  // quoted text is no letter
  EXPECT_EQ("18x12", Us("hhxmm", kEvening));      // another letter ends the rule
  EXPECT_EQ("18 Dec", Us("hh mmm", kEvening));    // month names stay month names
  EXPECT_EQ("12 18:04:05", Us("mm hh:mm:ss", kEvening));
}

TEST(FormatDateTime, CountsBeyondTheLargestFormUseIt) {
  EXPECT_EQ("18 04 05", Us("hhhh nnn sss", kEvening));
  EXPECT_EQ("7 07 007 007", Us("z zz zzz zzzzz", kEvening));
  EXPECT_EQ("4 04", Us("n nn", kEvening));
  EXPECT_EQ("5 05", Us("s ss", kEvening));
}

TEST(FormatDateTime, AmPmMarkersKeepTheirLetterCase) {
  EXPECT_EQ("6:04 pm", Us("h:nn am/pm", kEvening));
  EXPECT_EQ("6:04 PM", Us("h:nn AM/PM", kEvening));
  EXPECT_EQ("6:04 pM", Us("h:nn Am/pM", kEvening));
  EXPECT_EQ("9 Am", Us("h Am/pM", At(2026, 12, 6, 9)));
  EXPECT_EQ("6 p 6 P", Us("h a/p h A/P", kEvening));
  EXPECT_EQ("9 a", Us("h a/p", At(2026, 12, 6, 9)));
  EXPECT_EQ("06 PM", Us("hh ampm", kEvening));
  EXPECT_EQ("06 nachm.", FormatDateTime("hh ampm", kEvening, German()));
}

TEST(FormatDateTime, TwelveHourClockOnlyWhenAMarkerFollowsBeforeTheNextHour) {
  EXPECT_EQ("18", Us("h", kEvening));
  EXPECT_EQ("12:30 AM", Us("h:nn AM/PM", At(2026, 12, 6, 0, 30)));
  EXPECT_EQ("12:00 PM", Us("h:nn AM/PM", At(2026, 12, 6, 12)));
  EXPECT_EQ("0:30", Us("h:nn", At(2026, 12, 6, 0, 30)));
  // Only the last hour before the marker uses the 12-hour clock.
  EXPECT_EQ("18 06 pm", Us("h hh am/pm", kEvening));
  // A marker in quotes does not count, and neither does an earlier one.
  EXPECT_EQ("18 am/pm", Us("h \"am/pm\"", kEvening));
  EXPECT_EQ("pm 18", Us("am/pm h", kEvening));
  EXPECT_EQ("6 'x' pm", Us("h \"'x'\" am/pm", kEvening));
}

TEST(FormatDateTime, LocaleFormatsAndSeparators) {
  EXPECT_EQ("6:04 PM|6:04:05 PM|6:04:05 PM", Us("t|tt|ttt", kEvening));
  const platform::LocaleValues de = German();
  EXPECT_EQ("06.12.2026 18:04:05", FormatDateTime("", kEvening, de));
  EXPECT_EQ("18:04|18:04:05", FormatDateTime("t|tt", kEvening, de));
  EXPECT_EQ("Sunday, 6. December 2026", FormatDateTime("dddddd", kEvening, de));
  EXPECT_EQ("6.12.2026 18:04", FormatDateTime("d/m/yyyy h:nn", kEvening, de));
  EXPECT_EQ("6..12", FormatDateTime("d//m", kEvening, de));
}

TEST(FormatDateTime, QuotedTextIsCopiedAsItIs) {
  EXPECT_EQ("day d is 6", Us("\"day d is\" d", kEvening));
  EXPECT_EQ("it's 6", Us("\"it's\" d", kEvening));
  EXPECT_EQ("say \"hh\"", Us("'say \"hh\"'", kEvening));
  EXPECT_EQ("6 open hh", Us("d \"open hh", kEvening));  // unclosed: to the end
  EXPECT_EQ("6", Us("d''", kEvening));
}

TEST(FormatDateTime, OtherCharactersStandForThemselves) {
  EXPECT_EQ("[6] # x", Us("[d] # x", kEvening));
  EXPECT_EQ("a aa", Us("a aa", kEvening));
}

TEST(FormatDateTime, OutputStopsAt256Characters) {
  std::string manyNames;
  for (int i = 0; i < 40; ++i) manyNames += "dddd ";
  const std::string out = Us(manyNames, kEvening);
  ASSERT_EQ(256u, out.size());
  EXPECT_EQ("Sunday Sunday", out.substr(0, 13));
  EXPECT_EQ(std::string(256, 'q'), Us("\"" + std::string(400, 'q') + "\"", kEvening));
}

TEST(FormatDateTime, NegativeAndFarDates) {
  EXPECT_EQ("12/29/1899 6:00:00 AM", Us("", -1.25));
  EXPECT_EQ("1/1/10000", Us("", At(9999, 12, 31) + 1));
}

}  // namespace
}  // namespace zu
