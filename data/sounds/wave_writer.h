// wave_writer.h -- turns generated samples into a complete RIFF/WAVE file image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace drumhold::synth {

// A chunk to carry besides "fmt " and "data". Its length field states the body
// size plus `overstated`: a damaged trailing chunk of the kind players must skip.
struct Chunk {
    std::string id;  // four characters
    std::vector<unsigned char> body;
    std::uint32_t overstated = 0;
};

struct WaveLayout {
    int channels = 1;
    int rate = 8000;
    int bits = 8;                  // 8 (unsigned) or 16 (signed, little-endian)
    bool longFormat = false;       // 18-byte format chunk with an empty extension
    std::vector<Chunk> beforeData; // placed between the format and data chunks
    std::vector<Chunk> afterData;
};

// `samples` are interleaved frames in [-1, 1]; they are rounded to the layout's
// sample size. The RIFF length field counts the bytes actually present.
std::vector<unsigned char> buildWave(const WaveLayout& layout, const std::vector<double>& samples);

// Little-endian helpers for building chunk bodies.
void putU16(std::vector<unsigned char>& out, std::uint32_t value);
void putU32(std::vector<unsigned char>& out, std::uint32_t value);
void putText(std::vector<unsigned char>& out, const std::string& text);

}  // namespace drumhold::synth
