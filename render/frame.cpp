// frame.cpp -- the frame step: the play frame or the attract frame, and the title screen.
#include "render/gl.h"
#include "render/render.h"
#include "render/scene.h"
#include "render/text.h"
#include "world/game.h"

namespace drumhold {

int scrollFrame = 0;
int wasPlaying = 0;

void drawAttractFrame() {
    drawScene();
    drawGameOver(game);
    drawInstructions(game, scrollFrame);
    ++scrollFrame;
}

void drawFrame() {
    if (!game) return;  // nothing to show before the world exists
    if (playing) {
        wasPlaying = 1;
        drawScene();
        return;
    }
    // The first frame after a game starts the instructions from the top.
    if (wasPlaying != 0) scrollFrame = 0;
    drawAttractFrame();
    wasPlaying = 0;
}

void showTitle(GameState* game) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawTitle(game);
}

}  // namespace drumhold
