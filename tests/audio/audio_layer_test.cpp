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
#include "tests/support/audio_fixture.h"

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

    std::string Fixture(const std::string& name, const Tone& tone) {
        const std::string path = dir + "/" + name;
        EXPECT_TRUE(WriteToneMp3(path, tone));
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
    const char* name;
    int rate;
    int channels;
    MusicFormat format;
};

class DecodeChannelFormatTest : public AudioLayerTest, public ::testing::WithParamInterface<FormatCase> {};

// Positions and sample data count 44.1 kHz 16-bit stereo bytes, whatever the
// file's own rate, channels and format, so one second is 176400 bytes.
TEST_P(DecodeChannelFormatTest, OneSecondOfMusicIs176400BytesAndTheToneKeepsItsBin) {
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    Tone tone;
    tone.rate = GetParam().rate;
    tone.channels = GetParam().channels;
    tone.seconds = 1.0;
    tone.hz = 344.53125;  // bin 4 at 44.1 kHz
    const std::string path = dir + "/tone";
    ASSERT_TRUE(WriteToneMusic(path, tone, GetParam().format));
    const HSTREAM channel = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_STREAM_DECODE | BASS_STREAM_PRESCAN);
    ASSERT_NE(channel, 0u);

    ASSERT_TRUE(BASS_ChannelSetPosition(channel, 176400 / 2));
    float bins[256];
    EXPECT_EQ(BASS_ChannelGetData(channel, bins, BASS_DATA_FFT512), 512u * 4);
    EXPECT_EQ(std::max_element(bins, bins + 256) - bins, 4);
    EXPECT_NEAR(bins[4], 0.9, 0.12);

    ASSERT_TRUE(BASS_ChannelSetPosition(channel, 0));
    std::vector<char> pcm(4096 * 4);
    QWORD total = 0;
    for (;;) {
        const DWORD got = BASS_ChannelGetData(channel, pcm.data(), static_cast<DWORD>(pcm.size()));
        if (got == static_cast<DWORD>(-1)) {
            break;
        }
        ASSERT_EQ(got % 4, 0u);
        total += got;
        ASSERT_LT(total, 2u * 176400) << "the data never ends";
    }
    EXPECT_NEAR(static_cast<double>(total), 176400.0, 16.0);
    EXPECT_EQ(BASS_ChannelGetPosition(channel), total);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, DecodeChannelFormatTest,
    ::testing::Values(FormatCase{"mp3_44100_stereo", 44100, 2, MusicFormat::Mp3},
                      FormatCase{"mp3_48000_mono", 48000, 1, MusicFormat::Mp3},
                      FormatCase{"mp3_22050_stereo", 22050, 2, MusicFormat::Mp3},
                      FormatCase{"mp3_8000_mono", 8000, 1, MusicFormat::Mp3},  // MPEG 2.5
                      FormatCase{"mp3_vbr", 44100, 2, MusicFormat::Mp3Vbr},
                      FormatCase{"mp3_with_cover", 44100, 2, MusicFormat::Mp3WithCover},
                      FormatCase{"mp3_with_ape_tag", 32000, 2, MusicFormat::Mp3WithApeTag},
                      FormatCase{"wav_48000_stereo", 48000, 2, MusicFormat::Wav},
                      FormatCase{"aiff_44100_mono", 44100, 1, MusicFormat::Aiff},
                      FormatCase{"flac_96000_stereo", 96000, 2, MusicFormat::Flac},
                      FormatCase{"vorbis_44100_stereo", 44100, 2, MusicFormat::Vorbis},
                      FormatCase{"opus_48000_stereo", 48000, 2, MusicFormat::Opus}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AudioLayerTest, ADecodeChannelReadsWhatTheDecoderGivesFromAnyPosition) {
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    Tone tone;
    tone.seconds = 2.0;
    tone.hz = 523.0;
    const std::string path = Fixture("tone.mp3", tone);
    Mp3Decoder decoder;
    ASSERT_TRUE(decoder.Open(path, true));
    std::vector<int16_t> decoded(static_cast<size_t>(decoder.LengthFrames()) * 2);
    size_t got = 0;
    while (got < decoded.size()) {
        const size_t n = decoder.Read(&decoded[got], (decoded.size() - got) / 2);
        ASSERT_GT(n, 0u);
        got += n * 2;
    }

    const HSTREAM channel = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_STREAM_DECODE | BASS_STREAM_PRESCAN);
    ASSERT_NE(channel, 0u);
    EXPECT_FALSE(BASS_ChannelPlay(channel, TRUE)) << "a decoding channel is never played";
    for (QWORD frame : {70000ull, 0ull, 1234ull, 88199ull, 44100ull * 2 - 300}) {
        ASSERT_TRUE(BASS_ChannelSetPosition(channel, frame * 4 + 3)) << frame;  // rounded down to a whole frame
        EXPECT_EQ(BASS_ChannelGetPosition(channel), frame * 4);
        int16_t pcm[1024 * 2];
        const DWORD bytes = BASS_ChannelGetData(channel, pcm, sizeof(pcm));
        const size_t frames = std::min<size_t>(1024, static_cast<size_t>(44100 * 2 - frame));
        ASSERT_EQ(bytes, frames * 4) << frame;
        EXPECT_TRUE(std::equal(pcm, pcm + frames * 2, decoded.begin() + static_cast<long>(frame * 2))) << frame;
        EXPECT_EQ(BASS_ChannelGetPosition(channel), frame * 4 + bytes);
    }
    EXPECT_FALSE(BASS_ChannelSetPosition(channel, 3ull * 176400)) << "past the end";
}

TEST_F(AudioLayerTest, ADecodeChannelsSpectrumAtAPositionNeverDependsOnWhatWasReadBefore) {
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    const HSTREAM channel = BASS_StreamCreateFile(FALSE, (std::string(SAMPLE_MEDIA_DIR) + "/Fast.mp3").c_str(), 0, 0,
                                                  BASS_STREAM_DECODE | BASS_STREAM_PRESCAN);
    ASSERT_NE(channel, 0u);
    const QWORD at = 30ull * 176400 + 2940 * 7;
    float first[256];
    float again[256];
    ASSERT_TRUE(BASS_ChannelSetPosition(channel, at));
    BASS_ChannelGetData(channel, first, BASS_DATA_FFT512);
    EXPECT_EQ(BASS_ChannelGetPosition(channel), at + 512 * 4) << "the spectrum takes up its 512 frames";
    std::vector<char> pcm(176400);
    BASS_ChannelGetData(channel, pcm.data(), static_cast<DWORD>(pcm.size()));
    for (QWORD from : {at - 2940, at + 2940 * 100, QWORD{0}}) {
        ASSERT_TRUE(BASS_ChannelSetPosition(channel, from));
        BASS_ChannelGetData(channel, again, BASS_DATA_FFT512);
        ASSERT_TRUE(BASS_ChannelSetPosition(channel, at));
        BASS_ChannelGetData(channel, again, BASS_DATA_FFT512);
        EXPECT_TRUE(std::equal(first, first + 256, again)) << "after a read at " << from;
    }
    EXPECT_GT(*std::max_element(first, first + 256), 0.01f) << "the sample music is not silent there";
}

TEST_F(AudioLayerTest, DecodeChannelsNeedNoOutputAndLiveBesideThePlayingStream) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr)) << "no sound was asked for";
    Tone tone;
    tone.seconds = 1.0;
    const std::string path = Fixture("sine.mp3", tone);
    const HSTREAM playing = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_STREAM_PRESCAN);
    const HSTREAM first = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_STREAM_DECODE);
    const HSTREAM second = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_STREAM_DECODE);
    ASSERT_NE(playing, 0u);
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);
    EXPECT_NE(first, second);
    ASSERT_TRUE(BASS_ChannelSetPosition(first, 4000));
    EXPECT_EQ(BASS_ChannelGetPosition(second), 0u) << "each channel has its own position";
    EXPECT_EQ(BASS_ChannelGetPosition(playing), 0u);
    EXPECT_EQ(BASS_ChannelGetData(first, nullptr, 64), static_cast<DWORD>(-1));
    EXPECT_EQ(BASS_ChannelGetData(first, &tone, 0x40000000 | 64), static_cast<DWORD>(-1)) << "no float data";
    EXPECT_TRUE(BASS_Free());
    EXPECT_EQ(BASS_ChannelGetPosition(first), static_cast<QWORD>(-1)) << "freed with everything else";
}

TEST_F(AudioLayerTest, PositionIsSmoothAndNeverDecreases) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    Tone tone;
    tone.seconds = 3.0;
    const HSTREAM stream = Play(Fixture("sine.mp3", tone));
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
    Tone tone;
    tone.seconds = 0.5;
    const HSTREAM stream = Play(Fixture("short.mp3", tone));
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
    Tone tone;
    tone.hz = GetParam().hz;
    tone.amplitude = 0.99;
    const HSTREAM stream = Play(Fixture("sine.mp3", tone));
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
    Tone tone;
    tone.amplitude = 0.0;
    const HSTREAM stream = Play(Fixture("silence.mp3", tone));
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
    Tone tone;
    tone.seconds = 1.0;
    tone.hz = 523.0;
    const std::string path = Fixture("tone.mp3", tone);
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
        const size_t n = decoder.Read(reinterpret_cast<int16_t*>(&decoded[got]), (decoded.size() - got) / 4);
        if (n == 0) {
            break;
        }
        got += n * 4;
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
    Tone tone;
    tone.seconds = 2.0;
    const std::string whole = ReadFile(Fixture("whole.mp3", tone));
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

// Files tools/fuzz.sh found: refused, or read to their end and moved in
// without harm (the sanitized run checks for memory errors and leaks).
struct FoundCase {
    const char* file;
    bool opens;
};

class FuzzFoundTest : public AudioLayerTest, public ::testing::WithParamInterface<FoundCase> {};

TEST_P(FuzzFoundTest, IsRefusedOrReadSafely) {
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    const std::string path = std::string(FIXTURE_DIR) + "/fuzz/" + GetParam().file;
    const HSTREAM channel = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_STREAM_DECODE | BASS_STREAM_PRESCAN);
    ASSERT_EQ(channel != 0, GetParam().opens);
    if (!channel) {
        return;
    }
    std::vector<char> pcm(4096 * 4);
    QWORD total = 0;
    for (int i = 0; i < 10000 && BASS_ChannelGetData(channel, pcm.data(), 4096 * 4) != static_cast<DWORD>(-1); ++i) {
        total += 4096 * 4;
    }
    EXPECT_LT(total, 10000ull * 4096 * 4) << "the data ends";
    EXPECT_FALSE(BASS_ChannelSetPosition(channel, ~0ull)) << "a position past any end is refused";
    float bins[256];
    EXPECT_NE(BASS_ChannelGetData(channel, bins, BASS_DATA_FFT512), static_cast<DWORD>(-1));
}

INSTANTIATE_TEST_SUITE_P(Files, FuzzFoundTest,
                         ::testing::Values(FoundCase{"ogg_vorbis_damaged_header.ogg", false},
                                           // A rate of 1 Hz: refused, not converted 44100-fold.
                                           FoundCase{"aiff_rate_1hz.aiff", false},
                                           // Its length unknown to the decoder: counted as such.
                                           FoundCase{"ogg_length_unknown.ogg", true}),
                         [](const auto& info) {
                             std::string name = info.param.file;
                             return name.substr(0, name.find('.'));
                         });

TEST_F(AudioLayerTest, HandleZeroKeepsASilentClockFromThePositionSetAfterThePlayRequest) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ChannelGetPosition(0), 0u);
    EXPECT_FALSE(BASS_ChannelSetPosition(0, 0));
    EXPECT_EQ(BASS_ChannelGetPosition(0), 0u) << "no clock before the play request";
    EXPECT_FALSE(BASS_ChannelPlay(0, TRUE));
    Sleep(0.4);  // a message box read between the play request and the position
    EXPECT_GT(BASS_ChannelGetPosition(0), 0.3 * 176400);
    EXPECT_FALSE(BASS_ChannelSetPosition(0, 0));
    const QWORD p0 = BASS_ChannelGetPosition(0);
    const double t0 = Now();
    EXPECT_LT(p0, 0.05 * 176400) << "the clock starts again from the position set";
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
    Tone tone;
    tone.seconds = 1.0;
    const std::string path = Fixture("sine.mp3", tone);
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
    Tone tone;
    const HSTREAM stream = Play(Fixture("sine.mp3", tone));
    ASSERT_NE(stream, 0u);
    EXPECT_NEAR(MeasureRate(stream, 1.0), 176400.0, 176400.0 * 0.03);
}

TEST_F(AudioLayerTest, SeekingStartsThePositionAtTheNewPlace) {
    ASSERT_TRUE(BASS_Init(1, 44100, 0, nullptr, nullptr));
    Tone tone;
    tone.seconds = 3.0;
    const HSTREAM stream = Play(Fixture("sine.mp3", tone));
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
        ASSERT_EQ(decoder.Read(pcm.data(), 512), 512u);
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
