// replayer.cpp -- a recorded game played in the window.
#include "shell/replayer.h"

#include <utility>

namespace drumhold {

namespace {
// Read between two looks at the window's messages: a few milliseconds' work.
constexpr std::size_t kBytesPerLook = std::size_t{1} << 18;
}  // namespace

Replayer::Replayer(std::FILE* file, const std::string& name, std::string version)
    : file_(file), name_(replay::printable(name, 200)), version_(std::move(version)), reader_(file),
      scratch_(1 << 12) {}

Replayer::~Replayer() {
    if (file_) std::fclose(file_);
}

void Replayer::finish(const replay::FrameView& last, bool said) {
    if (!file_) return;
    if (const replay::ScriptError& cut = reader_.cutLine(); cut.line > 0 && !said)
        std::fprintf(stderr, "drumhold: %s: line %llu is cut short (%s); the replay ends before it\n", name_.c_str(),
                     static_cast<unsigned long long>(cut.line), cut.message.c_str());
    if (!said)
        std::fprintf(stderr, "drumhold: replay ended at frame %llu, in sync\n",
                     static_cast<unsigned long long>(last.frame));
    std::fclose(file_);
    file_ = nullptr;
}

void Replayer::outOfSync(const replay::ScriptStep& check, const replay::FrameView& current, std::uint64_t actual) {
    char file[16], game[16];
    replay::formatHex16(file, check.hash);
    replay::formatHex16(game, actual);
    std::fprintf(stderr, "drumhold: replay out of sync at frame %llu (file %.16s, game %.16s)\n",
                 static_cast<unsigned long long>(check.frame), file, game);
    if (check.frame != current.frame)
        std::fprintf(stderr, "drumhold: the check names frame %llu, the game is at frame %llu\n",
                     static_cast<unsigned long long>(check.frame), static_cast<unsigned long long>(current.frame));
    const std::string& by = reader_.recordedBy();
    if (!by.empty() && by != version_)
        std::fprintf(stderr, "drumhold: the record was made by drumhold %s, this is %s\n", by.c_str(),
                     version_.c_str());
    finish(current, true);
}

Before Replayer::beforeFrame(const replay::FrameView& current) {
    replay::ScriptStep step;
    reader_.pauseAfter(kBytesPerLook);
    while (file_ && remaining_ == 0) {
        if (!reader_.next(step)) {
            if (reader_.paused()) return Before::ReadOn;
            const bool failed = reader_.failed();
            if (failed)
                std::fprintf(stderr, "drumhold: %s: line %llu: %s; the replay stops\n", name_.c_str(),
                             static_cast<unsigned long long>(reader_.error().line), reader_.error().message.c_str());
            finish(current, failed);
            break;
        }
        switch (step.kind) {
        case replay::ScriptStep::Run:
            remaining_ = step.count;
            keys_ = step.keys;
            break;
        case replay::ScriptStep::Reinit:
            reinit_ = true;  // a row of them is one initialisation, one title
            break;
        case replay::ScriptStep::Check:
            if (!hashed_) hash_ = replay::blockHash(current, scratch_);
            hashed_ = true;
            if (hash_ != step.hash || step.frame != current.frame) outOfSync(step, current, hash_);
            break;
        }
    }
    if (!std::exchange(reinit_, false)) return Before::Frame;
    hashed_ = false;
    return Before::Reinit;
}

void Replayer::prepareKeys(KeyTable& keys) {
    if (!file_ || remaining_ == 0) return;
    // The six keys are the script's; the rest (Esc among them) stay the keyboard's.
    replay::setScriptKeys(keys, keys_);
}

void Replayer::frameDone(unsigned, const replay::FrameView&, std::uint32_t) {
    if (remaining_ > 0) --remaining_;
    hashed_ = false;
}

}  // namespace drumhold
