// The player as it runs, from process start through the first SECONDS of
// music: the time to the logo, peak memory, how long before its first moment
// each picture was uploaded (its slack), and the longest frame against the
// median while the pictures go up between frames.
//   startup_bench MEDIA_DIR [SECONDS]   (on an X display; the music plays into SDL's dummy driver)
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <numeric>
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>

#include "app/frame_timer.h"
#include "app/render_window.h"
#include "bench/bench_util.h"
#include "media/music_clock.h"
#include "media/picture_table.h"
#include "media/texture_set.h"
#include "scenes/scene_chain.h"

namespace {

const double BytesPerSecond = 176400.0;
double RunSeconds = 30.0;

struct Frame {
    double at;        // seconds since process start
    float position;   // the music it was drawn with
};
std::vector<Frame> Frames;
double UploadedAt[PictureCount] = {};  // music seconds when each texture appeared
bool Uploaded[PictureCount] = {};

bool AllUploaded() {
    return std::all_of(std::begin(Uploaded), std::end(Uploaded), [](bool done) { return done; });
}

}  // namespace

// Every presented frame, timed: the linker routes the player's swaps here.
extern "C" BOOL __real__Z11SwapBuffersP5HDC__(HDC dc);
extern "C" BOOL __wrap__Z11SwapBuffersP5HDC__(HDC dc) {
    const BOOL swapped = __real__Z11SwapBuffersP5HDC__(dc);
    Frames.push_back(Frame{GlobalFrameTimer.Now() - GlobalFrameTimer.StartTime(), MusicPosition});
    for (int i = 0; i < PictureCount; ++i) {
        if (!Uploaded[i] && *PictureTextures[i] != 0) {
            Uploaded[i] = true;
            UploadedAt[i] = MusicPosition / BytesPerSecond;
        }
    }
    // Until every picture is up; a picture that never comes (a missing file)
    // is given until the last first moment.
    const PictureMoments moments = FirstMoments();
    const float last = *std::max_element(moments.begin(), moments.end());
    if (MusicPosition >= RunSeconds * BytesPerSecond && (AllUploaded() || MusicPosition > last)) {
        KeyTable[VK_ESCAPE] = true;
    }
    return swapped;
}

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: startup_bench MEDIA_DIR [SECONDS]\n");
        return 2;
    }
    const std::string media = argv[1];
    RunSeconds = argc == 3 ? std::stod(argv[2]) : RunSeconds;
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const std::string work = "/tmp/startup-bench-" + std::to_string(getpid());
    mkdir(work.c_str(), 0755);
    symlink(media.c_str(), (work + "/data").c_str());
    chdir(work.c_str());

    Frames.reserve(1 << 20);
    const int status = WinMain(nullptr, nullptr, nullptr, 0);
    const double peak = PeakMemoryMiB();
    unlink((work + "/data").c_str());
    rmdir(work.c_str());
    if (status != 0 || Frames.empty()) {
        std::fprintf(stderr, "startup_bench: the player did not run (status %d)\n", status);
        return 1;
    }

    const PictureMoments moments = FirstMoments();
    std::printf("logo on screen (first frame) after   %7.1f ms from process start\n", Frames.front().at * 1000);
    std::printf("peak memory                          %7.1f MiB\n", peak);
    double latest = 1e9;
    const char* latestName = "";
    for (int i = 0; i < PictureCount; ++i) {
        const double moment = moments[i] / BytesPerSecond;
        if (moment <= 0.0) {
            continue;  // on screen from the first frame: uploaded at start-up
        }
        const double slack = moment - UploadedAt[i];
        if (slack < latest) {
            latest = slack;
            latestName = PictureName(PictureTable[i]);
        }
    }
    std::printf("latest slack                         %7.1f s before its moment (%s)\n", latest, latestName);
    for (int i = 0; i < PictureCount; ++i) {
        std::printf("  %-20s first shown at %6.1f s, uploaded by %5.1f s of music\n", PictureName(PictureTable[i]),
                    moments[i] / BytesPerSecond, UploadedAt[i]);
    }

    // Frame times over the first SECONDS of music, after the first frame.
    std::vector<double> intervals;
    for (size_t n = 1; n < Frames.size(); ++n) {
        if (Frames[n].position <= RunSeconds * BytesPerSecond) {
            intervals.push_back((Frames[n].at - Frames[n - 1].at) * 1000.0);
        }
    }
    std::vector<size_t> longest(intervals.size());
    std::iota(longest.begin(), longest.end(), 0);
    std::sort(longest.begin(), longest.end(), [&](size_t a, size_t b) { return intervals[a] > intervals[b]; });
    for (size_t k = 0; k < std::min<size_t>(5, longest.size()); ++k) {
        const Frame& frame = Frames[longest[k] + 1];
        std::printf("  a frame of %6.2f ms at %6.2f s of music (%.2f s from process start)\n", intervals[longest[k]],
                    frame.position / BytesPerSecond, frame.at);
    }
    std::vector<double> sorted = intervals;
    std::sort(sorted.begin(), sorted.end());
    std::printf("frames in the first %.0f s               %7zu: median %.2f ms, longest %.2f ms (%.2f ms above)\n",
                RunSeconds, sorted.size(), sorted[sorted.size() / 2], sorted.back(),
                sorted.back() - sorted[sorted.size() / 2]);
    return 0;
}
