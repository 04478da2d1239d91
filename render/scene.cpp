// scene.cpp -- one frame of the field: the border, the tanks, the missiles and
// debris, the barrels and the power-up, and the view they are drawn in.
#include "render/scene.h"

#include <algorithm>

#include "data/tables.h"
#include "render/gl.h"
#include "render/screens.h"

namespace drumhold {

void setView() {
    // No matrix mode is selected: the projection lands on the model-view matrix
    // and every drawing routine pushes and pops around it.
    glOrtho(-60.0, 60.0, -45.0, 45.0, 0.0, 1000.0);
    glViewport(0, 0, 800, 600);
    glLineWidth(1.0f);
}

Viewport pictureIn(int width, int height) {
    // The side that limits the picture fills the window; the other is rounded
    // to the nearest pixel of the 4:3 shape.
    Viewport picture{0, 0, width, height};
    if (width * 3 <= height * 4)
        picture.height = (width * 3 + 2) / 4;
    else
        picture.width = (height * 4 + 1) / 3;
    picture.x = (width - picture.width) / 2;
    picture.y = (height - picture.height) / 2;
    return picture;
}

float lineWidthFor(const Viewport& viewport) {
    const float scale = std::min(viewport.width / 800.0f, viewport.height / 600.0f);
    return std::max(1.0f, scale);
}

void drawScene(const GameState& game, RenderContext& context) {
    // Drawing order decides what covers what: score line under everything,
    // tanks under projectiles, projectiles under barrels, the power-up on top.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawBorder(context);
    drawScoreLine(game, context.font);
    for (const Tank* tank = game.players; tank; tank = tank->next)
        if (tank->alive > 0) drawTank(tank);
    for (const Tank* tank = game.enemies; tank; tank = tank->next)
        if (tank->alive > 0) drawTank(tank);
    drawPlayerMissiles(game.players);
    drawEnemyMissiles(game.enemies);
    drawExplosions(game.explosions);
    drawBarrels(game);
    drawPowerUp(game.powerUp, context.font);
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

unsigned compileTankList(RenderContext& context, const Shape& shape) {
    const unsigned list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    compileShape(shape);
    glEndList();
    if (list != 0) context.tankLists.insert(list);
    return list;
}

void releaseTankList(RenderContext& context, unsigned list) {
    if (context.tankLists.erase(list) != 0) glDeleteLists(list, 1);
}

void drawBorder(RenderContext& context) {
    if (context.borderList == 0) {
        context.borderList = glGenLists(1);
        glNewList(context.borderList, GL_COMPILE);
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
    glCallList(context.borderList);
}

// A white 16-sided circle of radius 1 each. Barrels at home and barrels being
// towed look alike; stolen ones are gone.
void drawBarrels(const GameState& game) {
    GLUquadric* quadric = gluNewQuadric();
    glColor4fv(barrelColour);
    gluQuadricDrawStyle(quadric, GLU_SILHOUETTE);
    for (const Barrel* barrel = game.barrels; barrel; barrel = barrel->next) {
        if (barrel->state == BARREL_GONE) continue;
        glPushMatrix();
        glTranslatef(barrel->x, barrel->y, 0.0f);
        gluDisk(quadric, 0.0, 1.0, 16, 1);
        glPopMatrix();
    }
    gluDeleteQuadric(quadric);
}

// Missiles and debris: the red segment of the last move.
void drawProjectiles(const Projectile* list) {
    glColor4fv(projectileColour);
    for (const Projectile* p = list; p; p = p->next) {
        glBegin(GL_LINES);
        glVertex2f(p->x, p->y);
        glVertex2f(p->prevX, p->prevY);
        glEnd();
    }
}

// Missiles outlive the tank that fired them, so destroyed tanks count too.
void drawPlayerMissiles(const Tank* players) {
    for (const Tank* tank = players; tank; tank = tank->next) drawProjectiles(tank->missiles);
}

void drawEnemyMissiles(const Tank* enemies) {
    for (const Tank* tank = enemies; tank; tank = tank->next) drawProjectiles(tank->missiles);
}

void drawExplosions(const Explosion* explosions) {
    for (const Explosion* e = explosions; e; e = e->next) drawProjectiles(e->debris);
}

}  // namespace drumhold
