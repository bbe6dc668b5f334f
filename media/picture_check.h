// A look at a picture file before it is decoded: the image library trusts the
// size a header claims, and reports nothing about a file it cannot read.
#pragma once

#include <string>

struct PictureCheck {
    enum Verdict {
        Fine,       // a complete PNG or JPEG of a size a texture can hold
        Unreadable, // missing, empty or not a PNG or JPEG picture
        Truncated,  // ends before its last chunk or marker
        TooLarge,   // claims more pixels than a texture can hold
    };
    enum Format { Unknown, Png, Jpeg };
    Verdict verdict = Fine;
    Format format = Unknown;  // by the file's contents, whatever its name says
    int width = 0;
    int height = 0;
    std::string problem;  // what is wrong, for the user; empty when Fine
};

// maxSide: the largest texture side the OpenGL driver takes.
PictureCheck CheckPicture(const std::string& path, int maxSide);
