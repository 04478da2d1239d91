// recorder.h -- writes the game, as it is played, as a replay script.
//
// From frame 0 on: one `COUNT KEYS` line per run of frames with the same six
// keys, `reinit` where a display switch initialises the world again, and a
// `check N HASH` line with the hash of the frame just run at least every 500
// frames, at least once a second and at the end (docs/replay-format.md). The
// lines go to the writer with every check, always whole, so a game killed
// outright leaves a valid script of all but its last second. The record takes
// the place of an existing file at the first frame played: a game that ends
// before (no window, closed during the title) leaves that file as it was.
// Once the writer has stopped (recording failed), nothing more is kept.
#pragma once

#include <memory>

#include "replay/script.h"
#include "replay/text.h"
#include "shell/journal.h"
#include "shell/record_writer.h"
#include "shell/replayer.h"

namespace drumhold {

class Recorder final : public Journal {
public:
    explicit Recorder(std::unique_ptr<RecordWriter> writer);

    void begin(const replay::FrameView& frame0) override;
    void frameDone(unsigned held, const replay::FrameView& frame, std::uint32_t now) override;
    void beforeSwitch(const replay::FrameView& last) override;
    void end(const replay::FrameView& last) override;

private:
    bool recording() const { return writer_ && !writer_->stopped(); }
    void endRun();
    // The run so far, a check of `frame` and everything pending go to the writer.
    void checkAndFlush(const replay::FrameView& frame);
    void flush();

    std::unique_ptr<RecordWriter> writer_;
    std::string pending_;    // whole lines not yet handed to the writer
    replay::ScriptStep run_; // the frames since the last line, all with the same keys
    replay::TextBuffer scratch_;
    std::uint64_t lastChecked_ = 0;
    std::uint32_t lastFlush_ = 0;
    bool clockStarted_ = false;
    bool reinitLast_ = false;  // the last line is a reinit: no frame since
};

// A replay recorded as it plays, and the play that follows it once the
// keyboard takes over: the record is the whole game, from its first frame, so
// it replays in sync as one. The replay's own reinit lines are written where
// they initialise the world, as a display switch's are.
class RecordedReplay final : public Journal {
public:
    RecordedReplay(std::unique_ptr<Replayer> replayer, std::unique_ptr<Recorder> recorder)
        : replayer_(std::move(replayer)), recorder_(std::move(recorder)) {}

    void begin(const replay::FrameView& frame0) override { recorder_->begin(frame0); }
    Before beforeFrame(const replay::FrameView& current) override {
        const Before before = replayer_->beforeFrame(current);
        if (before == Before::Reinit) recorder_->beforeSwitch(current);
        return before;
    }
    bool escapeEndsTitle() const override { return replayer_->escapeEndsTitle(); }
    void prepareKeys(KeyTable& keys) override { replayer_->prepareKeys(keys); }
    void frameDone(unsigned held, const replay::FrameView& frame, std::uint32_t now) override {
        replayer_->frameDone(held, frame, now);
        recorder_->frameDone(held, frame, now);
    }
    void beforeSwitch(const replay::FrameView& last) override {
        replayer_->beforeSwitch(last);
        recorder_->beforeSwitch(last);
    }
    void end(const replay::FrameView& last) override {
        replayer_->end(last);
        recorder_->end(last);
    }

    const Replayer& replayer() const { return *replayer_; }

private:
    std::unique_ptr<Replayer> replayer_;
    std::unique_ptr<Recorder> recorder_;
};

}  // namespace drumhold
