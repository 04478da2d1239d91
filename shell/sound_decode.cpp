// sound_decode.cpp -- image check, SDL's WAVE loader and SDL_AudioCVT conversion.
//
// SDL_AudioCVT, not SDL_AudioStream: the stream of SDL 2.26 loses the last 512
// input frames when it resamples, which would clip the end of every cue.
#include "shell/sound_decode.h"

#include <SDL.h>

#include <climits>
#include <cstring>
#include <memory>
#include <utility>

#include "shell/wave_image.h"

namespace drumhold {

namespace {

struct FreeWav {
    void operator()(Uint8* buffer) const { SDL_FreeWAV(buffer); }
};

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
    if (image.size() > static_cast<std::size_t>(INT_MAX)) return fail(why, "image too large");

    SDL_RWops* source = SDL_RWFromConstMem(image.data(), static_cast<int>(image.size()));
    if (source == nullptr) return fail(why, SDL_GetError());
    SDL_AudioSpec loaded;
    Uint8* raw = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(source, 1, &loaded, &raw, &length) == nullptr)
        return fail(why, std::string("the WAVE loader refused it: ") + SDL_GetError());
    const std::unique_ptr<Uint8, FreeWav> decoded(raw);

    // Both readings of the image must agree before any of it is played.
    const SDL_AudioFormat expected = wave.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    if (loaded.format != expected || loaded.channels != wave.channels || loaded.freq != wave.rate ||
        length != wave.data.size())
        return fail(why, "the WAVE loader read it differently");

    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, loaded.format, loaded.channels, loaded.freq, output.format,
                          static_cast<Uint8>(output.channels), output.rate) < 0)
        return fail(why, std::string("cannot convert it: ") + SDL_GetError());
    if (static_cast<std::uint64_t>(length) * static_cast<std::uint64_t>(cvt.len_mult) > INT_MAX)
        return fail(why, "image too large");
    std::vector<unsigned char> buffer(static_cast<std::size_t>(length) * static_cast<std::size_t>(cvt.len_mult));
    std::memcpy(buffer.data(), raw, length);
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
