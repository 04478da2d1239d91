// A face that opens but yields no outlines is named and passed over for the
// next face, against a font service staged for the test.
// not on Windows: it stages its font service through fontconfig
#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gl_fixture.h"

namespace drumhold::testing {
namespace {

using FontFallbackTest = RenderTest;

// A copy of `from` whose TrueType 'glyf' table (every glyph's outline) is
// overwritten with noise: the file still opens, its glyphs are garbage.
void scrambleGlyphs(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::ifstream in(from, std::ios::binary);
    std::vector<char> font((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto u16 = [&](std::size_t at) { return (static_cast<unsigned char>(font[at]) << 8) | static_cast<unsigned char>(font[at + 1]); };
    auto u32 = [&](std::size_t at) { return static_cast<std::uint32_t>(u16(at)) << 16 | static_cast<std::uint32_t>(u16(at + 2)); };
    std::uint32_t noise = 12345;
    for (int table = 0; table < u16(4); ++table) {
        const std::size_t entry = 12 + 16 * static_cast<std::size_t>(table);
        if (std::string(&font[entry], 4) != "glyf") continue;
        for (std::size_t i = u32(entry + 8); i < u32(entry + 8) + u32(entry + 12) && i < font.size(); ++i) {
            noise = noise * 1103515245u + 12345u;
            font[i] = static_cast<char>(noise >> 16);
        }
    }
    std::ofstream(to, std::ios::binary).write(font.data(), static_cast<std::streamsize>(font.size()));
}

TEST_F(FontFallbackTest, ADamagedFaceIsNamedAndTheNextFaceDrawsTheText) {
    // A font service that knows two faces: OCR-A bold with scrambled glyphs, and
    // DejaVu Sans Mono standing for "monospace".
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("drumhold-fonts-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    scrambleGlyphs("/usr/share/fonts/truetype/ocr-a/OCRABold.ttf", dir / "OCRABold.ttf");
    std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
                               dir / "DejaVuSansMono-Bold.ttf");
    const std::string conf = "<fontconfig><dir>" + dir.string() + "</dir><cachedir>" + (dir / "cache").string() +
                             "</cachedir><alias><family>monospace</family><prefer><family>DejaVu Sans Mono</family>"
                             "</prefer></alias></fontconfig>";
    FcConfig* config = FcConfigCreate();
    ASSERT_TRUE(FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(conf.c_str()), FcTrue));
    ASSERT_TRUE(FcConfigBuildFonts(config));
    FcConfig* previous = FcConfigReference(nullptr);
    FcConfigSetCurrent(config);
    FcConfigDestroy(config);

    FontChoice choice;
    ::testing::internal::CaptureStderr();
    const Font font = buildFont(defaultFontRequests, &choice);
    const std::string said = ::testing::internal::GetCapturedStderr();
    FcConfigSetCurrent(previous);
    FcConfigDestroy(previous);
    std::filesystem::remove_all(dir);

    EXPECT_NE(said.find((dir / "OCRABold.ttf").string() + " (\"OCRABold\") yields no glyph outlines"), std::string::npos)
        << said;
    EXPECT_EQ(choice.request, 3) << said;
    EXPECT_NE(choice.family.find("DejaVu Sans Mono"), std::string::npos) << choice.family;
    for (const std::string& line : {said.substr(0, said.find('\n')), said.substr(said.find('\n') + 1)})
        EXPECT_TRUE(line.empty() || line.rfind("drumhold: ", 0) == 0) << line;
    clear();
    drawAt(font.base, "SCORE", -40, 0, 10);
    EXPECT_GT(Frame().lit(), 500) << "no text drawn with the next face";
}

}  // namespace
}  // namespace drumhold::testing
