// random.h -- the game's 15-bit linear congruential generator.
//
// state = state * 214013 + 2531011 (mod 2^32); a draw is bits 16..30 of the new
// state. The whole run follows from the seed (17) and the order of the draws.
#pragma once

#include <cstdint>

namespace drumhold {

struct Random {
    std::uint32_t state = 0;
};

inline void seedRandom(Random& random, std::uint32_t seed) { random.state = seed; }

// One draw, 0..32767.
inline int randomRaw(Random& random) {
    random.state = random.state * 214013u + 2531011u;  // wraps modulo 2^32
    return static_cast<int>((random.state >> 16) & 32767u);
}

// One draw / 32767, in [0, 1] with 1 included.
inline double random01(Random& random) { return randomRaw(random) / 32767.0; }

}  // namespace drumhold
