// recorder.h -- writes the game, as it is played, as a replay script.
//
// From frame 0 on: one `COUNT KEYS` line per run of frames with the same six
// keys, `reinit` where a display switch initialises the world again, and a
// `check N HASH` line with the hash of the frame just run at least every 500
// frames, at least once a second and at the end. The file is flushed with
// every check, always at a line's end, so a game killed outright leaves a
// valid script of all but its last second.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "replay/script.h"
#include "replay/text.h"
#include "shell/journal.h"

namespace drumhold {

class Recorder final : public Journal {
public:
    // Writes to `file`, which it closes when done; `name` is for messages and
    // `header` goes first, as it is ('#' lines).
    Recorder(std::FILE* file, std::string name, std::string_view header);
    ~Recorder() override;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void begin(const replay::FrameView& frame0) override;
    void frameDone(unsigned held, const replay::FrameView& frame, std::uint32_t now) override;
    void beforeSwitch(const replay::FrameView& last) override;
    void end(const replay::FrameView& last) override;

private:
    void endRun();
    // The run so far, a check of `frame` and everything pending go to the file.
    void checkAndFlush(const replay::FrameView& frame);
    // Everything pending goes to the file, in one write.
    void flush();

    std::FILE* file_;
    std::string name_;
    std::string pending_;    // whole lines not yet written
    replay::ScriptStep run_; // the frames since the last line, all with the same keys
    replay::TextBuffer scratch_;
    std::uint64_t lastChecked_ = 0;
    std::uint32_t lastFlush_ = 0;
    bool clockStarted_ = false;
    bool reinitLast_ = false;  // the last line is a reinit: no frame since
};

}  // namespace drumhold
