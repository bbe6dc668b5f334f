// Starting, sampling and releasing the music, with its messages.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "media/music.h"
#include "tests/fakes/call_log.h"
#include "tests/fakes/recorded_message_box.h"
#include "tests/support/audio_fixture.h"

namespace {

void Sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

std::vector<std::string> Boxes() {
    std::vector<std::string> boxes;
    for (const auto& entry : CallLog()) {
        if (entry.rfind("MessageBoxA ", 0) == 0) {
            boxes.push_back(entry.substr(12));
        }
    }
    return boxes;
}

const std::string InitFailed = "ERROR|Bass init failed! Remembered the bass.dll file?|0x30";
const std::string LoadFailed = "ERROR|Bass file loading failed!|0x30";
const std::string PlayFailed = "ERROR|Music failed to play!|0x30";

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        CallLog().clear();
        MusicStream = 0;
        MusicStartPending = true;
        MusicPosition = 0.0f;
        SlowClock = 0.0f;
        std::fill(SpectrumBuffer, SpectrumBuffer + 256, 0.0f);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        dir = MakeTempDir();
        ASSERT_FALSE(dir.empty());
        ASSERT_EQ(mkdir((dir + "/data").c_str(), 0755), 0);
        ASSERT_EQ(chdir(dir.c_str()), 0);
    }

    void TearDown() override {
        HoldBoxesOpenSeconds = 0.0;
        ReleaseMusic();
        chdir("/");
        std::system(("rm -rf " + dir).c_str());
    }

    void WriteMusic(double seconds = 3.0) {
        Tone tone;
        tone.seconds = seconds;
        tone.hz = 86.1328125;
        ASSERT_TRUE(WriteToneMp3("data/Fast.mp3", tone));
    }

    std::string dir;
};

TEST_F(MusicTest, FirstFrameSeesEverythingAtZero) {
    WriteMusic();
    StartMusic(nullptr);
    EXPECT_EQ(MusicPosition, 0.0f);
    EXPECT_EQ(SlowClock, 0.0f);
    for (float bin : SpectrumBuffer) {
        EXPECT_EQ(bin, 0.0f);
    }
}

TEST_F(MusicTest, StartsOnceAndSamplesTheClockAndTheSpectrum) {
    WriteMusic();
    StartMusic(nullptr);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(MusicStartPending);
    EXPECT_NE(MusicStream, 0u);
    const HSTREAM stream = MusicStream;
    StartMusic(nullptr);
    EXPECT_EQ(MusicStream, stream);

    Sleep(0.5);
    SampleMusic();
    EXPECT_GT(MusicPosition, 0.3f * 176400);
    EXPECT_LT(MusicPosition, 0.8f * 176400);
    EXPECT_EQ(SlowClock, MusicPosition / 200000.0f);
    // An 86 Hz sine: bin 1 stands out.
    EXPECT_GT(SpectrumBuffer[1], 0.5f);
    EXPECT_GT(SpectrumBuffer[1], 10 * SpectrumBuffer[10]);
}

struct FailureCase {
    const char* name;
    const char* driver;
    const char* contents;  // nullptr: no file
    std::vector<std::string> boxes;
};

class MusicFailureTest : public MusicTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(MusicFailureTest, ShowsItsMessagesInOrderAndTheClockStillRuns) {
    const FailureCase& c = GetParam();
    setenv("SDL_AUDIODRIVER", c.driver, 1);
    if (c.contents) {
        WriteFile("data/Fast.mp3", c.contents);
    } else if (std::string(c.name) == "no_device") {
        WriteMusic();
    }
    StartMusic(nullptr);
    EXPECT_EQ(Boxes(), c.boxes);
    EXPECT_FALSE(MusicStartPending);
    SampleMusic();
    const float first = MusicPosition;
    Sleep(0.3);
    SampleMusic();
    EXPECT_GT(MusicPosition - first, 0.2f * 176400);
    EXPECT_LT(MusicPosition - first, 0.5f * 176400);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, MusicFailureTest,
    ::testing::Values(FailureCase{"missing", "dummy", nullptr, {LoadFailed, PlayFailed}},
                      FailureCase{"empty", "dummy", "", {LoadFailed, PlayFailed}},
                      FailureCase{"not_mp3", "dummy", "<html>not music</html>", {LoadFailed, PlayFailed}},
                      FailureCase{"no_device", "no-such-driver", nullptr, {InitFailed}},
                      FailureCase{"no_device_no_file", "no-such-driver", "", {InitFailed, LoadFailed, PlayFailed}}),
    [](const auto& info) { return std::string(info.param.name); });

// A user who cannot find the music still sees the whole show: the silent
// clock starts once the boxes are closed.
TEST_F(MusicTest, TheSilentClockStartsAfterTheBoxesAreClosed) {
    HoldBoxesOpenSeconds = 0.6;
    StartMusic(nullptr);
    ASSERT_EQ(Boxes(), (std::vector<std::string>{LoadFailed, PlayFailed}));
    SampleMusic();
    EXPECT_LT(MusicPosition, 0.05f * 176400) << "the time the boxes were up is not lost";
}

struct MusicFileCase {
    const char* name;
    int rate;
    int channels;
    MusicFormat format;
};

class MusicFileTest : public MusicTest, public ::testing::WithParamInterface<MusicFileCase> {};

// Whatever a maker gives as data/Fast.mp3, the timeline keeps the time of the
// music and the background follows the same bins.
TEST_P(MusicFileTest, AfterTwoSecondsThePositionIsTwoSecondsAndTheToneIsInItsBin) {
    Tone tone;
    tone.rate = GetParam().rate;
    tone.channels = GetParam().channels;
    tone.seconds = 4.0;
    tone.hz = 344.53125;  // bin 4
    ASSERT_TRUE(WriteToneMusic("data/Fast.mp3", tone, GetParam().format));
    StartMusic(nullptr);
    EXPECT_TRUE(Boxes().empty());
    Sleep(2.0);
    SampleMusic();
    EXPECT_NEAR(MusicPosition, 352800.0f, 352800.0f * 0.03f);
    EXPECT_EQ(std::max_element(SpectrumBuffer, SpectrumBuffer + 256) - SpectrumBuffer, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MusicFileTest,
    ::testing::Values(MusicFileCase{"mp3_48000_mono", 48000, 1, MusicFormat::Mp3},
                      MusicFileCase{"mp3_22050_stereo", 22050, 2, MusicFormat::Mp3},
                      MusicFileCase{"mp3_32000_mono", 32000, 1, MusicFormat::Mp3},
                      MusicFileCase{"mp3_vbr", 44100, 2, MusicFormat::Mp3Vbr},
                      MusicFileCase{"mp3_with_cover", 44100, 2, MusicFormat::Mp3WithCover},
                      MusicFileCase{"ogg_vorbis", 44100, 2, MusicFormat::Vorbis},
                      MusicFileCase{"wav", 48000, 2, MusicFormat::Wav},
                      MusicFileCase{"flac", 44100, 2, MusicFormat::Flac}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MusicTest, ATruncatedFilePlaysWhatItHasWithoutAMessageThenItsPositionStops) {
    WriteMusic(2.0);
    const std::string whole = ReadFile("data/Fast.mp3");
    WriteFile("data/Fast.mp3", whole.substr(0, whole.size() / 4));
    StartMusic(nullptr);
    EXPECT_TRUE(Boxes().empty());
    Sleep(1.0);
    SampleMusic();
    const float end = MusicPosition;
    EXPECT_GT(end, 0.3f * 176400);
    EXPECT_LT(end, 0.7f * 176400);
    Sleep(0.2);
    SampleMusic();
    EXPECT_EQ(MusicPosition, end);
}

TEST_F(MusicTest, WithoutAStreamTheSpectrumIsZero) {
    StartMusic(nullptr);
    std::fill(SpectrumBuffer, SpectrumBuffer + 256, 9.0f);
    SampleMusic();
    for (float bin : SpectrumBuffer) {
        EXPECT_EQ(bin, 0.0f);
    }
}

struct ConversionCase {
    uint64_t bytes;
    float position;
};

class PositionConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(PositionConversionTest, CountsConvertAsUnsigned) {
    EXPECT_EQ(BytesToPosition(GetParam().bytes), GetParam().position);
    EXPECT_GT(BytesToPosition(GetParam().bytes), -1.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, PositionConversionTest,
    ::testing::Values(ConversionCase{0, 0.0f}, ConversionCase{200000, 200000.0f},
                      ConversionCase{21727784, 21727784.0f},  // above 2^24, even: exact
                      ConversionCase{21727785, 21727784.0f},  // odd: to the nearest even value
                      ConversionCase{(1ull << 63) - 1, 9223372036854775808.0f},
                      ConversionCase{1ull << 63, 9223372036854775808.0f},
                      ConversionCase{(1ull << 63) + (1ull << 40), 9223373136366403584.0f},
                      ConversionCase{~0ull, 18446744073709551616.0f}),
    [](const auto& info) { return "count_" + std::to_string(info.param.bytes); });

struct SlowClockCase {
    uint64_t bytes;
    float position;
    float slowClock;
};

class SlowClockTest : public ::testing::TestWithParam<SlowClockCase> {};

// The slow clock is the stored single-precision position over 200000, not
// the byte count's own quotient.
TEST_P(SlowClockTest, IsTheStoredPositionOverTwoHundredThousand) {
    SetMusicClock(GetParam().bytes);
    EXPECT_EQ(MusicPosition, GetParam().position);
    EXPECT_EQ(SlowClock, GetParam().slowClock);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, SlowClockTest,
    ::testing::Values(SlowClockCase{0, 0.0f, 0.0f}, SlowClockCase{200000, 200000.0f, 1.0f},
                      SlowClockCase{1000000, 1000000.0f, 5.0f},
                      // Stored as 16777216: 83.886078 where 16777217 / 200000 would give 83.886085.
                      SlowClockCase{16777217, 16777216.0f, 83.88607788085938f},
                      SlowClockCase{21727784, 21727784.0f, 108.63892f}),
    [](const auto& info) { return "bytes_" + std::to_string(info.param.bytes); });

TEST(SlowClock, ResetPutsTheClockAndSpectrumBackToZero) {
    SetMusicClock(5000000);
    SpectrumBuffer[1] = 0.5f;
    SpectrumBuffer[255] = 0.25f;
    ResetMusicClock();
    EXPECT_EQ(MusicPosition, 0.0f);
    EXPECT_EQ(SlowClock, 0.0f);
    EXPECT_EQ(std::count(SpectrumBuffer, SpectrumBuffer + 256, 0.0f), 256);
}

}  // namespace
