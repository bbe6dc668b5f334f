// Message boxes of the shared code (the texture set's), as lines on standard
// error: the capture program asks nobody anything.
#include <cstdio>

#include <windows.h>

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}
