// child_run.cpp -- a child process started with posix_spawn, its output read
// with poll until it ends, and its peak memory from wait4.
#include "tests/support/child_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/personality.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace drumhold::testing {

namespace {

// Standard error beyond this is dropped: a runaway child must not exhaust memory.
constexpr std::size_t kMaxErrBytes = 4u << 20;

std::string nameOf(const std::string& entry) { return entry.substr(0, entry.find('=')); }

std::vector<std::string> mergedEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> out;
    for (char** e = environ; e && *e; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string& x : extra) replaced = replaced || nameOf(x) == nameOf(entry);
        if (!replaced) out.push_back(entry);
    }
    out.insert(out.end(), extra.begin(), extra.end());
    return out;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (std::string& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

void closeBoth(int fds[2]) {
    if (fds[0] >= 0) ::close(fds[0]);
    if (fds[1] >= 0) ::close(fds[1]);
    fds[0] = fds[1] = -1;
}

// Reads both pipes until each reaches end of file.
void drain(int outFd, int errFd, const ChildOptions& options, std::string& err) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    static thread_local char buffer[1 << 16];
    int open = 2;
    while (open > 0) {
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        for (pollfd& p : fds) {
            if (p.fd < 0 || p.revents == 0) continue;
            const ssize_t n = ::read(p.fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                p.fd = -1;
                --open;
            } else if (p.fd == outFd) {
                if (options.onOutput) options.onOutput(std::string_view(buffer, static_cast<std::size_t>(n)));
            } else if (err.size() < kMaxErrBytes) {
                err.append(buffer, static_cast<std::size_t>(n));
            }
        }
    }
}

}  // namespace

std::string ChildResult::describe() const {
    if (!started) return "not started: " + err;
    if (exited) return "exit " + std::to_string(exitCode);
    return "signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
}

ChildResult runChild(const ChildOptions& options) {
    ChildResult result;
    if (options.args.empty()) {
        result.err = "no program given";
        return result;
    }
    int outPipe[2] = {-1, -1};
    int errPipe[2] = {-1, -1};
    if (::pipe2(outPipe, O_CLOEXEC) != 0 || ::pipe2(errPipe, O_CLOEXEC) != 0) {
        result.err = std::string("pipe: ") + std::strerror(errno);
        closeBoth(outPipe);
        closeBoth(errPipe);
        return result;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const char* in = options.stdinPath.empty() ? "/dev/null" : options.stdinPath.c_str();
    posix_spawn_file_actions_addopen(&actions, 0, in, O_RDONLY, 0);
    if (options.onOutput)
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    else
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);

    std::vector<std::string> args = options.args;
    std::vector<std::string> env = mergedEnvironment(options.env);
    std::vector<char*> argv = pointers(args);
    std::vector<char*> envp = pointers(env);
    // The personality is inherited by the child; the parent's own mapping is
    // already made, and its setting is put back right after.
    const int personalityBefore = options.fixedAddresses ? ::personality(0xffffffff) : -1;
    const bool fixed = personalityBefore != -1 &&
                       ::personality(static_cast<unsigned long>(personalityBefore) | ADDR_NO_RANDOMIZE) != -1;
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    if (fixed) ::personality(static_cast<unsigned long>(personalityBefore));
    posix_spawn_file_actions_destroy(&actions);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (spawned != 0) {
        result.err = "cannot start " + options.args[0] + ": " + std::strerror(spawned);
        ::close(outPipe[0]);
        ::close(errPipe[0]);
        return result;
    }
    result.started = true;

    drain(outPipe[0], errPipe[0], options, result.err);
    ::close(outPipe[0]);
    ::close(errPipe[0]);

    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            result.err += std::string("wait4: ") + std::strerror(errno);
            return result;
        }
    }
    result.peakRssKiB = usage.ru_maxrss;
    if (WIFEXITED(status)) {
        result.exited = true;
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

std::vector<std::string> strictSanitizerEnv() {
    auto withInherited = [](const char* name, const char* strict) {
        const char* inherited = std::getenv(name);
        std::string value = inherited && *inherited ? std::string(inherited) + ":" : std::string();
        return std::string(name) + "=" + value + strict;
    };
    return {
        withInherited("ASAN_OPTIONS", "halt_on_error=1:detect_leaks=1"),
        withInherited("UBSAN_OPTIONS", "halt_on_error=1:print_stacktrace=1"),
    };
}

}  // namespace drumhold::testing
