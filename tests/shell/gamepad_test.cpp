// Game controllers: the mapping from controller events to key messages, and
// the real SDL event path from a plugged-in controller to the key table.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <array>
#include <vector>

#include "shell/gamepad.h"
#include "shell/sdl_platform.h"
#include "shell/window.h"

namespace drumhold {
namespace {

constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kShift = 16, kSpace = 32, kEsc = 27;

SDL_Event buttonEvent(bool down, SDL_GameControllerButton button, SDL_JoystickID which = 0) {
    SDL_Event event{};
    event.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    event.cbutton.which = which;
    event.cbutton.button = static_cast<Uint8>(button);
    event.cbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    return event;
}

SDL_Event axisEvent(SDL_GameControllerAxis axis, Sint16 value, SDL_JoystickID which = 0) {
    SDL_Event event{};
    event.type = SDL_CONTROLLERAXISMOTION;
    event.caxis.which = which;
    event.caxis.axis = static_cast<Uint8>(axis);
    event.caxis.value = value;
    return event;
}

// One controller feeding a key table the way the window procedure does.
struct Pad {
    PadState state;
    std::array<int, kKeyCount> keys{};
    std::vector<ShellMessage> sent;

    // The messages of one event as signed codes: +code down, -code up.
    std::vector<int> feed(const SDL_Event& event) {
        sent.clear();
        padMessages(event, state, sent);
        return apply();
    }
    std::vector<int> unplug() {
        sent.clear();
        releasePad(state, sent);
        return apply();
    }
    std::vector<int> apply() {
        std::vector<int> codes;
        for (const ShellMessage& m : sent) {
            const bool down = m.type == MessageType::KeyDown;
            EXPECT_TRUE(down || m.type == MessageType::KeyUp);
            keys.at(m.code) = down ? 1 : 0;
            codes.push_back(down ? static_cast<int>(m.code) : -static_cast<int>(m.code));
        }
        return codes;
    }
    int held() const {
        int n = 0;
        for (int k : keys) n += k;
        return n;
    }
};

using Codes = std::vector<int>;

TEST(PadMapping, ButtonsDriveTheirKeysAndNothingElse) {
    const std::pair<SDL_GameControllerButton, int> mapped[] = {
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, kLeft}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kRight},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, kUp},     {SDL_CONTROLLER_BUTTON_DPAD_DOWN, kDown},
        {SDL_CONTROLLER_BUTTON_A, kShift},        {SDL_CONTROLLER_BUTTON_START, kSpace},
        {SDL_CONTROLLER_BUTTON_BACK, kEsc},
    };
    for (const auto& [button, key] : mapped) {
        Pad pad;
        EXPECT_EQ(pad.feed(buttonEvent(true, button)), Codes{key}) << "button " << button;
        EXPECT_EQ(pad.keys[key], 1);
        EXPECT_EQ(pad.feed(buttonEvent(true, button)), Codes{}) << "a repeated press";
        EXPECT_EQ(pad.feed(buttonEvent(false, button)), Codes{-key});
        EXPECT_EQ(pad.held(), 0);
        EXPECT_EQ(pad.feed(buttonEvent(false, button)), Codes{}) << "a repeated release";
    }
    Pad pad;
    for (auto button : {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y,
                        SDL_CONTROLLER_BUTTON_GUIDE, SDL_CONTROLLER_BUTTON_LEFTSHOULDER})
        EXPECT_EQ(pad.feed(buttonEvent(true, button)), Codes{}) << "button " << button;
    for (auto axis : {SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY,
                      SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_CONTROLLER_AXIS_TRIGGERRIGHT})
        EXPECT_EQ(pad.feed(axisEvent(axis, 32767)), Codes{}) << "axis " << axis;
    EXPECT_EQ(pad.state.held, 0u);
}

TEST(PadMapping, StickCrossesTheDeadZoneBothWays) {
    Pad pad;
    const auto x = SDL_CONTROLLER_AXIS_LEFTX;
    const auto y = SDL_CONTROLLER_AXIS_LEFTY;
    EXPECT_EQ(pad.feed(axisEvent(x, kStickDeadZone)), Codes{}) << "the edge is still inside";
    EXPECT_EQ(pad.feed(axisEvent(x, kStickDeadZone + 1)), Codes{kRight});
    EXPECT_EQ(pad.feed(axisEvent(x, 32767)), Codes{}) << "further out repeats nothing";
    EXPECT_EQ(pad.feed(axisEvent(x, kStickDeadZone)), Codes{-kRight});
    EXPECT_EQ(pad.feed(axisEvent(x, -kStickDeadZone)), Codes{});
    EXPECT_EQ(pad.feed(axisEvent(x, -32768)), Codes{kLeft});
    // Flung across in one step: the old side lets go before the new one presses.
    EXPECT_EQ(pad.feed(axisEvent(x, 30000)), (Codes{-kLeft, kRight}));
    EXPECT_EQ(pad.feed(axisEvent(x, -30000)), (Codes{-kRight, kLeft}));
    // The y axis grows downward: negative is forward (up arrow).
    EXPECT_EQ(pad.feed(axisEvent(y, -20000)), Codes{kUp});
    EXPECT_EQ(pad.keys[kLeft] + pad.keys[kUp], 2) << "a diagonal holds both";
    EXPECT_EQ(pad.feed(axisEvent(y, 20000)), (Codes{-kUp, kDown}));
    EXPECT_EQ(pad.feed(axisEvent(x, 0)), Codes{-kLeft});
    EXPECT_EQ(pad.feed(axisEvent(y, 100)), Codes{-kDown});
    EXPECT_EQ(pad.held(), 0);
}

TEST(PadMapping, AnEntryHeldTwiceGoesUpWithItsLastSource) {
    Pad pad;
    EXPECT_EQ(pad.feed(buttonEvent(true, SDL_CONTROLLER_BUTTON_DPAD_LEFT)), Codes{kLeft});
    EXPECT_EQ(pad.feed(axisEvent(SDL_CONTROLLER_AXIS_LEFTX, -30000)), Codes{});
    EXPECT_EQ(pad.feed(buttonEvent(false, SDL_CONTROLLER_BUTTON_DPAD_LEFT)), Codes{})
        << "the stick still holds left";
    EXPECT_EQ(pad.keys[kLeft], 1);
    EXPECT_EQ(pad.feed(axisEvent(SDL_CONTROLLER_AXIS_LEFTX, 0)), Codes{-kLeft});

    // Opposite directions from different sources are both held, as on a keyboard.
    pad.feed(buttonEvent(true, SDL_CONTROLLER_BUTTON_DPAD_RIGHT));
    pad.feed(axisEvent(SDL_CONTROLLER_AXIS_LEFTX, -30000));
    EXPECT_EQ(pad.keys[kLeft] + pad.keys[kRight], 2);

    // Unplugged: every held entry goes up once; nothing is left stuck.
    pad.feed(buttonEvent(true, SDL_CONTROLLER_BUTTON_A));
    pad.feed(buttonEvent(true, SDL_CONTROLLER_BUTTON_DPAD_LEFT));
    Codes released = pad.unplug();
    std::sort(released.begin(), released.end());
    EXPECT_EQ(released, (Codes{-kRight, -kLeft, -kShift}));
    EXPECT_EQ(pad.held(), 0);
    EXPECT_EQ(pad.state.held, 0u);
    EXPECT_EQ(pad.unplug(), Codes{});
}

// The real platform on SDL's offscreen driver; no window is needed for input.
class SdlGamepadTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }

    SdlPlatform platform;
    GameWindow window;
    KeyTable& keys = window.keys;

    void SetUp() override {
        ASSERT_TRUE(platform.initVideo()) << SDL_GetError();
        ASSERT_NE(SDL_WasInit(SDL_INIT_GAMECONTROLLER), 0u);
        window.platform = &platform;
        drain();
    }
    // Everything pending reaches the key table through the window procedure.
    void drain() {
        ShellMessage m;
        while (platform.takeMessage(m)) gameWindowProc(window, m);
    }
    void push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }
};

TEST_F(SdlGamepadTest, ControllerEventsReachTheKeyTable) {
    push(buttonEvent(true, SDL_CONTROLLER_BUTTON_A, 7));
    push(axisEvent(SDL_CONTROLLER_AXIS_LEFTY, -32768, 7));
    push(buttonEvent(true, SDL_CONTROLLER_BUTTON_START, 8));  // a second controller
    drain();
    EXPECT_EQ(keys[kShift], 1);
    EXPECT_EQ(keys[kUp], 1);
    EXPECT_EQ(keys[kSpace], 1);

    // Across the dead zone in one step: two messages from one event, both taken.
    push(axisEvent(SDL_CONTROLLER_AXIS_LEFTY, 32767, 7));
    drain();
    EXPECT_EQ(keys[kUp], 0);
    EXPECT_EQ(keys[kDown], 1);

    // Controller 7 goes away: what it held is released, controller 8 keeps its key.
    SDL_Event removed{};
    removed.type = SDL_CONTROLLERDEVICEREMOVED;
    removed.cdevice.which = 7;
    push(removed);
    drain();
    EXPECT_EQ(keys[kShift], 0);
    EXPECT_EQ(keys[kDown], 0);
    EXPECT_EQ(keys[kSpace], 1);
    push(buttonEvent(false, SDL_CONTROLLER_BUTTON_START, 8));
    drain();
    EXPECT_EQ(keys[kSpace], 0);
}

// A virtual controller plugged in and out while the game runs.
TEST_F(SdlGamepadTest, HotPluggedControllerIsOpenedAndLetGo) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "test pad";
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(device, 0) << SDL_GetError();
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
    drain();
    SDL_GameController* opened = SDL_GameControllerFromInstanceID(id);
    ASSERT_NE(opened, nullptr) << "the plugged-in controller was not opened";

    SDL_Joystick* joystick = SDL_GameControllerGetJoystick(opened);
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_BACK, 1);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, -32768);
    drain();
    EXPECT_EQ(keys[kEsc], 1);
    EXPECT_EQ(keys[kLeft], 1);

    ASSERT_EQ(SDL_JoystickDetachVirtual(device), 0) << SDL_GetError();
    drain();
    EXPECT_EQ(keys[kEsc], 0) << "an unplugged controller left a key held";
    EXPECT_EQ(keys[kLeft], 0);
    EXPECT_EQ(SDL_GameControllerFromInstanceID(id), nullptr) << "the controller was not closed";
}

}  // namespace
}  // namespace drumhold
