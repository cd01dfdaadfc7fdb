// Private to the POSIX layer: file information as Win32 reports it, made
// from one statx (birth time where the file system records it).
#pragma once

#include <string>

#include "platform/platform.h"

namespace zu::platform::posix {

// Information on path, relative to the directory descriptor dirFd (AT_FDCWD
// for the current one). With followLinks a symbolic link describes what it
// points to; without, it describes itself and isLink (when given) says that
// it is one. False (errno set) on failure.
bool StatAt(int dirFd, const char* path, FileInfo& info, bool followLinks = true,
            bool* isLink = nullptr);
// The same for an open descriptor.
bool StatDescriptor(int fd, FileInfo& info);

}  // namespace zu::platform::posix
