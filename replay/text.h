// text.h -- the text side of the replay trace: a reusable output buffer
// that prints ints and floats the way the trace does, and the FNV-1a hash.
//
// Floats are printed like printf's "%.9g" of the value widened to double. The
// buffer never shrinks, so once warmed up a frame's block costs no allocation.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace drumhold::replay {

// Longest "%.9g" of any double: "-1.23456789e+308" plus a spare byte.
inline constexpr std::size_t kMaxFloatText = 24;

// Writes "%.9g" of `value` at `first` and returns the end; no terminator.
char* formatG9(char* first, double value);

// FNV-1a, 64 bits, continuing from `hash`.
inline constexpr std::uint64_t kFnvOffsetBasis = 14695981039346656037ull;
inline constexpr std::uint64_t kFnvPrime = 1099511628211ull;
std::uint64_t fnv1a64(std::string_view bytes, std::uint64_t hash = kFnvOffsetBasis);

inline constexpr char kHexDigits[] = "0123456789abcdef";
// Writes `hash` as 16 lower-case hex digits at `first`; returns the end.
char* formatHex16(char* first, std::uint64_t hash);

class TextBuffer {
public:
    explicit TextBuffer(std::size_t capacity = 1 << 16);
    ~TextBuffer();
    TextBuffer(const TextBuffer&) = delete;
    TextBuffer& operator=(const TextBuffer&) = delete;

    void clear() { size_ = 0; }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {data_.get(), size_}; }

    // Room for `n` more bytes; write there, then commit the new end.
    char* reserve(std::size_t n) {
        if (capacity_ - size_ < n) grow(n);
        return data_.get() + size_;
    }
    void commit(char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }

    void put(char c) { *reserve(1) = c; ++size_; }
    void put(std::string_view s) {
        std::memcpy(reserve(s.size()), s.data(), s.size());
        size_ += s.size();
    }
    template <typename Int>
    void putInt(Int value) {
        char* p = reserve(24);
        commit(std::to_chars(p, p + 24, value).ptr);
    }
    void putFloat(float value);

private:
    void grow(std::size_t n);

    struct MemoEntry;
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    // Recently printed floats by bit pattern: most fields of a frame (barrels at
    // rest, previous positions) repeat values printed a frame earlier.
    std::unique_ptr<MemoEntry[]> memo_;
};

}  // namespace drumhold::replay
