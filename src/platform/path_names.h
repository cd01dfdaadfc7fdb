// Path names: which characters end a directory part, and splitting a path
// into its directory, file name and extension. The loader, the built-ins,
// the host and the io module all split paths here and nowhere else.
#pragma once

#include <string>
#include <string_view>

namespace zu::platform {

// The directory separator that paths are built with: '/' on POSIX, '\\' on
// Windows.
char PathSeparator();
// True for a character that ends a directory part: '/' on POSIX; '\\' and
// ':' on Windows, where '/' is accepted as well, as the system accepts it.
bool IsPathDelimiter(char c);

// The directory part: everything up to and including the last delimiter;
// empty when there is none.
std::string ExtractFilePath(std::string_view path);
// The file name part: everything after the last delimiter; the whole path
// when there is none.
std::string ExtractFileName(std::string_view path);
// The path with the extension of its file name part (from the last '.')
// replaced by ext, or ext appended when the name has none.
std::string ChangeFileExt(std::string_view path, std::string_view ext);
// The directory with a separator appended unless it already ends with a
// delimiter; an empty directory stays empty.
std::string IncludeTrailingDelimiter(std::string dir);

}  // namespace zu::platform
