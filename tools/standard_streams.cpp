// standard_streams.cpp -- standard input and output on a POSIX system.
#include "tools/standard_streams.h"

#include <unistd.h>

#include <cerrno>

namespace drumhold::tools {

std::size_t readStandardInput(char* buffer, std::size_t size, bool& failed) {
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, size);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) {
            failed = true;
            return 0;
        }
    }
}

void useBinaryStandardOutput() {}  // POSIX streams never translate

}  // namespace drumhold::tools
