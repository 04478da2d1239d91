// voices.h -- the recipes of the five cues. Each returns interleaved frames in
// [-1, 1], exactly `frames` long, at the rate and channel count of its cue.
#pragma once

#include <vector>

namespace drumhold::synth {

// Stereo, 8000 Hz: a noisy blast whose rumble darkens as it dies away.
std::vector<double> explosionVoice(int frames);
// Mono, 8000 Hz: a hook clanks onto a barrel and drags it, grinding.
std::vector<double> grabVoice(int frames);
// Mono, 22050 Hz: a bright chirp sweeping upward.
std::vector<double> powerUpVoice(int frames);
// Mono, 8000 Hz: a falling zap with a short echo.
std::vector<double> shotVoice(int frames);
// Mono, 22050 Hz: one soft, deep heartbeat, "lub-dub".
std::vector<double> thumpVoice(int frames);

}  // namespace drumhold::synth
