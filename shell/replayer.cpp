// replayer.cpp -- a recorded game played in the window.
#include "shell/replayer.h"

#include <utility>

namespace drumhold {

Replayer::Replayer(std::FILE* file, std::string name)
    : file_(file), name_(std::move(name)), reader_(file), scratch_(1 << 12) {}

Replayer::~Replayer() {
    if (file_) std::fclose(file_);
}

void Replayer::finish(const replay::FrameView& last, bool said) {
    if (!file_) return;
    if (!said)
        std::fprintf(stderr, "drumhold: replay ended at frame %llu, in sync\n",
                     static_cast<unsigned long long>(last.frame));
    std::fclose(file_);
    file_ = nullptr;
}

bool Replayer::reinitWanted(const replay::FrameView& current) {
    replay::ScriptStep step;
    while (file_ && remaining_ == 0) {
        if (!reader_.next(step)) {
            const bool failed = reader_.failed();
            if (failed)
                std::fprintf(stderr, "drumhold: %s: line %llu: %s; the replay stops\n", name_.c_str(),
                             static_cast<unsigned long long>(reader_.error().line), reader_.error().message.c_str());
            finish(current, failed);
            return false;
        }
        switch (step.kind) {
        case replay::ScriptStep::Run:
            remaining_ = step.count;
            keys_ = step.keys;
            break;
        case replay::ScriptStep::Reinit:
            return true;
        case replay::ScriptStep::Check: {
            const std::uint64_t actual = replay::blockHash(current, scratch_);
            if (actual != step.hash) {
                char file[16], game[16];
                replay::formatHex16(file, step.hash);
                replay::formatHex16(game, actual);
                std::fprintf(stderr, "drumhold: replay out of sync at frame %llu (file %.16s, game %.16s)\n",
                             static_cast<unsigned long long>(step.frame), file, game);
                finish(current, true);
            }
            break;
        }
        }
    }
    return false;
}

void Replayer::prepareKeys(KeyTable& keys) {
    if (!file_ || remaining_ == 0) return;
    // The six keys are the script's; the rest (Esc among them) stay the keyboard's.
    replay::setScriptKeys(keys, keys_);
}

void Replayer::frameDone(unsigned, const replay::FrameView&, std::uint32_t) {
    if (remaining_ > 0) --remaining_;
}

}  // namespace drumhold
