// sound.cpp -- one output device, the five cues decoded at start-up, one voice.
//
// The device is opened without a callback and fed through SDL's queue: a cue
// clears what is queued and queues its own sound, so the newest cue is the only
// one heard and the same cue again starts over from its beginning.
#include "shell/sound.h"

#include <SDL.h>

#include <cstdio>
#include <string>
#include <vector>

#if defined(__linux__)
#include <dlfcn.h>
#endif

#include "data/sounds/samples.h"

namespace drumhold {

namespace {

struct SoundState {
    SDL_AudioDeviceID device = 0;
    SoundOutput output;
    std::vector<std::vector<unsigned char>> cues;  // parallel to embeddedSamples(); empty = unplayable
};

SoundState sound;

// Sound failing is no reason to stop the game, but the player should learn once why it is silent.
void sayOnce(const std::string& message) {
    static bool said = false;
    if (said) return;
    said = true;
    std::fprintf(stderr, "drumhold: sound is off: %s\n", message.c_str());
}

#if defined(__linux__)
// Without a sound card, ALSA prints a page of its own complaints while SDL tries
// the default device. They are muted for the attempt; our one line says it all.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using SetAlsaErrorHandler = int (*)(AlsaErrorHandler);

class QuietAlsa {
public:
    QuietAlsa() {
        // Only if SDL has loaded ALSA already; never load it ourselves.
        library_ = dlopen("libasound.so.2", RTLD_LAZY | RTLD_NOLOAD);
        if (library_ != nullptr)
            setHandler_ = reinterpret_cast<SetAlsaErrorHandler>(dlsym(library_, "snd_lib_error_set_handler"));
        if (setHandler_ != nullptr) setHandler_(ignoreAlsaError);
    }
    ~QuietAlsa() {
        if (setHandler_ != nullptr) setHandler_(nullptr);
        if (library_ != nullptr) dlclose(library_);
    }
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;

private:
    void* library_ = nullptr;
    SetAlsaErrorHandler setHandler_ = nullptr;
};
#else
struct QuietAlsa {};
#endif

SDL_AudioDeviceID openDevice(SoundOutput& output) {
    QuietAlsa quiet;
    SDL_AudioSpec want{};
    want.freq = 22050;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;  // about 23 ms: a cue starts with the event
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (device != 0) output = SoundOutput{have.format, have.freq, have.channels};
    return device;
}

// Replaces whatever is queued with `pcm`, atomically with respect to the audio thread.
int start(const std::vector<unsigned char>& pcm) {
    if (sound.device == 0 || pcm.empty()) return 0;
    SDL_LockAudioDevice(sound.device);
    SDL_ClearQueuedAudio(sound.device);
    const int queued = SDL_QueueAudio(sound.device, pcm.data(), static_cast<Uint32>(pcm.size()));
    SDL_UnlockAudioDevice(sound.device);
    return queued == 0 ? 1 : 0;
}

}  // namespace

bool openSound() {
    if (sound.device != 0) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        sayOnce(std::string("no audio driver (") + SDL_GetError() + ")");
        return false;
    }
    sound.device = openDevice(sound.output);
    if (sound.device == 0) {
        sayOnce(std::string("no audio device (") + SDL_GetError() + ")");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    const auto samples = embeddedSamples();
    sound.cues.assign(samples.size(), {});
    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::string why;
        if (!decodeWave(samples[i].image, sound.output, sound.cues[i], why))
            std::fprintf(stderr, "drumhold: sound %s is off: %s\n", samples[i].name, why.c_str());
    }
    SDL_PauseAudioDevice(sound.device, 0);
    return true;
}

void closeSound() {
    if (sound.device == 0) return;
    SDL_CloseAudioDevice(sound.device);
    sound = SoundState{};
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int playSound(const char* name) {
    if (name == nullptr || sound.device == 0) return 0;
    const int index = findEmbeddedSample(name);
    if (index < 0) return 0;
    return start(sound.cues[static_cast<std::size_t>(index)]);
}

int playImage(std::span<const unsigned char> image) {
    if (sound.device == 0) return 0;
    std::vector<unsigned char> pcm;
    std::string why;
    if (!decodeWave(image, sound.output, pcm, why)) return 0;
    return start(pcm);
}

bool soundOutput(SoundOutput& output) {
    if (sound.device == 0) return false;
    output = sound.output;
    return true;
}

}  // namespace drumhold
