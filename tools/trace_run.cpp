// trace_run.cpp -- the frame runner of the replay trace.
#include "tools/trace_run.h"

namespace drumhold::trace {

namespace {
// A frame gets as long as it likes: the update step never sleeps.
constexpr std::uint32_t kElapsedMs = 1000;
// Output goes to the sink in chunks of about this size.
constexpr std::size_t kFlushBytes = 1 << 16;
}  // namespace

bool TraceHost::playCue(const char* name) {
    if (!cues_.empty()) cues_ += ',';
    cues_ += name;
    return true;
}

TraceSession::TraceSession() {
    game_.host = &host_;
    initWorld(&game_);
}

TraceSession::~TraceSession() { releaseWorld(&game_); }

void TraceSession::step(unsigned heldKeys) {
    host_.clearCues();
    setKeyTable(keys_, heldKeys);
    updateFrame(&game_, keys_, kElapsedMs);
    ++frame_;
}

FrameView TraceSession::view() const {
    return {frame_, &game_, host_.cues()};
}

bool runTrace(const std::vector<ScriptStep>& steps, const TraceOptions& options, const TraceSink& sink) {
    TraceSession session;
    TextBuffer block;
    TextBuffer out(kFlushBytes * 2);

    auto print = [&]() -> bool {
        if (session.frame() < options.first) return true;
        if (options.full) {
            appendBlock(out, session.view());
        } else {
            block.clear();
            appendBlock(block, session.view());
            out.put("FRAME ");
            out.putInt(session.frame());
            out.put(' ');
            char* p = out.reserve(17);
            p = formatHex16(p, fnv1a64(block.view()));
            *p++ = '\n';
            out.commit(p);
        }
        if (out.size() < kFlushBytes) return true;
        bool ok = sink(out.view());
        out.clear();
        return ok;
    };

    bool ok = print();
    for (const ScriptStep& step : steps) {
        for (std::uint32_t i = 0; ok && i < step.count && session.frame() < options.last; ++i) {
            session.step(step.keys);
            ok = print();
        }
    }
    if (ok && out.size() > 0) ok = sink(out.view());
    return ok;
}

}  // namespace drumhold::trace
