// Our fixed functions (the browser's GL) against the desktop's: the same
// scenes give the same pixels, a frame is a few draws, and the display lists
// keep GL's rules where a recorder could go wrong.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "render/fixed_gl.h"
#include "render/gl.h"
#include "scenes.h"
#include "tests/support/offscreen_gl.h"

namespace drumhold::testing {
namespace {

constexpr int kWidth = 800, kHeight = 600;

// Names every call it gets ("lines 0 24"), and draws them on the desktop's
// current context when asked to.
class Backend final : public FixedGlBackend {
public:
    explicit Backend(bool draws) : draws_(draws) {
        if (!draws_) return;
        // The vertices come in clip coordinates.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
    }
    std::vector<std::string> calls;
    // The first word of each call.
    std::vector<std::string> kinds() const {
        std::vector<std::string> out;
        for (const std::string& call : calls) out.push_back(call.substr(0, call.find(' ')));
        return out;
    }

    void upload(std::span<const FixedVertex> vertices) override {
        say("upload %zu", vertices.size());
        vertices_.assign(vertices.begin(), vertices.end());
        if (!draws_) return;
        glVertexPointer(3, GL_FLOAT, sizeof(FixedVertex), &vertices_[0].at);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(FixedVertex), vertices_[0].colour.data());
    }
    void draw(unsigned mode, int first, int count) override {
        say(mode == GL_LINES ? "lines %d %d" : "triangles %d %d", first, count);
        if (draws_) glDrawArrays(mode, first, count);
    }
    void clear(unsigned mask) override {
        say("clear %u", mask);
        if (draws_) glClear(mask);
    }
    void clearColor(float red, float green, float blue, float alpha) override {
        say("clearcolour %g %g %g %g", red, green, blue, alpha);
        if (draws_) glClearColor(red, green, blue, alpha);
    }
    void clearDepth(double depth) override {
        say("cleardepth %g", depth);
        if (draws_) glClearDepth(depth);
    }
    void viewport(int x, int y, int width, int height) override {
        say("viewport %d %d %d %d", x, y, width, height);
        if (draws_) glViewport(x, y, width, height);
    }
    void scissor(int x, int y, int width, int height) override {
        say("scissor %d %d %d %d", x, y, width, height);
        if (draws_) glScissor(x, y, width, height);
    }
    void scissorTest(bool on) override {
        say(on ? "scissortest on" : "scissortest off");
        if (draws_) on ? glEnable(GL_SCISSOR_TEST) : glDisable(GL_SCISSOR_TEST);
    }
    void lineWidth(float width) override {
        say("linewidth %g", width);
        if (draws_) glLineWidth(width);
    }

private:
    template <typename... Args>
    void say(const char* format, Args... args) {
        char text[80];
        std::snprintf(text, sizeof text, format, args...);
        calls.emplace_back(text);
    }
    bool draws_;
    std::vector<FixedVertex> vertices_;
};

// RGB rows from the top, as scene_picture writes them.
std::vector<std::uint8_t> readPicture(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, depth = 0;
    in >> magic >> width >> height >> depth;
    in.get();
    std::vector<std::uint8_t> pixels{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (magic != "P6" || width != kWidth || height != kHeight || pixels.size() != kWidth * kHeight * 3u) return {};
    return pixels;
}

std::vector<std::uint8_t> currentPicture() {
    glFinish();
    std::vector<std::uint8_t> bottomUp(kWidth * kHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::uint8_t> pixels;
    for (int row = kHeight - 1; row >= 0; --row)
        pixels.insert(pixels.end(), bottomUp.begin() + row * kWidth * 3, bottomUp.begin() + (row + 1) * kWidth * 3);
    return pixels;
}

// Draws a scene through our fixed functions, onto `backend`.
void drawThroughFixedGl(std::string_view scene, Backend& backend) {
    FixedGl gl(backend);
    GlPresentation presentation;
    EXPECT_TRUE(drawNamedScene(presentation, scene)) << scene;
    gl.flush();  // as the page does before its canvas is shown
}

// The border, the tanks and the disks as lines, the text's glyphs as
// triangles, the border's colour and the glyphs' steps from their lists, the
// power-up's letter over a barrel, the scroller's band: pixel for pixel.
TEST(FixedGl, DrawsTheDesktopsPicturesOfTheScenes) {
    // Kept until the process ends: tearing it down unloads the GL driver, and
    // what the driver keeps would then show as leaks without names.
    static OffscreenGl& context = *new OffscreenGl;
    ASSERT_TRUE(context.ok()) << context.error();
    for (const std::string_view scene : kScenes) {
        const std::string path = ::testing::TempDir() + "drumhold-scene.ppm";
        const std::string command = std::string(DRUMHOLD_SCENE_PICTURE) + " " + std::string(scene) + " " + path;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const std::vector<std::uint8_t> desktop = readPicture(path);
        std::remove(path.c_str());
        ASSERT_FALSE(desktop.empty()) << scene;

        Backend backend(true);
        drawThroughFixedGl(scene, backend);
        const std::vector<std::uint8_t> ours = currentPicture();
        int lit = 0, differing = 0;
        for (std::size_t i = 0; i < ours.size(); i += 3) {
            lit += desktop[i] + desktop[i + 1] + desktop[i + 2] > 0;
            differing += !std::equal(&ours[i], &ours[i + 3], &desktop[i]);
        }
        EXPECT_GT(lit, 5000) << scene;
        EXPECT_EQ(differing, 0) << scene << ": " << differing << " of " << lit << " lit pixels differ";
    }
}

// The few draws that make the page's work per frame small: the lines and the
// triangles of a frame go to WebGL in one upload and a draw per run of either,
// split only where GL's order or the state asks for it.
TEST(FixedGl, AFrameIsOneUploadAndADrawPerRunOfLinesOrOfTriangles) {
    Backend play(false);
    drawThroughFixedGl("play", play);
    // The window's opening: its viewport and clear values, then the field's
    // view. The frame: the border's lines, the score line's glyphs, the lines
    // of everything else and the power-up's letter, flushed by the scene.
    const std::vector<std::string> opening{"viewport", "clearcolour", "cleardepth", "viewport", "linewidth"};
    std::vector<std::string> want{"upload"};
    want.insert(want.end(), opening.begin(), opening.end());
    want.insert(want.end(), {"clear", "lines", "triangles", "lines", "triangles"});
    EXPECT_EQ(play.kinds(), want);
    // The draws take the uploaded vertices in order, every one once.
    int next = 0, uploaded = -1;
    std::sscanf(play.calls[0].c_str(), "upload %d", &uploaded);
    for (const std::string& call : play.calls) {
        int first = -1, count = 0;
        if (std::sscanf(call.c_str(), "lines %d %d", &first, &count) == 2 ||
            std::sscanf(call.c_str(), "triangles %d %d", &first, &count) == 2) {
            EXPECT_EQ(first, next) << call;
            next += count;
        }
    }
    EXPECT_EQ(next, uploaded);

    // Outside play the game-over text follows the scene's flush, and the
    // scroller's text is the one draw inside the scissor.
    Backend attract(false);
    drawThroughFixedGl("attract", attract);
    want.insert(want.end(), {"upload", "triangles", "scissortest", "scissor", "triangles", "scissortest"});
    EXPECT_EQ(attract.kinds(), want);
}

// GL defines a list at glEndList: deleting it while it compiles deletes what
// it held before, and what is compiled then is the list.
TEST(FixedGl, DeletingTheListBeingCompiledIsSafe) {
    Backend backend(false);
    FixedGl gl(backend);
    const unsigned list = gl.genLists(1);
    gl.newList(list, GL_COMPILE);
    gl.begin(GL_LINES);
    gl.vertex2f(0.0f, 0.0f);
    gl.vertex2f(1.0f, 0.0f);
    gl.end();
    gl.endList();

    gl.newList(list, GL_COMPILE);
    gl.deleteLists(list, 1);
    gl.begin(GL_LINE_LOOP);
    gl.vertex2f(0.0f, 0.0f);
    gl.vertex2f(1.0f, 0.0f);
    gl.vertex2f(1.0f, 1.0f);
    gl.end();
    gl.deleteLists(list, 1);
    gl.endList();
    // Nothing drawn while it compiled: the loop is the list's, twice.
    gl.callList(list);
    gl.callList(list);
    gl.flush();
    EXPECT_EQ(backend.calls, (std::vector<std::string>{"upload 12", "lines 0 12"}));

    gl.deleteLists(list, 1);
    gl.callList(list);
    gl.flush();
    EXPECT_EQ(backend.calls.size(), 2u);
}

// A call GL would record in a list, made while one compiles, is not recorded
// by ours: it must not pass unseen (the page would draw it at once).
TEST(FixedGlDeathTest, ACallOutsideTheRecordedSetWhileAListCompilesStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto compiling = [](auto call) {
        Backend backend(false);
        FixedGl gl(backend);
        gl.newList(gl.genLists(1), GL_COMPILE);
        call(gl);
    };
    EXPECT_DEATH(compiling([](FixedGl& gl) { gl.clear(GL_COLOR_BUFFER_BIT); }), "glClear while a display list compiles");
    EXPECT_DEATH(compiling([](FixedGl& gl) { gl.enable(GL_SCISSOR_TEST); }), "glEnable while a display list compiles");
    EXPECT_DEATH(compiling([](FixedGl& gl) { gl.listBase(1); }), "glListBase while a display list compiles");
    EXPECT_DEATH(compiling([](FixedGl& gl) {
                     gl.begin(GL_LINES);
                     gl.color4f(1.0f, 0.0f, 0.0f, 1.0f);
                 }),
                 "glColor between glBegin and glEnd while a display list compiles");
}

}  // namespace
}  // namespace drumhold::testing
