// Reading untrusted WAVE images: what plays, what is refused, and that neither
// damaged headers nor short images make the reader look outside the image.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "shell/wave.h"
#include "wave_builder.h"

namespace drumhold {
namespace {

using testing::Bytes;
using testing::chunk;
using testing::formatChunk;
using testing::riff;
using testing::tone;

const SoundOutput stereo22k{AUDIO_S16SYS, 22050, 2};

bool sameBytes(std::span<const unsigned char> a, const Bytes& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

TEST(WaveImage, PlaysTheDataChunkAndIgnoresEveryOtherChunk) {
    const Bytes pcm8 = tone(400, 1, 8);
    const Bytes pcm16 = tone(300, 2, 16, 22050);
    struct Case {
        const char* what;
        Bytes image;
        int channels, rate, bits;
        const Bytes* pcm;
    };
    const Case cases[] = {
        {"plain", riff({formatChunk(1, 8000, 8), chunk("data", pcm8)}), 1, 8000, 8, &pcm8},
        {"stereo 16-bit", riff({formatChunk(2, 22050, 16), chunk("data", pcm16)}), 2, 22050, 16, &pcm16},
        {"oddities", testing::oddButSoundImage(pcm8), 1, 8000, 8, &pcm8},
        {"unknown chunk before the format",
         riff({chunk("JUNK", Bytes(7, 0)), formatChunk(1, 8000, 8), chunk("data", pcm8)}), 1, 8000, 8, &pcm8},
        {"RIFF length of zero", riff({formatChunk(1, 8000, 8), chunk("data", pcm8)}, 0), 1, 8000, 8, &pcm8},
        {"RIFF length past the end", riff({formatChunk(1, 8000, 8), chunk("data", pcm8)}, 99999), 1, 8000, 8,
         &pcm8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WaveImage wave;
        std::string why;
        ASSERT_TRUE(readWaveImage(c.image, wave, why)) << why;
        EXPECT_EQ(wave.channels, c.channels);
        EXPECT_EQ(wave.rate, c.rate);
        EXPECT_EQ(wave.bits, c.bits);
        EXPECT_TRUE(sameBytes(wave.data, *c.pcm));

        std::vector<unsigned char> converted;
        EXPECT_TRUE(decodeWave(c.image, stereo22k, converted, why)) << why;
    }
}

TEST(WaveImage, RefusesDamagedAndUnsupportedImages) {
    const Bytes pcm = tone(100, 1, 8);
    const Bytes fmt = formatChunk(1, 8000, 8);
    Bytes random(300);
    std::uint32_t state = 12345;
    for (unsigned char& b : random) b = static_cast<unsigned char>((state = state * 1103515245u + 12345u) >> 24);
    Bytes riffThenRandom = riff({});
    riffThenRandom.insert(riffThenRandom.end(), random.begin(), random.end());

    struct Case {
        const char* what;
        Bytes image;
    };
    const Case cases[] = {
        {"empty", {}},
        {"a lone RIFF", {'R', 'I', 'F', 'F'}},
        {"header only", riff({})},
        {"random bytes", random},
        {"random chunks", riffThenRandom},
        {"not WAVE", [&] { Bytes b = riff({fmt, chunk("data", pcm)}); b[8] = 'A'; return b; }()},
        {"data chunk cut short", riff({fmt, chunk("data", Bytes(pcm.begin(), pcm.begin() + 60), 100)})},
        {"data of half a frame", riff({formatChunk(1, 8000, 16), chunk("data", Bytes(101, 7))})},
        {"empty data", riff({fmt, chunk("data", {})})},
        {"data before format", riff({chunk("data", pcm), fmt})},
        {"no data chunk", riff({fmt, chunk("LIST", Bytes(10, 0))})},
        {"no format chunk", riff({chunk("data", pcm)})},
        {"format chunk too short", riff({chunk("fmt ", Bytes(14, 1)), chunk("data", pcm)})},
        {"format chunk cut short", riff({chunk("fmt ", Bytes(6, 1), 16)})},
        {"floating point", riff({formatChunk(1, 8000, 32, 0, 3), chunk("data", pcm)})},
        {"three channels", riff({formatChunk(3, 8000, 8), chunk("data", Bytes(99, 128))})},
        {"12 bits", riff({formatChunk(1, 8000, 12), chunk("data", pcm)})},
        {"rate of zero", riff({formatChunk(1, 0, 8), chunk("data", pcm)})},
        {"block size wrong", [&] { Bytes b = riff({fmt, chunk("data", pcm)}); b[32] = 2; return b; }()},
        {"huge chunk before data", riff({fmt, chunk("LIST", Bytes(4, 0), 0xFFFFFFFF), chunk("data", pcm)})},
        {"RIFF length cuts the data", riff({fmt, chunk("data", pcm)}, 40)},
        // A RIFF length smaller than the form type must not let a chunk claim
        // bytes past the image.
        {"RIFF length of 2, data claimed past the end", riff({fmt, chunk("data", pcm, 100000)}, 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WaveImage wave;
        std::string why;
        EXPECT_FALSE(readWaveImage(c.image, wave, why));
        EXPECT_FALSE(why.empty());
        std::vector<unsigned char> converted{1, 2, 3};
        EXPECT_FALSE(decodeWave(c.image, stereo22k, converted, why));
        EXPECT_TRUE(converted.empty());
    }
}

// Each prefix is copied into a buffer of its own size, so that a read past its
// end is caught by the address sanitizer rather than landing in the rest.
TEST(WaveImage, EveryPrefixOfAnImageIsReadWithinItsBounds) {
    const Bytes whole = testing::oddButSoundImage(tone(50, 1, 8));
    WaveImage wave;
    std::string why;
    ASSERT_TRUE(readWaveImage(whole, wave, why));
    const std::size_t dataEnd = static_cast<std::size_t>(wave.data.data() + wave.data.size() - whole.data());
    for (std::size_t n = 0; n <= whole.size(); ++n) {
        const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_EQ(readWaveImage(prefix, wave, why), n >= dataEnd) << "prefix of " << n << " bytes";
    }
}

TEST(WaveImage, CorruptHeadersAreReadWithinBoundsAndSafelyDecoded) {
    const Bytes good = testing::oddButSoundImage(tone(40, 1, 8));
    std::uint32_t state = 2024;
    auto draw = [&state](std::uint32_t below) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % below;
    };
    for (int round = 0; round < 3000; ++round) {
        Bytes image = good;
        for (std::uint32_t flips = 1 + draw(4); flips > 0; --flips)
            image[draw(96)] = static_cast<unsigned char>(draw(256));
        image.resize(draw(4) == 0 ? draw(static_cast<std::uint32_t>(image.size())) : image.size());
        image.shrink_to_fit();

        WaveImage wave;
        std::string why;
        if (readWaveImage(image, wave, why)) {
            ASSERT_GE(wave.data.data(), image.data());
            ASSERT_LE(wave.data.data() + wave.data.size(), image.data() + image.size());
        }
        std::vector<unsigned char> converted;
        decodeWave(image, stereo22k, converted, why);
    }
}

TEST(DecodeWave, ConvertsTheWholeSoundToTheOutputFormat) {
    // 8000 Hz mono 8-bit to 22050 Hz stereo 16-bit: the length must survive the
    // resampling in full, with no frames lost at the end.
    const Bytes image = riff({formatChunk(1, 8000, 8), chunk("data", tone(8000, 1, 8))});
    std::vector<unsigned char> pcm;
    std::string why;
    ASSERT_TRUE(decodeWave(image, stereo22k, pcm, why)) << why;
    const double frames = static_cast<double>(pcm.size()) / 4.0;
    EXPECT_NEAR(frames, 22050.0, 22050.0 * 0.005);

    // A tone at half scale stays near half scale.
    int peak = 0;
    for (std::size_t i = 0; i + 1 < pcm.size(); i += 2) {
        const int v = static_cast<std::int16_t>(pcm[i] | pcm[i + 1] << 8);
        peak = std::max(peak, std::abs(v));
    }
    EXPECT_NEAR(peak, 16384, 1200);

    // Already in the output format: the data comes through unchanged.
    const Bytes same = tone(500, 2, 16, 22050);
    ASSERT_TRUE(decodeWave(riff({formatChunk(2, 22050, 16), chunk("data", same)}), stereo22k, pcm, why));
    EXPECT_EQ(pcm, same);
}

}  // namespace
}  // namespace drumhold
