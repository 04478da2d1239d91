// The outer loop and the message pump on a fake clock: title, pacing, keys
// queued during the title, Esc, minimise, the display switch and the failures.
#include <gtest/gtest.h>

#include "data/keys.h"
#include "fake_platform.h"
#include "shell/loop.h"
#include "world/world.h"

namespace drumhold::testing {
namespace {

constexpr unsigned kEsc = vk::escape;
constexpr unsigned kSpace = vk::space;
constexpr unsigned kLeft = vk::left;

class LoopTest : public ::testing::Test {
protected:
    FakePlatform platform;
    FakePresentation presentation{platform};
    Sound silent;  // never opened: every cue is silent

    int run() { return runGame(platform, presentation, silent); }
    // Ends the run with a close request after `last` frames.
    void closeAfter(int last) {
        presentation.afterFrame = [this, last](int frame) {
            if (frame == last) platform.post(message(MessageType::Close));
        };
    }
    // Sleeps that started at or after `from`, in order.
    std::vector<std::uint32_t> sleepsFrom(std::uint64_t from) const {
        std::vector<std::uint32_t> out;
        for (const auto& [when, ms] : platform.sleeps)
            if (when >= from) out.push_back(ms);
        return out;
    }
};

TEST_F(LoopTest, TitleThenAttractAtTwoTicksPerHundredMs) {
    presentation.frameCostMs = 7;
    closeAfter(9);
    ASSERT_EQ(run(), 0);

    // The title: one presented image, then 5000 ms with no frame.
    ASSERT_FALSE(platform.sleeps.empty());
    EXPECT_EQ(platform.sleeps[0], std::make_pair(std::uint64_t{0}, std::uint32_t{5000}));
    EXPECT_EQ(presentation.titles, 1);
    EXPECT_EQ(presentation.contexts, 1);
    ASSERT_EQ(presentation.frames.size(), 9u);
    EXPECT_EQ(platform.swaps, 1 + 9);

    // The first update receives the whole title and does not sleep; after it,
    // frames alternate between sleeping 100 - 7 ms and not sleeping, so two
    // ticks take 107 ms (the clock wraps past 2^32 on the way).
    EXPECT_EQ(presentation.frames[0].at, 5007u);
    EXPECT_FALSE(presentation.frames[0].playing);
    const std::vector<std::uint32_t> expected(4, 93);
    EXPECT_EQ(sleepsFrom(5000), expected);
    for (std::size_t i = 1; i + 2 < presentation.frames.size(); ++i)
        EXPECT_EQ(presentation.frames[i + 2].at - presentation.frames[i].at, 107u) << "frame " << i + 1;

    EXPECT_EQ(platform.closes, 1);
    EXPECT_FALSE(platform.videoUp);
}

TEST_F(LoopTest, PlayRunsTwoTicksPerTwentyMs) {
    presentation.frameCostMs = 3;
    platform.schedule(1000, keyDown(kSpace));  // held through the title
    closeAfter(12);
    ASSERT_EQ(run(), 0);

    ASSERT_EQ(presentation.frames.size(), 12u);
    for (const FrameRecord& frame : presentation.frames) EXPECT_TRUE(frame.playing);
    const std::vector<std::uint32_t> expected(6, 17);  // frames 2, 4, ... 12
    EXPECT_EQ(sleepsFrom(5000), expected);
    for (std::size_t i = 1; i + 2 < presentation.frames.size(); ++i)
        EXPECT_EQ(presentation.frames[i + 2].at - presentation.frames[i].at, 23u) << "frame " << i + 1;
}

TEST_F(LoopTest, EscWithSpaceStartsTheGameAndStillEnds) {
    platform.schedule(2000, keyDown(kSpace));
    platform.schedule(2500, keyDown(kEsc));
    ASSERT_EQ(run(), 0);

    // The frame of the Esc completes: its attract tick starts play, it is
    // drawn and presented, and then the quit message ends the pump.
    ASSERT_EQ(presentation.frames.size(), 1u);
    EXPECT_TRUE(presentation.frames[0].playing);
    EXPECT_EQ(platform.swaps, 2);
    EXPECT_EQ(platform.closes, 1);
    EXPECT_EQ(platform.openings.size(), 1u);
}

TEST_F(LoopTest, KeysFromTheTitleAreHandledBeforeTheFirstFrame) {
    // One window's title and pump, driven directly, so the key table can be read.
    Journal none;
    GameSession session(platform, presentation, silent, none);
    GameWindow& window = session.window;
    ASSERT_TRUE(startVideo(platform));
    ASSERT_TRUE(openGameWindow(window));
    presentation.contextOpened();
    platform.schedule(1000, keyDown(kLeft));   // still held when the title ends
    platform.schedule(2000, keyDown(kSpace));  // pressed and released during the title
    platform.schedule(3000, keyUp(kSpace));
    int leftAtFirstFrame = -1;
    presentation.afterFrame = [&](int frame) {
        if (frame == 1) {
            leftAtFirstFrame = window.keys[kLeft];
            platform.post(message(MessageType::Close));
        }
    };
    initGame(session);
    EXPECT_EQ(platform.now, 5000u) << "no message is handled during the title";
    pumpMessages(session);

    EXPECT_EQ(leftAtFirstFrame, 1);
    ASSERT_EQ(presentation.frames.size(), 1u);
    EXPECT_FALSE(presentation.frames[0].playing) << "a tapped space leaves no trace";
    EXPECT_FALSE(window.running);
    presentation.contextClosing();
    closeGameWindow(window);
    session.world.release();
}

TEST_F(LoopTest, MinimisedWindowStopsFramesAndResumesWithoutCatchingUp) {
    std::uint64_t restoredAt = 0;
    presentation.afterFrame = [&](int frame) {
        if (frame == 4) {
            platform.post(message(MessageType::SizeMinimised));
            restoredAt = platform.now + 3000;
            platform.schedule(restoredAt, {MessageType::SizeRestored, 0, 640, 480});
        }
        if (frame == 30) platform.post(message(MessageType::Close));
    };
    ASSERT_EQ(run(), 0);

    // The loop blocked instead of running frames.
    EXPECT_GE(platform.waits, 1);
    ASSERT_EQ(presentation.frames.size(), 30u);
    EXPECT_EQ(presentation.frames[4].at, restoredAt);
    EXPECT_EQ(presentation.viewports.back(), (Viewport{0, 0, 640, 480}));

    // The first update after the pause gets it all and does not sleep (it is
    // drawn at the very moment of the restore); the rest run at the usual
    // pace: no burst of frames to make up for the pause.
    EXPECT_EQ(presentation.frames[5].at, restoredAt + 100);
    int inFirstSecond = 0;
    for (const FrameRecord& frame : presentation.frames)
        inFirstSecond += frame.at >= restoredAt && frame.at < restoredAt + 1000;
    EXPECT_EQ(inFirstSecond, 1 + 2 * 9);
}

TEST_F(LoopTest, DisplaySwitchReopensAndKeepsPlaying) {
    platform.schedule(1000, keyDown(kSpace));
    int firstFrameOfSecondWindow = 0;
    presentation.afterFrame = [&](int frame) {
        if (frame == 2) platform.post(keyDown(kLeft));
        if (frame == 5) platform.post(message(MessageType::SwitchDisplay));
        if (presentation.titles == 2 && firstFrameOfSecondWindow == 0) firstFrameOfSecondWindow = frame;
        if (frame == 8) platform.post(message(MessageType::Close));
    };
    ASSERT_EQ(run(), 0);

    EXPECT_EQ(platform.openings, (std::vector<bool>{true, false}));
    EXPECT_EQ(platform.openedSizes, (std::vector<std::pair<int, int>>(2, {800, 600})));
    EXPECT_EQ(presentation.viewports, std::vector<Viewport>(2, Viewport{})) << "one viewport per opening, 800x600";
    EXPECT_EQ(platform.closes, 2);
    EXPECT_EQ(platform.restoredDisplay, 1) << "only the fullscreen window gives the mode back";
    EXPECT_EQ(presentation.titles, 2);
    EXPECT_EQ(presentation.contexts, 2);

    // The new window starts from its title with a fresh world, still in play.
    EXPECT_EQ(firstFrameOfSecondWindow, 6);
    EXPECT_EQ(presentation.frames[5].ticks, 1);
    for (const FrameRecord& frame : presentation.frames) EXPECT_TRUE(frame.playing);
}

TEST_F(LoopTest, RefusedModeSwitchRunsWindowedAndTheSwitchWorksOnTheWantedMode) {
    platform.modeSwitchWorks = false;
    presentation.afterFrame = [&](int frame) {
        if (frame == 2 || frame == 4) platform.post(message(MessageType::SwitchDisplay));
        if (frame == 6) platform.post(message(MessageType::Close));
    };
    ASSERT_EQ(run(), 0);

    // Refused, windowed; the first switch asks for windowed again, the second
    // for fullscreen (refused again).
    EXPECT_EQ(platform.openings, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(platform.boxes, (std::vector<std::string>{"Mode Switch Failed.\nRunning In Windowed Mode.",
                                                         "Mode Switch Failed.\nRunning In Windowed Mode."}));
    EXPECT_EQ(platform.leftSizes, (std::vector<std::pair<int, int>>(2, {800, 600})));
    EXPECT_EQ(platform.restoredDisplay, 0) << "no mode was switched, none is restored";
    EXPECT_EQ(presentation.frames.size(), 6u);
}

// A scale that does not fit the display is said once and gives the largest
// window that fits; every window then shows the picture in its 4:3 shape,
// centred on black: after the 800x600 view a new context sets up, after a
// restore, and in the window a cover that failed leaves (without a box).
TEST_F(LoopTest, ScaledRunKeepsThePictureShapeInEveryWindow) {
    presentation.afterFrame = [&](int frame) {
        if (frame == 2) platform.post(message(MessageType::SwitchDisplay));
        if (frame == 3) platform.post(message(MessageType::SizeMinimised));
        if (frame == 3) platform.post({MessageType::SizeRestored, 0, 1000, 1000});
        if (frame == 5) platform.coverWorks = false;
        if (frame == 5) platform.post(message(MessageType::SwitchDisplay));
        if (frame == 7) platform.post(message(MessageType::Close));
    };
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(runGame(platform, presentation, silent, {true, nullptr, {}, FullscreenKind::Desktop, 20}), 0);
    const std::string said = ::testing::internal::GetCapturedStderr();

    EXPECT_EQ(said,
              "drumhold: a 1600x1200 window does not fit the display's usable 1920x1050; it opens at 1400x1050\n"
              "drumhold: the display cannot be covered; the game goes on in a window\n");
    EXPECT_EQ(platform.openings, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(platform.openedSizes, (std::vector<std::pair<int, int>>{{1920, 1080}, {1400, 1050}, {1920, 1080}}));
    EXPECT_EQ(platform.leftSizes, (std::vector<std::pair<int, int>>{{1400, 1050}}));
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(platform.restoredDisplay, 1) << "only the window that covered the display";
    const Viewport covering{240, 0, 1440, 1080}, windowed{0, 0, 1400, 1050};
    EXPECT_EQ(presentation.viewports, (std::vector<Viewport>{covering, covering, windowed, windowed,
                                                             Viewport{0, 125, 1000, 750}, windowed, windowed}));
}

TEST_F(LoopTest, FailedOpeningEndsWithExitCodeOne) {
    platform.failOpeningNumber = 1;
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(platform.boxes, std::vector<std::string>{"Error Creating OpenGL Window"});
    EXPECT_EQ(presentation.titles, 0);
    EXPECT_EQ(platform.closes, 0);
    EXPECT_FALSE(platform.videoUp);
}

TEST_F(LoopTest, FailedReopeningAfterASwitchAlsoEndsWithOne) {
    platform.failOpeningNumber = 2;
    presentation.afterFrame = [&](int frame) {
        if (frame == 1) platform.post(message(MessageType::SwitchDisplay));
    };
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(platform.boxes, std::vector<std::string>{"Error Creating OpenGL Window"});
    EXPECT_EQ(platform.openings.size(), 2u);
    EXPECT_EQ(platform.closes, 1);
    EXPECT_EQ(presentation.frames.size(), 1u);
}

TEST_F(LoopTest, FailedRegistrationEndsWithMinusOne) {
    platform.videoWorks = false;
    EXPECT_EQ(run(), -1);
    EXPECT_EQ(platform.boxes,
              (std::vector<std::string>{"RegisterClassEx Failed!", "Error Registering Window Class!"}));
    EXPECT_TRUE(platform.openings.empty());
}

}  // namespace
}  // namespace drumhold::testing
