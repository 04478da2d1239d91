// recorder.cpp -- the game, as it is played, written as a replay script.
#include "shell/recorder.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace drumhold {

namespace {
constexpr std::uint64_t kCheckEveryFrames = 500;
constexpr std::uint32_t kFlushEveryMs = 1000;
}  // namespace

Recorder::Recorder(std::FILE* file, std::string name, std::string_view header)
    : file_(file), name_(std::move(name)), pending_(header), scratch_(1 << 12) {
    // Unbuffered: each flush below is one write of whole lines.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    flush();
}

Recorder::~Recorder() {
    if (file_) std::fclose(file_);
}

void Recorder::endRun() {
    if (run_.count == 0) return;
    replay::appendStep(pending_, run_);
    run_.count = 0;
}

void Recorder::checkAndFlush(const replay::FrameView& frame) {
    endRun();
    // Right after a reinit no frame has been run that a check could name.
    if (!reinitLast_) {
        replay::ScriptStep check;
        check.kind = replay::ScriptStep::Check;
        check.frame = frame.frame;
        check.hash = replay::blockHash(frame, scratch_);
        replay::appendStep(pending_, check);
        lastChecked_ = frame.frame;
    }
    flush();
}

void Recorder::flush() {
    if (!file_) return;
    // Whole lines only, in one write: whatever happens to the game, the file
    // ends at a line's end.
    if (std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size()) {
        std::fprintf(stderr, "drumhold: cannot write the record %s: %s; recording stops\n", name_.c_str(),
                     std::strerror(errno));
        std::fclose(file_);
        file_ = nullptr;
    }
    pending_.clear();
}

void Recorder::begin(const replay::FrameView& frame0) { checkAndFlush(frame0); }

void Recorder::frameDone(unsigned held, const replay::FrameView& frame, std::uint32_t now) {
    reinitLast_ = false;
    if (run_.count > 0 && run_.keys != held) endRun();
    run_.keys = held;
    ++run_.count;
    if (!clockStarted_) {
        clockStarted_ = true;
        lastFlush_ = now;
    }
    if (frame.frame - lastChecked_ >= kCheckEveryFrames || now - lastFlush_ >= kFlushEveryMs) {
        checkAndFlush(frame);
        lastFlush_ = now;
    }
}

void Recorder::beforeSwitch(const replay::FrameView& last) {
    checkAndFlush(last);
    replay::ScriptStep reinit;
    reinit.kind = replay::ScriptStep::Reinit;
    replay::appendStep(pending_, reinit);
    reinitLast_ = true;
    flush();
}

void Recorder::end(const replay::FrameView& last) {
    checkAndFlush(last);
    if (file_ && std::fclose(file_) != 0)
        std::fprintf(stderr, "drumhold: cannot write the record %s: %s\n", name_.c_str(), std::strerror(errno));
    file_ = nullptr;
}

}  // namespace drumhold
