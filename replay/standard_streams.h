// standard_streams.h -- the programs' standard input, output and error as a
// record and the replay tool need them, whatever the system.
#pragma once

#include <cstddef>

namespace drumhold::replay {

// Gives every closed standard stream (descriptors 0-2 on POSIX) the null
// device. Called first thing in both programs: a file opened later would
// otherwise take a free number among them, and the program's own messages, or
// the trace, would go into a record, or its script be closed under it.
void keepStandardStreamsOpen();

// Reads what standard input holds, waiting only while it holds nothing (a
// pipe fed live gives its lines as they come); 0 at its end. Sets `failed` on
// a read error.
std::size_t readStandardInput(char* buffer, std::size_t size, bool& failed);

// Standard output carries the trace's bytes exactly: no line-end translation.
void useBinaryStandardOutput();

}  // namespace drumhold::replay
