// powerup.cpp -- the pulsing, tumbling power-up with its letter.
#include "render/scene.h"

#include <cmath>

#include "data/tables.h"
#include "render/gl.h"

namespace drumhold {

namespace {
constexpr char powerUpLetters[] = "ERSHM";  // indexed by PowerUp.kind
}  // namespace

void drawPowerUp(const PowerUp* powerUp, const Font& font) {
    if (!powerUp) return;
    GLUquadric* quadric = gluNewQuadric();
    gluQuadricDrawStyle(quadric, GLU_SILHOUETTE);

    // The brightness pulses between 1 and 5 with a period of 24 ticks; alpha stays.
    const int ttl = powerUp->ttl;
    const float b = static_cast<float>(2.0 * std::sin(ttl * 15 / 180.0 * kGamePi) + 3.0);
    const float colour[4] = {powerUpColour[0] * b, powerUpColour[1] * b, powerUpColour[2] * b,
                             powerUpColour[3]};
    glColor4fv(colour);

    glPushMatrix();
    glTranslatef(powerUp->x, powerUp->y, -10.0f);
    // The outer disk tumbles about x by 3.5 degrees a tick.
    glPushMatrix();
    glRotatef(static_cast<float>(ttl * 3.5), 1.0f, 0.0f, 0.0f);
    gluDisk(quadric, 0.0, 1.7, 16, 1);
    glPopMatrix();
    // The inner disk and the letter swing about y from edge-on (-90) to 85 degrees.
    const int a = ((ttl * 5) % 180) - 90;
    glRotatef(static_cast<float>(a), 0.0f, 1.0f, 0.0f);
    glScalef(0.9f, 0.9f, 0.9f);
    gluDisk(quadric, 0.0, 1.7, 16, 1);
    const int kind = powerUp->kind;
    const bool known = kind >= 0 && kind < static_cast<int>(sizeof powerUpLetters) - 1;
    drawGlyphCentred(font, known ? static_cast<unsigned char>(powerUpLetters[kind]) : 0);
    glPopMatrix();
    gluDeleteQuadric(quadric);
}

void drawGlyphCentred(const Font& font, int code) {
    if (code <= 0 || code > 255) return;
    const GlyphMetrics& metrics = font.metrics[static_cast<std::size_t>(code)];
    glPushMatrix();
    glScalef(3.1f, 3.1f, 3.1f);
    // Centred on the advance and the inked box's height (not the glyph origin).
    glTranslatef(-metrics.advance / 2, -metrics.inkHeight / 2, 0.0f);
    glCallList(font.base + static_cast<unsigned>(code));
    glPopMatrix();
}

}  // namespace drumhold
