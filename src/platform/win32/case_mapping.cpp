// Case mapping and case-insensitive comparison of the ANSI code page
// (CharUpperBuffA, CharLowerBuffA, CompareStringA): the system's mapping of
// every byte fills the case tables.
#include <string_view>

#include "platform/common/case_tables.h"
#include "platform/win32/win32_api.h"

namespace zu::platform {

CaseTables BuildCaseTables() {
  CaseTables t;
  for (int c = 0; c < 256; ++c) {
    char u = static_cast<char>(c);
    char l = static_cast<char>(c);
    ::CharUpperBuffA(&u, 1);
    ::CharLowerBuffA(&l, 1);
    t.upper[c] = static_cast<unsigned char>(u);
    t.lower[c] = static_cast<unsigned char>(l);
  }
  return t;
}

int CompareTextIgnoreCase(std::string_view a, std::string_view b) {
  const int result =
      ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                       b.data(), static_cast<int>(b.size()));
  // CSTR_LESS_THAN, CSTR_EQUAL and CSTR_GREATER_THAN are 1, 2 and 3.
  if (result != 0) return result - CSTR_EQUAL;
  // The service failed (a text too long for it): compare by the table.
  return CompareByCaseTable(a, b);
}

}  // namespace zu::platform
