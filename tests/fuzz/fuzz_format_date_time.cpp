// Fuzz target: FormatDateTime with arbitrary formats. The first eight bytes
// are the day count (any double, NaN and infinities included), the next one
// picks the US English locale values or day-first ones with other
// separators and markers, and the rest is the format.
#include <cstring>

#include "engine/builtins/format_date_time.h"
#include "fuzz_util.h"

namespace {

zu::platform::LocaleValues DayFirstLocale() {
  zu::platform::LocaleValues v = zu::platform::Locale();
  v.DateSeparator = '.';
  v.TimeSeparator = '\xA0';
  v.ShortDateFormat = "dd.MM.yyyy";
  v.LongDateFormat = "dddd, d. MMMM yyyy 'g' gg e";
  v.ShortTimeFormat = "HH:mm";
  v.LongTimeFormat = "HH:mm:ss tt";
  v.TimeAMString = "";
  v.TimePMString = "nachm.";
  return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zu;
  double when = 0;
  std::memcpy(&when, data, std::min(sizeof when, size));
  const size_t skip = std::min<size_t>(size, sizeof when + 1);
  const bool dayFirst = size > sizeof when && (data[sizeof when] & 1) != 0;
  const std::string_view format(reinterpret_cast<const char*>(data) + skip, size - skip);
  static const platform::LocaleValues dayFirstLocale = DayFirstLocale();
  fuzz::RunGuarded([&] {
    const std::string text =
        FormatDateTime(format, when, dayFirst ? dayFirstLocale : platform::Locale());
    if (text.size() > kFormatDateTimeCap) __builtin_trap();  // the cap must hold
  });
  return 0;
}
