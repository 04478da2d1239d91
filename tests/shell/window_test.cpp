// The window procedure and the opening and closing of the game window.
#include <gtest/gtest.h>

#include <array>
#include <numeric>

#include "fake_platform.h"
#include "shell/modes.h"
#include "shell/window.h"

namespace drumhold::testing {
namespace {

class WindowTest : public ::testing::Test {
protected:
    FakePlatform platform;
    FakePresentation presentation{platform};
    WindowClassInfo classInfo;
    // The key table with a guard entry on each side.
    std::array<int, kKeyCount + 2> guarded{};
    GameWindow window;

    void SetUp() override {
        classInfo.platform = &platform;
        window.keys = guarded.data() + 1;
        window.windowClass = &classInfo;
        window.presentation = &presentation;
        attachQuitPoster(&platform);
        running = 1;
        fullscreenWanted = 1;
        ASSERT_EQ(registerGameWindowClass(classInfo), 1);
    }
    void TearDown() override {
        attachQuitPoster(nullptr);
        running = 0;
        fullscreenWanted = 1;
    }

    bool handle(const ShellMessage& m) { return gameWindowProc(window, m); }
    int keySum() const { return std::accumulate(guarded.begin(), guarded.end(), 0); }
    // The messages the procedure posted, in order.
    std::vector<MessageType> posted() {
        std::vector<MessageType> out;
        ShellMessage m;
        while (platform.takeMessage(m)) out.push_back(m.type);
        return out;
    }
};

TEST_F(WindowTest, KeysWriteTheTableOnlyInsideIt) {
    EXPECT_TRUE(handle(keyDown(16)));
    EXPECT_TRUE(handle(keyDown(16)));  // auto-repeat
    EXPECT_EQ(window.keys[16], 1);
    EXPECT_TRUE(handle(keyDown(0)));
    EXPECT_TRUE(handle(keyDown(255)));
    EXPECT_EQ(keySum(), 3);
    EXPECT_TRUE(handle(keyUp(16)));
    EXPECT_TRUE(handle(keyUp(0)));
    EXPECT_TRUE(handle(keyUp(255)));
    EXPECT_EQ(keySum(), 0);

    // Codes outside 0..255 take the default path and touch nothing.
    for (unsigned code : {256u, 257u, 0xFFFFu, 0xFFFFFFFFu}) {
        EXPECT_FALSE(handle(keyDown(code))) << code;
        EXPECT_FALSE(handle(keyUp(code))) << code;
    }
    EXPECT_EQ(keySum(), 0);
}

TEST_F(WindowTest, SizeMessagesDriveActiveAndTheViewport) {
    window.active = 1;
    EXPECT_TRUE(handle(message(MessageType::SizeMinimised)));
    EXPECT_EQ(window.active, 0);
    EXPECT_TRUE(presentation.viewports.empty());

    EXPECT_TRUE(handle({MessageType::SizeRestored, 0, 790, 570}));
    EXPECT_EQ(window.active, 1);
    EXPECT_EQ(presentation.viewports, (std::vector<std::pair<int, int>>{{790, 570}}));

    // Maximised and the rest change neither the flag nor the viewport.
    window.active = 0;
    EXPECT_FALSE(handle(message(MessageType::SizeOther)));
    EXPECT_EQ(window.active, 0);
    EXPECT_EQ(presentation.viewports.size(), 1u);
}

TEST_F(WindowTest, CloseQuitsAndSwitchReopensWithRunningKept) {
    EXPECT_TRUE(handle(message(MessageType::Close)));
    EXPECT_EQ(running, 0);
    EXPECT_EQ(posted(), std::vector<MessageType>{MessageType::Quit});

    running = 1;
    EXPECT_FALSE(handle(message(SHELL_MSG_SWITCH_DISPLAY)));
    EXPECT_EQ(fullscreenWanted, 0);
    EXPECT_EQ(running, 1);
    EXPECT_FALSE(handle(message(SHELL_MSG_SWITCH_DISPLAY)));
    EXPECT_EQ(fullscreenWanted, 1);
    EXPECT_EQ(posted(), (std::vector<MessageType>{MessageType::Quit, MessageType::Quit}));
    EXPECT_EQ(running, 1);
}

TEST_F(WindowTest, OpeningPreparesTheWindowAndClosingUndoesIt) {
    guarded.fill(1);
    platform.now = 1234;
    ASSERT_EQ(openGameWindow(window), 1);
    EXPECT_EQ(platform.openings, std::vector<bool>{true});
    EXPECT_EQ(window.fullscreen, 1);
    EXPECT_EQ(window.active, 1);
    EXPECT_EQ(window.lastTick, platform.clockOrigin + 1234u);
    EXPECT_EQ(presentation.viewports, (std::vector<std::pair<int, int>>{{800, 600}}));
    EXPECT_EQ(presentation.clearValueSets, 1);
    EXPECT_EQ(keySum(), 2) << "the table is cleared, the guards are not";
    EXPECT_TRUE(platform.boxes.empty());

    EXPECT_EQ(closeGameWindow(window), 1);
    EXPECT_FALSE(platform.windowOpen);
    EXPECT_EQ(platform.restoredDisplay, 1);
    EXPECT_EQ(window.open, 0);

    // Windowed: nothing to give back at closing.
    window.fullscreen = 0;
    ASSERT_EQ(openGameWindow(window), 1);
    EXPECT_EQ(platform.openings, (std::vector<bool>{true, false}));
    closeGameWindow(window);
    EXPECT_EQ(platform.restoredDisplay, 1);
}

TEST_F(WindowTest, FailedOpeningLeavesEverythingAsItWas) {
    platform.failOpeningNumber = 1;
    guarded.fill(1);
    window.lastTick = 77;
    EXPECT_EQ(openGameWindow(window), 0);
    EXPECT_EQ(window.open, 0);
    EXPECT_EQ(window.active, 0);
    EXPECT_EQ(window.lastTick, 77u);
    EXPECT_EQ(keySum(), kKeyCount + 2);
    EXPECT_TRUE(platform.boxes.empty()) << "the loop reports it, not the opening";
}

}  // namespace
}  // namespace drumhold::testing
