// gamepad.h -- game controllers as a second keyboard.
//
// A controller drives the same key-table entries as the keys: the d-pad and
// the left stick the arrows (37-40), the south face button (A) shift (16, fire),
// Start space (32) and Back Esc (27). The stick counts as pushed past a dead
// zone of kStickDeadZone either way of an axis and lets go inside it again.
// Several sources may hold one entry (d-pad left and stick left): the entry
// goes up only when the last of them lets go.
//
// `padMessages` is the pure mapping from controller events to the shell's key
// messages; `Gamepads` is the SDL side: it opens controllers as they are
// plugged in and closes them as they go, releasing whatever they held.
#pragma once

#include <SDL.h>

#include <deque>
#include <map>
#include <vector>

#include "shell/platform.h"

namespace drumhold {

inline constexpr int kStickDeadZone = 16000;  // of 32767

// What one controller holds: one bit per source (a button, or one direction
// of the left stick).
struct PadState {
    unsigned held = 0;
};

// Appends to `out` the key messages that `event` means for the controller
// whose state is `state`: button presses and releases and stick movements
// across the dead zone. Anything else appends nothing.
void padMessages(const SDL_Event& event, PadState& state, std::vector<ShellMessage>& out);
// Appends key-up messages for every entry the controller holds, and clears it.
void releasePad(PadState& state, std::vector<ShellMessage>& out);

class Gamepads {
public:
    Gamepads() = default;
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;
    ~Gamepads() { stop(); }

    // Brings SDL's controller support up; controllers present already arrive
    // as plug-in events. False when it cannot (the game goes on without).
    bool start();
    // Closes every controller and takes the support down.
    void stop();
    // For a controller event: opens or closes the controller, or turns the
    // event into key messages at the end of `out`. False for other events.
    bool handle(const SDL_Event& event, std::deque<ShellMessage>& out);

private:
    struct Pad {
        SDL_GameController* controller = nullptr;  // null: known by its events only
        PadState state;
    };
    bool up_ = false;
    std::map<SDL_JoystickID, Pad> pads_;
};

}  // namespace drumhold
