// bench_loop.cpp -- the real game loop's paced tick rate, in play and in attract.
//
// Runs the game itself (runGame on the SDL platform, OpenGL drawing, the pacing
// sleeps of the update step) on a private Xvfb at 800x600x16, so it neither
// needs nor disturbs a desktop. Wrappers around the platform and the
// presentation count frames (one frame is one update, one tick) and play the
// player's part: 10 s of attract mode, space, 10 s of play, Esc. The pacing
// allows two ticks per 20 + d ms in play and per 100 + d ms in attract, d being
// a frame's own work, so about 100 and 20 ticks a second are expected.
// Reported, not asserted.
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>

#include "shell/loop.h"
#include "shell/sdl_platform.h"
#include "world/game.h"

extern char** environ;

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
                press(32, true);
                phase = Phase::Starting;
            }
            return;
        case Phase::Starting:
            if (!playing) return;
            press(32, false);
            phase = Phase::Play;
            [[fallthrough]];
        case Phase::Play:
            play.add(now);
            play.workS += workS;
            if (play.length() >= kMeasureS) {
                press(27, true);
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
    void leaveFullscreen(int w, int h) override { sdl_.leaveFullscreen(w, h); }
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
    BenchPresentation(Presentation& inner, BenchPlatform& platform) : inner_(inner), platform_(platform) {}
    void setViewport(int w, int h) override { inner_.setViewport(w, h); }
    void setClearValues() override { inner_.setClearValues(); }
    void prepare(GameState* g) override { inner_.prepare(g); }
    void showTitle(GameState* g) override { inner_.showTitle(g); }
    void drawFrame() override {
        platform_.frameStarts();
        inner_.drawFrame();
    }
    unsigned compileTankList(const Shape& s) override { return inner_.compileTankList(s); }
    void releaseTankList(unsigned l) override { inner_.releaseTankList(l); }

private:
    Presentation& inner_;
    BenchPlatform& platform_;
};

// A private X server: Xvfb picks a free display and writes its number to us.
struct PrivateX {
    pid_t pid = -1;

    bool start() {
        int fds[2];
        if (pipe(fds) != 0) return false;
        const std::string fd = std::to_string(fds[1]);
        const char* argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x16",
                              "-nolisten", "tcp", "-noreset", nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int failed = posix_spawnp(&pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        if (failed != 0) {
            pid = -1;
            close(fds[0]);
            return false;
        }
        std::string number;
        pollfd reader{fds[0], POLLIN, 0};
        char c = 0;
        while (poll(&reader, 1, 10000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (number.empty()) return false;
        setenv("DISPLAY", (":" + number).c_str(), 1);
        return true;
    }
    ~PrivateX() {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
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
    PrivateX x;
    if (!x.start()) {
        std::printf("loop     skipped: no private X server (is Xvfb installed?)\n");
        return 0;
    }
    unsetenv("SDL_VIDEODRIVER");

    Player player;
    BenchPlatform platform(player);
    BenchPresentation presentation(openGlPresentation(), platform);
    const int code = runGame(platform, presentation);
    if (code != 0 || player.phase != Phase::Done) {
        std::printf("loop     failed: the game ended early (exit code %d)\n", code);
        return 1;
    }
    report("play", player.play, "paced: 2 ticks per 20 ms + frame work");
    report("attract", player.attract, "paced: 2 ticks per 100 ms + frame work");
    return 0;
}
