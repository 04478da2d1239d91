// wave.h -- WAVE images: a careful reader, and their sound converted for the
// output device.
//
// The player trusts no image: the reader walks the chunks with every length
// checked against the bytes present, reads the format chunk and finds the data
// chunk, and ignores everything else, including whatever follows the data chunk.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace drumhold {

struct WaveImage {
    int channels = 0;
    int rate = 0;
    int bits = 0;                             // 8 (unsigned) or 16 (signed)
    std::span<const unsigned char> data;      // whole frames, never empty
    std::uint32_t frames() const {  // after a successful read only
        return static_cast<std::uint32_t>(data.size() / static_cast<std::size_t>(channels * bits / 8));
    }
};

// Reads `image`. On success fills `out` and returns true; otherwise returns false
// with the reason in `why`. Accepted: uncompressed PCM, 1 or 2 channels, 8 or 16
// bits, 1000 to 192000 Hz, a format chunk of 16 bytes or more before a data chunk
// that is present in full and holds at least one whole frame.
bool readWaveImage(std::span<const unsigned char> image, WaveImage& out, std::string& why);

// The format of the opened output: SDL's audio format code, rate, channels.
struct SoundOutput {
    std::uint16_t format = 0;
    int rate = 0;
    int channels = 0;
};

// Reads `image` with readWaveImage and converts its sound to `output`. On
// success `pcm` holds the converted sound and the result is true; otherwise
// `pcm` is empty and `why` says what was wrong.
bool decodeWave(std::span<const unsigned char> image, const SoundOutput& output,
                std::vector<unsigned char>& pcm, std::string& why);

}  // namespace drumhold
