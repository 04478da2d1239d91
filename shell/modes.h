// modes.h -- the shell's update step and game modes (attract and play).
//
// No SDL here: the replay tool runs exactly this update step headless.
#pragma once

#include <cstdint>

namespace drumhold {

extern int running;           // the outer loop runs while set
extern int fullscreenWanted;  // display mode the next window opens in

// How the loop posts its quit message; without one only `running` drops.
void setQuitPoster(void (*postQuit)());

// Posts the quit message and clears `running`.
void requestQuit();

// One update step: Esc asks to quit (the frame still completes); then one
// game tick in play, one attract tick outside.
void updateFrame(std::uint32_t elapsedMs);

// Outside play: pace to 100 ms, discard one random draw, and start a game on space.
void attractTick(std::uint32_t elapsedMs);

}  // namespace drumhold
