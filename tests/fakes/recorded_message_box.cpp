// MessageBoxA that logs instead of waiting for a click: "MessageBoxA CAPTION|text|type".
#include <cstdio>
#include <string>

#include <windows.h>

#include "call_log.h"

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    char style[16];
    std::snprintf(style, sizeof(style), "0x%x", type);
    LogCall(std::string("MessageBoxA ") + caption + "|" + text + "|" + style);
    return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}
