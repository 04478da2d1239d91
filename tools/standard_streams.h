// standard_streams.h -- the replay tool's standard input and output as the
// trace needs them, whatever the system.
#pragma once

#include <cstddef>

namespace drumhold::tools {

// Reads what standard input holds, waiting only while it holds nothing (a
// pipe fed live gives its lines as they come); 0 at its end. Sets `failed` on
// a read error.
std::size_t readStandardInput(char* buffer, std::size_t size, bool& failed);

// Standard output carries the trace's bytes exactly: no line-end translation.
void useBinaryStandardOutput();

}  // namespace drumhold::tools
