// The raw standard handles, as each platform layer gives them to the shared
// buffering of standard output and input (common/console_streams.cpp).
#pragma once

#include <cstddef>

namespace zu::platform::streams {

enum class Stream { Output, Error };

// Writes everything to the stream; 0, or the platform's code of the failed
// write. A stream the process was started without takes everything.
int WriteAll(Stream stream, const char* data, size_t size);
// Reads the next block of standard input into buffer: the number of bytes,
// 0 at the end of input or on a failure.
size_t ReadBlock(char* buffer, size_t size);

}  // namespace zu::platform::streams
