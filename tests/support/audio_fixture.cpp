#include "tests/support/audio_fixture.h"

#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "tools/make_media/mp3_writer.h"

namespace {

std::vector<short> SineFrames(const Tone& tone) {
    const long frames = static_cast<long>(tone.rate * tone.seconds);
    std::vector<short> samples(static_cast<size_t>(frames * tone.channels));
    for (long i = 0; i < frames; ++i) {
        const double value = tone.amplitude * std::sin(2.0 * M_PI * tone.hz * i / tone.rate);
        for (int c = 0; c < tone.channels; ++c) {
            samples[static_cast<size_t>(i * tone.channels + c)] = static_cast<short>(std::lround(value * 32767.0));
        }
    }
    return samples;
}

bool WriteWithSndfile(const std::string& path, const Tone& tone, int format) {
    SF_INFO info{};
    info.samplerate = tone.rate;
    info.channels = tone.channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        return false;
    }
    const std::vector<short> samples = SineFrames(tone);
    const sf_count_t frames = static_cast<sf_count_t>(samples.size() / static_cast<size_t>(tone.channels));
    const bool written = sf_writef_short(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && written;
}

void BigEndian32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

void LittleEndian32(std::string& out, uint32_t value) {
    for (int shift = 0; shift <= 24; shift += 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

// An ID3v2.3 tag with one attached picture of about 1 MB, full of bytes that
// look like the start of an MPEG frame.
std::string Id3TagWithCover() {
    std::string picture = "\xFF\xD8\xFF\xE0";
    while (picture.size() < 1024 * 1024) {
        picture += "\xFF\xFB\x90\x64 cover art ";
    }
    std::string frame = std::string("\0image/jpeg\0\x03\0", 14) + picture;
    std::string body = "APIC";
    BigEndian32(body, static_cast<uint32_t>(frame.size()));
    body += std::string("\0\0", 2) + frame;
    std::string tag = std::string("ID3\x03\0\0", 6);
    const uint32_t size = static_cast<uint32_t>(body.size());
    for (int shift = 21; shift >= 0; shift -= 7) {  // sync-safe: seven bits a byte
        tag += static_cast<char>((size >> shift) & 0x7F);
    }
    return tag + body;
}

// An APEv2 tag with one item, header and footer.
std::string ApeTag() {
    std::string item;
    LittleEndian32(item, 5);
    LittleEndian32(item, 0);
    item += std::string("Title\0Dwip!", 11);
    auto block = [&item](uint32_t flags) {
        std::string b = "APETAGEX";
        LittleEndian32(b, 2000);
        LittleEndian32(b, static_cast<uint32_t>(item.size() + 32));
        LittleEndian32(b, 1);
        LittleEndian32(b, flags);
        return b + std::string(8, '\0');
    };
    return block(0xA0000000u) + item + block(0x80000000u);
}

}  // namespace

bool WriteToneMusic(const std::string& path, const Tone& tone, MusicFormat format) {
    switch (format) {
    case MusicFormat::Mp3:
        return WriteToneMp3(path, tone);
    case MusicFormat::Mp3Vbr: {
        Mp3Settings settings;
        settings.rate = tone.rate;
        settings.channels = tone.channels;
        settings.vbr = true;
        settings.quality = 2;
        std::string error;
        const std::vector<short> samples = SineFrames(tone);
        return WriteMp3(path, settings, static_cast<long>(samples.size() / static_cast<size_t>(tone.channels)),
                        [&](long start, int count, short* left, short* right) {
                            for (int i = 0; i < count; ++i) {
                                const size_t at = static_cast<size_t>((start + i) * tone.channels);
                                left[i] = samples[at];
                                if (right) {
                                    right[i] = samples[at + static_cast<size_t>(tone.channels - 1)];
                                }
                            }
                        },
                        &error);
    }
    case MusicFormat::Mp3WithCover:
    case MusicFormat::Mp3WithApeTag: {
        if (!WriteToneMp3(path, tone)) {
            return false;
        }
        const std::string mp3 = ReadFile(path);
        WriteFile(path, format == MusicFormat::Mp3WithCover ? Id3TagWithCover() + mp3 : mp3 + ApeTag());
        return true;
    }
    case MusicFormat::Wav:
        return WriteWithSndfile(path, tone, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    case MusicFormat::Aiff:
        return WriteWithSndfile(path, tone, SF_FORMAT_AIFF | SF_FORMAT_PCM_24);
    case MusicFormat::Flac:
        return WriteWithSndfile(path, tone, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    case MusicFormat::Vorbis:
        return WriteWithSndfile(path, tone, SF_FORMAT_OGG | SF_FORMAT_VORBIS);
    case MusicFormat::Opus:
        return WriteWithSndfile(path, tone, SF_FORMAT_OGG | SF_FORMAT_OPUS);
    }
    return false;
}
