// Text helpers: replacing, words and fields, trimming, padding, ASCII case
// and line splitting. Plain functions without state.
#include "support/text_utils.h"

#include <cstring>

namespace zu {

CharSet MakeCharSet(std::string_view chars) {
  CharSet set;
  for (char c : chars) set.set(static_cast<unsigned char>(c));
  return set;
}

std::string ReplaceAllText(std::string_view s, std::string_view old, std::string_view replacement) {
  if (old.empty()) return std::string(s);
  std::string out;
  out.reserve(s.size());
  size_t pos = 0;
  for (;;) {
    size_t hit = s.find(old, pos);
    if (hit == std::string_view::npos) break;
    out.append(s, pos, hit - pos);
    out.append(replacement);
    pos = hit + old.size();  // inserted text is never searched again
  }
  out.append(s, pos, std::string_view::npos);
  return out;
}

size_t WordStart(int n, std::string_view s, const CharSet& delimiters) {
  if (n < 1) return 0;
  auto isDelim = [&](size_t i) { return delimiters.test(static_cast<unsigned char>(s[i])); };
  size_t i = 0;
  int count = 0;
  while (i < s.size()) {
    while (i < s.size() && isDelim(i)) ++i;
    if (i >= s.size()) break;
    if (++count == n) return i + 1;
    while (i < s.size() && !isDelim(i)) ++i;
  }
  return 0;
}

std::string WordAt(int n, std::string_view s, const CharSet& delimiters) {
  size_t start = WordStart(n, s, delimiters);
  if (start == 0) return std::string();
  size_t end = start - 1;
  while (end < s.size() && !delimiters.test(static_cast<unsigned char>(s[end]))) ++end;
  return std::string(s.substr(start - 1, end - (start - 1)));
}

namespace {

// Finds delimiters in a text: one delimiter (the usual blank or comma) with
// memchr, several through their set.
class SingleDelimiter {
 public:
  explicit SingleDelimiter(char d) : d_(d) {}
  bool Is(unsigned char c) const { return c == static_cast<unsigned char>(d_); }
  size_t Next(std::string_view s, size_t from) const {
    // memchr must not see the null data of an empty text, even for 0 bytes.
    if (from >= s.size()) return s.size();
    const void* at = std::memchr(s.data() + from, d_, s.size() - from);
    return at != nullptr ? static_cast<size_t>(static_cast<const char*>(at) - s.data()) : s.size();
  }

 private:
  char d_;
};

class DelimiterSet {
 public:
  explicit DelimiterSet(std::string_view chars) : set_(MakeCharSet(chars)) {}
  bool Is(unsigned char c) const { return set_.test(c); }
  size_t Next(std::string_view s, size_t from) const {
    while (from < s.size() && !Is(static_cast<unsigned char>(s[from]))) ++from;
    return from;
  }

 private:
  CharSet set_;
};

template <class Delimiters>
std::string_view FieldIn(int n, std::string_view s, const Delimiters& delimiters) {
  // Field n starts after the (n-1)-th run of delimiters and, being a run of
  // non-delimiters, is one piece of s.
  size_t start = 0;
  for (int field = 1; field < n; ++field) {
    size_t run = delimiters.Next(s, start);
    if (run == s.size()) return {};
    while (run < s.size() && delimiters.Is(static_cast<unsigned char>(s[run]))) ++run;
    start = run;
  }
  return s.substr(start, delimiters.Next(s, start) - start);
}

}  // namespace

std::string_view FieldView(int n, std::string_view s, std::string_view delimiters) {
  if (n < 1) return {};
  if (delimiters.size() == 1) return FieldIn(n, s, SingleDelimiter(delimiters[0]));
  return FieldIn(n, s, DelimiterSet(delimiters));
}

std::string FieldAt(int n, std::string_view s, std::string_view delimiters) {
  return std::string(FieldView(n, s, delimiters));
}

std::string_view TrimView(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

std::string TrimLeft(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && static_cast<unsigned char>(s[b]) <= 32) ++b;
  return std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return std::string(s.substr(0, e));
}

std::string CharString(char c, int count) {
  return count > 0 ? std::string(static_cast<size_t>(count), c) : std::string();
}

int CountChar(std::string_view s, char c) {
  int count = 0;
  for (char x : s) count += x == c ? 1 : 0;
  return count;
}

std::string PadRight(std::string_view s, int length, char c) {
  std::string out(s);
  if (length > 0 && out.size() < static_cast<size_t>(length)) {
    out.append(static_cast<size_t>(length) - out.size(), c);
  }
  return out;
}

std::string PadLeft(std::string_view s, int length, char c) {
  if (length <= 0 || s.size() >= static_cast<size_t>(length)) return std::string(s);
  return std::string(static_cast<size_t>(length) - s.size(), c) + std::string(s);
}

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  // Reserved up front: a script of millions of lines would otherwise hold
  // its line vector twice while it grows.
  size_t breaks = 0;
  for (char c : text) breaks += (c == '\r' || c == '\n') ? 1 : 0;
  lines.reserve(breaks + 1);
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
      continue;
    }
    ++i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

}  // namespace zu
