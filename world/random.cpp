// random.cpp -- the game's 15-bit linear congruential generator.
#include "world/random.h"

namespace drumhold {

namespace {
std::uint32_t state = 0;
}

void seedRandom(std::uint32_t seed) { state = seed; }

int randomRaw() {
    state = state * 214013u + 2531011u;  // wraps modulo 2^32
    return static_cast<int>((state >> 16) & 32767u);
}

double random01() { return randomRaw() / 32767.0; }

std::uint32_t randomState() { return state; }

}  // namespace drumhold
