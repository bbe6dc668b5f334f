// Modal message boxes, echoed to standard error so that a log keeps them.
#include <cstdio>
#include <string>

#include "stop_signals.h"
#include "win32_sdl.h"

namespace {

std::string OneLine(const char* text) {
    std::string line = text ? text : "";
    for (char& c : line) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return line;
}

Uint32 IconFlag(UINT uType) {
    switch (uType & MB_ICONMASK) {
    case MB_ICONSTOP: return SDL_MESSAGEBOX_ERROR;
    case MB_ICONEXCLAMATION: return SDL_MESSAGEBOX_WARNING;
    default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

}  // namespace

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    const char* caption = lpCaption ? lpCaption : "Error";
    std::fprintf(stderr, "%s: %s\n", caption, OneLine(lpText).c_str());
    std::fflush(stderr);

    SDL_MessageBoxButtonData buttons[2];
    int count = 0;
    const bool secondIsDefault = (uType & MB_DEFMASK) == MB_DEFBUTTON2;
    switch (uType & MB_TYPEMASK) {
    case MB_YESNO:
        buttons[0] = {0, IDYES, "Yes"};
        buttons[1] = {0, IDNO, "No"};
        count = 2;
        break;
    case MB_OKCANCEL:
        buttons[0] = {0, IDOK, "OK"};
        buttons[1] = {0, IDCANCEL, "Cancel"};
        count = 2;
        break;
    default:
        buttons[0] = {0, IDOK, "OK"};
        count = 1;
        break;
    }
    const int defaultIndex = (secondIsDefault && count == 2) ? 1 : 0;
    buttons[defaultIndex].flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    buttons[count - 1].flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;

    SDL_MessageBoxData data{};
    data.flags = IconFlag(uType) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    data.window = (win32sdl::IsWindow(hWnd) ? hWnd->sdl : nullptr);
    data.title = caption;
    data.message = lpText ? lpText : "";
    data.numbuttons = count;
    data.buttons = buttons;

    // Without a display, or once the program is told to stop, no dialog is
    // shown (nor handed to whatever helper program is installed): standard
    // error carries the message and the default button answers.
    if (StopSignal() != 0 || !win32sdl::DisplayNamed()) {
        return buttons[defaultIndex].buttonid;
    }
    int answer = -1;
    const bool answered = SDL_ShowMessageBox(&data, &answer) == 0 && answer >= 0;
    if (StopSignal() != 0) {
        // The dialog was closed by a stop signal: as if dismissed with Escape.
        return buttons[count - 1].buttonid;
    }
    return answered ? answer : buttons[defaultIndex].buttonid;
}
