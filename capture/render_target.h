// The framebuffer the capture draws into, of the output's size, with the
// presentation's 4:3 picture centred in it between black bars.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PictureArea {
    int x, y, width, height;
};

// The largest 4:3 area centred in an output of that size.
PictureArea CentredPicture(int width, int height);

// Creates and binds the target and sets the view. False with `error` set.
bool CreateRenderTarget(int width, int height, std::string* error);
void DestroyRenderTarget();
// The largest width and height the OpenGL driver can render.
void MaxRenderSize(int* width, int* height);

// The frame just drawn, as RGBA rows from the bottom up.
void ReadFrame(int width, int height, std::vector<uint8_t>* rgba);
