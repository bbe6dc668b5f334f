#include "capture/video_encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <chrono>
#include <cstring>

#include "capture/output_file.h"

namespace {

const int AudioRate = 44100;

std::string AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof(text));
    return text;
}

double Seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

struct VideoEncoder::State {
    VideoSettings settings;
    OutputFile file;
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    SwsContext* scale = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* sound = nullptr;
    AVPacket* packet = nullptr;
    int64_t frames = 0;
    int64_t samples = 0;  // of sound sent to the encoder
    bool musicEnded = false;
    std::vector<int16_t> pcm;

    ~State() {
        av_packet_free(&packet);
        av_frame_free(&picture);
        av_frame_free(&sound);
        sws_freeContext(scale);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        if (format) {
            avio_closep(&format->pb);
            avformat_free_context(format);
        }
    }

    bool Fail(std::string* error, const std::string& what, int code) {
        *error = settings.path + ": " + what + (code ? ": " + AvError(code) : "");
        if (code == AVERROR(ENOSPC) || code == AVERROR(EDQUOT)) {
            *error = FileError(settings.path, ENOSPC);
        }
        return false;
    }

    // Sends a frame (or, with none, the end) and writes what comes out.
    bool Encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame, std::string* error) {
        int result = avcodec_send_frame(codec, frame);
        if (result < 0) {
            return Fail(error, "encoding failed", result);
        }
        for (;;) {
            result = avcodec_receive_packet(codec, packet);
            if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
                return true;
            }
            if (result < 0) {
                return Fail(error, "encoding failed", result);
            }
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            result = av_interleaved_write_frame(format, packet);
            if (result < 0) {
                return Fail(error, "writing failed", result);
            }
        }
    }

    bool OpenVideo(std::string* error) {
        const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
        if (!codec) {
            return Fail(error, "this FFmpeg has no H.264 encoder (libx264)", 0);
        }
        video = avcodec_alloc_context3(codec);
        video->width = settings.width;
        video->height = settings.height;
        video->time_base = AVRational{1, settings.fps};
        video->framerate = AVRational{settings.fps, 1};
        video->pix_fmt = AV_PIX_FMT_YUV420P;
        video->gop_size = settings.fps * 2;
        video->thread_count = 0;  // as many as x264 finds useful
        video->color_primaries = AVCOL_PRI_BT709;
        video->color_trc = AVCOL_TRC_BT709;
        video->colorspace = AVCOL_SPC_BT709;
        video->color_range = AVCOL_RANGE_MPEG;
        if (format->oformat->flags & AVFMT_GLOBALHEADER) {
            video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        }
        AVDictionary* options = nullptr;
        av_dict_set(&options, "preset", settings.preset.c_str(), 0);
        av_dict_set_int(&options, "crf", settings.crf, 0);
        const int result = avcodec_open2(video, codec, &options);
        av_dict_free(&options);
        if (result < 0) {
            return Fail(error, "the H.264 encoder would not start", result);
        }
        videoStream = avformat_new_stream(format, nullptr);
        avcodec_parameters_from_context(videoStream->codecpar, video);
        videoStream->time_base = video->time_base;
        videoStream->avg_frame_rate = video->framerate;

        scale = sws_getContext(settings.width, settings.height, AV_PIX_FMT_RGBA, settings.width, settings.height,
                               AV_PIX_FMT_YUV420P, SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
        if (!scale) {
            return Fail(error, "no colour conversion to yuv420p", 0);
        }
        // Full-range RGB in, limited-range BT.709 out, as the stream is tagged.
        sws_setColorspaceDetails(scale, sws_getCoefficients(SWS_CS_DEFAULT), 1, sws_getCoefficients(SWS_CS_ITU709), 0,
                                 0, 1 << 16, 1 << 16);
        picture = av_frame_alloc();
        picture->format = AV_PIX_FMT_YUV420P;
        picture->width = settings.width;
        picture->height = settings.height;
        if (av_frame_get_buffer(picture, 0) < 0) {
            return Fail(error, "out of memory", 0);
        }
        return true;
    }

    bool OpenAudio(std::string* error) {
        const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
        if (!codec) {
            return Fail(error, "this FFmpeg has no AAC encoder", 0);
        }
        audio = avcodec_alloc_context3(codec);
        audio->sample_fmt = AV_SAMPLE_FMT_FLTP;
        audio->sample_rate = AudioRate;
        av_channel_layout_default(&audio->ch_layout, 2);
        audio->bit_rate = 192000;
        audio->time_base = AVRational{1, AudioRate};
        if (format->oformat->flags & AVFMT_GLOBALHEADER) {
            audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        }
        const int result = avcodec_open2(audio, codec, nullptr);
        if (result < 0) {
            return Fail(error, "the AAC encoder would not start", result);
        }
        audioStream = avformat_new_stream(format, nullptr);
        avcodec_parameters_from_context(audioStream->codecpar, audio);
        audioStream->time_base = audio->time_base;
        sound = av_frame_alloc();
        sound->format = AV_SAMPLE_FMT_FLTP;
        sound->nb_samples = audio->frame_size;
        sound->sample_rate = AudioRate;
        av_channel_layout_copy(&sound->ch_layout, &audio->ch_layout);
        if (av_frame_get_buffer(sound, 0) < 0) {
            return Fail(error, "out of memory", 0);
        }
        pcm.resize(static_cast<size_t>(audio->frame_size) * 2);
        return true;
    }

    // The music up to sample `until` in whole frames of the encoder, and with
    // `last` the shorter frame that ends it; silence where the music is over,
    // so both streams last as long.
    bool EncodeSoundUntil(int64_t until, bool last, std::string* error) {
        const int64_t frameSize = audio->frame_size;
        for (;;) {
            const int64_t remaining = until - samples;
            if (remaining <= 0 || (!last && remaining < frameSize)) {
                return true;
            }
            const int count = static_cast<int>(std::min(frameSize, remaining));
            int got = 0;
            if (!musicEnded) {
                const DWORD bytes = BASS_ChannelGetData(settings.music, pcm.data(), static_cast<DWORD>(count * 4));
                musicEnded = bytes == static_cast<DWORD>(-1);
                got = musicEnded ? 0 : static_cast<int>(bytes / 4);
            }
            if (av_frame_make_writable(sound) < 0) {
                return Fail(error, "out of memory", 0);
            }
            float* left = reinterpret_cast<float*>(sound->data[0]);
            float* right = reinterpret_cast<float*>(sound->data[1]);
            for (int i = 0; i < count; ++i) {
                left[i] = i < got ? pcm[static_cast<size_t>(i) * 2] / 32768.0f : 0.0f;
                right[i] = i < got ? pcm[static_cast<size_t>(i) * 2 + 1] / 32768.0f : 0.0f;
            }
            sound->nb_samples = count;
            sound->pts = samples;
            samples += count;
            if (!Encode(audio, audioStream, sound, error)) {
                return false;
            }
        }
    }

    int64_t SamplesForFrames(int64_t count) const { return count * AudioRate / settings.fps; }
};

VideoEncoder::VideoEncoder() = default;
VideoEncoder::~VideoEncoder() = default;

bool VideoEncoder::Open(const VideoSettings& settings, std::string* error) {
    state = std::make_unique<State>();
    State& s = *state;
    s.settings = settings;
    // The encoders' statistics are not for the user; errors are reported here.
    av_log_set_level(AV_LOG_ERROR);
    const AVOutputFormat* container = av_guess_format(nullptr, settings.path.c_str(), nullptr);
    if (!container) {
        return s.Fail(error, "no container for this name", 0);
    }
    if (!s.file.Create(settings.path, error)) {
        return false;
    }
    // The temporary file is written, and for the index at the front read
    // again, under its own name.
    if (avformat_alloc_output_context2(&s.format, container, nullptr, s.file.TemporaryPath().c_str()) < 0) {
        return s.Fail(error, "out of memory", 0);
    }
    if (!s.OpenVideo(error) || (settings.music != 0 && !s.OpenAudio(error))) {
        return false;
    }
    int result = avio_open(&s.format->pb, s.file.TemporaryPath().c_str(), AVIO_FLAG_WRITE);
    if (result < 0) {
        return s.Fail(error, "cannot be written", result);
    }
    AVDictionary* options = nullptr;
    if (std::strcmp(container->name, "mp4") == 0 || std::strcmp(container->name, "mov") == 0) {
        av_dict_set(&options, "movflags", "+faststart", 0);
    }
    result = avformat_write_header(s.format, &options);
    av_dict_free(&options);
    if (result < 0) {
        return s.Fail(error, "writing failed", result);
    }
    s.packet = av_packet_alloc();
    return true;
}

bool VideoEncoder::Write(const std::vector<uint8_t>& rgba, std::string* error) {
    State& s = *state;
    const double start = Seconds();
    if (av_frame_make_writable(s.picture) < 0) {
        return s.Fail(error, "out of memory", 0);
    }
    // OpenGL's rows run from the bottom up: read them backwards.
    const int stride = s.settings.width * 4;
    const uint8_t* lastRow = rgba.data() + static_cast<size_t>(s.settings.height - 1) * static_cast<size_t>(stride);
    const int strides[1] = {-stride};
    sws_scale(s.scale, &lastRow, strides, 0, s.settings.height, s.picture->data, s.picture->linesize);
    s.picture->pts = s.frames++;
    const double converted = Seconds();
    convertSeconds += converted - start;
    const bool written = s.Encode(s.video, s.videoStream, s.picture, error) &&
                         (!s.audio || s.EncodeSoundUntil(s.SamplesForFrames(s.frames), false, error));
    encodeSeconds += Seconds() - converted;
    return written;
}

bool VideoEncoder::Finish(std::string* error) {
    State& s = *state;
    if (s.audio && !s.EncodeSoundUntil(s.SamplesForFrames(s.frames), true, error)) {
        return false;
    }
    if (!s.Encode(s.video, s.videoStream, nullptr, error) ||
        (s.audio && !s.Encode(s.audio, s.audioStream, nullptr, error))) {
        return false;
    }
    int result = av_write_trailer(s.format);
    if (result < 0) {
        return s.Fail(error, "writing failed", result);
    }
    result = avio_closep(&s.format->pb);
    if (result < 0) {
        return s.Fail(error, "writing failed", result);
    }
    return s.file.Commit(s.settings.overwrite, error);
}
