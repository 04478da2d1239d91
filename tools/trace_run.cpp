// trace_run.cpp -- the frame runner of the replay trace.
#include "tools/trace_run.h"

#include <vector>

namespace drumhold::replay {

namespace {
// A frame gets as long as it likes: the update step never sleeps.
constexpr std::uint32_t kElapsedMs = 1000;
// Output goes to the sink in chunks of about this size.
constexpr std::size_t kFlushBytes = 1 << 16;
constexpr std::size_t kMaxDeferred = 4096;
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

void TraceSession::reinit() { initWorld(&game_); }

FrameView TraceSession::view() const { return {frame_, &game_, host_.cues()}; }

TraceOutcome runTrace(ScriptReader& reader, const TraceOptions& options, const TraceSink& sink) {
    TraceSession session;
    TextBuffer block;
    TextBuffer out(kFlushBytes * 2);
    TraceOutcome outcome;

    auto flush = [&]() -> bool {
        if (out.size() == 0) return true;
        const bool ok = sink(out.view());
        out.clear();
        return ok;
    };
    auto print = [&]() -> bool {
        const std::uint64_t frame = session.frame();
        if (frame < options.first || frame > options.last) return true;
        if (options.full) {
            appendBlock(out, session.view());
        } else {
            out.put("FRAME ");
            out.putInt(frame);
            out.put(' ');
            char* p = out.reserve(17);
            p = formatHex16(p, blockHash(session.view(), block));
            *p++ = '\n';
            out.commit(p);
        }
        return out.size() < kFlushBytes || flush();
    };
    auto stop = [&](TraceOutcome::Result result) {
        outcome.result = flush() ? result : TraceOutcome::OutputFailed;
        return outcome;
    };

    // Frames after the selection show nothing but what a later check finds,
    // so they wait here until one asks for them, and are never run if none does.
    // Kept short: past a few thousand steps they run anyway.
    std::vector<ScriptStep> deferred;
    auto catchUp = [&] {
        for (const ScriptStep& d : deferred) {
            if (d.kind == ScriptStep::Reinit) session.reinit();
            for (std::uint32_t i = 0; i < d.count; ++i) session.step(d.keys);
        }
        deferred.clear();
    };

    if (!print()) return stop(TraceOutcome::OutputFailed);
    ScriptStep step;
    for (;;) {
        // Before the reader may have to wait for its writer, what is traced so
        // far goes out.
        if (!reader.buffered() && !flush()) return stop(TraceOutcome::OutputFailed);
        if (!reader.next(step)) break;
        if (!deferred.empty() || (step.kind != ScriptStep::Check && session.frame() >= options.last)) {
            if (step.kind != ScriptStep::Check) {
                deferred.push_back(step);
                if (deferred.size() >= kMaxDeferred) catchUp();
                continue;
            }
            catchUp();
        }
        switch (step.kind) {
        case ScriptStep::Run:
            for (std::uint32_t i = 0; i < step.count; ++i) {
                if (session.frame() >= options.last) {
                    // The rest of the run lies after the selection.
                    deferred.push_back({step.count - i, step.keys});
                    break;
                }
                session.step(step.keys);
                if (!print()) return stop(TraceOutcome::OutputFailed);
            }
            break;
        case ScriptStep::Reinit:
            session.reinit();
            break;
        case ScriptStep::Check: {
            const std::uint64_t actual = blockHash(session.view(), block);
            if (actual != step.hash) {
                outcome.frame = step.frame;
                outcome.expected = step.hash;
                outcome.actual = actual;
                return stop(TraceOutcome::OutOfSync);
            }
            break;
        }
        }
    }
    return stop(reader.failed() ? TraceOutcome::BadScript : TraceOutcome::Done);
}

}  // namespace drumhold::replay
