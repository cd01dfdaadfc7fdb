// key=value lookup in a CR LF separated text (zus.ini).
#pragma once

#include <string>
#include <string_view>

namespace zu {

// The value of the first line that starts with key (letter case ignored),
// exactly by the single-occurrence rule: only the first CR LF + key occurrence
// is examined. Returns the value trimmed, or defaultValue trimmed.
std::string IniValue(std::string_view text, std::string_view key, std::string_view defaultValue,
                     char separator);

}  // namespace zu
