#include "message_box.h"

#include <cstdio>
#include <string>

#include "stop_signals.h"

#undef MessageBoxA

int WINAPI MessageBoxWithEcho(HWND window, LPCSTR text, LPCSTR caption, UINT type) {
    std::string line = text ? text : "";
    for (char& c : line) {
        c = (c == '\n' || c == '\r') ? ' ' : c;
    }
    std::fprintf(stderr, "%s: %s\n", caption ? caption : "Error", line.c_str());
    std::fflush(stderr);
    // Once the program is told to stop, no box: the last button answers, as Escape would.
    if (StopSignal() != 0) {
        return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    }
    return MessageBoxA(window, text, caption, type);
}
