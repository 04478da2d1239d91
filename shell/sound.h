// sound.h -- the five sound cues played on one voice through SDL audio.
#pragma once

#include <span>

#include "shell/sound_decode.h"

namespace drumhold {

// Opens the audio output once and decodes every embedded sample. On failure
// says once on standard error why sound is off; the game runs on silently.
bool openSound();
void closeSound();
// Starts the cue named `name` (any letter case), cutting off the one playing.
// Non-zero when playback started; 0 for an unknown name or no audio.
int playSound(const char* name);

// Plays an arbitrary WAVE image the way a cue is played: decoded and converted
// on the spot, cutting off the sound playing. Non-zero when playback started;
// 0 when the image cannot be played or there is no audio.
int playImage(std::span<const unsigned char> image);
// The format of the open output; false while sound is off.
bool soundOutput(SoundOutput& output);

}  // namespace drumhold
