// replayer.h -- plays a recorded game in the window.
//
// The six keys come from the script instead of the keyboard (Esc and closing
// still quit, during a title too), a `reinit` initialises the world again with
// its title in the same window (a row of them, once), and every `check` is
// compared with the running game, frame number and hash (a row of them at one
// frame hashes the world once). The file is read a bounded piece at a time,
// so that the window keeps answering between pieces whatever the file holds.
// When the script ends, at the first failed check, or when a display switch
// initialises the world again, the keyboard takes over and one line on
// standard error says how the replay ended.
#pragma once

#include <cstdio>
#include <string>

#include "replay/script.h"
#include "replay/text.h"
#include "shell/journal.h"

namespace drumhold {

class Replayer final : public Journal {
public:
    // Reads `file`, already checked in full and rewound, which it closes when
    // done; `name` is for messages, `version` the program's own.
    Replayer(std::FILE* file, const std::string& name, std::string version);
    ~Replayer() override;
    Replayer(const Replayer&) = delete;
    Replayer& operator=(const Replayer&) = delete;

    Before beforeFrame(const replay::FrameView& current) override;
    bool escapeEndsTitle() const override { return replaying(); }
    void prepareKeys(KeyTable& keys) override;
    void frameDone(unsigned held, const replay::FrameView& frame, std::uint32_t now) override;
    void beforeSwitch(const replay::FrameView& last) override {
        reinit_ = false;  // the switch initialises the world anyway
        finish(last);
    }
    void end(const replay::FrameView& last) override { finish(last); }

    bool replaying() const { return file_ != nullptr; }

private:
    // The keyboard takes over, with one line on how it went unless `said`.
    void finish(const replay::FrameView& last, bool said = false);
    void outOfSync(const replay::ScriptStep& check, const replay::FrameView& current, std::uint64_t actual);

    std::FILE* file_;
    std::string name_;  // printable
    std::string version_;
    replay::ScriptReader reader_;
    std::uint32_t remaining_ = 0;  // frames left of the current run
    unsigned keys_ = 0;            // its keys
    bool reinit_ = false;          // a reinit read since the last frame
    bool hashed_ = false;          // hash_ is the world's, as it is now
    std::uint64_t hash_ = 0;
    replay::TextBuffer scratch_;
};

}  // namespace drumhold
