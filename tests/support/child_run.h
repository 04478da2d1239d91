// child_run.h -- runs a program as a child process and reports how it ended.
//
// Standard output streams to a callback (or goes to /dev/null), standard error is
// collected, standard input comes from a file (or /dev/null). The result says
// whether the child exited or was killed by a signal, and its peak resident set
// size, which is how the soak tests and the memory benchmark watch the replay tool.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace drumhold::testing {

struct ChildOptions {
    std::vector<std::string> args;  // args[0] is the program's path
    // Extra "NAME=value" entries; they replace inherited variables of the same name.
    std::vector<std::string> env;
    std::string stdinPath;  // empty: /dev/null
    // Receives standard output in chunks; empty: the output is discarded.
    std::function<void(std::string_view)> onOutput;
    // Start the child without address-space randomisation where the system lets
    // us, so that its memory figures repeat exactly from run to run.
    bool fixedAddresses = false;
};

struct ChildResult {
    bool started = false;  // false: fork, exec or a pipe failed (see `err`)
    bool exited = false;   // ended by exit(); otherwise killed by `signal`
    int exitCode = -1;
    int signal = 0;
    std::string err;            // standard error (the first few MiB of it)
    long peakRssKiB = 0;        // ru_maxrss of the child
    std::string describe() const;  // "exit 2", "signal 11" or "not started: ..."
};

ChildResult runChild(const ChildOptions& options);

// The environment entries that make a sanitizer build of a child stop at its
// first finding and report leaks, keeping any options already set; harmless in a
// build without sanitizers.
std::vector<std::string> strictSanitizerEnv();

}  // namespace drumhold::testing
