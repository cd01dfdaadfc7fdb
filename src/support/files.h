// Whole-file reading and appending text to a file or standard output.
#pragma once

#include <string>
#include <string_view>

namespace zu {

// The file's text, each 1024-byte block cut at its first NUL; the empty text
// when the file cannot be opened.
std::string ReadTextFile(const std::string& fileName);
// Reads the whole file into text, every byte kept (NUL included). Returns 0,
// or the platform's error code when the file cannot be opened or read (text
// is then empty).
int ReadWholeFile(const std::string& fileName, std::string& text);
// Appends text to the file (created when missing; end-of-file marks 26 that
// end the file are dropped first, a mark followed by other data is kept), or
// writes it to standard output when fileName is empty. Raises EFailure
// (EInOutError) on failure, standard output included.
void AppendText(const std::string& fileName, std::string_view text);

}  // namespace zu
