// Decoded pictures made into textures on the rendering thread: those the
// first frame shows at start-up, the others between frames, a band of rows
// at a time within a small budget, each whole before its moment.
#pragma once

// With the rendering context current: tells what the header checks found,
// then uploads every picture due at the start, whole.
void UploadStartPictures();
// Between frames, before drawing one at `position` (bytes of music): every
// picture due by then is uploaded whole, waited for if it must be (and
// stderr says so); then, within a small budget, the next in the order of need.
void UploadPictures(float position);
// Forgets what was under way: the rendering context is gone.
void ForgetPictureUploads();
