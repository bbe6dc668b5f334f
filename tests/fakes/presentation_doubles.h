// Doubles of the music, the texture set and the scenes, for tests of the
// shell alone: they log their calls and answer as scripted.
#pragma once

#include <deque>

struct PresentationScript {
    bool prepareGraphicsResult = true;
    // What each scene returns, call by call; once empty, 0.
    std::deque<int> logoReturns;
    std::deque<int> mainReturns;
    std::deque<int> creditsReturns;
    // UploadPictures is logged only when asked: most tests follow the frames alone.
    bool logUploads = false;
};

PresentationScript& Presentation();
// Clears the script and routes the view's GL calls into the call log.
void ResetPresentationDoubles();
