// bench_draw.cpp -- what one frame step costs on the software GL.
//
// Builds a busy field (the player and three enemies alive, all 18 barrels, 40
// projectiles in flight, a power-up) on an offscreen Mesa context and draws the
// attract frame over it -- the scene, the game-over text and a screenful of
// scrolling instructions -- which is the most the frame step ever draws. Reports
// the mean and the slowest drawFrame call, and the mean with the rasterising
// finished (glFinish), against an aim of well under a millisecond.
//
//   bench_draw [--frames N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "render/gl.h"
#include "render/gl_presentation.h"
#include "tests/support/offscreen_gl.h"
#include "world/world.h"

namespace {

using namespace drumhold;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultFrames = 2000;
constexpr int kWarmUp = 50;
constexpr int kScroll = 420;  // instructions fill the band at this scroll position
constexpr double kAimMs = 1.0;

Projectile* missile(float x, float y, float dx, float dy, Projectile* next) {
    auto* p = new Projectile{};
    p->x = x;
    p->y = y;
    p->prevX = x - dx;
    p->prevY = y - dy;
    p->next = next;
    return p;
}

// Every tank on the field and firing, an explosion in flight, a power-up.
void makeBusy(GameState* g) {
    int n = 0;
    for (Tank* t : {g->players, g->enemies, g->enemies->next, g->enemies->next->next}) {
        t->alive = 1;
        for (int i = 0; i < 6; ++i, ++n) t->missiles = missile(-50.0f + n * 4.0f, -30.0f + i * 9.0f, 1.0f, 0.5f, t->missiles);
    }
    auto* e = new Explosion{};
    e->live = 1;
    for (int i = 0; i < 16; ++i) e->debris = missile(30.0f + (i % 4) * 2.0f, 20.0f + (i / 4) * 2.0f, -0.7f, 0.7f, e->debris);
    e->next = g->explosions;
    g->explosions = e;
    g->powerUp = new PowerUp{-20.0f, 15.0f, 18, 3};
}

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
    int frames = kDefaultFrames;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            frames = std::max(1, std::atoi(argv[++i]));
        } else {
            std::fprintf(stderr, "usage: bench_draw [--frames N]\n");
            return 2;
        }
    }
    OffscreenGl gl;
    if (!gl.ok()) {
        std::fprintf(stderr, "bench_draw: no GL context: %s\n", gl.error().c_str());
        return 1;
    }
    GlPresentation presentation;
    presentation.contextOpened();
    presentation.setClearValues();
    ListHost host(presentation);
    GameState game{};
    game.host = &host;
    initWorld(&game);
    makeBusy(&game);
    game.playing = false;
    int& scrollFrame = presentation.attractScreen().scrollFrame;

    for (int i = 0; i < kWarmUp; ++i) {
        scrollFrame = kScroll;
        presentation.drawFrame(game);
    }
    glFinish();
    double total = 0, slowest = 0;
    for (int i = 0; i < frames; ++i) {
        scrollFrame = kScroll;
        const auto start = Clock::now();
        presentation.drawFrame(game);
        const double t = ms(Clock::now() - start);
        total += t;
        slowest = std::max(slowest, t);
        glFinish();  // keep the rasteriser from queueing frames behind the timer
    }
    const int finishedFrames = std::max(1, frames / 4);
    const auto start = Clock::now();
    for (int i = 0; i < finishedFrames; ++i) {
        scrollFrame = kScroll;
        presentation.drawFrame(game);
        glFinish();
    }
    const double finished = ms(Clock::now() - start) / finishedFrames;

    std::printf("drawFrame (busy scene, software GL): %.3f ms (slowest %.3f ms, aim < %.1f ms; %d frames, %s)\n",
                total / frames, slowest, kAimMs, frames,
                reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    std::printf("drawFrame + glFinish (rasterised):   %.3f ms\n", finished);

    releaseWorld(&game);
    presentation.contextClosing();
    return 0;
}
