// Included before everything else in the Windows build: every message box
// the program shows is also written to standard error, as on other systems.
#pragma once

#include <windows.h>

int WINAPI MessageBoxWithEcho(HWND window, LPCSTR text, LPCSTR caption, UINT type);
#define MessageBoxA MessageBoxWithEcho
