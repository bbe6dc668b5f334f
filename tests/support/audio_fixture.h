// Music files of every format a maker might bring, made at test time: a sine
// of chosen frequency, rate and channels.
#pragma once

#include <string>

#include "tests/support/mp3_fixture.h"

enum class MusicFormat {
    Mp3,           // constant bit rate
    Mp3Vbr,        // variable bit rate
    Mp3WithCover,  // behind an ID3v2 tag holding a 1 MB picture
    Mp3WithApeTag, // followed by an APEv2 tag
    Wav,
    Aiff,
    Flac,
    Vorbis,
    Opus,
};

// False if an encoder or the file failed.
bool WriteToneMusic(const std::string& path, const Tone& tone, MusicFormat format);
