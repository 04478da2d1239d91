// Without a usable audio device the game runs on in silence, saying once why.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "shell/sound.h"
#include "wave_builder.h"

namespace drumhold {
namespace {

std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

void expectSilence(Sound& sound) {
    for (const char* name : {"shot", "GRAB", "power_up", "explosion", "thump"}) EXPECT_FALSE(sound.play(name)) << name;
    SoundDevice device;
    EXPECT_FALSE(device.start(testing::tone(100, 1, 8))) << "a closed device plays nothing";
}

TEST(NoSound, WithoutADeviceEveryCueIsSilentAndTheReasonIsGivenOnce) {
    setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    ::testing::internal::CaptureStderr();
    Sound sound;
    EXPECT_FALSE(sound.open());
    EXPECT_FALSE(sound.open());
    expectSilence(sound);
    sound.close();
    sound.close();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(occurrences(said, "sound is off"), 1u) << said;
    EXPECT_NE(said.find("nosuchdriver"), std::string::npos) << said;

    // The machine's own default device: with no sound card it must fail at once
    // and quietly (the reason was given already); with one, cues play.
    unsetenv("SDL_AUDIODRIVER");
    ::testing::internal::CaptureStderr();
    const auto started = std::chrono::steady_clock::now();
    const bool opened = sound.open();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    if (opened) {
        EXPECT_TRUE(sound.play("shot"));
        sound.close();
    } else {
        expectSilence(sound);
    }
    const std::string later = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(later.find("sound is off"), std::string::npos) << later;
    EXPECT_EQ(later.find("ALSA lib"), std::string::npos) << later;
}

}  // namespace
}  // namespace drumhold
