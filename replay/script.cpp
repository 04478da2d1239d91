// script.cpp -- reading and writing replay scripts.
#include "replay/script.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "replay/text.h"

namespace drumhold::replay {

namespace {

struct KeyName {
    std::string_view name;
    unsigned bit;
    int virtualKey;
};

constexpr KeyName kKeys[] = {
    {"up", KEY_UP, vk::up},          {"down", KEY_DOWN, vk::down},   {"left", KEY_LEFT, vk::left},
    {"right", KEY_RIGHT, vk::right}, {"fire", KEY_FIRE, vk::shift}, {"space", KEY_SPACE, vk::space},
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// Splits a line (comment already removed) into blank-separated words.
std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) ++i;
        std::size_t start = i;
        while (i < line.size() && !isBlank(line[i])) ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

bool parseCount(std::string_view word, std::uint32_t& count, std::string& why) {
    std::uint64_t value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') {
            why = "frame count '" + printable(word) + "' is not a positive decimal number";
            return false;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
            why = "frame count '" + printable(word) + "' is too large (at most 2147483647)";
            return false;
        }
    }
    if (value == 0) {
        why = "frame count must be at least 1";
        return false;
    }
    count = static_cast<std::uint32_t>(value);
    return true;
}

bool parseKeys(std::string_view word, unsigned& keys, std::string& why) {
    keys = 0;
    if (word == "-") return true;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = word.find(',', start);
        std::string_view name = word.substr(start, comma == std::string_view::npos ? word.npos : comma - start);
        const auto* key = std::find_if(std::begin(kKeys), std::end(kKeys),
                                       [&](const KeyName& k) { return k.name == name; });
        if (key == std::end(kKeys)) {
            why = name.empty() ? "empty key name in '" + printable(word) + "'"
                               : "unknown key '" + printable(name) + "'";
            why += " (keys: up, down, left, right, fire, space, or - for none)";
            return false;
        }
        keys |= key->bit;
        if (comma == std::string_view::npos) return true;
        start = comma + 1;
    }
}

}  // namespace

namespace {

constexpr std::size_t kBufferBytes = 1 << 16;
constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";
// The first line of a recorded game: "# drumhold VERSION replay, ...".
constexpr std::string_view kRecordHeader = "# drumhold ";

std::string versionNamedIn(std::string_view line) {
    line.remove_prefix(kRecordHeader.size());
    const std::size_t end = line.find(' ');
    if (end == std::string_view::npos || line.substr(end).rfind(" replay", 0) != 0) return {};
    return printable(line.substr(0, end));
}

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

bool parseHash(std::string_view word, std::uint64_t& hash) {
    if (word.size() != 16 || !std::all_of(word.begin(), word.end(), isHexDigit)) return false;
    hash = 0;
    for (char c : word) hash = hash << 4 | static_cast<std::uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
    return true;
}

}  // namespace

bool parseFrameNumber(std::string_view word, std::uint64_t& value) {
    value = 0;
    if (word.empty()) return false;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

ScriptReader::ScriptReader(ReadSome read) : read_(std::move(read)), buffer_(new char[kBufferBytes]) {}

ScriptReader::ScriptReader(std::string_view text)
    : ScriptReader([text](char* buffer, std::size_t size, bool&) mutable {
          const std::size_t n = std::min(size, text.size());
          std::copy_n(text.data(), n, buffer);
          text.remove_prefix(n);
          return n;
      }) {}

ScriptReader::ScriptReader(std::FILE* file)
    : ScriptReader([file](char* buffer, std::size_t size, bool& failed) {
          errno = 0;
          const std::size_t n = std::fread(buffer, 1, size, file);
          if (n == 0 && std::ferror(file)) failed = true;
          return n;
      }) {}

bool ScriptReader::fail(std::string message) {
    error_.line = lineNumber_;
    error_.message = std::move(message);
    return false;
}

bool ScriptReader::bad(std::string message) {
    if (lineEnded_) return fail(std::move(message));
    // The input ends inside this line: a record whose writing was cut off
    // (a full disk, a crash). What came before it stands.
    cut_.line = lineNumber_;
    cut_.message = std::move(message);
    return false;
}

// The next line without its newline; false at the end of the input, at a read
// error, or when the input allowed is used up (paused(): the next call goes on
// with the same line). Of a line that outgrows the limit only the limit is
// kept; the rest is read past, and next() refuses the line only if a newline
// ends it (the cut rule holds for any length).
bool ScriptReader::readLine(std::string_view& line) {
    paused_ = false;
    if (!lineOpen_) {
        line_.clear();
        lineSeen_ = false;
        overlong_ = false;
    }
    lineOpen_ = true;
    lineEnded_ = false;
    for (;;) {
        if (position_ == filled_) {
            if (atEnd_) break;
            if (allowed_ == 0) {
                paused_ = true;
                return false;
            }
            bool readFailed = false;
            filled_ = read_(buffer_.get(), kBufferBytes, readFailed);
            position_ = 0;
            allowed_ -= std::min(allowed_, filled_);
            if (readFailed) {
                const int error = errno;
                return fail(error != 0 ? std::string("cannot read the script: ") + std::strerror(error)
                                       : "cannot read the script");
            }
            if (filled_ == 0) {
                atEnd_ = true;
                break;
            }
        }
        lineSeen_ = true;
        const char* start = buffer_.get() + position_;
        const char* end = buffer_.get() + filled_;
        const char* newline = std::find(start, end, '\n');
        const std::size_t length = static_cast<std::size_t>(newline - start);
        overlong_ = overlong_ || line_.size() + length > kMaxLineBytes;
        if (!overlong_) line_.append(start, length);
        position_ += length;
        if (newline != end) {
            ++position_;
            lineEnded_ = true;
            break;
        }
    }
    lineOpen_ = false;
    if (!lineSeen_) return false;
    ++lineNumber_;
    line = line_;
    // An editor's byte-order mark before the first line is no part of it.
    if (lineNumber_ == 1 && line.starts_with(kByteOrderMark)) line.remove_prefix(kByteOrderMark.size());
    return true;
}

bool ScriptReader::next(ScriptStep& step) {
    if (failed()) return false;
    std::string_view line;
    while (readLine(line)) {
        if (overlong_) return bad("line is longer than " + std::to_string(kMaxLineBytes) + " bytes");
        if (lineNumber_ == 1 && line.starts_with(kRecordHeader)) recordedBy_ = versionNamedIn(line);
        if (std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
        const auto w = words(line);
        if (w.empty()) continue;

        step = ScriptStep{};
        if (w[0] == "reinit") {
            if (w.size() > 1) return bad("unexpected '" + printable(w[1]) + "' after reinit");
            step.kind = ScriptStep::Reinit;
            justReinitialised_ = true;
            return true;
        }
        if (w[0] == "check") {
            if (w.size() != 3) return bad("expected 'check N HASH'");
            step.kind = ScriptStep::Check;
            if (!parseFrameNumber(w[1], step.frame))
                return bad("frame number '" + printable(w[1]) + "' is not a decimal number");
            if (!parseHash(w[2], step.hash))
                return bad("hash '" + printable(w[2]) + "' is not 16 lower-case hex digits");
            if (step.frame != frames_)
                return bad("check of frame " + std::to_string(step.frame) + ", but the last frame before it is " +
                            std::to_string(frames_));
            if (justReinitialised_) return bad("check right after reinit: no frame has run since");
            return true;
        }
        // A count starts with a digit (or a sign, which the count refuses).
        if (std::string_view("0123456789+-").find(w[0][0]) == std::string_view::npos)
            return bad("unknown instruction '" + printable(w[0]) + "'");
        if (w.size() == 1) return bad("expected 'COUNT KEYS', found only '" + printable(w[0]) + "'");
        if (w.size() > 2) return bad("unexpected '" + printable(w[2]) + "' after the keys");
        std::string why;
        if (!parseCount(w[0], step.count, why) || !parseKeys(w[1], step.keys, why)) return bad(why);
        frames_ += step.count;
        justReinitialised_ = false;
        return true;
    }
    return false;
}

ScriptFileCheck::ScriptFileCheck(std::FILE* file) : file_(file), reader_(file) {}

bool ScriptFileCheck::advance(std::uint64_t steps) {
    if (done_) return true;
    ScriptStep step;
    for (std::uint64_t i = 0; i < steps; ++i) {
        if (reader_.next(step)) continue;
        done_ = true;
        error_ = reader_.error();
        if (!reader_.failed() && std::fseek(file_, 0, SEEK_SET) != 0) error_.message = "cannot read it again";
        return true;
    }
    return false;
}

bool checkScriptFile(std::FILE* file, ScriptError& error) {
    ScriptFileCheck check(file);
    while (!check.advance(std::numeric_limits<std::uint64_t>::max())) {
    }
    error = check.error();
    return check.ok();
}

void appendStep(std::string& text, const ScriptStep& step) {
    switch (step.kind) {
    case ScriptStep::Reinit:
        text += "reinit\n";
        return;
    case ScriptStep::Check: {
        char hex[16];
        formatHex16(hex, step.hash);
        text += "check ";
        text += std::to_string(step.frame);
        text += ' ';
        text.append(hex, 16);
        text += '\n';
        return;
    }
    case ScriptStep::Run:
        break;
    }
    text += std::to_string(step.count);
    text += ' ';
    const std::size_t start = text.size();
    for (const KeyName& key : kKeys) {
        if (!(step.keys & key.bit)) continue;
        if (text.size() > start) text += ',';
        text += key.name;
    }
    if (text.size() == start) text += '-';
    text += '\n';
}

std::string formatScript(const std::vector<ScriptStep>& steps) {
    std::string text;
    for (const ScriptStep& step : steps) appendStep(text, step);
    return text;
}

void setKeyTable(KeyTable& keys, unsigned held) {
    keys.fill(0);
    setScriptKeys(keys, held);
}

void setScriptKeys(KeyTable& keys, unsigned held) {
    for (const KeyName& key : kKeys) keys[key.virtualKey] = (held & key.bit) ? 1 : 0;
}

unsigned heldKeys(const KeyTable& keys) {
    unsigned held = 0;
    for (const KeyName& key : kKeys)
        if (keys[key.virtualKey] != 0) held |= key.bit;
    return held;
}

std::string printable(std::string_view bytes, std::size_t limit) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == limit) return out + "...";
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += kHexDigits[c >> 4];
            out += kHexDigits[c & 0xf];
        }
    }
    return out;
}

}  // namespace drumhold::replay
