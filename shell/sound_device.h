// sound_device.h -- the audio output: one device, one voice.
//
// Opened without a callback and fed through SDL's queue: starting a sound
// clears what is queued and queues the new one, so the newest sound is the only
// one heard and the same sound again starts over from its beginning.
#pragma once

#include <span>
#include <string>

#include "shell/sound_decode.h"

namespace drumhold {

class SoundDevice {
public:
    SoundDevice() = default;
    ~SoundDevice() { close(); }
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;

    // Brings SDL audio up and opens the default device; false with the reason in `why`.
    bool open(std::string& why);
    void close();
    bool isOpen() const { return device_ != 0; }
    // The format the device plays; meaningful while open.
    const SoundOutput& output() const { return output_; }
    // Replaces whatever is playing with `pcm` (in the output format). True when
    // playback started; false while closed or for an empty sound.
    bool start(std::span<const unsigned char> pcm);

private:
    unsigned device_ = 0;  // SDL_AudioDeviceID
    SoundOutput output_;
};

}  // namespace drumhold
