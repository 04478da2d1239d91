// wave_image.h -- a careful reader of RIFF/WAVE file images.
//
// The player trusts no image: this walks the chunks with every length checked
// against the bytes present, reads the format chunk and finds the data chunk,
// and ignores everything else, including whatever follows the data chunk.
#pragma once

#include <cstdint>
#include <span>
#include <string>

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

}  // namespace drumhold
