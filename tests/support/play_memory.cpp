// play_memory.cpp -- the 1- and 10-minute runs of the replay tool on a made-up
// game, each its least peak resident set size over a few runs.
#include "tests/support/play_memory.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "tests/support/child_run.h"
#include "tests/support/scripts.h"

namespace drumhold::testing {

namespace {

constexpr std::uint64_t kOneMinute = 60ull * kTicksPerSecond;
constexpr std::uint64_t kTenMinutes = 10 * kOneMinute;
constexpr std::uint64_t kSeed = 0x5EED;

// The script in a temporary file, removed again on destruction.
class ScriptFile {
public:
    explicit ScriptFile(const std::string& text) {
        const char* dir = std::getenv("TMPDIR");
        path_ = std::string(dir && *dir ? dir : "/tmp") + "/drumhold-play-XXXXXX";
        const int fd = ::mkstemp(path_.data());
        if (fd < 0) {
            path_.clear();
            return;
        }
        ok_ = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
        ok_ = (::close(fd) == 0) && ok_;
    }
    ~ScriptFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    ScriptFile(const ScriptFile&) = delete;
    ScriptFile& operator=(const ScriptFile&) = delete;

    bool ok() const { return ok_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    bool ok_ = false;
};

// The least peak RSS of the tool over `runs` runs of frames 1..`frames` of the
// script; 0 on failure.
long peakOf(const std::string& tracePath, const std::string& scriptPath, std::uint64_t frames, int runs,
            std::string& error) {
    ChildOptions options;
    options.args = {tracePath, "--frames", "0:" + std::to_string(frames), scriptPath};
    options.fixedAddresses = true;
    long least = 0;
    for (int i = 0; i < runs; ++i) {
        const ChildResult r = runChild(options);
        if (!r.started || !r.exited || r.exitCode != 0) {
            error = tracePath + " (" + std::to_string(frames) + " frames): " + r.describe() +
                    (r.err.empty() ? "" : ": ") + r.err;
            return 0;
        }
        if (i == 0 || r.peakRssKiB < least) least = r.peakRssKiB;
    }
    return least;
}

}  // namespace

bool PlayMemory::steady() const {
    return error.empty() && static_cast<double>(growthKiB()) <= kGrowthTolerance * static_cast<double>(oneMinuteKiB);
}

PlayMemory measurePlayMemory(const std::string& tracePath, int runs) {
    PlayMemory m;
    // Frame 1 presses space; the frames after it are the play.
    const ScriptFile script(formatScript(makePlayScript({1 + kTenMinutes, kSeed, true})));
    if (!script.ok()) {
        m.error = std::string("cannot write a temporary script: ") + std::strerror(errno);
        return m;
    }
    m.oneMinuteKiB = peakOf(tracePath, script.path(), 1 + kOneMinute, runs, m.error);
    if (m.error.empty()) m.tenMinutesKiB = peakOf(tracePath, script.path(), 1 + kTenMinutes, runs, m.error);
    return m;
}

}  // namespace drumhold::testing
