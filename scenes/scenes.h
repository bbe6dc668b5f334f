// The three scenes of the presentation, in the order the frame loop calls them.
#pragma once

#include "media/picture_table.h"

extern bool OpeningLogoLatch;
extern bool LogoRising;
extern float LogoFrozenClock;
extern float OpeningLogoEnd;
extern bool MainSectionLatch;
extern float MainSectionEnd;
extern bool CreditsLatch;
extern double CreditsEnd;

int OpeningLogoScene();
int MainSectionScene();
int CreditsScene();

// Draws the one timed photograph whose span holds position p (bytes), if any.
void DrawPhotoLayer(float p, float s);

// Where a picture's first span starts, in the photo schedule or among the
// credits' slides; -1 for a picture that is not there.
float FirstPhotoMoment(PictureId picture);
float FirstSlideMoment(PictureId picture);
