// keys.h -- the key table and the virtual-key codes the game reads.
//
// The key table holds one int per virtual-key code 0..255 (the classic desktop
// numbering), non-zero while the key is held. The shell fills it from the
// keyboard and the gamepad; the update step and the control reader read it.
#pragma once

#include <array>

namespace drumhold {

inline constexpr int kKeyCount = 256;
using KeyTable = std::array<int, kKeyCount>;

// The codes with a meaning in the game or the shell.
namespace vk {
inline constexpr int enter = 13;  // with Alt: the display switch
inline constexpr int shift = 16;  // fire
inline constexpr int escape = 27; // quit
inline constexpr int space = 32;  // start a game
inline constexpr int left = 37;
inline constexpr int up = 38;
inline constexpr int right = 39;
inline constexpr int down = 40;
inline constexpr int f10 = 121;   // a system key: never reaches the table
inline constexpr int f11 = 122;   // the display switch
}  // namespace vk

}  // namespace drumhold
