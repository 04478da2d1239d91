// text.cpp -- formatting and drawing one line of text.
#include "render/text.h"

#include <cstdarg>
#include <cstdio>

#include "data/tables.h"
#include "render/font.h"
#include "render/gl.h"

namespace drumhold {

int textCentred = 0;

void drawText(const char* format, ...) {
    if (!format) return;
    char text[256];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (written <= 0) return;
    // vsnprintf reports the untruncated length; only what fits was stored.
    const int length = written < static_cast<int>(sizeof text) ? written
                                                               : static_cast<int>(sizeof text) - 1;

    float width = 0.0f;
    for (int i = 0; i < length; ++i) width += glyphMetrics[static_cast<unsigned char>(text[i])].gmfCellIncX;

    glPushMatrix();
    glScalef(3.1f, 3.1f, 3.1f);
    if (textCentred == 1) glTranslatef(-width / 2, 0.0f, 0.0f);
    glColor4fv(textColour);
    glCallLists(length, GL_UNSIGNED_BYTE, text);
    glPopMatrix();
}

}  // namespace drumhold
