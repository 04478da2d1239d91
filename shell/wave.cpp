// wave.cpp -- the bounds-checked chunk walk over a RIFF/WAVE image, and its
// sound converted with SDL_AudioCVT.
//
// SDL_AudioCVT, not SDL_AudioStream: the stream of SDL 2.26 loses the last 512
// input frames when it resamples, which would clip the end of every cue.
#include "shell/wave.h"

#include <SDL.h>

#include <climits>
#include <cstddef>
#include <cstring>
#include <utility>

namespace drumhold {

namespace {

std::uint32_t u16At(std::span<const unsigned char> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
}

std::uint32_t u32At(std::span<const unsigned char> b, std::size_t at) {
    return u16At(b, at) | u16At(b, at + 2) << 16;
}

bool idAt(std::span<const unsigned char> b, std::size_t at, const char* id) {
    return std::memcmp(b.data() + at, id, 4) == 0;
}

bool fail(std::string& why, std::string reason) {
    why = std::move(reason);
    return false;
}

bool readFormat(std::span<const unsigned char> body, WaveImage& out, std::string& why) {
    if (body.size() < 16) return fail(why, "format chunk too short");
    if (u16At(body, 0) != 1) return fail(why, "not uncompressed PCM");
    const std::uint32_t channels = u16At(body, 2);
    const std::uint32_t rate = u32At(body, 4);
    const std::uint32_t blockAlign = u16At(body, 12);
    const std::uint32_t bits = u16At(body, 14);
    if (channels != 1 && channels != 2) return fail(why, "not mono or stereo");
    if (bits != 8 && bits != 16) return fail(why, "not 8 or 16 bits per sample");
    if (rate < 1000 || rate > 192000) return fail(why, "sample rate out of range");
    if (blockAlign != channels * bits / 8) return fail(why, "block size does not match the format");
    out.channels = static_cast<int>(channels);
    out.rate = static_cast<int>(rate);
    out.bits = static_cast<int>(bits);
    return true;
}

}  // namespace

bool readWaveImage(std::span<const unsigned char> image, WaveImage& out, std::string& why) {
    out = WaveImage{};
    if (image.size() < 12) return fail(why, "too short for a RIFF header");
    if (!idAt(image, 0, "RIFF") || !idAt(image, 8, "WAVE")) return fail(why, "not a RIFF/WAVE image");

    // Chunks are searched within the RIFF length; a length field too small to
    // hold even the form type (zero, say) or one past the image means the
    // image's own end. The walk below relies on `end` being at least 12.
    const std::uint64_t riffEnd = std::uint64_t{u32At(image, 4)} + 8;
    const std::size_t end = (riffEnd < 12 || riffEnd > image.size()) ? image.size()
                                                                    : static_cast<std::size_t>(riffEnd);
    bool haveFormat = false;
    std::size_t at = 12;
    while (end - at >= 8) {
        const std::uint32_t length = u32At(image, at + 4);
        const std::size_t bodyAt = at + 8;
        const std::size_t present = end - bodyAt;
        if (idAt(image, at, "fmt ")) {
            if (length > present) return fail(why, "format chunk cut short");
            if (!readFormat(image.subspan(bodyAt, length), out, why)) return false;
            haveFormat = true;
        } else if (idAt(image, at, "data")) {
            // The data chunk's length is all that says where the sound ends; when
            // it points past the image, the image is damaged and is not played.
            if (!haveFormat) return fail(why, "data chunk before the format chunk");
            if (length > present) return fail(why, "data chunk cut short");
            const std::uint32_t frameBytes = static_cast<std::uint32_t>(out.channels * out.bits / 8);
            if (length == 0) return fail(why, "no sound in the data chunk");
            if (length % frameBytes != 0) return fail(why, "data chunk does not hold whole frames");
            out.data = image.subspan(bodyAt, length);
            return true;
        }
        // Skip the chunk and its pad byte; a chunk running past the end ends the walk.
        const std::uint64_t next = std::uint64_t{bodyAt} + length + (length & 1u);
        if (next > end) break;
        at = static_cast<std::size_t>(next);
    }
    return fail(why, haveFormat ? "no data chunk" : "no format chunk");
}

bool decodeWave(std::span<const unsigned char> image, const SoundOutput& output,
                std::vector<unsigned char>& pcm, std::string& why) {
    pcm.clear();
    WaveImage wave;
    if (!readWaveImage(image, wave, why)) return false;
    const std::size_t length = wave.data.size();
    if (length > static_cast<std::size_t>(INT_MAX)) return fail(why, "image too large");

    SDL_AudioCVT cvt;
    const SDL_AudioFormat format = wave.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    if (SDL_BuildAudioCVT(&cvt, format, static_cast<Uint8>(wave.channels), wave.rate, output.format,
                          static_cast<Uint8>(output.channels), output.rate) < 0)
        return fail(why, std::string("cannot convert it: ") + SDL_GetError());
    if (static_cast<std::uint64_t>(length) * static_cast<std::uint64_t>(cvt.len_mult) > INT_MAX)
        return fail(why, "image too large");
    std::vector<unsigned char> buffer(length * static_cast<std::size_t>(cvt.len_mult));
    std::memcpy(buffer.data(), wave.data.data(), length);
    cvt.len = static_cast<int>(length);
    cvt.buf = buffer.data();
    if (cvt.needed && SDL_ConvertAudio(&cvt) != 0)
        return fail(why, std::string("cannot convert it: ") + SDL_GetError());
    buffer.resize(cvt.needed ? static_cast<std::size_t>(cvt.len_cvt) : length);
    if (buffer.empty()) return fail(why, "nothing left after conversion");
    pcm = std::move(buffer);
    return true;
}

}  // namespace drumhold
