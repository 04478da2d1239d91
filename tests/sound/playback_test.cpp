// Real playback through SDL's disk audio driver, which writes what the device
// plays to a file: silence while nothing plays, the cue's sound when one does.
// not on Windows: there SDL 2.26's disk driver reads its file name and its delay into one buffer, and writes to a file named "10"
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "data/sounds/samples.h"
#include "shell/sound.h"
#include "wave_builder.h"

namespace drumhold {
namespace {

using Bytes = std::vector<unsigned char>;

// The audible part of a sound: from its first to its last non-zero byte.
Bytes audible(const Bytes& pcm) {
    const auto first = std::find_if(pcm.begin(), pcm.end(), [](unsigned char b) { return b != 0; });
    const auto last = std::find_if(pcm.rbegin(), pcm.rend(), [](unsigned char b) { return b != 0; }).base();
    return first < last ? Bytes(first, last) : Bytes{};
}

std::size_t countOf(const Bytes& haystack, const Bytes& needle) {
    std::size_t count = 0;
    for (auto at = haystack.begin();; ++at) {
        at = std::search(at, haystack.end(), needle.begin(), needle.end());
        if (at == haystack.end()) return count;
        ++count;
    }
}

std::size_t find(const Bytes& haystack, const Bytes& needle) {
    const auto at = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end());
    return at == haystack.end() ? std::string::npos : static_cast<std::size_t>(at - haystack.begin());
}

bool silentFrom(const Bytes& bytes, std::size_t from) {
    return std::all_of(bytes.begin() + static_cast<std::ptrdiff_t>(std::min(from, bytes.size())), bytes.end(),
                       [](unsigned char b) { return b == 0; });
}

class DiskPlayback : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "drumhold-sound-XXXXXX").string();
        const int fd = mkstemp(pattern.data());
        ASSERT_GE(fd, 0);
        close(fd);
        path_ = pattern;
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", path_.c_str(), 1);
        setenv("SDL_DISKAUDIODELAY", "10", 1);  // a little over twice real time
        {
            // The format the disk device plays (every opening gets the same).
            SoundDevice probe;
            std::string why;
            ASSERT_TRUE(probe.open(why)) << why;
            output_ = probe.output();
        }
        ASSERT_TRUE(sound.open());
    }

    void TearDown() override {
        sound.close();
        device.close();
        std::filesystem::remove(path_);
    }

    // The cue's sound as the device plays it.
    Bytes expected(const char* name) const {
        Bytes pcm;
        std::string why;
        const int index = findEmbeddedSample(name);
        EXPECT_GE(index, 0);
        EXPECT_TRUE(decodeWave(embeddedSamples()[static_cast<std::size_t>(index)].image, output_, pcm, why));
        return audible(pcm);
    }

    // Everything written so far; the file only grows.
    const Bytes& written() {
        std::ifstream in(path_, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(outputBytes_.size()));
        char buffer[65536];
        while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
            outputBytes_.insert(outputBytes_.end(), buffer, buffer + in.gcount());
        return outputBytes_;
    }

    bool waitFor(const std::function<bool(const Bytes&)>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            if (done(written())) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    bool waitUntilHeard(const Bytes& sound) {
        return waitFor([&](const Bytes& out) { return find(out, sound) != std::string::npos; });
    }

    // Closes the device, which flushes the file, and returns all it wrote.
    const Bytes& finish() {
        sound.close();
        device.close();
        return written();
    }

    SoundOutput output_;
    Sound sound;
    SoundDevice device;  // for sounds other than the cues

private:
    std::string path_;
    Bytes outputBytes_;
};

TEST_F(DiskPlayback, ACueIsHeardInFullThenSilence) {
    const Bytes shot = expected("shot");
    ASSERT_TRUE(sound.play("shot"));
    ASSERT_TRUE(waitUntilHeard(shot));
    EXPECT_EQ(audible(finish()), shot);
}

TEST_F(DiskPlayback, ANewCueCutsOffTheOnePlaying) {
    const Bytes grab = expected("grab");
    const Bytes shot = expected("shot");
    const Bytes grabStart(grab.begin(), grab.begin() + 512);
    ASSERT_TRUE(sound.play("grab"));
    ASSERT_TRUE(waitUntilHeard(grabStart));
    ASSERT_TRUE(sound.play("shot"));
    ASSERT_TRUE(waitUntilHeard(shot));

    const Bytes& out = finish();
    const std::size_t grabAt = find(out, grabStart);
    const std::size_t shotAt = find(out, shot);
    EXPECT_LT(grabAt, shotAt);
    EXPECT_EQ(find(out, grab), std::string::npos) << "the grab played to its end";
    EXPECT_TRUE(silentFrom(out, shotAt + shot.size())) << "something played after the shot";
}

TEST_F(DiskPlayback, TheSameCueAgainStartsOverFromItsBeginning) {
    const Bytes grab = expected("grab");
    const Bytes grabStart(grab.begin(), grab.begin() + 512);
    ASSERT_TRUE(sound.play("grab"));
    ASSERT_TRUE(waitUntilHeard(grabStart));
    ASSERT_TRUE(sound.play("GRAB"));
    ASSERT_TRUE(waitUntilHeard(grab));

    const Bytes& out = finish();
    EXPECT_EQ(countOf(out, grab), 1u);
    EXPECT_EQ(countOf(out, grabStart), 2u) << "cut off once, then heard in full";
    EXPECT_LT(find(out, grabStart), find(out, grab));
}

TEST_F(DiskPlayback, UnknownNamesPlayNothingAndNamesIgnoreLetterCase) {
    for (const char* name : {"nosuchcue", "", "power", "power_up "}) EXPECT_FALSE(sound.play(name)) << name;
    EXPECT_FALSE(sound.play(nullptr));
    ASSERT_TRUE(waitFor([](const Bytes& out) { return out.size() > 16384; }));
    EXPECT_TRUE(audible(written()).empty()) << "an unknown name made a sound";

    const Bytes powerUp = expected("POWER_UP");
    ASSERT_TRUE(sound.play("Power_Up"));
    ASSERT_TRUE(waitUntilHeard(powerUp));
    EXPECT_EQ(audible(finish()), powerUp);
}

TEST_F(DiskPlayback, AnOddButSoundImageIsConvertedAndPlayedInFull) {
    sound.close();
    std::string why;
    ASSERT_TRUE(device.open(why)) << why;
    EXPECT_FALSE(device.start(Bytes{})) << "nothing to play";

    const Bytes odd = testing::oddButSoundImage(testing::tone(800, 1, 8));
    Bytes converted;
    ASSERT_TRUE(decodeWave(odd, device.output(), converted, why)) << why;
    ASSERT_TRUE(device.start(converted));
    ASSERT_TRUE(waitUntilHeard(audible(converted)));
    EXPECT_EQ(audible(finish()), audible(converted));
}

}  // namespace
}  // namespace drumhold
