// dwip-capture: the presentation rendered to a video, an image sequence, a
// still or a contact sheet, frame-exact, with no display and no sound device.
#include <cstdio>

#include "capture/capture.h"

int main(int argc, char** argv) {
    CaptureOptions options;
    std::string error;
    if (!ParseCaptureOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "dwip-capture: %s\n\n%s", error.c_str(), CaptureUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(CaptureUsage(), stdout);
        return 0;
    }
    return RunCapture(options);
}
