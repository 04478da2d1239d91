// standard_streams_windows.cpp -- standard input and output on Windows.
#include "replay/standard_streams.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace drumhold::replay {

// Windows' C runtime keeps descriptors 0-2 open from the start, as devices
// even for a program given no standard handles: a file opened later never
// takes their numbers.
void keepStandardStreamsOpen() {}

std::size_t readStandardInput(char* buffer, std::size_t size, bool& failed) {
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    if (in == nullptr || in == INVALID_HANDLE_VALUE) return 0;  // none given: an empty one
    const DWORD want = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
    DWORD got = 0;
    if (ReadFile(in, buffer, want, &got, nullptr)) return got;
    // A pipe whose writer has gone has simply ended.
    const DWORD error = GetLastError();
    if (error != ERROR_BROKEN_PIPE && error != ERROR_HANDLE_EOF) failed = true;
    return 0;
}

// Text mode would put a CR before every LF.
void useBinaryStandardOutput() { _setmode(_fileno(stdout), _O_BINARY); }

}  // namespace drumhold::replay
