// Case mapping and case-insensitive comparison of the ANSI code page
// (CharUpperBuffA, CharLowerBuffA, CompareStringA). The mapping of every
// byte is asked once and kept in a table, since names are upper-cased on
// every lookup.
#include <string>

#include "platform/win32/win32_api.h"

namespace zu::platform {
namespace {

struct CaseTables {
  unsigned char upper[256];
  unsigned char lower[256];
};

CaseTables BuildTables() {
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

const CaseTables& Tables() {
  static const CaseTables tables = BuildTables();
  return tables;
}

}  // namespace

unsigned char UpperChar(unsigned char c) { return Tables().upper[c]; }

unsigned char LowerChar(unsigned char c) { return Tables().lower[c]; }

std::string UpperText(std::string_view s) {
  const CaseTables& t = Tables();
  std::string out(s);
  for (char& c : out) c = static_cast<char>(t.upper[static_cast<unsigned char>(c)]);
  return out;
}

std::string LowerText(std::string_view s) {
  const CaseTables& t = Tables();
  std::string out(s);
  for (char& c : out) c = static_cast<char>(t.lower[static_cast<unsigned char>(c)]);
  return out;
}

int CompareTextIgnoreCase(std::string_view a, std::string_view b) {
  const int result =
      ::CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                       b.data(), static_cast<int>(b.size()));
  // CSTR_LESS_THAN, CSTR_EQUAL and CSTR_GREATER_THAN are 1, 2 and 3.
  if (result != 0) return result - CSTR_EQUAL;
  // The service failed (a text too long for it): compare by the table.
  const CaseTables& t = Tables();
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const int x = t.upper[static_cast<unsigned char>(a[i])];
    const int y = t.upper[static_cast<unsigned char>(b[i])];
    if (x != y) return x - y;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace zu::platform
