// Date and time built-ins: Date, Time, FormatDateTime, AsDateTime and the
// field functions Day .. DayOfWeek.
#include "engine/builtins/builtin_ops.h"
#include "engine/builtins/date_fields.h"
#include "engine/builtins/format_date_time.h"
#include "engine/script.h"
#include "platform/date_codec.h"

namespace zu {
namespace {

double WhenOf(const BuiltinArgs& args) { return ToFloat(args[0]); }

}  // namespace

ScriptValue BuiltinFormatDateTime(TZuScript&, const BuiltinArgs& args) {
  const std::string format = ToText(args[0]);
  const double when = ToFloat(args[1]);
  return ScriptValue::Text(FormatDateTime(format, when));
}

ScriptValue BuiltinDate(TZuScript&, const BuiltinArgs&) {
  const platform::CalendarTime now = platform::LocalNow();
  double days = 0;
  platform::EncodeDate(now.Year, now.Month, now.Day, days);
  return ScriptValue::DateTime(days);
}

ScriptValue BuiltinTime(TZuScript&, const BuiltinArgs&) {
  const platform::CalendarTime now = platform::LocalNow();
  double fraction = 0;
  platform::EncodeTime(now.Hour, now.Minute, now.Second, now.Millisecond, fraction);
  return ScriptValue::DateTime(fraction);
}

ScriptValue BuiltinAsDateTime(TZuScript&, const BuiltinArgs& args) {
  return ScriptValue::DateTime(ToDateTime(args[0]));
}

ScriptValue BuiltinDay(TZuScript&, const BuiltinArgs& args) {
  return ScriptValue::Integer(DecodeDayCount(WhenOf(args)).Day);
}

ScriptValue BuiltinMonth(TZuScript&, const BuiltinArgs& args) {
  return ScriptValue::Integer(DecodeDayCount(WhenOf(args)).Month);
}

ScriptValue BuiltinYear(TZuScript&, const BuiltinArgs& args) {
  return ScriptValue::Integer(DecodeDayCount(WhenOf(args)).Year);
}

ScriptValue BuiltinHour(TZuScript&, const BuiltinArgs& args) {
  return ScriptValue::Integer(DecodeDayCount(WhenOf(args)).Hour);
}

ScriptValue BuiltinMinute(TZuScript&, const BuiltinArgs& args) {
  return ScriptValue::Integer(DecodeDayCount(WhenOf(args)).Minute);
}

ScriptValue BuiltinSecond(TZuScript&, const BuiltinArgs& args) {
  return ScriptValue::Integer(DecodeDayCount(WhenOf(args)).Second);
}

// 1 for Sunday through 7 for Saturday.
ScriptValue BuiltinDayOfWeek(TZuScript&, const BuiltinArgs& args) {
  return ScriptValue::Integer(DecodeDayCount(WhenOf(args)).DayOfWeek + 1);
}

}  // namespace zu
