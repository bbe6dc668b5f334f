// The capture program's speed and memory, with the sample media: the whole
// presentation as a multiple of real time, split into drawing, reading back,
// converting and encoding; x264's presets side by side; peak memory of a whole
// run against a 20-second range. Each run is a child process of its own, so
// that its peak memory is its own.
//   capture_bench MEDIA_DIR    (needs no display)
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_util.h"
#include "capture/capture.h"

namespace {

struct Run {
    const char* what;
    int width, height;
    double from, to;
    const char* preset;
};

void Measure(const Run& run, const std::string& dir) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        // Quiet: only the figures below.
        std::freopen("/dev/null", "w", stderr);
        CaptureOptions options;
        options.out = dir + "/bench.mp4";
        options.overwrite = true;
        options.width = run.width;
        options.height = run.height;
        options.from = run.from;
        options.to = run.to;
        options.preset = run.preset;
        CaptureStats stats;
        const int status = RunCapture(options, &stats);
        struct stat info {};
        stat(options.out.c_str(), &info);
        const double length = stats.frames / 60.0;
        std::printf("%-34s %5lld frames in %6.1f s: %5.2f x real time, %6.1f frames/s | draw %5.1f s, read %5.1f s, "
                    "convert %5.1f s, encode %5.1f s | %6.1f MB | peak %6.1f MiB%s\n",
                    run.what, static_cast<long long>(stats.frames), stats.totalSeconds, length / stats.totalSeconds,
                    stats.frames / stats.totalSeconds, stats.drawSeconds, stats.readSeconds, stats.convertSeconds,
                    stats.encodeSeconds, info.st_size / 1e6, PeakMemoryMiB(), status ? " (FAILED)" : "");
        std::fflush(stdout);
        std::_Exit(status);
    }
    int status = 0;
    waitpid(child, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: capture_bench MEDIA_DIR\n");
        return 2;
    }
    char pattern[] = "/tmp/capture-bench-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    symlink(argv[1], (dir + "/data").c_str());
    chdir(dir.c_str());
    std::printf("(encoding and converting run on a worker thread beside drawing; their times overlap)\n");
    for (const char* preset : {"ultrafast", "superfast", "veryfast", "faster"}) {
        const std::string what = std::string("20 s range, 800x600, ") + preset;
        Measure(Run{what.c_str(), 800, 600, 40.0, 60.0, preset}, dir);
    }
    Measure(Run{"whole, 800x600, veryfast", 800, 600, 0.0, -1.0, "veryfast"}, dir);
    Measure(Run{"whole, 1920x1080, veryfast", 1920, 1080, 0.0, -1.0, "veryfast"}, dir);
    std::system(("rm -rf " + dir).c_str());
    return 0;
}
