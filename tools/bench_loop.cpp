// bench_loop.cpp -- the real game loop's paced tick rate, in play and in attract.
//
// Runs the game itself (runGame on the SDL platform, OpenGL drawing, the pacing
// sleeps of the update step) on the X server that DISPLAY names: scripts/bench.sh
// starts a private Xvfb at 800x600x16, so it neither needs nor disturbs a desktop. Wrappers around the platform and the
// presentation count frames (one frame is one update, one tick) and play the
// player's part: 10 s of attract mode, space, 10 s of play, Esc. The pacing
// allows two ticks per 20 + d ms in play and per 100 + d ms in attract, d being
// a frame's own work, so about 100 and 20 ticks a second are expected.
// Reported, not asserted.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "data/keys.h"
#include "render/gl_presentation.h"
#include "shell/loop.h"
#include "shell/sdl_platform.h"

namespace {

using namespace drumhold;
using Clock = std::chrono::steady_clock;

constexpr double kMeasureS = 10.0;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Ticks counted over one mode: from its first frame to its last.
struct Span {
    Clock::time_point first, last;
    long frames = 0;
    double workS = 0;  // drawing and presenting, summed
    void add(Clock::time_point now) {
        if (frames++ == 0) first = now;
        last = now;
    }
    double length() const { return seconds(last - first); }
    double rate() const { return frames > 1 ? (frames - 1) / length() : 0; }
};

enum class Phase { Attract, Starting, Play, Done };

// The player: watches the frames and presses keys through the message queue.
struct Player {
    const GameState* game = nullptr;  // the world the frames show
    Phase phase = Phase::Attract;
    Span attract, play;
    std::deque<ShellMessage> keys;

    void press(unsigned code, bool down) {
        ShellMessage m;
        m.type = down ? MessageType::KeyDown : MessageType::KeyUp;
        m.code = code;
        keys.push_back(m);
    }
    void frame(Clock::time_point now, double workS) {
        switch (phase) {
        case Phase::Attract:
            attract.add(now);
            attract.workS += workS;
            if (attract.length() >= kMeasureS) {
                press(vk::space, true);
                phase = Phase::Starting;
            }
            return;
        case Phase::Starting:
            if (!game->playing) return;
            press(vk::space, false);
            phase = Phase::Play;
            [[fallthrough]];
        case Phase::Play:
            play.add(now);
            play.workS += workS;
            if (play.length() >= kMeasureS) {
                press(vk::escape, true);
                phase = Phase::Done;
            }
            return;
        case Phase::Done:
            return;
        }
    }
};

// The SDL platform with the player's keys in front of its messages, timing the
// frame work (everything between the update's end and the presented frame).
class BenchPlatform final : public Platform {
public:
    explicit BenchPlatform(Player& player) : player_(player) {}
    bool initVideo() override { return sdl_.initVideo(); }
    void quitVideo() override { sdl_.quitVideo(); }
    bool openWindow(const char* t, int w, int h, bool f) override { return sdl_.openWindow(t, w, h, f); }
    bool switchDisplayMode(int w, int h, int b) override { return sdl_.switchDisplayMode(w, h, b); }
    bool coverDisplay(int& w, int& h) override { return sdl_.coverDisplay(w, h); }
    void leaveFullscreen(int w, int h) override { sdl_.leaveFullscreen(w, h); }
    bool displaySize(bool u, int& w, int& h) override { return sdl_.displaySize(u, w, h); }
    void closeWindow() override { sdl_.closeWindow(); }
    void restoreDisplayMode() override { sdl_.restoreDisplayMode(); }
    bool takeMessage(ShellMessage& out) override {
        if (!player_.keys.empty()) {
            out = player_.keys.front();
            player_.keys.pop_front();
            return true;
        }
        return sdl_.takeMessage(out);
    }
    void waitMessage() override { sdl_.waitMessage(); }
    void postQuit() override { sdl_.postQuit(); }
    std::uint32_t tickCount() override { return sdl_.tickCount(); }
    void sleep(std::uint32_t ms) override { sdl_.sleep(ms); }
    void swapBuffers() override {
        sdl_.swapBuffers();
        if (drawing_) {
            const Clock::time_point now = Clock::now();
            player_.frame(now, seconds(now - drawStart_));
            drawing_ = false;
        }
    }
    void messageBox(const char* text) override { sdl_.messageBox(text); }
    void frameStarts() {
        drawing_ = true;
        drawStart_ = Clock::now();
    }

private:
    SdlPlatform sdl_;
    Player& player_;
    bool drawing_ = false;
    Clock::time_point drawStart_;
};

// The OpenGL presentation, marking where each frame's drawing begins (the
// title's presentation is not a frame).
class BenchPresentation final : public Presentation {
public:
    BenchPresentation(Presentation& inner, BenchPlatform& platform, Player& player)
        : inner_(inner), platform_(platform), player_(player) {}
    void contextOpened() override { inner_.contextOpened(); }
    void contextClosing() override { inner_.contextClosing(); }
    void setViewport(const Viewport& v) override { inner_.setViewport(v); }
    void setClearValues() override { inner_.setClearValues(); }
    void showTitle() override { inner_.showTitle(); }
    void drawFrame(const GameState& game) override {
        player_.game = &game;
        platform_.frameStarts();
        inner_.drawFrame(game);
    }
    unsigned compileTankList(const Shape& s) override { return inner_.compileTankList(s); }
    void releaseTankList(unsigned l) override { inner_.releaseTankList(l); }

private:
    Presentation& inner_;
    BenchPlatform& platform_;
    Player& player_;
};

void report(const char* mode, const Span& span, const char* note) {
    if (span.frames < 2) {
        std::printf("loop     %s: no ticks measured\n", mode);
        return;
    }
    std::printf("loop     %s: %.1f ticks/s over %.0f s (%s; drawing and presenting %.2f ms a frame)\n", mode,
                span.rate(), span.length(), note, span.workS * 1000.0 / span.frames);
}

}  // namespace

int main() {
    if (!std::getenv("DISPLAY")) {
        std::printf("loop     skipped: no X server (DISPLAY is not set)\n");
        return 0;
    }
    unsetenv("SDL_VIDEODRIVER");

    Player player;
    BenchPlatform platform(player);
    GlPresentation gl;
    BenchPresentation presentation(gl, platform, player);
    Sound silent;
    const int code = runGame(platform, presentation, silent);
    if (code != 0 || player.phase != Phase::Done) {
        std::printf("loop     failed: the game ended early (exit code %d)\n", code);
        return 1;
    }
    report("play", player.play, "paced: 2 ticks per 20 ms + frame work");
    report("attract", player.attract, "paced: 2 ticks per 100 ms + frame work");
    return 0;
}
