// The three scenes of the presentation, in the order the frame loop calls them.
#pragma once

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
