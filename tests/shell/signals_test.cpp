// Signals from outside reach the real SDL platform as display switches and
// close requests, on SDL's offscreen driver.
// not on Windows: it has no signals; signals_windows_test.cpp sends its messages instead
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <vector>

#include "outside_requests.h"
#include "shell/sdl_platform.h"
#include "shell/signals.h"

// Mesa's driver behind SDL leaves allocations the leak checker cannot name
// (see sdl_platform_test.cpp).
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }

namespace drumhold {
namespace {

TEST(SdlPlatformSignals, SignalsBecomeSwitchAndCloseRequestsEvenWhileWaiting) {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    // Blocked before SDL starts any thread, as the game's main does.
    ASSERT_TRUE(startSignalWatch(&SdlPlatform::noteSignal));
    kill(getpid(), SIGTERM);  // before the video is up: kept for later
    SdlPlatform platform;
    ASSERT_TRUE(platform.initVideo());
    ASSERT_TRUE(platform.openWindow("zandrel", 800, 600, false));

    // A waiting (minimised) loop wakes up for a signal.
    EXPECT_EQ(awaitRequests(platform, [] { kill(getpid(), SIGUSR1); }),
              (std::vector<MessageType>{MessageType::Close, MessageType::SwitchDisplay}));
    platform.closeWindow();
}

}  // namespace
}  // namespace drumhold
