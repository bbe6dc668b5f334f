#include "pcm_source.h"

#include <algorithm>
#include <cstdint>

namespace {
// Frames decoded at a time: about a tenth of a second.
const size_t DecodeFrames = 4096;
// Rates music is recorded at. Beyond them a file is not music, and
// converting it would take memory out of all proportion (a file claiming
// 1 Hz would grow 44100 times).
const long LowestRate = 4000;
const long HighestRate = 384000;

// Frames at one rate as frames at another, in 128 bits: a length or position
// a damaged file claims cannot overflow.
int64_t ConvertFrames(int64_t frames, long from, long to) {
    const __int128 converted = static_cast<__int128>(frames) * to / from;
    return converted > INT64_MAX ? INT64_MAX : static_cast<int64_t>(converted);
}
}  // namespace

PcmSource::~PcmSource() {
    if (convert) {
        SDL_FreeAudioStream(convert);
    }
}

bool PcmSource::Open(const std::string& path, bool prescan) {
    decoder = OpenMusicDecoder(path, prescan);
    if (!decoder || decoder->Rate() < LowestRate || decoder->Rate() > HighestRate) {
        decoder.reset();
        return false;
    }
    convert = SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(decoder->Channels()),
                                 static_cast<int>(decoder->Rate()), AUDIO_S16SYS, Channels, Rate);
    if (!convert) {
        decoder.reset();
        return false;
    }
    const int64_t fileFrames = decoder->LengthFrames();
    lengthFrames = fileFrames >= 0 ? ConvertFrames(fileFrames, decoder->Rate(), Rate) : -1;
    decodeBuffer.resize(DecodeFrames * static_cast<size_t>(decoder->Channels()));
    return true;
}

bool PcmSource::Seek(int64_t frame) {
    if (!decoder || frame < 0 || (lengthFrames >= 0 && frame > lengthFrames)) {
        return false;
    }
    if (!decoder->Seek(ConvertFrames(frame, Rate, decoder->Rate()))) {
        return false;
    }
    SDL_AudioStreamClear(convert);
    decoderDone = false;
    position = frame;
    return true;
}

// The resampler holds back the last frames it was given until more follow:
// silence follows the music, and what comes out is cut at its length.
void PcmSource::FinishConversion() {
    std::fill(decodeBuffer.begin(), decodeBuffer.end(), 0);
    SDL_AudioStreamPut(convert, decodeBuffer.data(), static_cast<int>(decodeBuffer.size() * sizeof(int16_t)));
    SDL_AudioStreamFlush(convert);
    decoderDone = true;
}

size_t PcmSource::Read(int16_t* out, size_t frames) {
    if (!decoder) {
        return 0;
    }
    if (lengthFrames >= 0) {
        frames = static_cast<size_t>(
            std::clamp<int64_t>(lengthFrames - position, 0, static_cast<int64_t>(frames)));
    }
    const int wanted = static_cast<int>(frames * BytesPerFrame);
    while (!decoderDone && SDL_AudioStreamAvailable(convert) < wanted) {
        const size_t got = decoder->Read(decodeBuffer.data(), DecodeFrames);
        if (got == 0) {
            FinishConversion();
            break;
        }
        SDL_AudioStreamPut(convert, decodeBuffer.data(), static_cast<int>(got * decoder->Channels() * 2));
    }
    const int got = std::max(SDL_AudioStreamGet(convert, out, wanted), 0);
    position += got / BytesPerFrame;
    return static_cast<size_t>(got / BytesPerFrame);
}
