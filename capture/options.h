// The capture program's command line.
#pragma once

#include <string>

struct CaptureOptions {
    enum Mode { Video, Sequence, Still, Sheet };
    Mode mode = Video;
    std::string out;
    int fps = 60;
    int width = 800;  // of the output; of each thumbnail for a sheet
    int height = 600;
    double from = 0.0;   // seconds of music
    double to = -1.0;    // -1: to the end
    double at = 0.0;     // the still's moment
    int sheetTiles = 0;
    bool overwrite = false;
    bool help = false;
    // Not on the command line: the benchmark tries others.
    std::string preset = "veryfast";
};

const char* CaptureUsage();

// False with `error` set when the arguments are wrong: an unknown option, a
// missing or malformed value, options that do not go together.
bool ParseCaptureOptions(int argc, char** argv, CaptureOptions* options, std::string* error);

// What kind of file OUT names: "" when it is one the program writes, else
// why not. A sequence needs one %d pattern and .png; a video .mp4, .mkv or
// .mov; a still or a sheet .png.
std::string CheckOutputName(const CaptureOptions& options);
