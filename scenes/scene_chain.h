// The three scenes in the order a frame offers them the turn.
#pragma once

#include "media/picture_table.h"

using SceneEntry = int (*)();

extern const SceneEntry SceneChain[3];

// Offers the frame to each scene in turn: which one drew it (1 to 3), or 0
// when every scene has passed (the presentation is over).
int RunSceneChain();

// Every scene's state and the music clock as at load, so that a program,
// test or benchmark can run the presentation again from its start.
void ResetPresentation();

// When each picture is first shown: from the start for the logo, with the
// main section for its background and lyrics, at the start of its first
// span for the photographs and the credits.
PictureMoments FirstMoments();
