// Wave sounds through SDL2, heard through SDL's disk driver: what reaches the
// "device" is read back from its output file.
#include "platform/sound.h"
#include "platform/types.h"
#include "tests/x11/wave_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace wt::test {
namespace {

namespace fs = std::filesystem;
constexpr unsigned Flags = SND_ASYNC | SND_NODEFAULT | SND_NOSTOP;

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("wt-sound-" + std::to_string(getpid()));
        fs::create_directories(dir_);
        output_ = dir_ / "device.raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
        fs::remove_all(dir_);
    }
    fs::path dir_, output_;
};

TEST_F(SoundTest, ASoundPlaysWholeAndARequestWhileItPlaysIsDropped) {
    auto first = WriteWave(dir_ / "in.wav", 22050, 1, 4410, 1); // 0.2 s
    WriteWave(dir_ / "out.wav", 22050, 1, 2205, 2);
    {
        WaveSound sound;
        ASSERT_TRUE(sound.Play((dir_ / "in.wav").string(), Flags));
        EXPECT_TRUE(sound.Busy());
        EXPECT_FALSE(sound.Play((dir_ / "out.wav").string(), Flags)) << "played over a sound";
        sound.WaitUntilQuiet();
        EXPECT_FALSE(sound.Busy());
    }
    EXPECT_EQ(NonSilent(ReadAll(output_)), first);
}

TEST_F(SoundTest, OnceQuietTheNextSoundPlaysAndOtherFormatsAreConverted) {
    auto first = WriteWave(dir_ / "a.wav", 22050, 1, 2205, 3);
    WriteWave(dir_ / "b.wav", 44100, 2, 4410, 4);
    std::vector<char> heard;
    {
        WaveSound sound;
        ASSERT_TRUE(sound.Play((dir_ / "a.wav").string(), Flags));
        sound.WaitUntilQuiet();
        ASSERT_TRUE(sound.Play((dir_ / "b.wav").string(), Flags));
        sound.WaitUntilQuiet();
    }
    heard = NonSilent(ReadAll(output_));
    ASSERT_GT(heard.size(), first.size());
    EXPECT_TRUE(std::equal(first.begin(), first.end(), heard.begin()));
    // The second sound, converted to the device's 22050 Hz mono: about as many bytes as the first.
    std::size_t tail = heard.size() - first.size();
    EXPECT_GT(tail, first.size() / 2);
}

TEST_F(SoundTest, WhatCannotBePlayedIsSilence) {
    std::ofstream(dir_ / "garbage.wav") << "RIFF but not a wave at all";
    std::ofstream(dir_ / "empty.wav");
    WaveSound sound;
    EXPECT_FALSE(sound.Play((dir_ / "missing.wav").string(), Flags));
    EXPECT_FALSE(sound.Play((dir_ / "garbage.wav").string(), Flags));
    EXPECT_FALSE(sound.Play((dir_ / "empty.wav").string(), Flags));
    EXPECT_FALSE(sound.Play("", Flags));
    EXPECT_FALSE(sound.Busy());
}

TEST_F(SoundTest, NamesOfAHundredCharactersOrMoreAreRefused) {
    // Real, playable files whose full names are 99 and 100 characters long.
    const std::string prefix = (dir_ / "").string();
    auto named = [&](std::size_t length) {
        std::string name = prefix + std::string(length - prefix.size() - 4, 'n') + ".wav";
        WriteWave(name, 22050, 1, 441, 5);
        return name;
    };
    ASSERT_LT(prefix.size() + 5, 99u);
    const std::string ninetyNine = named(99), hundred = named(100);
    ASSERT_EQ(ninetyNine.size(), 99u);
    WaveSound sound;
    EXPECT_FALSE(sound.Play(hundred, Flags));
    EXPECT_TRUE(sound.Play(ninetyNine, Flags));
}

TEST_F(SoundTest, NoAudioDeviceIsSilence) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    WriteWave(dir_ / "a.wav", 22050, 1, 441, 6);
    WaveSound sound;
    EXPECT_FALSE(sound.Play((dir_ / "a.wav").string(), Flags));
    EXPECT_FALSE(sound.Play((dir_ / "a.wav").string(), Flags));
    EXPECT_FALSE(sound.Busy());
}

} // namespace
} // namespace wt::test
