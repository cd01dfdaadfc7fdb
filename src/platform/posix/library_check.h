// Private to the POSIX layer: the check a library file passes before it is
// handed to dlopen, which maps the file's segments and would die of SIGBUS
// on one that ends early.
#pragma once

#include <string>

namespace zu::platform::posix {

// 0 when `path` is a shared object that dlopen can map safely; otherwise the
// loader code of the failure: kLibraryNotFound (no such file),
// kLibraryAccessDenied (unreadable, or a directory) or kLibraryBadFormat (not
// an ELF shared object of this machine, or one whose headers, segments or
// dynamic table reach past the end of the file or out of its image).
int CheckLibraryFile(const std::string& path);

}  // namespace zu::platform::posix
