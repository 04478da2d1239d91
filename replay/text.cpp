// text.cpp -- the trace's number formatting, its buffer and its hash.
#include "replay/text.h"

#include <algorithm>

namespace drumhold::replay {

namespace {
constexpr unsigned kMemoBits = 12;
constexpr std::size_t kMemoSize = std::size_t{1} << kMemoBits;
}  // namespace

struct TextBuffer::MemoEntry {
    std::uint32_t bits;
    std::uint8_t length;
    char text[kMaxFloatText];
};

std::uint64_t fnv1a64(std::string_view bytes, std::uint64_t hash) {
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= kFnvPrime;
    }
    return hash;
}

char* formatHex16(char* first, std::uint64_t hash) {
    for (int i = 15; i >= 0; --i) {
        first[i] = kHexDigits[hash & 0xf];
        hash >>= 4;
    }
    return first + 16;
}

TextBuffer::TextBuffer(std::size_t capacity)
    : data_(new char[std::max<std::size_t>(capacity, 256)]),
      capacity_(std::max<std::size_t>(capacity, 256)),
      memo_(new MemoEntry[kMemoSize]) {
    // Every slot starts out holding +0, so a lookup never needs a "used" flag.
    for (std::size_t i = 0; i < kMemoSize; ++i) {
        memo_[i].bits = 0;
        memo_[i].length = 1;
        memo_[i].text[0] = '0';
    }
}

TextBuffer::~TextBuffer() = default;

void TextBuffer::grow(std::size_t n) {
    std::size_t capacity = std::max(capacity_ * 2, size_ + n);
    std::unique_ptr<char[]> data(new char[capacity]);
    std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
}

void TextBuffer::putFloat(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    MemoEntry& entry = memo_[(bits * 2654435761u) >> (32 - kMemoBits)];
    if (entry.bits != bits) {
        entry.bits = bits;
        entry.length = static_cast<std::uint8_t>(formatG9(entry.text, static_cast<double>(value)) - entry.text);
    }
    char* p = reserve(kMaxFloatText);
    std::memcpy(p, entry.text, kMaxFloatText);
    size_ += entry.length;
}

}  // namespace drumhold::replay
