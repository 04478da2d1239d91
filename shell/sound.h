// sound.h -- the five sound cues played on one voice through SDL audio.
#pragma once

namespace drumhold {

// Opens the audio output once and decodes every embedded sample. On failure
// says once on standard error why sound is off; the game runs on silently.
bool openSound();
void closeSound();
// Starts the cue named `name` (any letter case), cutting off the one playing.
// Non-zero when playback started; 0 for an unknown name or no audio.
int playSound(const char* name);

}  // namespace drumhold
