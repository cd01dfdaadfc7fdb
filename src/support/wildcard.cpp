// The wildcard matcher. Its rules are the language's own and scripts rely on
// them, including the tail comparison that may reuse characters already
// matched ("A*AC" matches "AC") and a mask "*.*" that needs a dot.
#include "support/wildcard.h"

#include <string>

#include "platform/platform.h"

namespace zu {

namespace {

// Compares segment with text at position pos (0-based), "?" matching any
// character. The caller guarantees that text holds segment.size() bytes there.
bool SegmentAt(std::string_view segment, std::string_view text, size_t pos) {
  for (size_t k = 0; k < segment.size(); ++k) {
    if (segment[k] != '?' && segment[k] != text[pos + k]) return false;
  }
  return true;
}

}  // namespace

size_t FindSegment(std::string_view segment, std::string_view text) {
  if (text.size() < segment.size()) return 0;
  if (segment.find('?') == std::string_view::npos) {
    size_t at = text.find(segment);
    return at == std::string_view::npos ? 0 : at + 1;
  }
  for (size_t pos = 0; pos + segment.size() <= text.size(); ++pos) {
    if (SegmentAt(segment, text, pos)) return pos + 1;
  }
  return 0;
}

bool WildcardMatch(std::string_view name_in, std::string_view mask_in, bool ignore_case) {
  if (mask_in == name_in) return true;
  std::string mask(mask_in);
  // Collapse runs of "*": a single pass that keeps one star per run gives the
  // same text as replacing "**" by "*" until none is left.
  std::string collapsed;
  collapsed.reserve(mask.size());
  for (char c : mask) {
    if (c == '*' && !collapsed.empty() && collapsed.back() == '*') continue;
    collapsed += c;
  }
  mask.swap(collapsed);
  if (mask == "*") return true;
  std::string name(name_in);
  if (ignore_case) {
    mask = platform::UpperText(mask);
    name = platform::UpperText(name);
  }
  if (mask.empty() || name.empty()) return false;

  size_t i = 0;  // mask position (0-based)
  size_t j = 0;  // name position (0-based)
  while (i < mask.size() && j < name.size()) {
    char m = mask[i];
    if (m == name[j] || m == '?') {
      ++i;
      ++j;
    } else if (m == '*') {
      size_t next_star = mask.find('*', i + 1);
      if (next_star == std::string::npos) {
        // The tail: compared with the end of the name, wherever j stands.
        std::string_view segment = std::string_view(mask).substr(i + 1);
        if (segment.empty()) return true;
        if (name.size() < segment.size()) return false;
        return SegmentAt(segment, name, name.size() - segment.size());
      }
      std::string_view segment = std::string_view(mask).substr(i + 1, next_star - i - 1);
      size_t found = FindSegment(segment, std::string_view(name).substr(j));
      if (found == 0) return false;
      i = next_star;
      j += found - 1 + segment.size();
    } else {
      return false;
    }
  }
  if (j < name.size()) return false;
  if (i < mask.size() && mask.back() != '*') return false;
  return true;
}

}  // namespace zu
