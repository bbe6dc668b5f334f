#include "mp3_fixture.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tools/make_media/mp3_writer.h"

bool WriteToneMp3(const std::string& path, const Tone& tone) {
    Mp3Settings settings;
    settings.rate = tone.rate;
    settings.channels = tone.channels;
    settings.kbps = tone.channels == 1 ? 128 : 192;
    settings.quality = 2;
    settings.explicitMode = true;
    std::string error;
    return WriteMp3(path, settings, static_cast<long>(tone.rate * tone.seconds),
                    [&tone](long start, int count, short* left, short* right) {
                        for (int i = 0; i < count; ++i) {
                            const double t = static_cast<double>(start + i) / tone.rate;
                            const bool later = tone.laterHz > 0.0 && t >= tone.changeAt;
                            const double value = tone.amplitude * std::sin(2.0 * M_PI * (later ? tone.laterHz : tone.hz) * t);
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
