// title_picture -- the desktop's title screen, drawn as the game draws it in
// an offscreen 800x600 context, written as a PPM (rows from the top). The
// browser test compares the page's title with it.
//
//   title_picture OUT.ppm
#include <cstdio>
#include <vector>

#include "render/gl.h"
#include "render/gl_presentation.h"
#include "tests/support/offscreen_gl.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: title_picture OUT.ppm\n", stderr);
        return 2;
    }
    constexpr int kWidth = 800, kHeight = 600;
    drumhold::OffscreenGl gl;
    if (!gl.ok()) {
        std::fprintf(stderr, "title_picture: %s\n", gl.error().c_str());
        return 1;
    }
    // In the order the game's window opening and its first title do it.
    drumhold::GlPresentation presentation;
    presentation.setViewport({0, 0, kWidth, kHeight});
    presentation.setClearValues();
    presentation.contextOpened();
    presentation.showTitle();
    glFinish();
    std::vector<unsigned char> pixels(kWidth * kHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    presentation.contextClosing();

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", kWidth, kHeight);
    for (int row = kHeight - 1; row >= 0; --row) std::fwrite(&pixels[row * kWidth * 3], 1, kWidth * 3, out);
    return std::fclose(out) == 0 ? 0 : 1;
}
