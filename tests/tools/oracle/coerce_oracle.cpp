// Windows program that asks the real variant coercion service
// (VariantChangeTypeEx, user default locale 0x400, flags 0) how it converts a
// fixed corpus of values, and prints one tab-separated line per case:
//   SOURCE-KIND  SOURCE  TARGET-KIND  RESULT
// Kinds are E (Empty), I (Integer), F (Float), D (DateTime), B (Boolean) and
// T (Text). Doubles are written with 17 significant digits (they read back
// exactly), texts with \\ and \xNN escapes, a failure as "ERR" and the
// HRESULT. Lines "VT" give VariantTimeToSystemTime of a day count:
//   VT  DAYS  Y-M-D H:M:S.MS DOW
// Build and run: see README.md beside this file.
// windows.h first: oleauto.h needs its types.
#include <windows.h>
// (separate block, so that sorting keeps the order)
#include <oleauto.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string Escape(const std::string& s) {
  std::string out;
  for (unsigned char c : s) {
    if (c == '\\') {
      out += "\\\\";
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out;
}

std::string Narrow(BSTR b) {
  int len = SysStringLen(b);
  if (len == 0) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, b, len, nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, b, len, &out[0], n, nullptr, nullptr);
  return out;
}

BSTR Widen(const std::string& s) {
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  BSTR b = SysAllocStringLen(nullptr, n);
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), b, n);
  return b;
}

std::string Dbl(double d) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g", d);
  return buf;
}

const VARTYPE kTargets[] = {VT_I4, VT_R8, VT_BOOL, VT_BSTR, VT_DATE};
const char* TargetName(VARTYPE t) {
  switch (t) {
    case VT_I4:
      return "I";
    case VT_R8:
      return "F";
    case VT_BOOL:
      return "B";
    case VT_BSTR:
      return "T";
    default:
      return "D";
  }
}

void Convert(const char* kind, const std::string& shown, VARIANT& src) {
  for (VARTYPE t : kTargets) {
    VARIANT dst;
    VariantInit(&dst);
    HRESULT hr = VariantChangeTypeEx(&dst, &src, 0x400, 0, t);
    std::string result;
    if (FAILED(hr)) {
      char buf[32];
      std::snprintf(buf, sizeof buf, "ERR %08lX", static_cast<unsigned long>(hr));
      result = buf;
    } else {
      switch (t) {
        case VT_I4:
          result = std::to_string(dst.lVal);
          break;
        case VT_R8:
          result = Dbl(dst.dblVal);
          break;
        case VT_BOOL:
          result = std::to_string(dst.boolVal);
          break;
        case VT_BSTR:
          result = Escape(Narrow(dst.bstrVal));
          break;
        default:
          result = Dbl(dst.date);
          break;
      }
    }
    std::printf("%s\t%s\t%s\t%s\n", kind, shown.c_str(), TargetName(t), result.c_str());
    VariantClear(&dst);
  }
}

void Ints() {
  const long kValues[] = {
      0,       1,       -1,      42,      -7,    100000, 1000000000, 2147483647, -2147483647 - 1,
      2958465, 2958466, -657434, -657435, 36526, 60};
  for (long v : kValues) {
    VARIANT src;
    VariantInit(&src);
    src.vt = VT_I4;
    src.lVal = v;
    Convert("I", std::to_string(v), src);
  }
}

const double kFloats[] = {0.0,
                          -0.0,
                          0.1,
                          1.0 / 3,
                          2.0 / 3,
                          1.5,
                          2.5,
                          3.5,
                          -2.5,
                          -1.5,
                          0.5,
                          -0.5,
                          1e14 + 0.5,
                          1e15,
                          1e-5,
                          0.0001,
                          123456789012345678.0,
                          1e300,
                          -1e300,
                          1e-300,
                          2147483647.5,
                          -2147483648.5,
                          2147483647.4,
                          -2147483648.49,
                          2147483648.0,
                          46362.75,
                          46362.999999,
                          -1.25,
                          0.99999999999999989,
                          999999999999999.4,
                          999999999999999.5,
                          123.456,
                          1e21,
                          5e-324,
                          1.7976931348623157e308,
                          0.000123456789012345678,
                          12345678.9,
                          9.99999999999999e14,
                          0.1 + 0.2,
                          100.0,
                          -100.25,
                          2958465.9999999,
                          2958466.0,
                          -657434.0,
                          -657434.5,
                          -657435.0,
                          0.25,
                          1.0000001,
                          1e-10,
                          0.00001234,
                          -0.000099999999999999,
                          99999999999999.95,
                          1234567.125,
                          -1e15,
                          4.5,
                          5.5};

const double kDates[] = {0.0,
                         1.0,
                         -1.0,
                         46362.75,
                         46362.999999,
                         46362.9999999,
                         -1.25,
                         -0.5,
                         0.5,
                         2.5,
                         46362.0,
                         2958465.99999,
                         2958465.9999999999,
                         2958466.0,
                         -657434.0,
                         -657435.0,
                         -657434.5,
                         0.000005787037037037,
                         1.5e-6,
                         36526.0,
                         60.0,
                         61.0,
                         1e10,
                         -0.25,
                         -1.75,
                         0.999999,
                         0.9999999,
                         -2.00000001,
                         1.0 / 3,
                         59.5};

void Doubles(const char* kind, VARTYPE vt, const double* values, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    VARIANT src;
    VariantInit(&src);
    src.vt = vt;
    if (vt == VT_R8)
      src.dblVal = values[i];
    else
      src.date = values[i];
    Convert(kind, Dbl(values[i]), src);
  }
}

void Bools() {
  const short kValues[] = {-1, 0, 1, 2};
  for (short v : kValues) {
    VARIANT src;
    VariantInit(&src);
    src.vt = VT_BOOL;
    src.boolVal = v;
    Convert("B", std::to_string(v), src);
  }
}

const char* const kTexts[] = {"",
                              " ",
                              "0",
                              "1",
                              "-1",
                              "42",
                              " 5 ",
                              "\t5\r\n",
                              "5-",
                              "-5",
                              "+5",
                              "5+",
                              "(5)",
                              "(-5)",
                              "$5",
                              "5$",
                              "-$5",
                              "$-5",
                              "1.",
                              ".5",
                              ".",
                              "-",
                              "+",
                              "1e",
                              "1e5",
                              "1E+5",
                              "1.5e-3",
                              "&H10",
                              "&h1f",
                              "&O17",
                              "&o17",
                              "&HFFFFFFFF",
                              "&H",
                              "0x10",
                              "1.2.3",
                              "1 2",
                              "Infinity",
                              "NaN",
                              "inf",
                              "1,5",
                              "1,,000",
                              ",5",
                              "1,000.5",
                              "1,000,000",
                              "2147483647",
                              "2147483648",
                              "-2147483648",
                              "-2147483649",
                              "2147483647.5",
                              "2147483646.5",
                              "-2147483648.5",
                              "2.5",
                              "3.5",
                              "-2.5",
                              "0.5",
                              "1.5",
                              "123456789012345678901234567890",
                              "1e308",
                              "1e309",
                              "1e-400",
                              "true",
                              "TRUE",
                              "True",
                              "false",
                              "FALSE",
                              " true ",
                              "#TRUE#",
                              "#FALSE#",
                              "#true#",
                              "yes",
                              "on",
                              "abc",
                              "12abc",
                              "\x80",
                              "\xE9",
                              "12/6/2026",
                              "12/6/2026 6:00:00 PM",
                              "6:00:00 PM 12/6/2026",
                              "2026-12-06",
                              "2026/12/06",
                              "13/6/2026",
                              "2/30/2026",
                              "December 6, 2026",
                              "Dec 6, 2026",
                              "Sunday, December 6, 2026",
                              "6 December 2026",
                              "12:30",
                              "12:30:15 PM",
                              "8 PM",
                              "25:00",
                              "12:60",
                              "46362",
                              "1/1/100",
                              "12/31/9999",
                              "1/1/99",
                              "1/1/49",
                              "1/1/50",
                              "12/6/26",
                              "12-6-2026",
                              "12.6.2026",
                              "0:00",
                              "12:00 AM",
                              "12:00 PM",
                              "11:59:59 PM",
                              "2026-12-06 18:30",
                              "2/29/2024",
                              "2/29/2023",
                              "1/1/10000",
                              "00:00:00",
                              "0.0",
                              "-0",
                              "1.5E",
                              "1e+",
                              "5 -",
                              "- 5",
                              "(5",
                              "5)",
                              "$",
                              "&H7FFFFFFF",
                              "&H80000000",
                              "&HFFFFFFFFF",
                              "&O777",
                              "&O8",
                              "1e-5",
                              "0.000001",
                              "3,5.5",
                              "1.000,5",
                              "  -12.5e2  ",
                              "-5-",
                              "+-5",
                              "1,5e3",
                              "Dec 2026",
                              "12/2026",
                              "13/13/2026",
                              "31/12/2026",
                              "1 PM 12/6/2026",
                              "12:30:15.5",
                              "noon",
                              "Mon Dec 7 2026",
                              "&HFFFF",
                              "&H8000",
                              "&HFFFFFFFE",
                              "&H80000001",
                              "&HFFFFFFF",
                              "&HC0000000",
                              "&O37777777777",
                              "&O20000000000",
                              "&O40000000000",
                              "-&H10",
                              " &H10 ",
                              "&H10-",
                              "&H1.5",
                              "--5",
                              "-+5",
                              "((5)",
                              "$$5",
                              "5--",
                              "1,",
                              "1.,5",
                              "1e1,0",
                              "-(5)",
                              "($5)",
                              "5 $",
                              "&h 10",
                              "1 e5",
                              "1e 5",
                              "1E-02",
                              "0x",
                              ",",
                              "1,.5",
                              "(5)-",
                              "5$-",
                              "$5$",
                              "1.5e+3",
                              "1e-2.5",
                              "0.1e1",
                              "-.5",
                              "-0.0",
                              "12/6/2026 18:30:00",
                              "18:30 12/6/2026",
                              "Dec-6-2026",
                              "6-Dec-2026",
                              "2026-12-06T18:30",
                              "12/6/2026 6 PM",
                              "12/6/2026 6:00 pm",
                              "6:00:00 am",
                              "13:00 PM",
                              "0:30 AM",
                              "12:30 AM",
                              "2026-13-01",
                              "99/1/1",
                              "100/1/1",
                              "1/1/0",
                              "1/1/1",
                              "1/1/999",
                              "12/6/2026 24:00",
                              "Sunday 12/6/2026",
                              "September 30 2026",
                              "Sept 30 2026",
                              "sep 30 2026",
                              "DECEMBER 6 2026",
                              "12/6/2026 6:00:00 PM x",
                              "12//6/2026",
                              "1/1/2026 1:2:3",
                              "2:3:4 AM",
                              "12:00:00 PM 1/1/2000",
                              "23:59:59",
                              "1/1/100 0:00",
                              "2026-1-5",
                              "5-1-2026",
                              "1-Jan-26"};

void Texts() {
  for (const char* t : kTexts) {
    VARIANT src;
    VariantInit(&src);
    src.vt = VT_BSTR;
    src.bstrVal = Widen(t);
    Convert("T", Escape(t), src);
    VariantClear(&src);
  }
}

// Texts that a C string cannot hold (a NUL inside: the service reads up to
// it), and the blanks of code page 1252 beyond space, tab, CR and LF.
const std::string kSizedTexts[] = {std::string("5\0x", 3),
                                   std::string("\0", 1),
                                   std::string("\0" "5", 2),
                                   std::string(" 5\0 ", 4),
                                   std::string("-\0" "5", 3),
                                   std::string("1.5\0e3", 6),
                                   std::string("&H1\0F", 5),
                                   std::string("true\0x", 6),
                                   std::string("#FALSE#\0", 8),
                                   std::string("12/6/2026\0 6:00 PM", 18),
                                   std::string("12:30\0:15", 9),
                                   "\xA0" "5",
                                   "5\xA0",
                                   "\xA0",
                                   "1\xA0" "000",
                                   "\xA0true",
                                   "\xA0" "12/6/2026",
                                   "12/6/2026\xA0" "6:00 PM",
                                   "\v5",
                                   "5\f",
                                   "\x85" "5",
                                   "\x81" "5",
                                   "\x1F" "5",
                                   "\x1C" "5",
                                   "\xAD" "5"};

void SizedTexts() {
  for (const std::string& t : kSizedTexts) {
    VARIANT src;
    VariantInit(&src);
    src.vt = VT_BSTR;
    src.bstrVal = Widen(t);
    Convert("T", Escape(t), src);
    VariantClear(&src);
  }
}

void Empty() {
  VARIANT src;
  VariantInit(&src);
  Convert("E", "-", src);
}

void VariantTimes() {
  const double kDays[] = {0.0,       -0.5,       -1.0,         -1.25,       -1.75,    -2.5,
                          -657434.0, -657434.25, -657435,      2958465.5,   2958466,  0.25,
                          36526.75,  -0.999,     -3.0 / 86400, 1.5 / 86400, -693594.0};
  for (double d : kDays) {
    SYSTEMTIME st;
    if (VariantTimeToSystemTime(d, &st)) {
      std::printf("VT\t%s\t%d-%d-%d %d:%d:%d.%d %d\n", Dbl(d).c_str(), st.wYear, st.wMonth, st.wDay,
                  st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, st.wDayOfWeek);
    } else {
      std::printf("VT\t%s\tERR\n", Dbl(d).c_str());
    }
  }
}

}  // namespace

int main() {
  Empty();
  Ints();
  Doubles("F", VT_R8, kFloats, sizeof kFloats / sizeof kFloats[0]);
  Doubles("D", VT_DATE, kDates, sizeof kDates / sizeof kDates[0]);
  Bools();
  Texts();
  SizedTexts();
  VariantTimes();
  return 0;
}
