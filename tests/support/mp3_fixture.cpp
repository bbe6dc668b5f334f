#include "mp3_fixture.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tools/make_media/mp3_writer.h"

bool WriteSineMp3(const std::string& path, const SineSpec& spec) {
    Mp3Settings settings;
    settings.rate = spec.rate;
    settings.channels = spec.channels;
    settings.kbps = spec.channels == 1 ? 128 : 192;
    settings.quality = 2;
    settings.explicitMode = true;
    std::string error;
    return WriteMp3(path, settings, static_cast<long>(spec.rate * spec.seconds),
                    [&spec](long start, int count, short* left, short* right) {
                        for (int i = 0; i < count; ++i) {
                            const double t = static_cast<double>(start + i) / spec.rate;
                            const bool later = spec.laterHz > 0.0 && t >= spec.changeAt;
                            const double value = spec.amplitude * std::sin(2.0 * M_PI * (later ? spec.laterHz : spec.hz) * t);
                            left[i] = static_cast<short>(std::lround(value * 32767.0));
                            if (right) {
                                right[i] = left[i];
                            }
                        }
                    },
                    &error);
}

std::string MakeTempDir() {
    char pattern[] = "/tmp/dwip-test-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir ? dir : "";
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string RunShell(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        return output;
    }
    char buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0) {
        output.append(buffer, got);
    }
    pclose(pipe);
    return output;
}
