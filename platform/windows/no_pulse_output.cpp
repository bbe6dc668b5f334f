// Windows has no PulseAudio server: SDL's drivers (WASAPI, DirectSound,
// winmm) play the music.
#include "audio_output.h"

PulseServer ProbePulseServer() {
    return PulseServer::None;
}

std::unique_ptr<AudioOutput> OpenPulseOutput(const AudioFeeder&, std::string* why) {
    *why = "no PulseAudio on this system";
    return nullptr;
}
