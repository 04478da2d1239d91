// record_writer.h -- puts a record's lines into its file without ever making
// the game wait.
//
// The header is written at once (a file that cannot take it is refused before
// the game starts); every later chunk of whole lines is queued and written by
// a thread of its own, so a slow disk or a stalled pipe never holds up a frame.
// An existing FILE keeps what it holds until the game has begun (record_file.h).
// When a write fails (a full disk, a reader gone) or the queue outgrows its
// bound, recording stops with one notice, and a file is cut back to the end of
// the last whole line written: the record always ends at a line's end.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace drumhold {

class RecordWriter {
public:
    // The queue's bound: about two hours of play, far more than any file
    // falls behind by, unless its reader has stopped reading.
    static constexpr std::size_t kMaxQueuedBytes = std::size_t{1} << 20;
    // How long the end of the game waits for the queue to be written.
    static constexpr unsigned kDrainMs = 250;
    // How long opening waits for the header to be taken, and for the reader
    // of a named pipe before that.
    static constexpr unsigned kHeaderWaitMs = 2000;

    // Opens the record for `path` (record_file.h), writes `header`; null with
    // the reason in `why` when either fails.
    static std::unique_ptr<RecordWriter> open(const std::string& path, std::string_view header, std::string& why);
    // Writes to `fd`, which it closes when done, `header` first, after what
    // the descriptor already holds; `name` is for messages.
    static std::unique_ptr<RecordWriter> adopt(int fd, std::string_view name, std::string_view header,
                                               std::string& why);
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    // Queues whole lines; never waits. False once recording has stopped.
    bool write(std::string lines);
    bool stopped() const;
    // The game has begun: the record takes FILE's place. False when it cannot
    // (recording then stops, with a notice, and FILE stays as it was).
    bool commit();
    // Waits up to kDrainMs for what is queued, then closes; lines still
    // waiting (a reader that does not read) are dropped with a notice. Before
    // commit() the record is dropped instead, and FILE stays as it was.
    void finish();

    struct State;

private:
    explicit RecordWriter(std::shared_ptr<State> state);
    std::shared_ptr<State> state_;
};

}  // namespace drumhold
