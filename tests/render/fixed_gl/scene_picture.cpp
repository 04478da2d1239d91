// scene_picture -- one of the scenes of scenes.h as the desktop's GL draws it,
// in an offscreen 800x600 context, written as a PPM (rows from the top). The
// fixed functions' test compares its pictures with these, and the browser
// test the page's title with "title".
//
//   scene_picture SCENE OUT.ppm
#include <cstdio>
#include <vector>

#include "render/gl.h"
#include "scenes.h"
#include "tests/support/offscreen_gl.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: scene_picture SCENE OUT.ppm\n", stderr);
        return 2;
    }
    constexpr int kWidth = 800, kHeight = 600;
    // Kept until the process ends: tearing it down unloads the GL driver, and
    // what the driver keeps would then show as leaks without names.
    static const drumhold::OffscreenGl& gl = *new drumhold::OffscreenGl;
    if (!gl.ok()) {
        std::fprintf(stderr, "scene_picture: %s\n", gl.error().c_str());
        return 1;
    }
    drumhold::GlPresentation presentation;
    if (!drumhold::testing::drawNamedScene(presentation, argv[1])) {
        std::fprintf(stderr, "scene_picture: no scene %s\n", argv[1]);
        return 2;
    }
    glFinish();
    std::vector<unsigned char> pixels(kWidth * kHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    presentation.contextClosing();

    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) {
        std::perror(argv[2]);
        return 1;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", kWidth, kHeight);
    for (int row = kHeight - 1; row >= 0; --row) std::fwrite(&pixels[row * kWidth * 3], 1, kWidth * 3, out);
    return std::fclose(out) == 0 ? 0 : 1;
}
