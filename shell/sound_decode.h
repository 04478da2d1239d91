// sound_decode.h -- turns a WAVE image into sound ready for the output device.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace drumhold {

// The format of the opened output: SDL's audio format code, rate, channels.
struct SoundOutput {
    std::uint16_t format = 0;
    int rate = 0;
    int channels = 0;
};

// Reads `image` with the careful reader (wave_image.h) and converts its sound to
// `output`. On success `pcm` holds the converted sound and the result is
// true; otherwise `pcm` is empty and `why` says what was wrong.
bool decodeWave(std::span<const unsigned char> image, const SoundOutput& output,
                std::vector<unsigned char>& pcm, std::string& why);

}  // namespace drumhold
