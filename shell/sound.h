// sound.h -- the five sound cues, played on one voice of the audio output.
//
// The device is opened without a callback and fed through SDL's queue:
// starting a sound clears what is queued and queues the new one, so the newest
// sound is the only one heard and the same sound again starts over from its
// beginning.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "shell/wave.h"

namespace drumhold {

// The audio output: one device, one voice.
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

// The cues, decoded for the output when it opens.
class Sound {
public:
    // Opens the audio output and decodes every built-in sample for it. On
    // failure says once on standard error why sound is off; the game runs on
    // silently.
    bool open();
    void close();
    // Starts the cue named `name` (any letter case), cutting off the one
    // playing. False for an unknown name or while sound is off.
    bool play(const char* name);

private:
    SoundDevice device_;
    std::vector<std::vector<unsigned char>> cues_;  // parallel to embeddedSamples(); empty: unplayable
    bool toldWhy_ = false;
};

}  // namespace drumhold
