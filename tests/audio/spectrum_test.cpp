#include "spectrum.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

std::vector<float> Sine(double cyclesPerWindow, double amplitude) {
    std::vector<float> samples(Spectrum512::Size);
    for (int n = 0; n < Spectrum512::Size; ++n) {
        samples[n] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * cyclesPerWindow * n / Spectrum512::Size));
    }
    return samples;
}

int Peak(const float* bins) {
    return static_cast<int>(std::max_element(bins, bins + Spectrum512::Bins) - bins);
}

struct BinCase {
    int bin;
    double amplitude;
};

class SpectrumBinTest : public ::testing::TestWithParam<BinCase> {};

TEST_P(SpectrumBinTest, ASineCentredOnABinReadsItsAmplitudeThere) {
    Spectrum512 spectrum;
    float bins[Spectrum512::Bins];
    const auto samples = Sine(GetParam().bin, GetParam().amplitude);
    spectrum.Compute(samples.data(), bins);
    EXPECT_EQ(Peak(bins), GetParam().bin);
    EXPECT_NEAR(bins[GetParam().bin], GetParam().amplitude, 1e-3);
    // The Hann window keeps the energy within the neighbouring bins.
    const int far = GetParam().bin + 3;
    EXPECT_LT(bins[far], 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Bins, SpectrumBinTest,
                         ::testing::Values(BinCase{1, 1.0}, BinCase{4, 1.0}, BinCase{4, 0.25}, BinCase{100, 0.5}),
                         [](const auto& info) {
                             return "bin" + std::to_string(info.param.bin) + "_amplitude" +
                                    std::to_string(static_cast<int>(info.param.amplitude * 100));
                         });

TEST(Spectrum, SilenceReadsZeroEverywhere) {
    Spectrum512 spectrum;
    const std::vector<float> silence(Spectrum512::Size, 0.0f);
    float bins[Spectrum512::Bins];
    std::fill(bins, bins + Spectrum512::Bins, 7.0f);
    spectrum.Compute(silence.data(), bins);
    for (float bin : bins) {
        EXPECT_EQ(bin, 0.0f);
    }
}

}  // namespace
