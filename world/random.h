// random.h -- the game's 15-bit linear congruential generator.
//
// state = state * 214013 + 2531011 (mod 2^32); a draw is bits 16..30 of the new
// state. The whole run follows from the seed (17) and the order of the draws.
#pragma once

#include <cstdint>

namespace drumhold {

void seedRandom(std::uint32_t seed);
int randomRaw();       // one draw, 0..32767
double random01();     // one draw / 32767, in [0, 1] with 1 included
std::uint32_t randomState();

}  // namespace drumhold
