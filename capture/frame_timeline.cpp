#include "capture/frame_timeline.h"

#include <algorithm>
#include <cmath>

#include "gl.h"
#include "media/music_clock.h"
#include "scenes/scene_chain.h"
#include "scenes/scenes.h"

uint64_t FramePosition(int64_t frame, int fps) {
    return static_cast<uint64_t>(frame) * 44100 / static_cast<uint64_t>(fps) * 4;
}

int64_t FrameAt(double seconds, int fps) {
    // A moment given in decimals lands on its frame despite rounding.
    return static_cast<int64_t>(std::floor(seconds * fps + 1e-6));
}

int64_t PresentationFrames(int fps) {
    int64_t frame = 0;
    while (static_cast<double>(BytesToPosition(FramePosition(frame, fps))) < CreditsEnd) {
        ++frame;
    }
    // The frame the credits end in is shown too: black.
    return frame + 1;
}

bool SkipFrames(int64_t first, int64_t end, int fps) {
    // The scenes run as usual, but nothing they draw reaches a pixel.
    glEnable(GL_RASTERIZER_DISCARD);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 0, 0);
    bool running = true;
    for (int64_t n = first; n < end && running; ++n) {
        SetMusicClock(FramePosition(n, fps));
        running = RunSceneChain();
    }
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_RASTERIZER_DISCARD);
    return running;
}

bool DrawFrame(int64_t frame, int fps) {
    const uint64_t position = FramePosition(frame, fps);
    if (MusicStream != 0) {
        BASS_ChannelSetPosition(MusicStream, position);
        SampleMusic();
    } else {
        SetMusicClock(position);
        std::fill(SpectrumBuffer, SpectrumBuffer + 256, 0.0f);
    }
    return RunSceneChain();
}
