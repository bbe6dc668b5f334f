#include "spectrum.h"

#include <cmath>

Spectrum512::Spectrum512() {
    // Periodic Hann window: its mean is exactly 0.5.
    for (int n = 0; n < Size; ++n) {
        window[n] = static_cast<float>(0.5 * (1.0 - std::cos(2.0 * M_PI * n / Size)));
    }
}

void Spectrum512::Compute(const float* samples, float* out) {
    for (int n = 0; n < Size; ++n) {
        input[n] = samples[n] * window[n];
    }
    fft.transform_real(input, output);
    // A sine of amplitude A gives A * Size/2 * 0.5 in its bin. The first
    // output holds the constant part in its real half (and the highest
    // frequency, not wanted here, in its imaginary half).
    const float scale = 4.0f / Size;
    out[0] = std::abs(output[0].real()) * scale;
    for (int k = 1; k < Bins; ++k) {
        out[k] = std::abs(output[k]) * scale;
    }
}
