// The output the playing stream is heard through, watched over: when the
// output stops playing (device or server gone, stream killed, sink
// suspended), the stream's clock runs on in real time and standard error
// says so once; every second or so a new output is tried, and the music is
// taken up where the clock stands when one opens.
#pragma once

#include <memory>

#include "decoded_stream.h"

// Opens the best output there is (true), or none: the stream then runs on
// its clock alone and outputs are looked for in the background.
bool StartPlayback();
void StopPlayback();

// The stream outputs play from now on (null: silence). The caller keeps it
// alive until it is replaced or playback stops.
void SetPlayingStream(DecodedStream* stream);
// The stream starts playing: from the output, or on its own clock without one.
void PlayStream(DecodedStream* stream, double now);
// The stream's heard position now, asking the output what it plays where it can tell.
int64_t StreamHeardFrames(DecodedStream* stream, double now);
