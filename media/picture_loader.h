// The eighteen pictures decoded on all cores from the moment the program
// starts, while the window and the rendering context are being made: every
// file's header checked first, then the pictures decoded in the order the
// presentation first shows them. Once the show runs, decoding leaves a core
// to the frames.
#pragma once

#include <string>

#include "media/picture_decoder.h"
#include "media/picture_table.h"

// Every picture due at the start: what the capture and the tests ask for.
inline constexpr PictureMoments AllAtStart{};

// Starts checking and decoding every picture for a picture area
// `pictureHeight` pixels high; `moments` says when each is first shown, in
// bytes of music. Only the first call counts.
void StartPictureDecoding(int pictureHeight, const PictureMoments& moments = AllAtStart);

// When picture i is first shown (0 before decoding has started).
float PictureMoment(int i);
// What its header check found wrong ("" when it decodes), waiting for the check.
std::string PictureFileProblem(int i);
// Picture i once it is decoded, without waiting: false while it is not.
// Each is taken once.
bool TryTakeDecodedPicture(int i, DecodedPicture* picture);
// Picture i, waiting until it is decoded (or decoding it here when nobody
// has started it). Nothing (as when stopping) before decoding has started.
DecodedPicture TakeDecodedPicture(int i);

// The show has begun: decoding goes on with one core fewer, at a lower
// priority, so that no frame waits for it.
void DecodeInBackground();

// Waits for the workers and forgets what was not taken.
void StopPictureDecoding();
