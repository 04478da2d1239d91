// wave_writer.cpp -- RIFF/WAVE image assembly for the sound generator.
#include "data/sounds/wave_writer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace drumhold::synth {

void putU16(std::vector<unsigned char>& out, std::uint32_t value) {
    out.push_back(static_cast<unsigned char>(value & 0xFFu));
    out.push_back(static_cast<unsigned char>((value >> 8) & 0xFFu));
}

void putU32(std::vector<unsigned char>& out, std::uint32_t value) {
    putU16(out, value & 0xFFFFu);
    putU16(out, value >> 16);
}

void putText(std::vector<unsigned char>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

namespace {

void putChunk(std::vector<unsigned char>& out, const Chunk& chunk) {
    if (chunk.id.size() != 4) throw std::invalid_argument("chunk id must be four characters");
    putText(out, chunk.id);
    putU32(out, static_cast<std::uint32_t>(chunk.body.size()) + chunk.overstated);
    out.insert(out.end(), chunk.body.begin(), chunk.body.end());
    if (chunk.body.size() % 2 != 0) out.push_back(0);  // chunks start on even offsets
}

void putSample(std::vector<unsigned char>& out, double value, int bits) {
    const double clamped = std::clamp(value, -1.0, 1.0);
    if (bits == 8) {
        out.push_back(static_cast<unsigned char>(std::lround(clamped * 127.0) + 128));
    } else {
        const long v = std::lround(clamped * 32767.0);
        putU16(out, static_cast<std::uint32_t>(v) & 0xFFFFu);
    }
}

}  // namespace

std::vector<unsigned char> buildWave(const WaveLayout& layout, const std::vector<double>& samples) {
    if (layout.bits != 8 && layout.bits != 16) throw std::invalid_argument("8 or 16 bits only");
    const int blockAlign = layout.channels * layout.bits / 8;

    Chunk format{"fmt ", {}, 0};
    putU16(format.body, 1);  // PCM
    putU16(format.body, static_cast<std::uint32_t>(layout.channels));
    putU32(format.body, static_cast<std::uint32_t>(layout.rate));
    putU32(format.body, static_cast<std::uint32_t>(layout.rate * blockAlign));
    putU16(format.body, static_cast<std::uint32_t>(blockAlign));
    putU16(format.body, static_cast<std::uint32_t>(layout.bits));
    if (layout.longFormat) putU16(format.body, 0);

    Chunk data{"data", {}, 0};
    for (double s : samples) putSample(data.body, s, layout.bits);

    std::vector<unsigned char> body;
    putText(body, "WAVE");
    putChunk(body, format);
    for (const Chunk& c : layout.beforeData) putChunk(body, c);
    putChunk(body, data);
    for (const Chunk& c : layout.afterData) putChunk(body, c);

    std::vector<unsigned char> image;
    putText(image, "RIFF");
    putU32(image, static_cast<std::uint32_t>(body.size()));
    image.insert(image.end(), body.begin(), body.end());
    return image;
}

}  // namespace drumhold::synth
