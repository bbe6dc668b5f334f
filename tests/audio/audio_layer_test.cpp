// The audio layer playing real MP3 files under SDL's dummy driver, which
// plays in real time into nothing, and its disk driver, which records.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "bass.h"
#include "mp3_decoder.h"
#include "spectrum.h"
#include "tests/support/mp3_fixture.h"

namespace {

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void Sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

class AudioLayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = MakeTempDir();
        ASSERT_FALSE(dir.empty());
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }

    void TearDown() override {
        BASS_Free();
        std::system(("rm -rf " + dir).c_str());
    }

    std::string Fixture(const std::string& name, const SineSpec& spec) {
        const std::string path = dir + "/" + name;
        EXPECT_TRUE(WriteSineMp3(path, spec));
        return path;
    }

    HSTREAM Play(const std::string& path) {
        HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_STREAM_PRESCAN);
        EXPECT_NE(stream, 0u);
        EXPECT_TRUE(BASS_ChannelPlay(stream, TRUE));
        return stream;
    }

    // Bytes per second of position over a stretch of wall time.
    double MeasureRate(HSTREAM stream, double seconds) {
        Sleep(0.2);
        const QWORD p0 = BASS_ChannelGetPosition(stream);
        const double t0 = Now();
        Sleep(seconds);
        const QWORD p1 = BASS_ChannelGetPosition(stream);
        const double t1 = Now();
        return static_cast<double>(p1 - p0) / (t1 - t0);
    }

    std::string dir;
};

struct FormatCase {
    int rate;
    int channels;
    double bytesPerSecond;
};

class PositionUnitTest : public AudioLayerTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(PositionUnitTest, GrowsAtTheFilesOwnByteRate) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    SineSpec spec;
    spec.rate = GetParam().rate;
    spec.channels = GetParam().channels;
    spec.seconds = 4.0;
    const HSTREAM stream = Play(Fixture("sine.mp3", spec));
    const double rate = MeasureRate(stream, 1.5);
    EXPECT_NEAR(rate, GetParam().bytesPerSecond, GetParam().bytesPerSecond * 0.03);
    // Whole frames of 16-bit samples.
    EXPECT_EQ(BASS_ChannelGetPosition(stream) % (2 * GetParam().channels), 0u);
}

INSTANTIATE_TEST_SUITE_P(Formats, PositionUnitTest,
                         ::testing::Values(FormatCase{44100, 2, 176400.0}, FormatCase{48000, 1, 96000.0}),
                         [](const auto& info) {
                             return std::to_string(info.param.rate) + "Hz_" + std::to_string(info.param.channels) +
                                    "ch";
                         });

TEST_F(AudioLayerTest, PositionIsSmoothAndNeverDecreases) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    SineSpec spec;
    spec.seconds = 3.0;
    const HSTREAM stream = Play(Fixture("sine.mp3", spec));
    Sleep(0.2);
    std::vector<double> deviationsMs;
    QWORD last = BASS_ChannelGetPosition(stream);
    double lastTime = Now();
    for (int i = 0; i < 400; ++i) {
        Sleep(0.002);
        const QWORD p = BASS_ChannelGetPosition(stream);
        const double t = Now();
        ASSERT_GE(p, last) << "position went back at sample " << i;
        deviationsMs.push_back(std::abs(static_cast<double>(p - last) / 176400.0 - (t - lastTime)) * 1000.0);
        last = p;
        lastTime = t;
    }
    std::sort(deviationsMs.begin(), deviationsMs.end());
    // Counting the device's buffers alone would step 23 ms at a time.
    EXPECT_LT(deviationsMs[deviationsMs.size() / 2], 1.0);
    EXPECT_LT(deviationsMs[deviationsMs.size() * 9 / 10], 5.0);
}

TEST_F(AudioLayerTest, PositionStopsAtTheEndOfTheFile) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    SineSpec spec;
    spec.seconds = 0.5;
    const HSTREAM stream = Play(Fixture("short.mp3", spec));
    Sleep(1.2);
    const QWORD end = BASS_ChannelGetPosition(stream);
    EXPECT_EQ(end, static_cast<QWORD>(0.5 * 44100) * 4);  // gapless: exactly the samples encoded
    Sleep(0.2);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), end);
}

struct BinCase {
    double hz;
    int bin;
};

class SpectrumOfMusicTest : public AudioLayerTest, public ::testing::WithParamInterface<BinCase> {};

TEST_P(SpectrumOfMusicTest, PeaksInTheBinOfTheSineBeingHeard) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    SineSpec spec;
    spec.hz = GetParam().hz;
    spec.amplitude = 0.99;
    const HSTREAM stream = Play(Fixture("sine.mp3", spec));
    Sleep(0.5);
    float bins[256];
    EXPECT_NE(BASS_ChannelGetData(stream, bins, BASS_DATA_FFT512), static_cast<DWORD>(-1));
    EXPECT_EQ(std::max_element(bins, bins + 256) - bins, GetParam().bin);
    EXPECT_NEAR(bins[GetParam().bin], 1.0, 0.1);
}

INSTANTIATE_TEST_SUITE_P(Sines, SpectrumOfMusicTest,
                         ::testing::Values(BinCase{86.1328125, 1}, BinCase{344.53125, 4}),
                         [](const auto& info) { return "bin" + std::to_string(info.param.bin); });

TEST_F(AudioLayerTest, SilentMusicGivesAZeroSpectrum) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    SineSpec spec;
    spec.amplitude = 0.0;
    const HSTREAM stream = Play(Fixture("silence.mp3", spec));
    Sleep(0.3);
    float bins[256];
    std::fill(bins, bins + 256, 5.0f);
    BASS_ChannelGetData(stream, bins, BASS_DATA_FFT512);
    EXPECT_LT(*std::max_element(bins, bins + 256), 1e-3f);
}

TEST_F(AudioLayerTest, WhatIsPlayedIsTheDecodedMusic) {
    const std::string recording = dir + "/played.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    SineSpec spec;
    spec.seconds = 1.0;
    spec.hz = 523.0;
    const std::string path = Fixture("tone.mp3", spec);
    const HSTREAM stream = Play(path);
    const double deadline = Now() + 5.0;
    while (BASS_ChannelGetPosition(stream) < 44100u * 4 && Now() < deadline) {
        Sleep(0.05);
    }
    Sleep(0.2);
    BASS_Free();
    unsetenv("SDL_DISKAUDIOFILE");

    Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(path, true));
    std::string decoded(44100 * 4, '\0');
    size_t got = 0;
    while (got < decoded.size()) {
        const size_t n = decoder.Read(reinterpret_cast<unsigned char*>(&decoded[got]), decoded.size() - got);
        if (n == 0) {
            break;
        }
        got += n;
    }
    ASSERT_EQ(got, decoded.size());
    const std::string played = ReadFile(recording);
    const size_t at = played.find(decoded);
    EXPECT_NE(at, std::string::npos) << "the recording does not hold the decoded music";
    EXPECT_EQ(at % 4, 0u);
}

TEST_F(AudioLayerTest, UnreadableFilesCreateNoStream) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    WriteFile(dir + "/empty.mp3", "");
    WriteFile(dir + "/text.mp3", std::string(20000, 'x') + "this is not an MP3 file\n");
    std::string noise(64 * 1024, '\0');
    unsigned state = 12345;
    for (char& c : noise) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 24);
    }
    WriteFile(dir + "/noise.mp3", noise);
    for (const char* name : {"missing.mp3", "empty.mp3", "text.mp3", "noise.mp3"}) {
        EXPECT_EQ(BASS_StreamCreateFile(FALSE, (dir + "/" + name).c_str(), 0, 0, BASS_STREAM_PRESCAN), 0u) << name;
    }
}

TEST_F(AudioLayerTest, ATruncatedFilePlaysWhatItHasAndStopsThere) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    SineSpec spec;
    spec.seconds = 2.0;
    const std::string whole = ReadFile(Fixture("whole.mp3", spec));
    WriteFile(dir + "/cut.mp3", whole.substr(0, whole.size() / 4));
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, (dir + "/cut.mp3").c_str(), 0, 0, BASS_STREAM_PRESCAN);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
    Sleep(1.2);
    const QWORD end = BASS_ChannelGetPosition(stream);
    EXPECT_GT(end, 0.3 * 176400);
    EXPECT_LT(end, 0.7 * 176400);
    Sleep(0.3);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), end);
}

TEST_F(AudioLayerTest, HandleZeroKeepsASilentClockFromThePlayRequest) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ChannelGetPosition(0), 0u);
    EXPECT_FALSE(BASS_ChannelPlay(0, TRUE));
    EXPECT_FALSE(BASS_ChannelSetPosition(0, 0));
    const QWORD p0 = BASS_ChannelGetPosition(0);
    const double t0 = Now();
    Sleep(0.5);
    const QWORD p1 = BASS_ChannelGetPosition(0);
    const double t1 = Now();
    EXPECT_NEAR(static_cast<double>(p1 - p0) / (t1 - t0), 176400.0, 176400.0 * 0.03);
    EXPECT_EQ(p1 % 4, 0u);
    float bins[256];
    std::fill(bins, bins + 256, 3.0f);
    BASS_ChannelGetData(0, bins, BASS_DATA_FFT512);
    EXPECT_EQ(*std::max_element(bins, bins + 256), 0.0f);
}

TEST_F(AudioLayerTest, WrongInputsGetErrorResults) {
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, "x.mp3", 0, 0, 0), 0u);  // not initialised
    EXPECT_FALSE(BASS_Free());
    EXPECT_FALSE(BASS_Init(7, 44100, 0, nullptr, nullptr));  // no such device
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    EXPECT_FALSE(BASS_Init(1, 44100, 0, nullptr, nullptr));  // already
    SineSpec spec;
    spec.seconds = 1.0;
    const std::string path = Fixture("sine.mp3", spec);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE, path.c_str(), 0, 0, 0), 0u);  // from memory: not offered
    EXPECT_EQ(BASS_StreamCreateFile(FALSE, nullptr, 0, 0, 0), 0u);
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_STREAM_PRESCAN);
    ASSERT_NE(stream, 0u);
    const DWORD wrong = stream + 1;
    EXPECT_FALSE(BASS_ChannelPlay(wrong, TRUE));
    EXPECT_FALSE(BASS_ChannelSetPosition(wrong, 0));
    EXPECT_EQ(BASS_ChannelGetPosition(wrong), static_cast<QWORD>(-1));
    float bins[256];
    EXPECT_EQ(BASS_ChannelGetData(wrong, bins, BASS_DATA_FFT512), static_cast<DWORD>(-1));
    EXPECT_EQ(BASS_ChannelGetData(stream, nullptr, BASS_DATA_FFT512), static_cast<DWORD>(-1));
    EXPECT_EQ(BASS_ChannelGetData(stream, bins, 1024), static_cast<DWORD>(-1));
    EXPECT_FALSE(BASS_ChannelSetPosition(stream, 100ull * 176400));  // past the end
    EXPECT_TRUE(BASS_ChannelSetPosition(stream, 0));
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 0u);  // not playing yet
}

TEST_F(AudioLayerTest, WithoutAnOutputDeviceTheMusicStillKeepsTime) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    SineSpec spec;
    const HSTREAM stream = Play(Fixture("sine.mp3", spec));
    ASSERT_NE(stream, 0u);
    EXPECT_NEAR(MeasureRate(stream, 1.0), 176400.0, 176400.0 * 0.03);
}

TEST_F(AudioLayerTest, SeekingStartsThePositionAtTheNewPlace) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    SineSpec spec;
    spec.seconds = 3.0;
    const HSTREAM stream = Play(Fixture("sine.mp3", spec));
    Sleep(0.3);
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, 2 * 176400));
    const QWORD p = BASS_ChannelGetPosition(stream);
    EXPECT_GE(p, 2u * 176400);
    EXPECT_LT(p, 2u * 176400 + 176400 / 10);
    ASSERT_TRUE(BASS_ChannelPlay(stream, TRUE));
    EXPECT_LT(BASS_ChannelGetPosition(stream), 176400u / 10);
}

}  // namespace

namespace {

// The sample music: long enough for the whole timeline, with a beat in the
// two spectrum bins that shake the background.
TEST(SampleMusic, CoversTheTimelineAndBeatsInBinsOneAndFour) {
    const std::string media = SAMPLE_MEDIA_DIR;
    Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(media + "/Fast.mp3", true));
    EXPECT_EQ(decoder.Rate(), 44100);
    EXPECT_EQ(decoder.Channels(), 2);
    EXPECT_GE(decoder.LengthFrames() * 4, 25468056);
    EXPECT_GE(decoder.LengthFrames(), 150 * 44100);

    // Over twenty seconds of the main section, the strongest value each bin reaches.
    ASSERT_TRUE(decoder.Seek(30 * 44100));
    Spectrum512 spectrum;
    std::vector<int16_t> pcm(512 * 2);
    float mono[512];
    float bins[256];
    float loudest1 = 0.0f;
    float loudest4 = 0.0f;
    for (int window = 0; window < 20 * 44100 / 512; ++window) {
        ASSERT_EQ(decoder.Read(reinterpret_cast<unsigned char*>(pcm.data()), pcm.size() * 2), pcm.size() * 2);
        for (int n = 0; n < 512; ++n) {
            mono[n] = (pcm[2 * n] + pcm[2 * n + 1]) / 65536.0f;
        }
        spectrum.Compute(mono, bins);
        loudest1 = std::max(loudest1, bins[1]);
        loudest4 = std::max(loudest4, bins[4]);
    }
    EXPECT_GT(loudest1, 0.15f);
    EXPECT_GT(loudest4, 0.1f);
}

}  // namespace
