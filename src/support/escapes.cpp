// The backslash escapes of string literals: \n \r \t \" \\ \! and numeric
// escapes of up to two decimal or three hexadecimal digits.
#include "support/numbers.h"
#include "support/text_utils.h"

namespace zu {
namespace {

// A decimal escape consumes at most this many characters after the
// backslash, a hexadecimal one (the 'x' included) at most this many.
constexpr int kDecimalEscapeLength = 2;
constexpr int kHexEscapeLength = 4;

}  // namespace

std::string DecodeEscapes(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  const size_t n = s.size();
  size_t i = 0;
  while (i < n) {
    if (s[i] != '\\') {
      out += s[i++];
      continue;
    }
    if (i + 1 < n) {
      const char c = s[i + 1];
      const char simple = c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
      if (c == 'n' || c == 'r' || c == 't' || c == '"' || c == '\\' || c == '!') {
        out += simple;
        i += 2;
        continue;
      }
    }
    // Numeric escape: collect digits of the current base; an 'x' early on
    // switches to hexadecimal and drops what was collected.
    size_t j = i + 1;
    int base = 10, counter = 0;
    std::string digits;
    while (j < n) {
      const char c = s[j];
      if (IsBaseDigit(c, base)) {
        digits += c;
      } else if ((c == 'x' || c == 'X') && counter <= 1) {
        base = 16;
        digits.clear();
      } else {
        break;
      }
      ++j;
      ++counter;
      if (counter >= (base == 10 ? kDecimalEscapeLength : kHexEscapeLength)) break;
    }
    if (!digits.empty()) {
      out += static_cast<char>(TextToInt(digits, base) & 0xFF);
      i = j;
    } else {
      out += '\\';
      if (j < n) out += s[j];
      i = j + 1;
    }
  }
  return out;
}

}  // namespace zu
