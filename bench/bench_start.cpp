// bench_start.cpp -- how long the game takes to show its title, and where the
// time goes, next to a bare SDL window with a GL context showing its first frame.
//
// Each start is a fresh process (this program run again with --once), so the
// caches of a first start are cold in every run. A start runs what the game's
// main runs, on the X server that DISPLAY names (scripts/bench.sh starts a
// private Xvfb), with wrappers that note the time after each step and end the
// run once the title is presented. Times count from the start of main; the
// bare window is the same program, so both carry the same cost of starting a
// process. Medians of a few runs; reported, not asserted.
//
//   bench_start [--runs N]
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "render/gl_presentation.h"
#include "shell/loop.h"
#include "shell/sdl_platform.h"
#include "shell/sound.h"
#include "tests/support/child_run.h"

namespace {

using namespace drumhold;
using Clock = std::chrono::steady_clock;

const Clock::time_point kStart = Clock::now();

double msSinceStart() { return std::chrono::duration<double, std::milli>(Clock::now() - kStart).count(); }

// Start-up steps in the order they happen, with the time each ended.
struct Steps {
    std::vector<std::pair<std::string, double>> ends;
    void mark(const std::string& step) { ends.emplace_back(step, msSinceStart()); }
    void print() const {
        for (const auto& [name, at] : ends) std::printf("%s %.3f\n", name.c_str(), at);
    }
};

Steps steps;

// The SDL platform, noting when each step of opening the game ends; the title's
// presentation ends the run.
class StartPlatform final : public SdlPlatform {
public:
    bool initVideo() override { return noted("video", SdlPlatform::initVideo()); }
    bool openWindow(const char* t, int w, int h, bool f) override {
        return noted("window", SdlPlatform::openWindow(t, w, h, f));
    }
    bool switchDisplayMode(int w, int h, int b) override { return noted("mode", SdlPlatform::switchDisplayMode(w, h, b)); }
    bool takeMessage(ShellMessage& out) override {
        if (!titled_) return SdlPlatform::takeMessage(out);
        out = ShellMessage{};
        out.type = MessageType::Close;
        titled_ = false;
        return true;
    }
    void sleep(std::uint32_t ms) override {
        if (ms == 5000 && titled_) return;  // the title's wait: the measurement is over
        SdlPlatform::sleep(ms);
    }
    void swapBuffers() override {
        SdlPlatform::swapBuffers();
        if (!swapped_) {
            glFinish();
            steps.mark("title");
            swapped_ = titled_ = true;
        }
    }

private:
    bool noted(const char* step, bool ok) {
        steps.mark(step);
        return ok;
    }
    bool swapped_ = false;
    bool titled_ = false;
};

class StartPresentation final : public Presentation {
public:
    void contextOpened() override {
        gl_.contextOpened();
        steps.mark("font");
    }
    void contextClosing() override { gl_.contextClosing(); }
    void setViewport(const Viewport& v) override { gl_.setViewport(v); }
    void setClearValues() override { gl_.setClearValues(); }
    void showTitle() override {
        steps.mark("world");
        gl_.showTitle();
    }
    void drawFrame(const GameState& game) override { gl_.drawFrame(game); }
    unsigned compileTankList(const Shape& s) override { return gl_.compileTankList(s); }
    void releaseTankList(unsigned l) override { gl_.releaseTankList(l); }

private:
    GlPresentation gl_;
};

int startGame() {
    StartPlatform platform;
    StartPresentation presentation;
    steps.mark("main");
    Sound sound;
    // As the game's main does: the sound opens while the title is shown.
    const int code = runGame(platform, presentation, sound, {.afterTitle = [&sound] { sound.open(); }});
    steps.print();
    return code;
}

// A window with a GL context and its first frame, as little as SDL allows.
int startBare() {
    steps.mark("main");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    steps.mark("video");
    SDL_Window* window = SDL_CreateWindow("bare", 0, 0, 800, 600, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) return 1;
    steps.mark("window");
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(window);
    glFinish();
    steps.mark("title");
    steps.print();
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs `what` in `runs` fresh processes; the median time at which each step ended.
bool measure(const char* self, const char* what, int runs, std::vector<std::string>& order,
             std::map<std::string, double>& ends) {
    std::map<std::string, std::vector<double>> all;
    for (int r = 0; r < runs; ++r) {
        testing::ChildOptions options;
        options.args = {self, "--once", what};
        options.env = {"SDL_AUDIODRIVER=dummy"};
        std::string out;
        options.onOutput = [&](std::string_view chunk) { out.append(chunk); };
        const testing::ChildResult result = testing::runChild(options);
        if (!result.exited || result.exitCode != 0) {
            std::printf("start    %s failed: %s\n%s", what, result.describe().c_str(), result.err.c_str());
            return false;
        }
        std::istringstream lines(out);
        std::string name;
        double at = 0;
        while (lines >> name >> at) {
            if (r == 0) order.push_back(name);
            all[name].push_back(at);
        }
    }
    for (const auto& [name, values] : all) ends[name] = median(values);
    return true;
}

void report(const char* what, const std::vector<std::string>& order, std::map<std::string, double>& ends) {
    const double total = ends["title"];
    std::printf("start    %-5s first frame after %6.1f ms:", what, total);
    double previous = 0;
    for (const std::string& name : order) {
        if (name == "main") {
            std::printf(" to main %.1f", ends[name]);
        } else {
            std::printf(", %s %.1f (%.0f%%)", name.c_str(), ends[name] - previous,
                        total > 0 ? 100.0 * (ends[name] - previous) / total : 0.0);
        }
        previous = ends[name];
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--once") == 0)
        return std::strcmp(argv[2], "bare") == 0 ? startBare() : startGame();
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: bench_start [--runs N]\n");
            return 2;
        }
    }
    if (!std::getenv("DISPLAY")) {
        std::printf("start    skipped: no X server (DISPLAY is not set)\n");
        return 0;
    }
    std::vector<std::string> gameOrder, bareOrder;
    std::map<std::string, double> game, bare;
    if (!measure(argv[0], "bare", runs, bareOrder, bare) || !measure(argv[0], "game", runs, gameOrder, game))
        return 1;
    report("bare", bareOrder, bare);
    report("game", gameOrder, game);
    std::printf("start    the title after %.1fx the bare window's first frame (aim: within 2x; medians of %d starts)\n",
                bare["title"] > 0 ? game["title"] / bare["title"] : 0.0, runs);
    return 0;
}
