// Frames at exact moments of the music: frame n of a capture at `fps` frames
// a second is drawn with the music clock at n / fps seconds, as the player
// would have sampled it there.
#pragma once

#include <cstdint>

// Bytes of 44.1 kHz 16-bit stereo music at frame n: whole sample frames.
uint64_t FramePosition(int64_t frame, int fps);
// The frame on screen at `seconds` of music.
int64_t FrameAt(double seconds, int fps);
// Frames in the whole presentation: up to the first at or past the credits' end.
int64_t PresentationFrames(int fps);

// Runs the scenes through frames [first, end) without drawing anything, so
// that their latches and the logo's frozen clock stand as they would after
// showing them. False when the presentation ends before `end`.
bool SkipFrames(int64_t first, int64_t end, int fps);

// Sets the music clock and spectrum for frame n, from the decoding stream in
// MusicStream (or the silent timeline without one), and runs the scenes.
// False when the presentation is over: nothing was drawn.
bool DrawFrame(int64_t frame, int fps);
