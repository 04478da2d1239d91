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

}  // namespace drumhold
