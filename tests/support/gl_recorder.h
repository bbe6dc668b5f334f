// Records the OpenGL calls the scenes make, by routing libepoxy's entry
// points through loggers that pass each call on to the driver.
#pragma once

#include <string>
#include <vector>

void StartGlRecording();
void StopGlRecording();
// The calls since the last clear, as "glTranslatef 0 -2.8 -1.769" and the like.
std::vector<std::string>& GlCalls();
// The arguments of every glTranslatef recorded.
struct Translation {
    float x, y, z;
};
std::vector<Translation> Translations();
