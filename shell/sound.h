// sound.h -- the five sound cues, played on one voice.
#pragma once

#include <vector>

#include "shell/sound_device.h"

namespace drumhold {

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
