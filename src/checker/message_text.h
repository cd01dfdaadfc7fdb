// Building the check mode's messages out of pieces of text.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace zu::checker {

// The pieces joined into one text. Appending piece by piece also keeps
// GCC 12 at -O3 from a false -Wrestrict overlap warning that
// "literal" + std::string(...) raises inside the inlined operator+.
inline std::string Concat(std::initializer_list<std::string_view> pieces) {
  size_t size = 0;
  for (std::string_view piece : pieces) size += piece.size();
  std::string text;
  text.reserve(size);
  for (std::string_view piece : pieces) text.append(piece);
  return text;
}

}  // namespace zu::checker
