// Requests from outside on Windows reach the real SDL platform: the message
// 1025 posted to the game's window switches the display, the end of the
// session asks it to close.
#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

#include "outside_requests.h"
#include "shell/sdl_platform.h"
#include "shell/signals.h"

namespace drumhold {
namespace {

// Waits for a top-level window of the given class or title to exist (the
// first window of a fresh Wine takes its time).
HWND findWindow(const wchar_t* type, const wchar_t* title) {
    for (int i = 0; i < 3000; ++i) {
        if (HWND window = FindWindowW(type, title)) return window;
        Sleep(10);
    }
    return nullptr;
}

TEST(WindowsOutsideRequests, MessagesBecomeSwitchAndCloseRequestsEvenWhileWaiting) {
    ASSERT_TRUE(startSignalWatch(&SdlPlatform::noteSignal));
    // The end of the session, before the video is up: kept for later.
    const HWND session = findWindow(L"drumhold session", nullptr);
    ASSERT_NE(session, nullptr);
    EXPECT_EQ(SendMessageW(session, WM_QUERYENDSESSION, 0, 0), TRUE) << "the session may end";
    SdlPlatform platform;
    ASSERT_TRUE(platform.initVideo());
    ASSERT_TRUE(platform.openWindow("zandrel", 800, 600, false));

    // A waiting (minimised) loop wakes up for the message another program
    // posts to the window it finds by its title.
    EXPECT_EQ(awaitRequests(platform, [] { PostMessageW(findWindow(nullptr, L"zandrel"), WM_APP + 1, 0, 0); }),
              (std::vector<MessageType>{MessageType::Close, MessageType::SwitchDisplay}));
    platform.closeWindow();
}

}  // namespace
}  // namespace drumhold
