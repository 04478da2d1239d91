// projectiles.cpp -- missiles and explosion debris: the red segment of the last move.
#include "data/tables.h"
#include "render/gl.h"
#include "render/scene.h"
#include "world/game.h"

namespace drumhold {

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

void drawExplosions() {
    for (const Explosion* e = explosions; e; e = e->next) drawProjectiles(e->debris);
}

}  // namespace drumhold
