// The five built-in samples: their names, formats and lengths, and that each
// sounds like the event it marks.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "data/sounds/samples.h"
#include "shell/wave.h"

namespace drumhold {
namespace {

// The first channel of a sample as values in [-1, 1].
std::vector<double> firstChannel(const WaveImage& wave) {
    std::vector<double> out;
    const std::size_t frameBytes = static_cast<std::size_t>(wave.channels * wave.bits / 8);
    for (std::size_t at = 0; at < wave.data.size(); at += frameBytes) {
        if (wave.bits == 8)
            out.push_back((wave.data[at] - 128) / 128.0);
        else
            out.push_back(static_cast<std::int16_t>(wave.data[at] | wave.data[at + 1] << 8) / 32768.0);
    }
    return out;
}

struct Clip {
    std::vector<double> samples;
    double rate;

    std::size_t at(double seconds) const {
        return std::min(samples.size(), static_cast<std::size_t>(seconds * rate));
    }
    double rms(double from, double to) const {
        double sum = 0.0;
        for (std::size_t i = at(from); i < at(to); ++i) sum += samples[i] * samples[i];
        return std::sqrt(sum / static_cast<double>(at(to) - at(from)));
    }
    // Sign changes per second: a rough measure of pitch or brightness.
    double crossings(double from, double to) const {
        int count = 0;
        for (std::size_t i = at(from) + 1; i < at(to); ++i)
            if ((samples[i - 1] < 0.0) != (samples[i] < 0.0)) ++count;
        return count / (to - from);
    }
};

Clip clipOf(const char* name) {
    const int index = findEmbeddedSample(name);
    EXPECT_GE(index, 0) << name;
    if (index < 0) return {};
    WaveImage wave;
    std::string why;
    EXPECT_TRUE(readWaveImage(embeddedSamples()[static_cast<std::size_t>(index)].image, wave, why)) << why;
    return Clip{firstChannel(wave), static_cast<double>(wave.rate)};
}

TEST(EmbeddedSamples, FiveImagesInTheirFormatsAndLengthsFoundByName) {
    struct Expected {
        const char* name;
        int channels, rate, bits;
        std::uint32_t frames;
    };
    const Expected table[] = {
        {"EXPLOSION", 2, 8000, 8, 8029}, {"GRAB", 1, 8000, 8, 12055}, {"POWER_UP", 1, 22050, 16, 8222},
        {"SHOT", 1, 8000, 8, 5688},      {"THUMP", 1, 22050, 16, 13123},
    };
    const auto samples = embeddedSamples();
    ASSERT_EQ(samples.size(), 5u);
    const SoundOutput output{AUDIO_S16SYS, 22050, 2};
    for (const Expected& e : table) {
        SCOPED_TRACE(e.name);
        const int index = findEmbeddedSample(e.name);
        ASSERT_GE(index, 0);
        const EmbeddedSample& sample = samples[static_cast<std::size_t>(index)];
        EXPECT_STREQ(sample.name, e.name);
        WaveImage wave;
        std::string why;
        ASSERT_TRUE(readWaveImage(sample.image, wave, why)) << why;
        EXPECT_EQ(wave.channels, e.channels);
        EXPECT_EQ(wave.rate, e.rate);
        EXPECT_EQ(wave.bits, e.bits);
        EXPECT_EQ(wave.frames(), e.frames);

        // Each also passes SDL's loader and converts for a typical device,
        // keeping its length.
        std::vector<unsigned char> pcm;
        ASSERT_TRUE(decodeWave(sample.image, output, pcm, why)) << why;
        EXPECT_NEAR(pcm.size() / 4.0, e.frames * 22050.0 / e.rate, 0.005 * e.frames * 22050.0 / e.rate);
    }

    // The game asks in lower case; any letter case finds a sample, nothing else does.
    EXPECT_EQ(findEmbeddedSample("power_up"), findEmbeddedSample("POWER_UP"));
    EXPECT_EQ(findEmbeddedSample("Thump"), findEmbeddedSample("THUMP"));
    for (const char* name : {"", "power", "power_up ", "shots", "powerup"})
        EXPECT_EQ(findEmbeddedSample(name), -1) << name;
}

TEST(EmbeddedSamples, EachSoundsLikeItsEvent) {
    for (const auto& sample : embeddedSamples()) {
        SCOPED_TRACE(sample.name);
        const Clip clip = clipOf(sample.name);
        ASSERT_FALSE(clip.samples.empty());
        double peak = 0.0;
        for (double s : clip.samples) peak = std::max(peak, std::fabs(s));
        EXPECT_GT(peak, 0.7) << "loud enough";
        // No click when it starts or stops.
        EXPECT_LT(std::fabs(clip.samples.front()), 0.02);
        EXPECT_LT(std::fabs(clip.samples.back()), 0.02);
    }

    const Clip explosion = clipOf("explosion");
    EXPECT_GT(explosion.rms(0.0, 0.2), 4.0 * explosion.rms(0.7, 1.0)) << "the blast dies away";
    EXPECT_GT(explosion.crossings(0.0, 0.1), 1000.0) << "the blast is noise";
    WaveImage stereo;
    std::string why;
    ASSERT_TRUE(readWaveImage(embeddedSamples()[static_cast<std::size_t>(findEmbeddedSample("EXPLOSION"))].image,
                              stereo, why));
    int differing = 0;
    for (std::size_t i = 0; i + 1 < stereo.data.size(); i += 2) differing += stereo.data[i] != stereo.data[i + 1];
    EXPECT_GT(differing, 1000) << "the two channels differ";

    const Clip grab = clipOf("grab");
    EXPECT_GT(grab.rms(0.5, 1.0), 0.05) << "the barrel is still being dragged";
    EXPECT_GT(grab.rms(0.0, 0.1), 1.5 * grab.rms(0.5, 1.0)) << "the clank stands out";

    const Clip powerUp = clipOf("power_up");
    EXPECT_GT(powerUp.crossings(0.25, 0.35), 2.5 * powerUp.crossings(0.0, 0.1)) << "the chirp rises";

    const Clip shot = clipOf("shot");
    EXPECT_GT(shot.crossings(0.0, 0.03), 2.0 * shot.crossings(0.1, 0.15)) << "the zap falls";
    EXPECT_GT(shot.rms(0.0, 0.1), 3.0 * shot.rms(0.4, 0.7)) << "the zap is short";

    const Clip thump = clipOf("thump");
    EXPECT_LT(thump.crossings(0.0, 0.5), 300.0) << "the thump is deep";
    EXPECT_GT(thump.rms(0.22, 0.28), 2.0 * thump.rms(0.17, 0.21)) << "lub, then dub";
}

}  // namespace
}  // namespace drumhold
