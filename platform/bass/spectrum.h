// Magnitudes of a 512-sample FFT, Hann-windowed, scaled so that a full-scale
// sine centred on bin k reads 1.0 in bin k. kissfft's header-only C++ form,
// so that every build of the program, native or not, computes it alike.
#pragma once

#include <kissfft.hh>

#include <complex>
#include <cstdint>

class Spectrum512 {
public:
    static constexpr int Size = 512;
    static constexpr int Bins = Size / 2;

    Spectrum512();
    Spectrum512(const Spectrum512&) = delete;
    Spectrum512& operator=(const Spectrum512&) = delete;

    // samples: Size mono samples in [-1, 1]; out: Bins magnitudes. Allocates nothing.
    void Compute(const float* samples, float* out);

private:
    // A real transform of Size samples is a complex one of half the size.
    kissfft<float> fft{Size / 2, false};
    float window[Size];
    float input[Size];
    std::complex<float> output[Size / 2];
};

// One stereo frame of 16-bit samples mixed to a mono sample in [-1, 1].
inline float MonoSample(const int16_t* frame) {
    return (static_cast<float>(frame[0]) + static_cast<float>(frame[1])) / 65536.0f;
}
