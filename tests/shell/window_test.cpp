// The window procedure and the opening and closing of the game window.
#include <gtest/gtest.h>

#include <array>
#include <numeric>

#include "fake_platform.h"
#include "shell/window.h"

namespace drumhold::testing {
namespace {

class WindowTest : public ::testing::Test {
protected:
    FakePlatform platform;
    FakePresentation presentation{platform};
    GameWindow window;

    void SetUp() override {
        window.platform = &platform;
        window.presentation = &presentation;
        window.running = true;
        ASSERT_TRUE(startVideo(platform));
    }

    bool handle(const ShellMessage& m) { return gameWindowProc(window, m); }
    int keySum() const { return std::accumulate(window.keys.begin(), window.keys.end(), 0); }
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
    window.active = true;
    EXPECT_TRUE(handle(message(MessageType::SizeMinimised)));
    EXPECT_FALSE(window.active);
    EXPECT_TRUE(presentation.viewports.empty());

    EXPECT_TRUE(handle({MessageType::SizeRestored, 0, 790, 570}));
    EXPECT_TRUE(window.active);
    EXPECT_EQ(presentation.viewports, std::vector<Viewport>{(Viewport{0, 0, 790, 570})});

    // Maximised and the rest change neither the flag nor the viewport.
    window.active = false;
    EXPECT_FALSE(handle(message(MessageType::SizeOther)));
    EXPECT_FALSE(window.active);
    EXPECT_EQ(presentation.viewports.size(), 1u);
}

TEST_F(WindowTest, CloseQuitsAndSwitchReopensWithRunningKept) {
    EXPECT_TRUE(handle(message(MessageType::Close)));
    EXPECT_FALSE(window.running);
    EXPECT_EQ(posted(), std::vector<MessageType>{MessageType::Quit});

    window.running = true;
    EXPECT_FALSE(handle(message(MessageType::SwitchDisplay)));
    EXPECT_FALSE(window.fullscreenWanted);
    EXPECT_TRUE(window.running);
    EXPECT_FALSE(handle(message(MessageType::SwitchDisplay)));
    EXPECT_TRUE(window.fullscreenWanted);
    EXPECT_EQ(posted(), (std::vector<MessageType>{MessageType::Quit, MessageType::Quit}));
    EXPECT_TRUE(window.running);
}

TEST_F(WindowTest, OpeningPreparesTheWindowAndClosingUndoesIt) {
    window.keys.fill(1);
    platform.now = 1234;
    ASSERT_TRUE(openGameWindow(window));
    EXPECT_EQ(platform.openings, std::vector<bool>{true});
    EXPECT_TRUE(window.fullscreen);
    EXPECT_TRUE(window.active);
    EXPECT_EQ(window.lastTick, platform.clockOrigin + 1234u);
    EXPECT_EQ(presentation.viewports, std::vector<Viewport>{Viewport{}});
    EXPECT_EQ(presentation.clearValueSets, 1);
    EXPECT_EQ(keySum(), 0) << "the table is cleared";
    EXPECT_TRUE(platform.boxes.empty());

    closeGameWindow(window);
    EXPECT_FALSE(platform.windowOpen);
    EXPECT_EQ(platform.restoredDisplay, 1);
    EXPECT_FALSE(window.open);

    // Windowed: nothing to give back at closing.
    window.fullscreen = false;
    ASSERT_TRUE(openGameWindow(window));
    EXPECT_EQ(platform.openings, (std::vector<bool>{true, false}));
    closeGameWindow(window);
    EXPECT_EQ(platform.restoredDisplay, 1);
}

TEST_F(WindowTest, FailedOpeningLeavesEverythingAsItWas) {
    platform.failOpeningNumber = 1;
    window.keys.fill(1);
    window.lastTick = 77;
    EXPECT_FALSE(openGameWindow(window));
    EXPECT_FALSE(window.open);
    EXPECT_FALSE(window.active);
    EXPECT_EQ(window.lastTick, 77u);
    EXPECT_EQ(keySum(), kKeyCount);
    EXPECT_TRUE(platform.boxes.empty()) << "the loop reports it, not the opening";
}

}  // namespace
}  // namespace drumhold::testing
