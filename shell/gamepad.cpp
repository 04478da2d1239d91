// gamepad.cpp -- game controllers as a second keyboard.
#include "shell/gamepad.h"

#include <cstdio>

#include "data/keys.h"

namespace drumhold {

namespace {

enum Source {
    DpadLeft, DpadRight, DpadUp, DpadDown,
    StickLeft, StickRight, StickUp, StickDown,
    South, Start, Back,
    SourceCount,
};

// The key-table entry each source drives: arrows, shift, space, Esc.
constexpr int kSourceKey[SourceCount] = {vk::left, vk::right, vk::up,    vk::down,
                                         vk::left, vk::right, vk::up,    vk::down,
                                         vk::shift, vk::space, vk::escape};

bool keyHeld(unsigned held, int key) {
    for (int s = 0; s < SourceCount; ++s)
        if ((held & (1u << s)) != 0 && kSourceKey[s] == key) return true;
    return false;
}

void setSource(PadState& state, int source, bool on, std::vector<ShellMessage>& out) {
    const unsigned bit = 1u << source;
    if (((state.held & bit) != 0) == on) return;
    const int key = kSourceKey[source];
    const bool before = keyHeld(state.held, key);
    state.held ^= bit;
    const bool after = keyHeld(state.held, key);
    if (before == after) return;
    ShellMessage message;
    message.type = after ? MessageType::KeyDown : MessageType::KeyUp;
    message.code = static_cast<unsigned>(key);
    out.push_back(message);
}

int buttonSource(Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return DpadRight;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return DpadDown;
    case SDL_CONTROLLER_BUTTON_A: return South;
    case SDL_CONTROLLER_BUTTON_START: return Start;
    case SDL_CONTROLLER_BUTTON_BACK: return Back;
    default: return -1;
    }
}

// One axis of the left stick: the direction toward negative values and the
// one toward positive values (SDL's y grows downward). Letting go comes first,
// so a stick flung from one side to the other releases before it presses.
void stickAxis(int negative, int positive, Sint16 value, PadState& state,
               std::vector<ShellMessage>& out) {
    const bool toNegative = value < -kStickDeadZone;
    const bool toPositive = value > kStickDeadZone;
    if (!toNegative) setSource(state, negative, false, out);
    if (!toPositive) setSource(state, positive, false, out);
    if (toNegative) setSource(state, negative, true, out);
    if (toPositive) setSource(state, positive, true, out);
}

}  // namespace

void padMessages(const SDL_Event& event, PadState& state, std::vector<ShellMessage>& out) {
    switch (event.type) {
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        const int source = buttonSource(event.cbutton.button);
        if (source >= 0) setSource(state, source, event.type == SDL_CONTROLLERBUTTONDOWN, out);
        return;
    }
    case SDL_CONTROLLERAXISMOTION:
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
            stickAxis(StickLeft, StickRight, event.caxis.value, state, out);
        else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY)
            stickAxis(StickUp, StickDown, event.caxis.value, state, out);
        return;
    default:
        return;
    }
}

void releasePad(PadState& state, std::vector<ShellMessage>& out) {
    for (int s = 0; s < SourceCount; ++s) setSource(state, s, false, out);
}

bool Gamepads::start() {
    if (up_) return true;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "drumhold: no game controllers: %s\n", SDL_GetError());
        return false;
    }
    up_ = true;
    return true;
}

void Gamepads::stop() {
    for (auto& [id, pad] : pads_)
        if (pad.controller) SDL_GameControllerClose(pad.controller);
    pads_.clear();
    if (up_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    up_ = false;
}

bool Gamepads::handle(const SDL_Event& event, std::deque<ShellMessage>& out) {
    std::vector<ShellMessage> messages;
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: {
        // Controllers present at start arrive this way too, and a device may be
        // announced twice: SDL counts opens, so a second one is given back.
        SDL_GameController* controller = up_ ? SDL_GameControllerOpen(event.cdevice.which) : nullptr;
        if (!controller) return true;
        Pad& pad = pads_[SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller))];
        if (pad.controller)
            SDL_GameControllerClose(controller);
        else
            pad.controller = controller;
        return true;
    }
    case SDL_CONTROLLERDEVICEREMOVED: {
        // Whatever the controller held is let go: no key stays stuck.
        const auto found = pads_.find(event.cdevice.which);
        if (found == pads_.end()) return true;
        releasePad(found->second.state, messages);
        if (found->second.controller) SDL_GameControllerClose(found->second.controller);
        pads_.erase(found);
        break;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        padMessages(event, pads_[event.cbutton.which].state, messages);
        break;
    case SDL_CONTROLLERAXISMOTION:
        padMessages(event, pads_[event.caxis.which].state, messages);
        break;
    default:
        return false;
    }
    out.insert(out.end(), messages.begin(), messages.end());
    return true;
}

}  // namespace drumhold
