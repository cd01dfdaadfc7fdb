// key=value lookup in the CR LF separated text of zus.ini, by the rule that
// only the first line starting with the key is examined.
#include "support/ini.h"

#include "support/text_utils.h"

namespace zu {

std::string IniValue(std::string_view text, std::string_view key, std::string_view defaultValue,
                     char separator) {
  std::string result(defaultValue);
  // CR LF in front, so the first line is found like the others; only A-Z
  // letter case is ignored.
  std::string haystack = "\r\n" + UpperAscii(text);
  std::string needle = "\r\n" + UpperAscii(key);
  size_t hit = haystack.find(needle);
  if (hit != std::string::npos) {
    size_t i = hit + needle.size();
    if (i < haystack.size() && (haystack[i] == ' ' || haystack[i] == separator)) {
      // The value is taken from the original text, not the upper-cased copy;
      // the two differ in position by the two characters put in front.
      bool inValue = false;
      for (size_t j = i - 2; j < text.size(); ++j) {
        char c = text[j];
        if (static_cast<unsigned char>(c) < 32) break;
        if (!inValue) {
          if (c == separator) {
            inValue = true;
            result.clear();
          }
          continue;
        }
        result += c;
      }
    }
  }
  return Trim(result);
}

}  // namespace zu
