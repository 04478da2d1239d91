// barrels.cpp -- the barrels: a white 16-sided circle of radius 1 each.
#include "data/tables.h"
#include "render/gl.h"
#include "render/scene.h"

namespace drumhold {

void drawBarrels(const GameState* game) {
    GLUquadric* quadric = gluNewQuadric();
    glColor4fv(barrelColour);
    gluQuadricDrawStyle(quadric, GLU_SILHOUETTE);
    // Barrels at home and barrels being towed look alike; stolen ones are gone.
    for (const Barrel* barrel = game->barrels; barrel; barrel = barrel->next) {
        if (barrel->state == BARREL_GONE) continue;
        glPushMatrix();
        glTranslatef(barrel->x, barrel->y, 0.0f);
        gluDisk(quadric, 0.0, 1.0, 16, 1);
        glPopMatrix();
    }
    gluDeleteQuadric(quadric);
}

}  // namespace drumhold
