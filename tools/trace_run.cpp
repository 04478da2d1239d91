// trace_run.cpp -- the frame runner of the replay trace.
#include "tools/trace_run.h"

#include <vector>

#include "replay/session.h"

namespace drumhold::tools {

using namespace replay;

namespace {
// Output goes to the sink in chunks of about this size.
constexpr std::size_t kFlushBytes = 1 << 16;
constexpr std::size_t kMaxDeferred = 4096;
}  // namespace

TraceOutcome runTrace(ScriptReader& reader, const TraceOptions& options, const TraceSink& sink) {
    Session session;
    session.init();
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
            if (d.kind == ScriptStep::Reinit) session.init();
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
            session.init();
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

}  // namespace drumhold::tools
