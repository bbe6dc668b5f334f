// The sample music: 150 seconds at 120 beats a minute. A kick on the beat
// sits on 86 Hz and a bass on the off-beat on 345 Hz, the two spectrum bins
// that shake the background; a melody plays over them.
#include <algorithm>
#include <cmath>

#include "media.h"
#include "mp3_writer.h"

namespace {

const int Rate = 44100;
const int Seconds = 150;
const double BeatSeconds = 0.5;
const double KickHz = Rate / 512.0;        // centre of spectrum bin 1
const double BassHz = 4.0 * Rate / 512.0;  // centre of spectrum bin 4
const double TwoPi = 2.0 * M_PI;

// A pentatonic line, as frequencies in Hz; 0 is a rest.
const double Melody[] = {523.25, 587.33, 659.25, 783.99, 880.00, 783.99, 659.25, 0.0,
                         587.33, 659.25, 523.25, 440.00, 523.25, 587.33, 0.0,    0.0};

struct Frame {
    double left;
    double right;
};

Frame Sample(long n) {
    const double t = static_cast<double>(n) / Rate;
    const double inBeat = std::fmod(t, BeatSeconds);
    const long beat = static_cast<long>(t / BeatSeconds);

    // Kick: a short drop in pitch onto 86 Hz, then a ringing decay.
    const double kickPhase = TwoPi * (KickHz * inBeat + 0.02 * (1.0 - std::exp(-inBeat / 0.02)) * 40.0);
    const double kick = 0.45 * std::exp(-inBeat / 0.18) * std::sin(kickPhase);

    // Bass on the off-beat, from the first bar of the main part on.
    double bass = 0.0;
    const double offBeat = inBeat - BeatSeconds / 2;
    if (t > 16.0 && offBeat >= 0.0) {
        bass = 0.28 * std::exp(-offBeat / 0.12) * std::sin(TwoPi * BassHz * offBeat);
    }

    // Melody in sixteenths of a bar, after the intro.
    double melodyLeft = 0.0;
    double melodyRight = 0.0;
    if (t > 8.0) {
        const double step = BeatSeconds / 2;
        const long note = static_cast<long>(t / step);
        const double inNote = std::fmod(t, step);
        const double hz = Melody[note % 16];
        if (hz > 0.0) {
            const double envelope = std::min(1.0, inNote / 0.005) * std::exp(-inNote / 0.09);
            const double tone = std::sin(TwoPi * hz * inNote) + 0.2 * std::sin(3.0 * TwoPi * hz * inNote);
            const double pan = (note % 2) ? 0.7 : 1.0;
            melodyLeft = 0.12 * envelope * tone * pan;
            melodyRight = 0.12 * envelope * tone * (1.7 - pan);
        }
    }

    // A soft pad that changes chord every two bars.
    static const double Roots[] = {220.0, 174.61, 196.0, 164.81};
    const double root = Roots[(beat / 8) % 4];
    const double pad = 0.04 * (std::sin(TwoPi * root * t) + std::sin(TwoPi * root * 1.5 * t));

    double left = kick + bass + melodyLeft + pad;
    double right = kick + bass + melodyRight + pad;
    // Fade in and out.
    const double fade = std::min({1.0, t / 0.5, (Seconds - t) / 3.0});
    return Frame{left * fade, right * fade};
}

short ToPcm(double value) {
    value = std::max(-1.0, std::min(1.0, value));
    return static_cast<short>(std::lround(value * 32767.0));
}

}  // namespace

bool WriteMusic(const std::string& path, std::string* error) {
    Mp3Settings settings;
    settings.rate = Rate;
    return WriteMp3(path, settings, static_cast<long>(Rate) * Seconds,
                    [](long start, int count, short* left, short* right) {
                        for (int i = 0; i < count; ++i) {
                            const Frame f = Sample(start + i);
                            left[i] = ToPcm(f.left);
                            right[i] = ToPcm(f.right);
                        }
                    },
                    error);
}
