// sound.cpp -- the output device fed through SDL's queue, and the five cues
// decoded for it when it opens.
#include "shell/sound.h"

#include <SDL.h>

#include <cstdio>

#if defined(__linux__)
#include <dlfcn.h>
#endif

#include "data/sounds/samples.h"

namespace drumhold {

namespace {

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
struct QuietAlsa {
    QuietAlsa() {}  // (not trivial, so that holding one is no unused variable)
};
#endif

}  // namespace

bool SoundDevice::open(std::string& why) {
    if (device_ != 0) return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        why = std::string("no audio driver (") + SDL_GetError() + ")";
        return false;
    }
    QuietAlsa quiet;
    SDL_AudioSpec want{};
    want.freq = 22050;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;  // about 23 ms: a cue starts with the event
    SDL_AudioSpec have{};
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (device_ == 0) {
        why = std::string("no audio device (") + SDL_GetError() + ")";
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    output_ = SoundOutput{have.format, have.freq, have.channels};
    SDL_PauseAudioDevice(device_, 0);
    return true;
}

void SoundDevice::close() {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    output_ = SoundOutput{};
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Atomically with respect to the audio thread.
bool SoundDevice::start(std::span<const unsigned char> pcm) {
    if (device_ == 0 || pcm.empty()) return false;
    SDL_LockAudioDevice(device_);
    SDL_ClearQueuedAudio(device_);
    const int queued = SDL_QueueAudio(device_, pcm.data(), static_cast<Uint32>(pcm.size()));
    SDL_UnlockAudioDevice(device_);
    return queued == 0;
}

bool Sound::open() {
    if (device_.isOpen()) return true;
    std::string why;
    if (!device_.open(why)) {
        // Sound failing is no reason to stop the game, but the player should
        // learn once why it is silent.
        if (!toldWhy_) std::fprintf(stderr, "drumhold: sound is off: %s\n", why.c_str());
        toldWhy_ = true;
        return false;
    }
    const auto samples = embeddedSamples();
    cues_.assign(samples.size(), {});
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (!decodeWave(samples[i].image, device_.output(), cues_[i], why))
            std::fprintf(stderr, "drumhold: sound %s is off: %s\n", samples[i].name, why.c_str());
    }
    return true;
}

void Sound::close() {
    device_.close();
    cues_.clear();
}

bool Sound::play(const char* name) {
    if (name == nullptr || !device_.isOpen()) return false;
    const int index = findEmbeddedSample(name);
    return index >= 0 && device_.start(cues_[static_cast<std::size_t>(index)]);
}

}  // namespace drumhold
