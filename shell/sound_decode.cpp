// sound_decode.cpp -- the careful reader's view of an image, converted with
// SDL_AudioCVT.
//
// SDL_AudioCVT, not SDL_AudioStream: the stream of SDL 2.26 loses the last 512
// input frames when it resamples, which would clip the end of every cue.
#include "shell/sound_decode.h"

#include <SDL.h>

#include <climits>
#include <cstring>
#include <utility>

#include "shell/wave_image.h"

namespace drumhold {

namespace {

bool fail(std::string& why, std::string reason) {
    why = std::move(reason);
    return false;
}

}  // namespace

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
