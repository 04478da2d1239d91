// record_writer.cpp -- the record's writer thread and its bounded queue.
#include "shell/record_writer.h"

#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "replay/script.h"
#include "shell/record_file.h"
#include "shell/signals.h"

namespace drumhold {

struct RecordWriter::State {
    int fd = -1;
    std::string name;
    RecordFile file;  // file.replacing: the new file, until the game begins
    std::mutex lock;
    std::condition_variable changed;
    std::deque<std::string> queue;
    std::size_t queuedBytes = 0;   // in the queue
    std::size_t writingBytes = 0;  // in the chunk the thread took off the queue
    bool closing = false;
    std::atomic<bool> stopped{false};
    std::uint64_t lineEnd = 0;  // bytes in the file up to the end of its last whole line
    bool headerDone = false;
    int headerError = 0;
    // No thread to write with (the browser, whose files are in memory and
    // never keep anyone waiting): every chunk is written as it comes.
    bool inPlace = !threadsAvailable();

    ~State() {
        if (fd >= 0) ::close(fd);
    }

    // Says why recording stops, once, and what is left.
    void stop(const std::string& why, const char* left = "the record keeps what came before") {
        if (stopped.exchange(true)) return;
        std::fprintf(stderr, "drumhold: %s: %s; recording stops, %s\n", name.c_str(), why.c_str(), left);
    }

    // Writes all of `bytes`, whole lines; on failure cuts the file back to its
    // last whole line and returns the error (0: written).
    int put(std::string_view bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const auto n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            const int error = n < 0 ? errno : ENOSPC;
            const std::size_t whole = bytes.substr(0, done).rfind('\n');
            const std::uint64_t keep = lineEnd + (whole == std::string_view::npos ? 0 : whole + 1);
            // A pipe cannot be cut: its reader has what it has.
            if (done > 0 && ::ftruncate(fd, static_cast<off_t>(keep)) == 0) lineEnd = keep;
            return error;
        }
        lineEnd += bytes.size();
        return 0;
    }

    // Writes a chunk; a failure stops recording. False when it failed.
    bool putOrStop(std::string_view chunk) {
        const int failed = put(chunk);
        if (failed != 0) stop(std::string("cannot write the record: ") + std::strerror(failed));
        return failed == 0;
    }

    // The thread: the header first, its outcome told to the one who waits for
    // it, then the queue until it is closed.
    void run(const std::string& header) {
        const int error = put(header);
        std::unique_lock<std::mutex> held(lock);
        headerError = error;
        headerDone = true;
        changed.notify_all();
        if (error != 0) return;
        for (;;) {
            changed.wait(held, [this] { return !queue.empty() || closing; });
            if (queue.empty()) return;
            std::string chunk = std::move(queue.front());
            queue.pop_front();
            queuedBytes -= chunk.size();
            writingBytes = chunk.size();
            held.unlock();
            const bool failed = !stopped && !putOrStop(chunk);
            held.lock();
            writingBytes = 0;
            if (failed) {
                queue.clear();
                queuedBytes = 0;
            }
            changed.notify_all();
        }
    }
};

std::unique_ptr<RecordWriter> RecordWriter::open(const std::string& path, std::string_view header, std::string& why) {
    RecordFile file;
    if (!openRecordFile(path, kHeaderWaitMs, file, why)) return nullptr;
    auto writer = adopt(file.fd, path, header, why);
    if (!writer) {
        if (!file.replacing.empty()) discardRecord(file);
        return nullptr;
    }
    writer->state_->file = std::move(file);
    return writer;
}

std::unique_ptr<RecordWriter> RecordWriter::adopt(int fd, std::string_view name, std::string_view header,
                                                  std::string& why) {
    auto state = std::make_shared<State>();
    state->fd = fd;
    state->name = replay::printable(name, 200);
    // What the descriptor already holds stays, should a write fail.
    if (const auto at = ::lseek(fd, 0, SEEK_CUR); at > 0) state->lineEnd = static_cast<std::uint64_t>(at);
    // The header goes out before the game starts: a file that cannot take it
    // is refused now, not found out in the middle of a game.
    if (state->inPlace) {
        if (const int error = state->put(header); error != 0) {
            why = std::strerror(error);
            return nullptr;
        }
        return std::unique_ptr<RecordWriter>(new RecordWriter(std::move(state)));
    }
    // The thread writes it, as everything else, so that a pipe that takes
    // nothing never holds us up.
    try {
        startQuietThread([state, header = std::string(header)] { state->run(header); }).detach();
    } catch (const std::system_error& e) {
        why = e.what();
        return nullptr;
    }
    std::unique_lock<std::mutex> held(state->lock);
    if (!state->changed.wait_for(held, std::chrono::milliseconds(kHeaderWaitMs), [&] { return state->headerDone; })) {
        why = "its reader takes nothing";
        state->closing = true;
        state->stopped = true;
        return nullptr;
    }
    if (state->headerError != 0) {
        why = std::strerror(state->headerError);
        return nullptr;
    }
    return std::unique_ptr<RecordWriter>(new RecordWriter(std::move(state)));
}

RecordWriter::RecordWriter(std::shared_ptr<State> state) : state_(std::move(state)) {}

RecordWriter::~RecordWriter() { finish(); }

bool RecordWriter::stopped() const { return state_->stopped; }

bool RecordWriter::commit() {
    State& s = *state_;
    if (s.file.replacing.empty()) return !s.stopped;
    // A record that failed before the game began never takes FILE's place.
    std::string why;
    const bool done = !s.stopped && replaceWithRecord(s.file, why);
    if (!done) {
        discardRecord(s.file);
        if (!why.empty()) s.stop("cannot put the record in its place: " + why, "the file stays as it was");
    }
    s.file.replacing.clear();
    return done;
}

bool RecordWriter::write(std::string lines) {
    State& s = *state_;
    if (s.stopped || lines.empty()) return !s.stopped;
    if (s.inPlace) return s.putOrStop(lines);
    {
        std::lock_guard<std::mutex> held(s.lock);
        if (s.closing) return false;
        if (s.queuedBytes + s.writingBytes + lines.size() > kMaxQueuedBytes) {
            s.queue.clear();
            s.queuedBytes = 0;
            s.stop("the record's reader is not reading (" + std::to_string(kMaxQueuedBytes >> 10) +
                   " KiB waiting)");
            return false;
        }
        s.queuedBytes += lines.size();
        s.queue.push_back(std::move(lines));
    }
    s.changed.notify_all();
    return true;
}

void RecordWriter::finish() {
    State& s = *state_;
    // A game that never began: FILE stays as it was, nothing is waited for.
    const bool dropped = !s.file.replacing.empty();
    if (dropped) {
        discardRecord(s.file);
        s.file.replacing.clear();
        s.stopped = true;
    }
    std::unique_lock<std::mutex> held(s.lock);
    if (s.closing) return;
    s.closing = true;
    if (dropped) {
        s.queue.clear();
        s.queuedBytes = 0;
    }
    if (s.inPlace) return;
    s.changed.notify_all();
    // The thread ends once the queue is empty, and the file closes with the
    // last owner of the state: this object or the thread, whichever is later.
    const bool drained = s.changed.wait_for(held, std::chrono::milliseconds(kDrainMs),
                                            [&s] { return s.queue.empty() && s.writingBytes == 0; });
    if (!drained && !s.stopped) {
        const std::size_t waiting = s.queuedBytes + s.writingBytes;
        held.unlock();
        s.stop("the record's reader is not reading; the last " + std::to_string(waiting) +
               " bytes are not written");
    }
}

}  // namespace drumhold
