// standard_streams.cpp -- standard input and output on a POSIX system.
#include "replay/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace drumhold::replay {

void keepStandardStreamsOpen() {
    // In order: open() takes the lowest free number, the one just found closed.
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd)
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF)
            ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
}

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

}  // namespace drumhold::replay
