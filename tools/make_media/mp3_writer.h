// Writes 16-bit PCM, made block by block, into an MP3 file with libmp3lame,
// so a long file needs little memory.
#pragma once

#include <functional>
#include <string>

struct Mp3Settings {
    int rate = 44100;
    int channels = 2;
    int kbps = 192;
    int quality = 5;      // libmp3lame's 0 (best) to 9 (fastest)
    bool explicitMode = false;  // mono or plain stereo, not the encoder's own choice
    bool vbr = false;           // a variable bit rate around `quality` instead of `kbps`
};

// Fills `count` frames from frame `start`; `right` is null for mono.
using PcmBlock = std::function<void(long start, int count, short* left, short* right)>;

// False with `error` set when the encoder or the file fails.
bool WriteMp3(const std::string& path, const Mp3Settings& settings, long frames, const PcmBlock& fill,
              std::string* error);
