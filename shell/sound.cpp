// sound.cpp -- the five cues, decoded for the output when it opens.
#include "shell/sound.h"

#include <cstdio>

#include "data/sounds/samples.h"

namespace drumhold {

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
