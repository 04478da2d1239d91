// SDL keys to the virtual-key codes of the key table.
#include <gtest/gtest.h>

#include <SDL.h>

#include "shell/sdl_platform.h"

namespace drumhold {
namespace {

TEST(KeymapTest, GameKeysAndTheirFamilies) {
    // The keys the game reads.
    EXPECT_EQ(virtualKeyFor(SDLK_ESCAPE), 27);
    EXPECT_EQ(virtualKeyFor(SDLK_SPACE), 32);
    EXPECT_EQ(virtualKeyFor(SDLK_LEFT), 37);
    EXPECT_EQ(virtualKeyFor(SDLK_UP), 38);
    EXPECT_EQ(virtualKeyFor(SDLK_RIGHT), 39);
    EXPECT_EQ(virtualKeyFor(SDLK_DOWN), 40);
    EXPECT_EQ(virtualKeyFor(SDLK_LSHIFT), 16);
    EXPECT_EQ(virtualKeyFor(SDLK_RSHIFT), 16);

    // Left and right modifiers share one code; both Enter keys too.
    EXPECT_EQ(virtualKeyFor(SDLK_LCTRL), 17);
    EXPECT_EQ(virtualKeyFor(SDLK_RCTRL), 17);
    EXPECT_EQ(virtualKeyFor(SDLK_LALT), 18);
    EXPECT_EQ(virtualKeyFor(SDLK_RALT), 18);
    EXPECT_EQ(virtualKeyFor(SDLK_RETURN), 13);
    EXPECT_EQ(virtualKeyFor(SDLK_KP_ENTER), 13);

    // The ranges, at both ends.
    EXPECT_EQ(virtualKeyFor(SDLK_a), 65);
    EXPECT_EQ(virtualKeyFor(SDLK_z), 90);
    EXPECT_EQ(virtualKeyFor(SDLK_0), 48);
    EXPECT_EQ(virtualKeyFor(SDLK_9), 57);
    EXPECT_EQ(virtualKeyFor(SDLK_F1), 112);
    EXPECT_EQ(virtualKeyFor(SDLK_F12), 123);
    EXPECT_EQ(virtualKeyFor(SDLK_F13), 124);
    EXPECT_EQ(virtualKeyFor(SDLK_F24), 135);
    EXPECT_EQ(virtualKeyFor(SDLK_KP_0), 96);
    EXPECT_EQ(virtualKeyFor(SDLK_KP_1), 97);
    EXPECT_EQ(virtualKeyFor(SDLK_KP_9), 105);
}

TEST(KeymapTest, EveryKeyGivesACodeOfTheTableOrNothing) {
    // Every printable key code and every key named after a scancode.
    std::vector<SDL_Keycode> keys;
    for (SDL_Keycode k = 0; k < 128; ++k) keys.push_back(k);
    for (int s = 0; s < SDL_NUM_SCANCODES; ++s)
        keys.push_back(SDL_SCANCODE_TO_KEYCODE(static_cast<SDL_Scancode>(s)));
    int mapped = 0;
    for (SDL_Keycode key : keys) {
        const int code = virtualKeyFor(key);
        EXPECT_GE(code, 0) << key;
        EXPECT_LE(code, 255) << key;
        mapped += code != 0;
    }
    EXPECT_GT(mapped, 100);

    EXPECT_EQ(virtualKeyFor(SDLK_UNKNOWN), 0);
    EXPECT_EQ(virtualKeyFor(SDLK_KP_EQUALS), 0);
    EXPECT_EQ(virtualKeyFor(SDLK_MODE), 0);
    EXPECT_EQ(virtualKeyFor(0x7FFFFFFF), 0);
}

}  // namespace
}  // namespace drumhold
