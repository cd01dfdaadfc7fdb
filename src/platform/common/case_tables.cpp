// Case mapping through the tables of the 8-bit code page: names are
// upper-cased on every lookup, so each byte's mapping is asked once.
#include "platform/common/case_tables.h"

#include <string>

#include "platform/platform.h"

namespace zu::platform {

const CaseTables& GetCaseTables() {
  static const CaseTables tables = BuildCaseTables();
  return tables;
}

int CompareByCaseTable(std::string_view a, std::string_view b) {
  const CaseTables& t = GetCaseTables();
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    const int x = t.upper[static_cast<unsigned char>(a[i])];
    const int y = t.upper[static_cast<unsigned char>(b[i])];
    if (x != y) return x - y;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

unsigned char UpperChar(unsigned char c) { return GetCaseTables().upper[c]; }

unsigned char LowerChar(unsigned char c) { return GetCaseTables().lower[c]; }

std::string UpperText(std::string_view s) {
  const CaseTables& t = GetCaseTables();
  std::string out(s);
  for (char& c : out) c = static_cast<char>(t.upper[static_cast<unsigned char>(c)]);
  return out;
}

std::string LowerText(std::string_view s) {
  const CaseTables& t = GetCaseTables();
  std::string out(s);
  for (char& c : out) c = static_cast<char>(t.lower[static_cast<unsigned char>(c)]);
  return out;
}

}  // namespace zu::platform
