// script.h -- the replay script: the keys a game is played with, frame by frame.
//
// The format is docs/replay-format.md: one instruction per line, `COUNT KEYS`,
// `reinit` and `check N HASH`, `#` comments. This reads it, checking every
// line, and writes it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/keys.h"

namespace drumhold::replay {

// Key bits of a script step, one per key the script can hold.
enum : unsigned {
    KEY_UP = 1u << 0,
    KEY_DOWN = 1u << 1,
    KEY_LEFT = 1u << 2,
    KEY_RIGHT = 1u << 3,
    KEY_FIRE = 1u << 4,
    KEY_SPACE = 1u << 5,
};

struct ScriptStep {
    enum Kind : std::uint8_t { Run, Reinit, Check };
    std::uint32_t count = 0;   // Run: frames, at least 1
    unsigned keys = 0;         // Run: KEY_* bits
    Kind kind = Run;
    std::uint64_t frame = 0;   // Check: the frame whose block is hashed
    std::uint64_t hash = 0;    // Check: FNV-1a of that block
};

struct ScriptError {
    std::uint64_t line = 0;  // 1-based
    std::string message;     // printable: the bytes of the line it quotes are escaped
};

// Lines longer than this are refused rather than held in memory (unless the
// input ends inside one: a record cut short).
inline constexpr std::size_t kMaxLineBytes = 4096;

// Fills `buffer` with up to `size` bytes, blocking only until some are there;
// 0 at the end of the input. Sets `failed` on a read error.
using ReadSome = std::function<std::size_t(char* buffer, std::size_t size, bool& failed)>;

// Reads a script one line at a time, in memory bounded by the longest line
// allowed, and checks every line as it comes, frame numbers of `check`
// included. The first error ends the script.
class ScriptReader {
public:
    explicit ScriptReader(ReadSome read);
    explicit ScriptReader(std::string_view text);
    // A file read with stdio: for files, whose reads never wait for a writer.
    explicit ScriptReader(std::FILE* file);

    // The next instruction; false at the end of the script or at an error.
    bool next(ScriptStep& step);
    bool failed() const { return !error_.message.empty(); }
    const ScriptError& error() const { return error_; }
    // A last line the input ends inside of, and that makes no instruction, is
    // a record cut short: the script ends before it, not in error, and this
    // names it (line 0: none).
    const ScriptError& cutLine() const { return cut_; }
    // The program version a record's first line names; empty when none.
    const std::string& recordedBy() const { return recordedBy_; }
    // True while input already read waits in the buffer: the next instruction
    // can be had without waiting for the writer.
    bool buffered() const { return position_ < filled_; }
    // Frames run by the instructions read so far.
    std::uint64_t frames() const { return frames_; }
    // Lets the next calls read about `bytes` more of the input (in reads of
    // up to 64 KiB), then pause: next() returns false with paused() true, and
    // the next call after it goes on where it stopped. Without it the reader
    // reads on to the end; with it, a caller that must look at other things
    // (the game's window) is never held up long, whatever the input holds.
    void pauseAfter(std::size_t bytes) { allowed_ = bytes; }
    bool paused() const { return paused_; }

private:
    bool readLine(std::string_view& line);
    bool fail(std::string message);
    // A bad line: an error, or the cut end of the input.
    bool bad(std::string message);

    ReadSome read_;
    std::unique_ptr<char[]> buffer_;
    std::size_t position_ = 0, filled_ = 0;
    bool atEnd_ = false;
    std::size_t allowed_ = static_cast<std::size_t>(-1);  // bytes left to read before pausing
    bool paused_ = false;
    std::string line_;        // the current line, up to kMaxLineBytes of it
    bool lineOpen_ = false;   // a call paused inside the current line
    bool lineSeen_ = false;   // the input holds a current line (its bytes or its newline)
    bool overlong_ = false;   // the current line outgrew kMaxLineBytes
    std::uint64_t lineNumber_ = 0;
    std::uint64_t frames_ = 0;
    bool justReinitialised_ = false;
    bool lineEnded_ = true;  // the current line has its newline
    ScriptError error_;
    ScriptError cut_;
    std::string recordedBy_;
};

// The first pass over a script file: every line checked, before any frame
// runs, then the file rewound. False with the first error in `error`.
bool checkScriptFile(std::FILE* file, ScriptError& error);

// The same pass a slice at a time, for a caller that must not be held up by a
// long file (a web page between its display frames).
class ScriptFileCheck {
public:
    explicit ScriptFileCheck(std::FILE* file);
    // Checks up to `steps` more instructions; true once the pass is over, when
    // ok() says how it went.
    bool advance(std::uint64_t steps);
    bool ok() const { return done_ && error_.message.empty(); }
    const ScriptError& error() const { return error_; }

private:
    std::FILE* file_;
    ScriptReader reader_;
    ScriptError error_;
    bool done_ = false;
};

// Appends the step as one script line, with its newline: what the reader reads.
void appendStep(std::string& text, const ScriptStep& step);
// The steps as script text, one line each.
std::string formatScript(const std::vector<ScriptStep>& steps);

// Fills the key table: the entries of the held keys are 1, every other entry 0.
void setKeyTable(KeyTable& keys, unsigned held);
// Sets the entries of the six keys only: 1 for the held ones, 0 for the rest.
void setScriptKeys(KeyTable& keys, unsigned held);
// The KEY_* bits of the keys the table holds (non-zero entries).
unsigned heldKeys(const KeyTable& keys);

// A frame number: decimal digits only, fitting 64 bits.
bool parseFrameNumber(std::string_view word, std::uint64_t& value);

// `bytes` for a message: printable ASCII as it is, every other byte as \xNN,
// cut short after `limit` bytes with "...".
std::string printable(std::string_view bytes, std::size_t limit = 40);

}  // namespace drumhold::replay
