// keymap.h -- SDL keys to the virtual-key codes of the key table.
//
// The key table is indexed by the classic desktop virtual-key numbering
// (shift 16, space 32, Esc 27, arrows 37-40, letters 65-90 ...). Every SDL key
// with such a code maps to it; both shifts, both controls and both alts map to
// their common code. Keys without one give 0 and are ignored.
#pragma once

#include <SDL_keycode.h>

namespace drumhold {

int virtualKeyFor(SDL_Keycode key);

}  // namespace drumhold
