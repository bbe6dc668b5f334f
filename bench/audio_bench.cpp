// The audio layer's clock and cost, under SDL's dummy driver (real time).
//   audio_bench clock            deviation of per-frame position steps from wall time
//   audio_bench memory MINUTES   peak memory while playing a file that long
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "bass.h"
#include "bench/bench_util.h"
#include "tests/support/mp3_fixture.h"

namespace {

int Clock() {
    const std::string dir = MakeTempDir();
    Tone tone;
    tone.seconds = 14.0;
    const std::string path = dir + "/music.mp3";
    if (!WriteToneMp3(path, tone) || !BASS_Init(1, 44100, 0, nullptr, nullptr)) {
        std::fprintf(stderr, "audio_bench: no stream\n");
        return 1;
    }
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_STREAM_PRESCAN);
    BASS_ChannelPlay(stream, TRUE);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    // A frame loop at about 60 frames a second, reading the position once a frame.
    const double cpuBefore = ThreadCpuSeconds("SDLAudio");
    const double start = WallSeconds();
    std::vector<double> deviations;
    double worstQuery = 0.0;
    QWORD last = BASS_ChannelGetPosition(stream);
    double lastTime = WallSeconds();
    float spectrum[256];
    while (WallSeconds() - start < 10.0) {
        std::this_thread::sleep_for(std::chrono::microseconds(16600));
        const double before = WallSeconds();
        const QWORD p = BASS_ChannelGetPosition(stream);
        BASS_ChannelGetData(stream, spectrum, BASS_DATA_FFT512);
        const double now = WallSeconds();
        worstQuery = std::max(worstQuery, now - before);
        deviations.push_back(std::abs(static_cast<double>(p - last) / 176400.0 - (now - lastTime)) * 1000.0);
        last = p;
        lastTime = now;
    }
    const double played = WallSeconds() - start;
    const double cpu = ThreadCpuSeconds("SDLAudio") - cpuBefore;
    BASS_Free();
    std::system(("rm -rf " + dir).c_str());

    std::sort(deviations.begin(), deviations.end());
    std::printf("frames sampled: %zu over %.1f s\n", deviations.size(), played);
    std::printf("position step vs wall time: typical (median) %.3f ms, 95th percentile %.3f ms, largest %.3f ms\n",
                deviations[deviations.size() / 2], deviations[deviations.size() * 95 / 100], deviations.back());
    std::printf("  (targets: typical below 1 ms, largest below 3 ms; counting handed buffers alone steps 23.2 ms)\n");
    const long over = std::count_if(deviations.begin(), deviations.end(), [](double d) { return d > 3.0; });
    std::printf("frames off by more than 3 ms: %ld of %zu\n", over, deviations.size());
    std::printf("audio thread CPU: %.2f%% of play time\n", 100.0 * cpu / played);
    std::printf("slowest position + spectrum query on the frame loop's thread: %.1f us\n", worstQuery * 1e6);
    return 0;
}

int Memory(double minutes) {
    const std::string dir = MakeTempDir();
    Tone tone;
    tone.seconds = minutes * 60.0;
    tone.hz = 220.0;
    const std::string path = dir + "/music.mp3";
    // Written by a child process, so that encoding leaves no trace in this one's peak.
    const pid_t child = fork();
    if (child == 0) {
        _exit(WriteToneMp3(path, tone) ? 0 : 1);
    }
    int status = 1;
    waitpid(child, &status, 0);
    if (status != 0) {
        return 1;
    }
    const double before = PeakMemoryMiB();
    BASS_Init(1, 44100, 0, nullptr, nullptr);
    const HSTREAM stream = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, BASS_STREAM_PRESCAN);
    BASS_ChannelPlay(stream, TRUE);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    BASS_ChannelSetPosition(stream, static_cast<QWORD>(minutes * 60.0 - 3.0) * 176400);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    std::printf("%5.1f-minute file: peak memory %.2f MiB (%.2f MiB before the audio started)\n", minutes,
                PeakMemoryMiB(), before);
    BASS_Free();
    std::system(("rm -rf " + dir).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (argc >= 2 && std::string(argv[1]) == "clock") {
        return Clock();
    }
    if (argc >= 3 && std::string(argv[1]) == "memory") {
        return Memory(std::atof(argv[2]));
    }
    std::fprintf(stderr, "usage: audio_bench clock | memory MINUTES\n");
    return 2;
}
