// A scripted stand-in for the Win32 subset: it records every call in the
// call log and answers as the test says.
#pragma once

#include <cstdint>
#include <deque>
#include <set>
#include <string>

#include <windows.h>

// A queue entry that makes PeekMessageA report no message for one pass.
const UINT NoMessage = 0xFFFF;

struct Win32Script {
    // Functions whose next calls fail, by name ("CreateWindowExA", "ReleaseDC", ...).
    std::set<std::string> failing;
    LONG displayChangeResult = DISP_CHANGE_SUCCESSFUL;
    int yesNoAnswer = IDYES;
    // What PeekMessageA hands out; once empty it reports no message.
    std::deque<MSG> queue;
    int64_t frequency = 1000000;
    int64_t counter = 0;
    int64_t counterStep = 0;  // added after every counter reading
    WNDPROC windowProc = nullptr;
    bool windowExists = false;
};

// A function-local object: the frame timer reads the counter during static
// initialisation, before other globals of the test exist.
Win32Script& ScriptState();
#define Script ScriptState()

// Clears the script and the call log.
void ResetScript();
MSG Message(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// The window the stand-in hands out.
HWND ScriptedWindow();
