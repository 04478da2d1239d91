// scene.cpp -- one frame of the field, the tanks and the border.
#include "render/scene.h"

#include "data/tables.h"
#include "render/gl.h"
#include "render/text.h"
#include "world/game.h"

namespace drumhold {

unsigned borderList = 0;

void drawScene() {
    // Drawing order decides what covers what: score line under everything,
    // tanks under projectiles, projectiles under barrels, the power-up on top.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawBorder();
    drawScoreLine(game);
    for (const Tank* tank = game->players; tank; tank = tank->next)
        if (tank->alive > 0) drawTank(tank);
    for (const Tank* tank = game->enemies; tank; tank = tank->next)
        if (tank->alive > 0) drawTank(tank);
    drawPlayerMissiles(game->players);
    drawEnemyMissiles(game->enemies);
    drawExplosions();
    drawBarrels(game);
    drawPowerUp(game);
    glFlush();
}

void drawTank(const Tank* tank) {
    glPushMatrix();
    glTranslatef(tank->x, tank->y, 0.0f);
    // Counter-clockwise by the heading: the nose (+y in the outline) follows it.
    glRotatef(tank->heading, 0.0f, 0.0f, 1.0f);
    glColor4fv(tank->colour);
    glCallList(tank->displayList);
    glPopMatrix();
}

void compileShape(const Shape& shape) {
    for (int i = 0; i < shape.loopCount; ++i) {
        glBegin(GL_LINE_LOOP);
        for (int j = 0; j < shape.loopLengths[i]; ++j)
            glVertex2fv(shape.vertices[shape.loopIndices[i][j] - 1]);  // numbers count from 1
        glEnd();
    }
}

unsigned compileTankList(const Shape& shape) {
    const unsigned list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    compileShape(shape);
    glEndList();
    return list;
}

void releaseTankList(unsigned list) {
    if (list != 0) glDeleteLists(list, 1);
}

void drawBorder() {
    if (borderList == 0) {
        borderList = glGenLists(1);
        glNewList(borderList, GL_COMPILE);
        glColor4fv(borderColour);
        // A tenth inside the visible field, so that all four edges are on screen.
        glBegin(GL_LINE_LOOP);
        glVertex2f(-59.9f, -44.9f);
        glVertex2f(-59.9f, 44.9f);
        glVertex2f(59.9f, 44.9f);
        glVertex2f(59.9f, -44.9f);
        glEnd();
        glEndList();
    }
    glCallList(borderList);
}

}  // namespace drumhold
