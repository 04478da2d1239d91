// bench_loop.cpp -- the real game loop's paced tick rate, in play and in attract.
//
//   bench_loop [the game's --windowed, --fullscreen[=KIND] and --scale[=N]]
//
// Runs the game itself (runGame on the SDL platform, OpenGL drawing, the pacing
// sleeps of the update step) on the X server that DISPLAY names: scripts/bench.sh
// starts a private Xvfb (800x600x16, or 1920x1080x24 for the scaled picture), so
// it neither needs nor disturbs a desktop. Wrappers around the platform and the
// presentation count frames (one frame is one update, one tick) and play the
// player's part: 10 s of attract mode, space, 10 s of play, Esc. The pacing
// allows two ticks per 20 + d ms in play and per 100 + d ms in attract, d being
// a frame's own work, so about 100 and 20 ticks a second are expected; the
// report gives the rate beside that limit, and the processor time a frame
// takes: this process's (every thread, the software GL's too) and the X
// server's, which presents it. Reported, not asserted.
#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include "data/keys.h"
#include "render/gl_presentation.h"
#include "shell/loop.h"
#include "shell/options.h"
#include "shell/sdl_platform.h"

namespace {

using namespace drumhold;
using Clock = std::chrono::steady_clock;

constexpr double kMeasureS = 10.0;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Processor time of the whole process so far, user and system.
double processorS() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto s = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return s(usage.ru_utime) + s(usage.ru_stime);
}

// Processor time of the X server so far, which presents the frames: the one
// BENCH_X_SERVER_PID names (scripts/bench.sh), read from /proc; 0 without it.
double xServerS() {
    static const char* const pid = std::getenv("BENCH_X_SERVER_PID");
    if (!pid) return 0;
    std::FILE* file = std::fopen(("/proc/" + std::string(pid) + "/stat").c_str(), "r");
    if (!file) return 0;
    char line[1024] = "";
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    // After the command's closing parenthesis: state, then 10 fields, then
    // user and system time in clock ticks.
    const char* rest = read ? std::strrchr(line, ')') : nullptr;
    unsigned long user = 0, system = 0;
    if (!rest || std::sscanf(rest + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system) != 2)
        return 0;
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Ticks counted over one mode: from its first frame to its last.
struct Span {
    Clock::time_point first, last;
    double processorFirst = 0, processorLast = 0;  // this process
    double xServerFirst = 0, xServerLast = 0;
    long frames = 0;
    double workS = 0;  // drawing and presenting, summed
    void add(Clock::time_point now) {
        if (frames++ == 0) first = now, processorFirst = processorS(), xServerFirst = xServerS();
        last = now;
    }
    // At the last frame.
    void close() { processorLast = processorS(), xServerLast = xServerS(); }
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
                attract.close();
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
                play.close();
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
class BenchPlatform final : public SdlPlatform {
public:
    explicit BenchPlatform(Player& player) : player_(player) {}
    bool takeMessage(ShellMessage& out) override {
        if (!player_.keys.empty()) {
            out = player_.keys.front();
            player_.keys.pop_front();
            return true;
        }
        return SdlPlatform::takeMessage(out);
    }
    void swapBuffers() override {
        SdlPlatform::swapBuffers();
        if (drawing_) {
            const Clock::time_point now = Clock::now();
            player_.frame(now, seconds(now - drawStart_));
            drawing_ = false;
        }
    }
    void frameStarts() {
        drawing_ = true;
        drawStart_ = Clock::now();
    }

private:
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
    void setViewport(const Viewport& v) override {
        picture = v;
        inner_.setViewport(v);
    }
    void setClearValues() override { inner_.setClearValues(); }
    void showTitle() override { inner_.showTitle(); }
    void drawFrame(const GameState& game) override {
        player_.game = &game;
        platform_.frameStarts();
        inner_.drawFrame(game);
    }
    unsigned compileTankList(const Shape& s) override { return inner_.compileTankList(s); }
    void releaseTankList(unsigned l) override { inner_.releaseTankList(l); }

    Viewport picture;  // as last set

private:
    Presentation& inner_;
    BenchPlatform& platform_;
    Player& player_;
};

// One mode's rate beside the limit its pacing sets: two ticks per period P
// plus a frame's drawing and presenting.
void report(const std::string& what, const char* mode, const Span& span, double periodMs) {
    if (span.frames < 2) {
        std::printf("loop     %s %s: no ticks measured\n", what.c_str(), mode);
        return;
    }
    const double workMs = span.workS * 1000.0 / span.frames;
    const double limit = 2000.0 / (periodMs + workMs);
    const double perFrameMs = 1000.0 / static_cast<double>(span.frames - 1);
    std::printf("loop     %s %s: %.1f ticks/s over %.0f s, %.1f %% of the paced %.1f (2 ticks per %.0f ms + %.2f ms of "
                "drawing and presenting); processor a frame: %.2f ms the game, %.2f ms the X server\n",
                what.c_str(), mode, span.rate(), span.length(), 100.0 * span.rate() / limit, limit, periodMs, workMs,
                (span.processorLast - span.processorFirst) * perFrameMs,
                (span.xServerLast - span.xServerFirst) * perFrameMs);
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, options, error) || !options.recordPath.empty() || !options.replayPath.empty()) {
        std::fprintf(stderr, "bench_loop: %s\nusage: bench_loop [--windowed | --fullscreen[=KIND]] [--scale[=N]]\n",
                     error.c_str());
        return 2;
    }
    std::string what;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) what += ' ';
        what += argv[i];
    }
    if (what.empty()) what = "default";
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
    const int code = runGame(platform, presentation, silent,
                             {!options.windowed, nullptr, {}, options.fullscreenKind, options.scaleTenths});
    if (code != 0 || player.phase != Phase::Done) {
        std::printf("loop     failed: the game ended early (exit code %d)\n", code);
        return 1;
    }
    char picture[64];
    std::snprintf(picture, sizeof picture, ", picture %dx%d", presentation.picture.width, presentation.picture.height);
    what += picture;
    report(what, "play", player.play, 20);
    report(what, "attract", player.attract, 100);
    return 0;
}
