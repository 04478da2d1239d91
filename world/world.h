// world.h -- the world as the rest of the program sees it: one GameState value,
// initialised, stepped one update at a time with the key table passed in, and
// released. Drawing reads the records (records.h); the outside is reached only
// through the host (host.h).
#pragma once

#include <cstdint>

#include "data/keys.h"
#include "world/host.h"
#include "world/records.h"

namespace drumhold {

// A fresh game in `game`, as every newly opened window starts one: the generator
// seeded with 17, the two tank types registered, the world reset. `playing`, the
// explosions in flight, the host and the scratch space carry over.
void initWorld(GameState* game);
// Releases every record the world owns, explosions included.
void releaseWorld(GameState* game);

// One update step: one game tick in play, one attract tick outside, whatever
// the keys. False when Esc is held: the caller ends the run once this frame is
// drawn and presented.
bool updateFrame(GameState* game, const KeyTable& keys, std::uint32_t elapsedMs);

// Outside play: pace to 100 ms, discard one random draw, and start a game on space.
void attractTick(GameState* game, const KeyTable& keys, std::uint32_t elapsedMs);

}  // namespace drumhold
