#include "spectrum.h"

#include <cmath>

Spectrum512::Spectrum512() : config(kiss_fftr_alloc(Size, 0, nullptr, nullptr)) {
    // Periodic Hann window: its mean is exactly 0.5.
    for (int n = 0; n < Size; ++n) {
        window[n] = static_cast<float>(0.5 * (1.0 - std::cos(2.0 * M_PI * n / Size)));
    }
}

Spectrum512::~Spectrum512() {
    kiss_fftr_free(config);
}

void Spectrum512::Compute(const float* samples, float* out) {
    for (int n = 0; n < Size; ++n) {
        input[n] = samples[n] * window[n];
    }
    kiss_fftr(config, input, output);
    // A sine of amplitude A gives A * Size/2 * 0.5 in its bin.
    const float scale = 4.0f / Size;
    for (int k = 0; k < Bins; ++k) {
        out[k] = std::sqrt(output[k].r * output[k].r + output[k].i * output[k].i) * scale;
    }
}
