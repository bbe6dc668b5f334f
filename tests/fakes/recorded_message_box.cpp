// MessageBoxA that logs instead of waiting for a click: "MessageBoxA CAPTION|text|type".
#include "recorded_message_box.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include <windows.h>

#include "call_log.h"

double HoldBoxesOpenSeconds = 0.0;

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    char style[16];
    std::snprintf(style, sizeof(style), "0x%x", type);
    LogCall(std::string("MessageBoxA ") + caption + "|" + text + "|" + style);
    std::this_thread::sleep_for(std::chrono::duration<double>(HoldBoxesOpenSeconds));
    return (type & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}
