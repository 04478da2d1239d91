// standard_streams_web.cpp -- standard streams in the browser build: the game
// in a page and the replay tool under node. emscripten's own standard input
// gives up on a pipe that has nothing yet; node's file calls read it as POSIX
// does.
#include "replay/standard_streams.h"

#include <emscripten.h>

namespace {

// Bytes read into `buffer`, waiting while a pipe is empty; 0 at the end, -1 on error.
EM_JS(int, readNodeStandardInput, (char* buffer, int size), {
    const fs = require('fs');
    for (;;) {
        try {
            return fs.readSync(0, HEAPU8, buffer, size, null);
        } catch (error) {
            if (error.code === 'EOF') return 0;
            if (error.code !== 'EAGAIN') return -1;
            Atomics.wait(new Int32Array(new SharedArrayBuffer(4)), 0, 0, 5);  // sleep 5 ms
        }
    }
});

}  // namespace

namespace drumhold::replay {

// emscripten's streams 0-2 are always there (the page's console, node's own
// streams), whatever the program was started with.
void keepStandardStreamsOpen() {}

std::size_t readStandardInput(char* buffer, std::size_t size, bool& failed) {
    const int n = readNodeStandardInput(buffer, size > 1 << 30 ? 1 << 30 : static_cast<int>(size));
    if (n >= 0) return static_cast<std::size_t>(n);
    failed = true;
    return 0;
}

void useBinaryStandardOutput() {}  // node writes bytes as they are

}  // namespace drumhold::replay
