// Private to the POSIX layer: file information as Win32 reports it, made
// from statx (birth time where the file system records it) or fstat.
#pragma once

#include <string>

#include "platform/platform.h"

namespace zu::platform::posix {

// Information on path, relative to the directory descriptor dirFd (AT_FDCWD
// for the current one); links are followed. False (errno set) on failure.
bool StatAt(int dirFd, const char* path, FileInfo& info);
// The same for an open descriptor.
bool StatDescriptor(int fd, FileInfo& info);

}  // namespace zu::platform::posix
