// recorder.cpp -- the game, as it is played, written as a replay script.
#include "shell/recorder.h"

#include <utility>

namespace drumhold {

namespace {
constexpr std::uint64_t kCheckEveryFrames = 500;
constexpr std::uint32_t kFlushEveryMs = 1000;
}  // namespace

Recorder::Recorder(std::unique_ptr<RecordWriter> writer) : writer_(std::move(writer)), scratch_(1 << 12) {}

void Recorder::endRun() {
    if (run_.count == 0) return;
    replay::appendStep(pending_, run_);
    run_.count = 0;
}

void Recorder::checkAndFlush(const replay::FrameView& frame) {
    if (!recording()) return;
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
    writer_->write(std::exchange(pending_, {}));
}

void Recorder::begin(const replay::FrameView& frame0) { checkAndFlush(frame0); }

void Recorder::frameDone(unsigned held, const replay::FrameView& frame, std::uint32_t now) {
    if (!recording()) return;
    reinitLast_ = false;
    if (run_.count > 0 && run_.keys != held) endRun();
    run_.keys = held;
    ++run_.count;
    if (!clockStarted_) {
        // The first frame is played: only now does the record replace FILE.
        if (!writer_->commit()) return;
        clockStarted_ = true;
        lastFlush_ = now;
    }
    if (frame.frame - lastChecked_ >= kCheckEveryFrames || now - lastFlush_ >= kFlushEveryMs) {
        checkAndFlush(frame);
        lastFlush_ = now;
    }
}

void Recorder::beforeSwitch(const replay::FrameView& last) {
    if (!recording()) return;
    checkAndFlush(last);
    replay::ScriptStep reinit;
    reinit.kind = replay::ScriptStep::Reinit;
    replay::appendStep(pending_, reinit);
    reinitLast_ = true;
    flush();
}

void Recorder::end(const replay::FrameView& last) {
    checkAndFlush(last);
    writer_->finish();
}

}  // namespace drumhold
