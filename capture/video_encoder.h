// A video file: H.264 (libx264) in yuv420p tagged BT.709, and the music as
// AAC from a decoding channel of the audio layer, both starting at 0. Written
// under a temporary name and renamed when complete.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bass.h"

struct VideoSettings {
    std::string path;  // .mp4, .mkv or .mov: the container follows the name
    int width = 800;
    int height = 600;
    int fps = 60;
    int crf = 18;
    std::string preset;
    // A decoding channel standing where the first frame is; 0: no sound.
    HSTREAM music = 0;
    bool overwrite = false;
};

class VideoEncoder {
public:
    VideoEncoder();
    ~VideoEncoder();  // an unfinished file is removed
    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    bool Open(const VideoSettings& settings, std::string* error);
    // One frame of RGBA rows from the bottom up, with the sound that goes with it.
    bool Write(const std::vector<uint8_t>& rgba, std::string* error);
    // Flushes both encoders, writes the index and renames the file.
    bool Finish(std::string* error);

    // Time split of the work, in seconds, for the benchmark.
    double convertSeconds = 0.0;
    double encodeSeconds = 0.0;

private:
    struct State;
    std::unique_ptr<State> state;
};
