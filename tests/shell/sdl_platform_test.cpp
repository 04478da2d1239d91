// The real SDL platform on SDL's offscreen driver: a real Mesa GL context with
// no X server (on Windows, real windows). Each test runs in a process of its
// own under ctest.
#include <gtest/gtest.h>

#include <array>

#include "render/gl.h"
#include "render/gl_presentation.h"
#include "shell/sdl_platform.h"
#include "shell/window.h"
#include "tests/support/offscreen_gl.h"

// Under the leak checker: Mesa's driver, loaded and unloaded again behind SDL
// and EGL, leaves allocations that cannot be traced to any library by the time
// the check runs at exit. Memory errors are still caught; leaks of the shell's
// own code are checked by the tests on the fake platform.
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }

namespace drumhold {
namespace {

class SdlPlatformTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        useScreenlessVideo();
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }

    SdlPlatform platform;

    void SetUp() override {
        ASSERT_TRUE(platform.initVideo()) << SDL_GetError();
    }
    void openWindowed() {
        ASSERT_TRUE(platform.openWindow("zandrel", 800, 600, false)) << SDL_GetError();
        ASSERT_NE(platform.sdlWindow(), nullptr);
    }
    // Every message pending now.
    std::vector<ShellMessage> drain() {
        std::vector<ShellMessage> out;
        ShellMessage m;
        while (platform.takeMessage(m)) out.push_back(m);
        return out;
    }
    void pushKey(Uint32 type, SDL_Keycode key, Uint16 mod, Uint32 windowId, Uint8 repeat = 0) {
        SDL_Event event{};
        event.type = type;
        event.key.repeat = repeat;
        event.key.windowID = windowId;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }
};

TEST_F(SdlPlatformTest, OpensAFixedFunctionContextAndClosesCleanly) {
    GlPresentation presentation;
    GameWindow window;
    window.platform = &platform;
    window.presentation = &presentation;
    window.fullscreen = false;
    ASSERT_TRUE(openGameWindow(window));

    ASSERT_NE(glGetString(GL_VERSION), nullptr);
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    EXPECT_EQ(viewport, (std::array<GLint, 4>{0, 0, 800, 600}));
    std::array<GLfloat, 4> clear{};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear.data());
    EXPECT_EQ(clear, (std::array<GLfloat, 4>{0.0f, 0.0f, 0.0f, 0.5f}));
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(platform.sdlWindow(), &w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);

    // Immediate mode and display lists: the GL 1.x the game draws with.
    glClear(GL_COLOR_BUFFER_BIT);
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_LINE_LOOP);
    glVertex2f(-0.5f, -0.5f);
    glVertex2f(0.5f, -0.5f);
    glVertex2f(0.0f, 0.5f);
    glEnd();
    glEndList();
    glCallList(list);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    platform.swapBuffers();

    closeGameWindow(window);
    EXPECT_EQ(platform.sdlWindow(), nullptr);
    EXPECT_EQ(SDL_GL_GetCurrentContext(), nullptr);
    closeGameWindow(window);  // closing twice is harmless
    platform.quitVideo();
}

TEST_F(SdlPlatformTest, FullscreenWindowFallsBackToAnOrdinaryOne) {
    // (Whether a mode switch is believed is a matter for a real X server: the
    // offscreen driver reports any mode it is asked for. See tests/e2e.)
    ASSERT_TRUE(platform.openWindow("zandrel", 800, 600, true));
    EXPECT_NE(SDL_GetWindowFlags(platform.sdlWindow()) & SDL_WINDOW_BORDERLESS, 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

    platform.leaveFullscreen(800, 600);
    const Uint32 flags = SDL_GetWindowFlags(platform.sdlWindow());
    EXPECT_EQ(flags & SDL_WINDOW_FULLSCREEN, 0u);  // (offscreen windows keep no border state)
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(platform.sdlWindow(), &w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    platform.closeWindow();
    platform.restoreDisplayMode();
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(SdlPlatformTest, EventsBecomeShellMessages) {
    openWindowed();
    const Uint32 id = SDL_GetWindowID(platform.sdlWindow());
    drain();  // whatever the opening itself reported

    pushKey(SDL_KEYDOWN, SDLK_LEFT, KMOD_NONE, id);
    pushKey(SDL_KEYDOWN, SDLK_RSHIFT, KMOD_RSHIFT, 0);     // no keyboard focus known
    pushKey(SDL_KEYDOWN, SDLK_UP, KMOD_LALT, id);          // a system key: not for the game
    pushKey(SDL_KEYDOWN, SDLK_F10, KMOD_NONE, id);         // likewise
    pushKey(SDL_KEYDOWN, SDLK_F11, KMOD_NONE, id);         // the display switch...
    pushKey(SDL_KEYDOWN, SDLK_F11, KMOD_NONE, id, 1);      // ...once, however long held
    pushKey(SDL_KEYDOWN, SDLK_RETURN, KMOD_RALT, id);      // Alt+Enter: the same
    pushKey(SDL_KEYDOWN, SDLK_KP_EQUALS, KMOD_NONE, id);   // no virtual-key code
    pushKey(SDL_KEYDOWN, SDLK_DOWN, KMOD_NONE, id + 100);  // another window's
    pushKey(SDL_KEYUP, SDLK_LEFT, KMOD_LALT, id);          // releases always count
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    platform.postQuit();

    const std::vector<ShellMessage> got = drain();
    ASSERT_EQ(got.size(), 7u);
    EXPECT_EQ(got[0].type, MessageType::KeyDown);
    EXPECT_EQ(got[0].code, 37u);
    EXPECT_EQ(got[1].type, MessageType::KeyDown);
    EXPECT_EQ(got[1].code, 16u);
    EXPECT_EQ(got[2].type, MessageType::SwitchDisplay);
    EXPECT_EQ(got[3].type, MessageType::SwitchDisplay);
    EXPECT_EQ(got[4].type, MessageType::KeyUp);
    EXPECT_EQ(got[4].code, 37u);
    EXPECT_EQ(got[5].type, MessageType::Close);
    EXPECT_EQ(got[6].type, MessageType::Quit);

    // A quit posted to a window that has been closed ends no later pump.
    platform.postQuit();
    platform.closeWindow();
    openWindowed();
    for (const ShellMessage& m : drain()) EXPECT_NE(m.type, MessageType::Quit);
    platform.closeWindow();
}

}  // namespace
}  // namespace drumhold
