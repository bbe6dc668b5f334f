// The program's one window and its OpenGL rendering context.
#pragma once

#include <windows.h>

extern bool FullscreenMode;
extern bool WindowActive;
extern bool KeyTable[256];
extern HWND WindowHandle;
extern HDC DeviceContext;
extern HGLRC RenderContext;
extern HINSTANCE InstanceHandle;

bool CreateRenderWindow(const char* title, int width, int height, int bits, bool fullscreen);
void DestroyRenderWindow();
LRESULT CALLBACK RenderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ResizeView(int width, int height);
