// The eighteen pictures decoded on all cores, from the moment the program
// starts, while the window and the rendering context are being made; the
// texture set then takes them one by one, in its own order.
#pragma once

#include "media/picture_decoder.h"

// Starts decoding every picture for a picture area `pictureHeight` pixels
// high (the presentation's 4:3 view: 600 in the player's window). Only the
// first call counts.
void StartPictureDecoding(int pictureHeight);

// Picture i of the table, waiting until it is decoded. Each is taken once;
// nothing (as when stopping) before decoding has started.
DecodedPicture TakeDecodedPicture(int i);

// Waits for the workers and forgets what was not taken.
void StopPictureDecoding();
