// wave_builder.h -- hand-built WAVE images for the sound tests, sound or damaged.
#pragma once

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace drumhold::testing {

using Bytes = std::vector<unsigned char>;

inline void put16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

inline void put32(Bytes& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A chunk whose length field is the body size, or `declared` when given; odd
// bodies get their pad byte.
inline Bytes chunk(const std::string& id, const Bytes& body, std::int64_t declared = -1) {
    Bytes out(id.begin(), id.end());
    put32(out, declared < 0 ? static_cast<std::uint32_t>(body.size()) : static_cast<std::uint32_t>(declared));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);
    return out;
}

// A PCM format chunk; `extra` bytes beyond the usual 16 (2 makes the 18-byte form).
inline Bytes formatChunk(int channels, int rate, int bits, int extra = 0, int tag = 1) {
    Bytes body;
    put16(body, static_cast<std::uint32_t>(tag));
    put16(body, static_cast<std::uint32_t>(channels));
    put32(body, static_cast<std::uint32_t>(rate));
    put32(body, static_cast<std::uint32_t>(rate * channels * bits / 8));
    put16(body, static_cast<std::uint32_t>(channels * bits / 8));
    put16(body, static_cast<std::uint32_t>(bits));
    body.insert(body.end(), static_cast<std::size_t>(extra), 0);
    return chunk("fmt ", body);
}

// `frames` of an audible 440 Hz tone in the given sample layout.
inline Bytes tone(int frames, int channels, int bits, int rate = 8000) {
    Bytes out;
    for (int i = 0; i < frames; ++i) {
        const double v = 0.5 * std::sin(2.0 * 3.14159265358979 * 440.0 * i / rate);
        for (int c = 0; c < channels; ++c) {
            if (bits == 8)
                out.push_back(static_cast<unsigned char>(std::lround(v * 127.0) + 128));
            else
                put16(out, static_cast<std::uint32_t>(std::lround(v * 32767.0)) & 0xFFFF);
        }
    }
    return out;
}

// "RIFF", the length of what follows (or `declared`), "WAVE", then the chunks.
inline Bytes riff(std::initializer_list<Bytes> chunks, std::int64_t declared = -1) {
    Bytes body{'W', 'A', 'V', 'E'};
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes out{'R', 'I', 'F', 'F'};
    put32(out, declared < 0 ? static_cast<std::uint32_t>(body.size()) : static_cast<std::uint32_t>(declared));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

// An image with every harmless oddity the built-in samples may carry: an 18-byte
// format chunk, "cue " and odd-sized chunks before the data, "smpl" after it
// and a trailing "LIST" whose length field claims more than follows.
inline Bytes oddButSoundImage(const Bytes& pcm) {
    return riff({formatChunk(1, 8000, 8, 2), chunk("cue ", Bytes(28, 1)), chunk("note", Bytes(5, 'x')),
                 chunk("data", pcm), chunk("smpl", Bytes(36, 0)), chunk("LIST", Bytes(12, 'i'), 4000)});
}

}  // namespace drumhold::testing
