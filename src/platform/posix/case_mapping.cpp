// Case mapping of the 8-bit code page. A-Z and a-z always map; bytes above
// 127 follow the locale's charset when it is a single-byte one. Under UTF-8
// they stay as they are, so UTF-8 text passes through upper-casing and
// case-insensitive comparison uncorrupted.
#include <ctype.h>
#include <locale.h>
#include <stdlib.h>

#include <string>

#include "platform/common/case_tables.h"
#include "platform/platform.h"

namespace zu::platform {
namespace {

// True when the locale's characters may take more than one byte (UTF-8 and
// the East Asian charsets): bytes above 127 are then parts of characters.
bool IsMultiByte(locale_t loc) {
  locale_t old = uselocale(loc);
  size_t longest = MB_CUR_MAX;
  uselocale(old);
  return longest > 1;
}

}  // namespace

CaseTables BuildCaseTables() {
  CaseTables t;
  for (int c = 0; c < 256; ++c) {
    t.upper[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    t.lower[c] = static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  }
  locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  if (loc == static_cast<locale_t>(0)) return t;
  if (!IsMultiByte(loc)) {
    for (int c = 128; c < 256; ++c) {
      int u = toupper_l(c, loc);
      int l = tolower_l(c, loc);
      // Only mappings that stay within the upper half; anything else would
      // turn a letter into plain ASCII.
      if (u >= 128 && u < 256) t.upper[c] = static_cast<unsigned char>(u);
      if (l >= 128 && l < 256) t.lower[c] = static_cast<unsigned char>(l);
    }
  }
  freelocale(loc);
  return t;
}

int CompareTextIgnoreCase(std::string_view a, std::string_view b) {
  return CompareByCaseTable(a, b);
}

}  // namespace zu::platform
