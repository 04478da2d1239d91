// record_file.cpp -- a record's file on a POSIX system (and in the browser).
#include "shell/record_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace drumhold {

namespace {

constexpr int kMaxLinks = 40;  // as the kernel's own limit on a path's links
constexpr unsigned kReaderLookMs = 10;

// Where a dangling link `path` points, each relative link followed from its
// own folder; `path` itself when it is no link.
std::string followLinks(std::string path) {
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 4096), '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n <= 0) return path;
        target.resize(static_cast<std::size_t>(n));
        const std::size_t slash = path.rfind('/');
        path = target.front() == '/' || slash == std::string::npos ? target : path.substr(0, slash + 1) + target;
    }
    return path;  // a loop of links: opening it says so
}

// A named pipe opened for writing, once a program has opened it for reading.
int openPipe(const std::string& path, unsigned readerWaitMs, std::string& why) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        // Without O_NONBLOCK this would wait for a reader for ever.
        const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            // From now on writes wait: the writer's thread and queue see to it
            // that the game never does.
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            return fd;
        }
        if (errno != ENXIO) break;
        if (std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(readerWaitMs)) {
            why = "no program opened the pipe for reading within " + std::to_string(readerWaitMs / 1000) + " s";
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kReaderLookMs));
    }
    why = std::strerror(errno);
    return -1;
}

}  // namespace

bool openRecordFile(const std::string& path, unsigned readerWaitMs, RecordFile& file, std::string& why) {
    file = RecordFile{};
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (!exists && errno != ENOENT) {
        why = std::strerror(errno);
        return false;
    }
    if (exists && S_ISDIR(info.st_mode)) {
        why = std::strerror(EISDIR);
        return false;
    }
    // Opened through `path` itself, which may be one of /proc's links to a
    // pipe (/dev/stdout, `>(...)`) that no name in a folder stands for.
    if (exists && !S_ISREG(info.st_mode)) {
        file.fd = S_ISFIFO(info.st_mode) ? openPipe(path, readerWaitMs, why)
                                         : ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (file.fd < 0 && why.empty()) why = std::strerror(errno);
        return file.fd >= 0;
    }
    if (!exists) {
        file.target = followLinks(path);
    } else {
        // The file the links lead to is the one replaced; links stay links.
        char* real = ::realpath(path.c_str(), nullptr);
        file.target = real ? real : path;
        std::free(real);
        // A file the player may not write stays so: renaming over it would not ask.
        const int probe = ::open(file.target.c_str(), O_WRONLY | O_CLOEXEC);
        if (probe < 0) {
            why = std::strerror(errno);
            return false;
        }
        ::close(probe);
    }
    const std::size_t slash = file.target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : file.target.substr(0, slash + 1);
    const std::string name = file.target.substr(folder.size());
    const std::string base = folder + "." + name + ".recording-" + std::to_string(::getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        file.replacing = attempt == 0 ? base : base + "-" + std::to_string(attempt);
        // As FILE would have been created; an existing FILE's permissions are kept.
        file.fd = ::open(file.replacing.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file.fd >= 0) {
            if (exists) ::fchmod(file.fd, info.st_mode & 07777);
            return true;
        }
        if (errno != EEXIST) break;
    }
    why = std::strerror(errno);
    // The file itself could be written, its folder cannot: say why that matters.
    if (exists) why = "its folder takes no new file (" + why + "): the record is made there, then takes its place";
    file.replacing.clear();
    return false;
}

bool replaceWithRecord(const RecordFile& file, std::string& why) {
    if (::rename(file.replacing.c_str(), file.target.c_str()) == 0) return true;
    why = std::strerror(errno);
    return false;
}

void discardRecord(const RecordFile& file) { ::unlink(file.replacing.c_str()); }

}  // namespace drumhold
