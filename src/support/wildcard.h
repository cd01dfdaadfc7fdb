// File-name masks: the wildcard matcher behind TFileFinder and the segment
// search it uses. "*" matches any run of characters, "?" any one character.
#pragma once

#include <cstddef>
#include <string_view>

namespace zu {

// True when name matches mask. An identical mask matches at once; runs of
// "*" count as one; "*" alone matches every name; otherwise an empty mask or
// name never matches. The part after the last "*" is compared with the end
// of the name without regard to what was matched before it, so "A*AC"
// matches "AC". With ignore_case both are upper-cased with the code page's
// mapping first.
bool WildcardMatch(std::string_view name, std::string_view mask, bool ignore_case);

// 1-based position of the first occurrence of segment in text, "?" in the
// segment matching any character; 0 when text is shorter than segment or
// holds no occurrence.
size_t FindSegment(std::string_view segment, std::string_view text);

}  // namespace zu
