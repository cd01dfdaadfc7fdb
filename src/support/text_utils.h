// Text helpers shared by engine, host and module: replacing, words and
// fields, padding, trimming and a few small value helpers.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zu {

using CharSet = std::bitset<256>;
CharSet MakeCharSet(std::string_view chars);

// Every occurrence of old replaced by new, left to right, without overlap;
// an empty old leaves s unchanged.
std::string ReplaceAllText(std::string_view s, std::string_view old, std::string_view replacement);
// 1-based start of word n (runs of non-delimiters), 0 when there is none.
size_t WordStart(int n, std::string_view s, const CharSet& delimiters);
std::string WordAt(int n, std::string_view s, const CharSet& delimiters);
// Field n where a run of delimiters separates fields and a leading delimiter
// ends an empty first field.
std::string FieldAt(int n, std::string_view s, std::string_view delimiters);
// The same field as a view into s.
std::string_view FieldView(int n, std::string_view s, std::string_view delimiters);

// Removes characters of codes 0..32 from both ends / the left / the right.
std::string_view TrimView(std::string_view s);
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

std::string CharString(char c, int count);
int CountChar(std::string_view s, char c);
std::string PadRight(std::string_view s, int length, char c);
std::string PadLeft(std::string_view s, int length, char c);

// Upper-cases the letters a-z only (name comparisons of the language).
std::string UpperAscii(std::string_view s);
// Equality ignoring the case of A-Z only, without allocating. Inline: every
// name lookup of the engine runs it.
inline bool SameTextAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x == y) continue;
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// Splits at CR, LF or CR LF (a final line end gives no empty last line).
std::vector<std::string> SplitLines(std::string_view text);

// Decodes the backslash escapes of a string literal's body.
std::string DecodeEscapes(std::string_view s);

}  // namespace zu
