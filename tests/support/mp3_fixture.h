// MP3 files made at test time: sines of chosen frequency, rate and channels.
#pragma once

#include <string>

struct Tone {
    int rate = 44100;
    int channels = 2;
    double seconds = 3.0;
    double hz = 440.0;
    double amplitude = 0.9;  // of full scale
    // From this many seconds on, the sine changes to `laterHz` (when not 0).
    double changeAt = 0.0;
    double laterHz = 0.0;
};

// Writes the file; false if the encoder failed.
bool WriteToneMp3(const std::string& path, const Tone& tone);
// A fresh, empty temporary folder.
std::string MakeTempDir();
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
// What a shell command writes on its standard output.
std::string RunShell(const std::string& command);
