// The child runner the soak tests lean on: it must tell a clean exit from an
// error status and from a death by signal, or a crashing tool would pass.
// not on Windows: the runner is POSIX (posix_spawn, signals, rusage)
#include <gtest/gtest.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>

#include "tests/support/child_run.h"

namespace drumhold::testing {
namespace {

ChildResult shell(const std::string& command, std::string* out = nullptr, std::vector<std::string> env = {},
                  std::string stdinPath = {}) {
    ChildOptions options;
    options.args = {"/bin/sh", "-c", command};
    options.env = std::move(env);
    options.stdinPath = std::move(stdinPath);
    if (out) options.onOutput = [out](std::string_view chunk) { out->append(chunk); };
    return runChild(options);
}

TEST(ChildRun, TellsExitStatusSignalsAndCollectsBothStreams) {
    ChildResult r = shell("exit 0");
    EXPECT_TRUE(r.started && r.exited);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_GT(r.peakRssKiB, 0);

    r = shell("exit 2");
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.describe(), "exit 2");

    r = shell("kill -SEGV $$");
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.exited);
    EXPECT_EQ(r.signal, SIGSEGV);
    EXPECT_EQ(r.describe().rfind("signal 11", 0), 0u) << r.describe();

    // Both streams at once, more than a pipe holds, so neither may block the other.
    std::string out;
    r = shell("i=0; while [ $i -lt 3000 ]; do echo out-$i; echo err-$i >&2; i=$((i+1)); done", &out);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(out.find("out-0\n"), 0u);
    EXPECT_NE(out.find("out-2999\n"), std::string::npos);
    EXPECT_NE(r.err.find("err-2999\n"), std::string::npos);

    ChildOptions missing;
    missing.args = {"/nonexistent/program"};
    r = runChild(missing);
    EXPECT_FALSE(r.started);
    EXPECT_NE(r.describe().find("not started"), std::string::npos);
}

TEST(ChildRun, PassesStandardInputAndEnvironment) {
    const std::string path = ::testing::TempDir() + "drumhold-child-" + std::to_string(::getpid());
    std::ofstream(path) << "from a file\n";
    std::string out;
    ::setenv("DRUMHOLD_CHILD_TEST", "inherited", 1);
    const ChildResult r = shell("cat; echo \"$DRUMHOLD_CHILD_TEST $HOME_FREE\"", &out,
                                {"DRUMHOLD_CHILD_TEST=replaced", "HOME_FREE=added"}, path);
    ::unsetenv("DRUMHOLD_CHILD_TEST");
    std::remove(path.c_str());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(out, "from a file\nreplaced added\n");
}

}  // namespace
}  // namespace drumhold::testing
