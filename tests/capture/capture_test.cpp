// The capture program run as a user runs it, with no display: what it writes
// is decoded again (ffprobe, ffmpeg, libspng) and looked at frame by frame.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

#include "media/picture_table.h"
#include "tests/support/mp3_fixture.h"
#include "tests/support/picture_colours.h"
#include "tests/support/picture_fixture.h"

namespace {

// Every picture's file name with its colour.
const std::map<std::string, Rgb> Colours = [] {
    std::map<std::string, Rgb> colours;
    for (const PictureEntry& picture : PictureTable) {
        const PictureColour c = ColourOf(picture.id);
        colours[PictureName(picture)] = Rgb{c.r, c.g, c.b};
    }
    return colours;
}();

struct Outcome {
    int status;
    std::string err;
};

int ExitStatus(int raw) {
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// What is left in a folder besides `data`: no temporary file may stay.
std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> files;
    std::istringstream listing(RunShell("ls -A '" + dir + "'"));
    for (std::string name; std::getline(listing, name);) {
        if (name != "data") {
            files.push_back(name);
        }
    }
    return files;
}

bool Near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

std::string Name(Rgb c) {
    for (const auto& [file, colour] : Colours) {
        if (Near(c, colour, 12)) {
            return file;
        }
    }
    return "rgb(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = MakeTempDir();
        ASSERT_FALSE(dir.empty());
        ASSERT_EQ(mkdir((dir + "/data").c_str(), 0755), 0);
    }

    void TearDown() override { std::system(("chmod -R u+w '" + dir + "'; rm -rf '" + dir + "'").c_str()); }

    void SolidPictures() {
        for (const auto& [file, colour] : Colours) {
            ASSERT_TRUE(WriteSolidPicture(dir + "/data/" + file, colour)) << file;
        }
    }

    void SampleMedia() {
        for (const PictureEntry& picture : PictureTable) {
            const std::string file = PictureName(picture);
            ASSERT_EQ(symlink((std::string(SAMPLE_MEDIA_DIR) + "/" + file).c_str(), (dir + "/" + picture.path).c_str()), 0);
        }
        ASSERT_EQ(symlink(SAMPLE_MEDIA_DIR "/Fast.mp3", (dir + "/" + MusicPath).c_str()), 0);
    }

    // Runs dwip-capture in the test's folder with no display; `prefix` goes
    // before the command (environment settings, a wrapper).
    Outcome Capture(const std::string& args, const std::string& prefix = "") {
        const std::string command = "cd '" + dir + "' && env -u DISPLAY " + prefix + " '" CAPTURE_PROGRAM "' " + args +
                                    " >/dev/null 2>capture.err";
        Outcome outcome{ExitStatus(std::system(command.c_str())), ReadFile(dir + "/capture.err")};
        unlink((dir + "/capture.err").c_str());
        return outcome;
    }

    std::string Probe(const std::string& file, const std::string& what) {
        return RunShell("ffprobe -v error " + what + " -of default=noprint_wrappers=1 '" + dir + "/" + file + "'");
    }

    // The colour at the middle of every frame of a video.
    std::vector<Rgb> CentreColours(const std::string& file, int width, int height) {
        const std::string raw = RunShell("ffmpeg -v error -i '" + dir + "/" + file + "' -vf crop=2:2:" +
                                      std::to_string(width / 2 - 1) + ":" + std::to_string(height / 2 - 1) +
                                      " -f rawvideo -pix_fmt rgb24 -");
        std::vector<Rgb> colours;
        for (size_t at = 0; at + 12 <= raw.size(); at += 12) {
            colours.push_back(Rgb{static_cast<uint8_t>(raw[at]), static_cast<uint8_t>(raw[at + 1]),
                                  static_cast<uint8_t>(raw[at + 2])});
        }
        return colours;
    }

    std::vector<uint8_t> Pixels(const std::string& file, int* width = nullptr, int* height = nullptr) {
        std::vector<uint8_t> rgb;
        int w = 0;
        int h = 0;
        EXPECT_TRUE(ReadPng(dir + "/" + file, &rgb, &w, &h)) << file;
        if (width) {
            *width = w;
            *height = h;
        }
        return rgb;
    }

    std::string dir;
};

// Zero crossings a second of mono 16-bit samples from `from` to `to` seconds: twice the frequency.
double Frequency(const std::string& pcm, double from, double to) {
    const size_t first = static_cast<size_t>(from * 44100);
    const size_t last = std::min(pcm.size() / 2, static_cast<size_t>(to * 44100));
    int crossings = 0;
    int16_t previous = 0;
    for (size_t i = first; i < last; ++i) {
        int16_t sample;
        std::memcpy(&sample, pcm.data() + i * 2, 2);
        crossings += (i > first && (previous < 0) != (sample < 0)) ? 1 : 0;
        previous = sample;
    }
    return crossings / 2.0 / (static_cast<double>(last - first) / 44100);
}

// Across the flip animation's first boundaries: frame n is drawn at
// n x 2940 bytes, so FlipFrameB (from 4155176 bytes) first shows in frame 1414
// and FlipFrameA again (from 4205176) in frame 1431.
TEST_F(CaptureTest, AVideoChangesPictureAtTheExactFrameAndCarriesTheMusicFromItsFirstFrame) {
    SolidPictures();
    Tone tone;
    tone.seconds = 26.0;
    tone.hz = 440.0;
    tone.changeAt = 23.75;  // half way through the capture
    tone.laterHz = 1000.0;
    ASSERT_TRUE(WriteToneMp3(dir + "/data/Fast.mp3", tone));

    const Outcome run = Capture("--from 23.5 --to 24 flip.mp4");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("flip.mp4: 30 frames, 0:00.5"), std::string::npos) << run.err;
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"flip.mp4"});

    EXPECT_EQ(Probe("flip.mp4", "-select_streams v -count_frames -show_entries "
                                "stream=codec_name,pix_fmt,color_space,r_frame_rate,nb_read_frames,start_time"),
              "codec_name=h264\npix_fmt=yuv420p\ncolor_space=bt709\nr_frame_rate=60/1\nstart_time=0.000000\n"
              "nb_read_frames=30\n");
    EXPECT_EQ(Probe("flip.mp4", "-select_streams a -show_entries stream=codec_name,sample_rate,channels,start_time"),
              "codec_name=aac\nsample_rate=44100\nchannels=2\nstart_time=0.000000\n");
    const double video = std::stod(Probe("flip.mp4", "-select_streams v -show_entries stream=duration").substr(9));
    const double audio = std::stod(Probe("flip.mp4", "-select_streams a -show_entries stream=duration").substr(9));
    EXPECT_NEAR(video, 0.5, 1e-6);
    EXPECT_NEAR(audio, video, 1024.0 / 44100) << "the sound lasts as long as the pictures, within one AAC frame";
    // The index at the front, so that players start at once.
    const std::string head = ReadFile(dir + "/flip.mp4").substr(0, 4096);
    EXPECT_LT(head.find("moov"), head.find("mdat"));

    const std::vector<Rgb> centres = CentreColours("flip.mp4", 800, 600);
    ASSERT_EQ(centres.size(), 30u);
    for (int i = 0; i < 30; ++i) {
        const int frame = 1410 + i;
        const std::string expected = frame < 1414 ? "Dwip1.png" : frame < 1431 ? "Dwip2.png" : "Dwip1.png";
        EXPECT_EQ(Name(centres[i]), expected) << "frame " << frame;
    }

    // The music of 23.5 s to 24 s: 440 Hz, then 1000 Hz from 23.75 s on.
    const std::string pcm = RunShell("ffmpeg -v error -i '" + dir + "/flip.mp4' -vn -ac 1 -ar 44100 -f s16le -");
    EXPECT_NEAR(Frequency(pcm, 0.03, 0.22), 440.0, 15.0);
    EXPECT_NEAR(Frequency(pcm, 0.28, 0.47), 1000.0, 15.0);
}

TEST_F(CaptureTest, WithoutMusicTheVideoKeepsTheTimelineSilentlyAndSaysSo) {
    SolidPictures();
    const Outcome run = Capture("--fps 30 --from 23.5 --to 24 silent.mkv");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("data/Fast.mp3 is missing or unreadable"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("no sound"), std::string::npos) << run.err;
    EXPECT_EQ(Probe("silent.mkv", "-show_entries stream=codec_type"), "codec_type=video\n");
    // At 30 frames a second frame n stands at n x 5880 bytes: FlipFrameB in frames 707 to 715.
    const std::vector<Rgb> centres = CentreColours("silent.mkv", 800, 600);
    ASSERT_EQ(centres.size(), 15u);
    for (int i = 0; i < 15; ++i) {
        const int frame = 705 + i;
        EXPECT_EQ(Name(centres[i]), frame < 707 || frame > 715 ? "Dwip1.png" : "Dwip2.png") << "frame " << frame;
    }
}

TEST_F(CaptureTest, AMovIsTheSameH264AndAacWithItsIndexInFront) {
    SolidPictures();
    Tone tone;
    tone.seconds = 26.0;
    ASSERT_TRUE(WriteToneMp3(dir + "/data/Fast.mp3", tone));
    const Outcome run = Capture("--size 160x120 --from 23.5 --to 24 flip.mov");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Probe("flip.mov", "-show_entries format=format_name"), "format_name=mov,mp4,m4a,3gp,3g2,mj2\n");
    EXPECT_EQ(Probe("flip.mov", "-show_entries stream=codec_name"), "codec_name=h264\ncodec_name=aac\n");
    const std::string head = ReadFile(dir + "/flip.mov").substr(0, 4096);
    EXPECT_NE(head.find("qt  "), std::string::npos) << "a QuickTime brand";
    EXPECT_LT(head.find("moov"), head.find("mdat"));
    const std::vector<Rgb> centres = CentreColours("flip.mov", 160, 120);
    ASSERT_EQ(centres.size(), 30u);
    EXPECT_EQ(Name(centres[3]), "Dwip1.png");
    EXPECT_EQ(Name(centres[4]), "Dwip2.png") << "frame 1414";
}

struct BarsCase {
    const char* name;
    int width, height;
    int left, top;  // the 4:3 picture's corner; black around it
};

class CaptureBarsTest : public CaptureTest, public ::testing::WithParamInterface<BarsCase> {};

// Another shape than 4:3 keeps the presentation's 4:3 picture, whole and
// centred, between black bars. Frame 705 at 30 fps shows the first flip
// frame, which fills the picture edge to edge.
TEST_P(CaptureBarsTest, ThePictureStaysFourByThreeBetweenBlackBars) {
    SolidPictures();
    const BarsCase& c = GetParam();
    const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
    const Outcome run = Capture("--size " + size + " --fps 30 --from 23.5 --to 23.6 out.mkv");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Probe("out.mkv", "-show_entries stream=width,height"),
              "width=" + std::to_string(c.width) + "\nheight=" + std::to_string(c.height) + "\n");
    const std::string raw = RunShell("ffmpeg -v error -i '" + dir + "/out.mkv' -frames:v 1 -f rawvideo -pix_fmt rgb24 -");
    ASSERT_EQ(raw.size(), static_cast<size_t>(c.width) * c.height * 3);
    auto at = [&](int x, int y) {
        const size_t i = (static_cast<size_t>(y) * c.width + x) * 3;
        return Rgb{static_cast<uint8_t>(raw[i]), static_cast<uint8_t>(raw[i + 1]), static_cast<uint8_t>(raw[i + 2])};
    };
    const int right = c.width - c.left;
    const int bottom = c.height - c.top;
    // Inside, a few pixels from each edge (H.264 blurs edges a little); outside, a few pixels beyond.
    for (const auto& [x, y] : std::vector<std::pair<int, int>>{
             {c.left + 4, c.height / 2}, {right - 5, c.height / 2}, {c.width / 2, c.top + 4}, {c.width / 2, bottom - 5}}) {
        EXPECT_EQ(Name(at(x, y)), "Dwip1.png") << "inside the picture at " << x << "," << y;
    }
    std::vector<std::pair<int, int>> outside;
    if (c.left > 0) {
        outside = {{c.left - 5, c.height / 2}, {0, 0}, {right + 4, c.height / 2}, {c.width - 1, c.height - 1}};
    }
    if (c.top > 0) {
        outside = {{c.width / 2, c.top - 5}, {0, 0}, {c.width / 2, bottom + 4}, {c.width - 1, c.height - 1}};
    }
    for (const auto& [x, y] : outside) {
        EXPECT_TRUE(Near(at(x, y), Rgb{0, 0, 0}, 12)) << "a bar at " << x << "," << y << ": " << at(x, y);
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, CaptureBarsTest,
                         ::testing::Values(BarsCase{"full_hd", 1920, 1080, 240, 0}, BarsCase{"square", 480, 480, 0, 60},
                                           BarsCase{"four_by_three", 320, 240, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CaptureTest, ProgressIsALineEachTenthInAFileAndOneLineRedrawnOnATerminal) {
    SolidPictures();
    const Outcome file = Capture("--size 160x120 --from 20 --to 21 a.mkv");
    ASSERT_EQ(file.status, 0) << file.err;
    std::istringstream lines(file.err);
    std::vector<std::string> progress;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("frame ", 0) == 0) {
            progress.push_back(line.substr(0, line.find(',', line.find(',') + 1)));
        }
    }
    std::vector<std::string> expected;
    for (int tenth = 1; tenth <= 10; ++tenth) {
        expected.push_back("frame " + std::to_string(6 * tenth) + " of 60, " + std::to_string(10 * tenth) + "%");
    }
    EXPECT_EQ(progress, expected) << file.err;
    EXPECT_EQ(file.err.find('\r'), std::string::npos);

    // On a terminal (script gives it one) the line is redrawn in place and ended once.
    const std::string command = "cd '" + dir + "' && env -u DISPLAY script -qec \"'" CAPTURE_PROGRAM
                                "' --size 160x120 --from 20 --to 21 b.mkv\" /dev/null";
    const std::string terminal = RunShell(command);
    const size_t last = terminal.rfind("\rframe 60 of 60, 100%");
    ASSERT_NE(last, std::string::npos) << terminal;
    const size_t first = terminal.find("\rframe ");
    EXPECT_EQ(terminal.substr(first, last - first).find('\n'), std::string::npos) << "one line, redrawn: " << terminal;
    EXPECT_NE(terminal.find("\r\ndwip-capture: b.mkv: 60 frames", last), std::string::npos) << terminal;
}

// A still is the frame a full capture shows at that moment, whatever was
// drawn before it: the logo's frozen height and the background's shake come
// out the same when the frames before it are only run through.
TEST_F(CaptureTest, AStillEqualsTheFrameOfAFullCaptureAndRunsRepeatExactly) {
    SampleMedia();
    ASSERT_EQ(mkdir((dir + "/full").c_str(), 0755), 0);
    const Outcome full = Capture("--size 160x120 --to 30.1 full/f%04d.png");
    ASSERT_EQ(full.status, 0) << full.err;
    EXPECT_TRUE(Exists(dir + "/full/f1805.png"));
    EXPECT_FALSE(Exists(dir + "/full/f1806.png"));

    // 16 s: the logo at rest since 15.05 s; 30 s: the main section, shaken by the music.
    for (const char* at : {"16", "30"}) {
        const std::string still = std::string("still") + at + ".png";
        const Outcome run = Capture(std::string("--size 160x120 --at ") + at + " " + still);
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string frame = std::string("full/f") + (at == std::string("16") ? "0960" : "1800") + ".png";
        EXPECT_EQ(Pixels(still), Pixels(frame)) << "still at " << at << " s against " << frame;
    }

    ASSERT_EQ(mkdir((dir + "/again").c_str(), 0755), 0);
    const Outcome again = Capture("--size 160x120 --from 29.5 --to 30.1 again/f%04d.png");
    ASSERT_EQ(again.status, 0) << again.err;
    for (int frame = 1770; frame <= 1805; ++frame) {
        char name[32];
        std::snprintf(name, sizeof(name), "%04d.png", frame);
        EXPECT_EQ(ReadFile(dir + "/again/f" + name), ReadFile(dir + "/full/f" + name)) << "frame " << frame;
    }
}

TEST_F(CaptureTest, AContactSheetShowsItsTilesInOrderEachLabelled) {
    SolidPictures();
    const Outcome run = Capture("--sheet 4 --size 160x120 sheet.png");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("no labels"), std::string::npos) << run.err;
    int width = 0;
    int height = 0;
    const std::vector<uint8_t> sheet = Pixels("sheet.png", &width, &height);
    // Two by two tiles of 160x120 with 4-pixel margins and 16-pixel labels.
    ASSERT_EQ(width, 4 + 2 * (160 + 4));
    ASSERT_EQ(height, 4 + 2 * (120 + 16 + 4));
    auto at = [&](int x, int y) {
        const size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return Rgb{sheet[i], sheet[i + 1], sheet[i + 2]};
    };
    // The middles of four equal stretches of 8664 frames: 18.0 s, 54.1 s, 90.2 s, 126.3 s.
    const char* expected[4] = {"qorlogo.jpg", "DwipTuvrel.png", "Ass.jpg", "VekCreds.jpg"};
    for (int i = 0; i < 4; ++i) {
        const int left = 4 + (i % 2) * 164;
        const int top = 4 + (i / 2) * 140;
        EXPECT_EQ(Name(at(left + 80, top + 60)), expected[i]) << "tile " << i;
        int lit = 0;
        for (int y = top + 120; y < top + 136; ++y) {
            for (int x = left; x < left + 160; ++x) {
                lit += at(x, y).r > 128 ? 1 : 0;
            }
        }
        EXPECT_GT(lit, 20) << "tile " << i << " has a label";
    }
}

struct FailureCase {
    const char* name;
    const char* args;
    const char* message;  // a part of what it says
};

class CaptureFailureTest : public CaptureTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CaptureFailureTest, SaysWhatIsWrongExitsWithOneAndLeavesNothing) {
    SolidPictures();
    const FailureCase& c = GetParam();
    std::string prefix;
    if (std::string(c.name) == "exists") {
        WriteFile(dir + "/mine.mp4", "the user's own file");
    } else if (std::string(c.name) == "no_egl") {
        prefix = "__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json";
    } else if (std::string(c.name) == "no_fbo") {
        prefix = "MESA_EXTENSION_OVERRIDE=-GL_EXT_framebuffer_object";
    }
    const Outcome run = Capture(c.args, prefix);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    const std::vector<std::string> left = FilesIn(dir);
    if (std::string(c.name) == "exists") {
        EXPECT_EQ(left, std::vector<std::string>{"mine.mp4"});
        EXPECT_EQ(ReadFile(dir + "/mine.mp4"), "the user's own file");
    } else {
        EXPECT_TRUE(left.empty()) << left.front();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Failures, CaptureFailureTest,
    ::testing::Values(
        FailureCase{"no_folder", "--to 1 nowhere/x.mp4", "the folder nowhere does not exist"},
        FailureCase{"exists", "--to 1 mine.mp4", "mine.mp4 exists; --overwrite replaces it"},
        FailureCase{"no_egl", "--to 1 x.mp4", "no OpenGL"},
        FailureCase{"no_fbo", "--to 1 x.mp4", "no framebuffer objects"},
        FailureCase{"unknown_extension", "--to 1 x.avi", "cannot tell what to write from the name x.avi"},
        FailureCase{"still_not_png", "--at 1 x.jpg", "written as PNG"},
        FailureCase{"sequence_two_patterns", "--to 1 f%d_%d.png", "exactly one frame number pattern"},
        FailureCase{"at_past_the_end", "--at 150 x.png", "--at 2:30.0 is past the end of the presentation (2:24.4)"},
        FailureCase{"from_past_the_end", "--from 145 x.mp4", "is past the end of the presentation"},
        FailureCase{"odd_size", "--size 801x600 --to 1 x.mp4", "is odd"},
        FailureCase{"tiny_size", "--size 32x24 --to 1 x.mp4", "too small"},
        FailureCase{"huge_size", "--size 40000x30000 --at 1 x.png", "larger than the OpenGL driver draws"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CaptureTest, OverwriteReplacesAnExistingFile) {
    SolidPictures();
    WriteFile(dir + "/mine.png", "old");
    const Outcome run = Capture("--overwrite --at 1 mine.png");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Pixels("mine.png").size(), 800u * 600 * 3);
    EXPECT_EQ(FilesIn(dir), std::vector<std::string>{"mine.png"});
}

// A disk that fills up, and a folder that cannot be written: on a small file
// system of the test's own (a mount namespace), or for a user other than
// root, a folder without write permission.
TEST_F(CaptureTest, AFullDiskOrAFolderThatCannotBeWrittenLeavesNoFile) {
    SampleMedia();
    if (std::system("unshare -m true 2>/dev/null") != 0) {
        GTEST_SKIP() << "no mount namespace here to make a small file system in";
    }
    ASSERT_EQ(mkdir((dir + "/small").c_str(), 0755), 0);
    const Outcome full = Capture("--to 5 small/x.mp4",
                                 "unshare -m sh -c 'mount -t tmpfs -o size=64k tmpfs small && exec \"$0\" \"$@\"'");
    EXPECT_EQ(full.status, 1) << full.err;
    EXPECT_NE(full.err.find("small/x.mp4: the disk is full"), std::string::npos) << full.err;

    const Outcome readOnly = Capture("--at 1 small/x.png",
                                     "unshare -m sh -c 'mount -t tmpfs -o ro tmpfs small && exec \"$0\" \"$@\"'");
    EXPECT_EQ(readOnly.status, 1) << readOnly.err;
    EXPECT_NE(readOnly.err.find("the folder small cannot be written"), std::string::npos) << readOnly.err;
    EXPECT_TRUE(FilesIn(dir + "/small").empty());
}

TEST_F(CaptureTest, CtrlCFinishesAPlayableShorterVideoAndExitsWith130) {
    SampleMedia();
    const std::string command = "cd '" + dir + "' && exec env -u DISPLAY '" CAPTURE_PROGRAM "' stopped.mp4 2>capture.err";
    const pid_t child = fork();
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // Once the video is being written, a few seconds of it.
    for (int i = 0; i < 300; ++i) {
        const std::vector<std::string> files = FilesIn(dir);
        if (!files.empty() && files.front().rfind(".stopped.mp4.", 0) == 0) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::this_thread::sleep_for(std::chrono::seconds(3));
    kill(child, SIGINT);
    const auto sent = std::chrono::steady_clock::now();
    int raw = 0;
    waitpid(child, &raw, 0);
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count();
    const std::string err = ReadFile(dir + "/capture.err");
    EXPECT_EQ(ExitStatus(raw), 130) << err;
    EXPECT_LT(waited, 1.5) << "stops within a second";
    EXPECT_NE(err.find("stopped after"), std::string::npos) << err;
    EXPECT_NE(err.find("stopped.mp4 holds what was rendered"), std::string::npos) << err;
    const int frames = std::stoi(Probe("stopped.mp4", "-select_streams v -count_frames -show_entries "
                                                      "stream=nb_read_frames").substr(15));
    EXPECT_GT(frames, 10);
    EXPECT_LT(frames, 8664);
    EXPECT_EQ(RunShell("ffmpeg -v error -i '" + dir + "/stopped.mp4' -f null - 2>&1"), "") << "it decodes without errors";
}

struct ArgumentCase {
    const char* name;
    const char* args;
};

class CaptureArgumentTest : public CaptureTest, public ::testing::WithParamInterface<ArgumentCase> {};

TEST_P(CaptureArgumentTest, AWrongArgumentGetsTheUsageAndStatusTwo) {
    const Outcome run = Capture(GetParam().args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Usage:"), std::string::npos) << run.err;
    EXPECT_TRUE(FilesIn(dir).empty());
}

INSTANTIATE_TEST_SUITE_P(Arguments, CaptureArgumentTest,
                         ::testing::Values(ArgumentCase{"no_output", ""}, ArgumentCase{"unknown_option", "--fast x.mp4"},
                                           ArgumentCase{"missing_value", "x.mp4 --fps"},
                                           ArgumentCase{"fps_zero", "--fps 0 x.mp4"},
                                           ArgumentCase{"size_words", "--size big x.mp4"},
                                           ArgumentCase{"negative_time", "--from -3 x.mp4"},
                                           ArgumentCase{"at_and_sheet", "--at 3 --sheet 4 x.png"},
                                           ArgumentCase{"range_with_still", "--at 3 --to 5 x.png"},
                                           ArgumentCase{"two_outputs", "a.mp4 b.mp4"},
                                           ArgumentCase{"to_before_from", "--from 9 --to 4 x.mp4"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CaptureTest, HelpGoesToStandardOutputWithStatusZero) {
    const std::string help = RunShell("'" CAPTURE_PROGRAM "' --help; echo status=$?");
    EXPECT_NE(help.find("Usage:"), std::string::npos);
    EXPECT_NE(help.find("status=0"), std::string::npos);
}

}  // namespace
