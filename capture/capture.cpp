#include "capture/capture.h"

#include <sys/stat.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include "capture/contact_sheet.h"
#include "capture/frame_pipeline.h"
#include "capture/frame_timeline.h"
#include "capture/headless_gl.h"
#include "capture/output_file.h"
#include "capture/png_file.h"
#include "capture/progress.h"
#include "capture/render_target.h"
#include "capture/video_encoder.h"
#include "gl.h"
#include "media/graphics_setup.h"
#include "media/music.h"
#include "media/picture_loader.h"
#include "media/picture_table.h"
#include "media/texture_set.h"
#include "scenes/scene_chain.h"
#include "stop_signals.h"

namespace {

const int SmallestSide = 64;

double Seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int Failure(const std::string& text) {
    std::fprintf(stderr, "dwip-capture: %s\n", text.c_str());
    return 1;
}

std::string Moment(double seconds) {
    char text[32];
    return FormatDuration(seconds, text);
}

std::string FrameName(const std::string& pattern, int64_t frame) {
    char name[4096];
    std::snprintf(name, sizeof(name), pattern.c_str(), static_cast<int>(frame));
    return name;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

// Everything drawing needs, set up in the order the player sets it up and
// released in reverse.
class Session {
public:
    ~Session() {
        if (musicStarted) {
            BASS_Free();
            MusicStream = 0;
        }
        if (graphicsPrepared) {
            DestroyRenderTarget();
            ReleaseGraphics();
            ReleaseTextureSet();
        }
        DestroyHeadlessGl();
    }

    bool StartGraphics(int width, int height, int pictureHeight, std::string* error) {
        if (!CreateHeadlessGl(error)) {
            *error = "no OpenGL: " + *error;
            return false;
        }
        if (!epoxy_has_gl_extension("GL_EXT_framebuffer_object")) {
            *error = "the OpenGL driver offers no framebuffer objects (GL_EXT_framebuffer_object)";
            return false;
        }
        int maxWidth = 0;
        int maxHeight = 0;
        MaxRenderSize(&maxWidth, &maxHeight);
        if (width > maxWidth || height > maxHeight) {
            *error = std::to_string(width) + "x" + std::to_string(height) + " is larger than the OpenGL driver draws (" +
                     std::to_string(maxWidth) + "x" + std::to_string(maxHeight) + ")";
            return false;
        }
        graphicsPrepared = true;
        if (!PrepareGraphics(pictureHeight)) {
            *error = "the OpenGL driver's framebuffer objects do not work";
            return false;
        }
        return CreateRenderTarget(width, height, error);
    }

    // The music as a decoding stream in MusicStream; false when there is none.
    bool StartMusic() {
        musicStarted = BASS_Init(0, 44100, 0, nullptr, nullptr) != FALSE;
        MusicStream = OpenMusicForDecoding();
        return MusicStream != 0;
    }

private:
    bool graphicsPrepared = false;
    bool musicStarted = false;
};

struct Range {
    int64_t first;
    int64_t end;  // exclusive
    int64_t total;
};

std::string CheckSize(const CaptureOptions& options) {
    const std::string size = std::to_string(options.width) + "x" + std::to_string(options.height);
    if (options.width % 2 != 0 || options.height % 2 != 0) {
        return "the size " + size + " is odd: video frames need even sides";
    }
    if (options.width < SmallestSide || options.height < SmallestSide) {
        return "the size " + size + " is too small: at least " + std::to_string(SmallestSide) + " pixels a side";
    }
    return "";
}

// Checks that writing OUT replaces nothing without leave.
std::string CheckNotThere(const CaptureOptions& options, const Range& range) {
    if (options.overwrite) {
        return "";
    }
    if (options.mode != CaptureOptions::Sequence) {
        return Exists(options.out) ? options.out + " exists; --overwrite replaces it" : "";
    }
    for (int64_t n = range.first; n < range.end; ++n) {
        const std::string name = FrameName(options.out, n);
        if (Exists(name)) {
            return name + " exists; --overwrite replaces the frames of an image sequence";
        }
    }
    return "";
}

void ReportMusic(bool music, bool video) {
    if (!music) {
        std::fprintf(stderr, "dwip-capture: %s is missing or unreadable: the pictures keep their timeline%s\n",
                     MusicPath, video ? " and the video has no sound" : ", without the music's spectrum");
    }
}

int Stopped(const CaptureOptions& options, int64_t done, const Range& range) {
    std::fprintf(stderr, "dwip-capture: stopped after %lld of %lld frames (at %s of music); %s holds what was rendered\n",
                 static_cast<long long>(done), static_cast<long long>(range.end - range.first),
                 Moment(static_cast<double>(range.first + done) / options.fps).c_str(), options.out.c_str());
    return 130;
}

double FileBytes(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? static_cast<double>(info.st_size) : 0.0;
}

void Summarise(const CaptureOptions& options, const Range& range, int64_t frames, double elapsed) {
    double bytes = 0.0;
    if (options.mode == CaptureOptions::Sequence) {
        for (int64_t n = range.first; n < range.first + frames; ++n) {
            bytes += FileBytes(FrameName(options.out, n));
        }
    } else {
        bytes = FileBytes(options.out);
    }
    const double megabytes = bytes / 1e6;
    const double length = static_cast<double>(frames) / options.fps;
    std::fprintf(stderr, "dwip-capture: %s: %lld frames, %s, %.1f MB, %.2f x real time\n", options.out.c_str(),
                 static_cast<long long>(frames), Moment(length).c_str(), megabytes,
                 elapsed > 0.0 ? length / elapsed : 0.0);
}

// Frames [range.first, range.end) through a pipeline of workers.
int CaptureFrames(const CaptureOptions& options, const Range& range, bool music, CaptureStats* stats) {
    const bool video = options.mode == CaptureOptions::Video;
    VideoEncoder encoder;
    if (video) {
        VideoSettings settings;
        settings.path = options.out;
        settings.width = options.width;
        settings.height = options.height;
        settings.fps = options.fps;
        settings.preset = options.preset;
        settings.overwrite = options.overwrite;
        if (music) {
            // A second decoding stream of the same music, for the sound.
            settings.music = OpenMusicForDecoding();
            BASS_ChannelSetPosition(settings.music, FramePosition(range.first, options.fps));
        }
        std::string error;
        if (!encoder.Open(settings, &error)) {
            return Failure(error);
        }
    }
    auto writeFrame = [&](int64_t index, const std::vector<uint8_t>& rgba, std::string* error) {
        if (video) {
            return encoder.Write(rgba, error);
        }
        const std::vector<uint8_t> rgb = RgbFromFrame(rgba, options.width, options.height);
        return WritePng(FrameName(options.out, index), rgb, options.width, options.height, options.overwrite, error);
    };
    // One worker keeps a video's frames in order; PNG frames are independent.
    FramePipeline pipeline(video ? 1 : 2, writeFrame);

    const double start = Seconds();
    Progress progress(range.end - range.first);
    int64_t done = 0;
    bool more = true;
    for (int64_t n = range.first; n < range.end && more && StopSignal() == 0; ++n) {
        const double before = Seconds();
        if (!DrawFrame(n, options.fps)) {
            break;
        }
        const double drawn = Seconds();
        std::vector<uint8_t> rgba = pipeline.TakeBuffer();
        ReadFrame(options.width, options.height, &rgba);
        if (stats) {
            stats->drawSeconds += drawn - before;
            stats->readSeconds += Seconds() - drawn;
        }
        more = pipeline.Push(n, std::move(rgba));
        done += more ? 1 : 0;
        progress.FrameDone(done);
    }
    progress.Close();
    std::string error;
    if (StopSignal() != 0 && done == 0) {
        pipeline.Finish(&error);
        std::fprintf(stderr, "dwip-capture: stopped before the first frame; nothing written\n");
        return 130;
    }
    if (!pipeline.Finish(&error) || (video && !encoder.Finish(&error))) {
        return Failure(error);
    }
    const double elapsed = Seconds() - start;
    if (stats) {
        stats->frames = done;
        stats->convertSeconds = encoder.convertSeconds;
        stats->encodeSeconds = encoder.encodeSeconds;
        stats->totalSeconds = elapsed;
    }
    if (StopSignal() != 0) {
        return Stopped(options, done, range);
    }
    Summarise(options, range, done, elapsed);
    return 0;
}

int CaptureStill(const CaptureOptions& options, int64_t frame) {
    if (!SkipFrames(0, frame, options.fps) || !DrawFrame(frame, options.fps)) {
        return Failure("--at " + Moment(options.at) + " is past the end of the presentation");
    }
    std::vector<uint8_t> rgba;
    ReadFrame(options.width, options.height, &rgba);
    std::string error;
    if (!WritePng(options.out, RgbFromFrame(rgba, options.width, options.height), options.width, options.height,
                  options.overwrite, &error)) {
        return Failure(error);
    }
    std::fprintf(stderr, "dwip-capture: %s: frame %lld, at %s of music\n", options.out.c_str(),
                 static_cast<long long>(frame), Moment(static_cast<double>(frame) / options.fps).c_str());
    return 0;
}

int CaptureSheet(const CaptureOptions& options, int renderWidth, int renderHeight, int64_t total) {
    const SheetLayout layout = LayOutSheet(options.sheetTiles, options.width, options.height);
    ContactSheet sheet(layout);
    std::vector<uint8_t> rgba;
    int64_t next = 0;  // the first frame the scenes have not seen
    for (int i = 0; i < options.sheetTiles && StopSignal() == 0; ++i) {
        // The middle of each of N equal stretches of the presentation.
        const int64_t frame = (2 * i + 1) * total / (2 * options.sheetTiles);
        if (!SkipFrames(next, frame, options.fps) || !DrawFrame(frame, options.fps)) {
            return Failure("the presentation ended before frame " + std::to_string(frame));
        }
        next = frame + 1;
        ReadFrame(renderWidth, renderHeight, &rgba);
        sheet.Place(i, rgba, renderWidth, renderHeight, static_cast<double>(frame) / options.fps);
    }
    if (StopSignal() != 0) {
        std::fprintf(stderr, "dwip-capture: stopped; no sheet written\n");
        return 130;
    }
    if (!sheet.LabelProblem().empty()) {
        std::fprintf(stderr, "dwip-capture: the thumbnails have no labels: %s\n", sheet.LabelProblem().c_str());
    }
    std::string error;
    if (!WritePng(options.out, sheet.Rgb(), layout.width, layout.height, options.overwrite, &error)) {
        return Failure(error);
    }
    std::fprintf(stderr, "dwip-capture: %s: %d thumbnails\n", options.out.c_str(), options.sheetTiles);
    return 0;
}

}  // namespace

int RunCapture(const CaptureOptions& options, CaptureStats* stats) {
    CatchStopSignals();
    std::string problem = CheckOutputName(options);
    problem = problem.empty() ? CheckSize(options) : problem;
    problem = problem.empty() ? CheckOutputFolder(options.mode == CaptureOptions::Sequence
                                                      ? FrameName(options.out, 0)
                                                      : options.out)
                              : problem;
    if (!problem.empty()) {
        return Failure(problem);
    }

    const int64_t total = PresentationFrames(options.fps);
    const double length = static_cast<double>(total) / options.fps;
    Range range{0, total, total};
    if (options.mode == CaptureOptions::Video || options.mode == CaptureOptions::Sequence) {
        range.first = FrameAt(options.from, options.fps);
        if (options.to >= 0.0) {
            range.end = std::min(total, static_cast<int64_t>(std::ceil(options.to * options.fps - 1e-6)));
        }
        if (range.first >= total) {
            return Failure("--from " + Moment(options.from) + " is past the end of the presentation (" +
                           Moment(length) + ")");
        }
    }
    const int64_t stillFrame = FrameAt(options.at, options.fps);
    if (options.mode == CaptureOptions::Still && stillFrame >= total) {
        return Failure("--at " + Moment(options.at) + " is past the end of the presentation (" + Moment(length) + ")");
    }
    problem = CheckNotThere(options, range);
    if (!problem.empty()) {
        return Failure(problem);
    }

    // A sheet's thumbnails are reduced from frames twice their size.
    const bool sheet = options.mode == CaptureOptions::Sheet;
    const int renderWidth = sheet ? options.width * 2 : options.width;
    const int renderHeight = sheet ? options.height * 2 : options.height;
    // The pictures decode on the other cores, for the size they are drawn at,
    // while the rendering context is made.
    const int pictureHeight = CentredPicture(renderWidth, renderHeight).height;
    StartPictureDecoding(pictureHeight);
    Session session;
    if (!session.StartGraphics(renderWidth, renderHeight, pictureHeight, &problem)) {
        return Failure(problem);
    }
    const bool music = session.StartMusic();
    ReportMusic(music, options.mode == CaptureOptions::Video);
    ResetPresentation();

    switch (options.mode) {
    case CaptureOptions::Still:
        return CaptureStill(options, stillFrame);
    case CaptureOptions::Sheet:
        return CaptureSheet(options, renderWidth, renderHeight, total);
    case CaptureOptions::Video:
    case CaptureOptions::Sequence:
        if (range.first > 0 && !SkipFrames(0, range.first, options.fps)) {
            return Failure("--from " + Moment(options.from) + " is past the end of the presentation");
        }
        return CaptureFrames(options, range, music, stats);
    }
    return 1;
}
