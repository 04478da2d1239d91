// samples.h -- the five built-in cue samples, each a complete RIFF/WAVE image.
//
// The images are generated at build time (see generate.cpp) and live in the
// program's constant data for its whole run.
#pragma once

#include <span>
#include <string_view>

namespace drumhold {

struct EmbeddedSample {
    const char* name;  // upper case: "EXPLOSION", "GRAB", "POWER_UP", "SHOT", "THUMP"
    std::span<const unsigned char> image;
};

std::span<const EmbeddedSample> embeddedSamples();

// The index in embeddedSamples() of the sample whose name equals `name` apart
// from letter case, or -1.
int findEmbeddedSample(std::string_view name);

}  // namespace drumhold
