// Before WinMain: a program built for the windowed subsystem has no console;
// started from one, its messages still go there (unless standard error is
// already redirected), and the console's stop requests reach it.
#include <windows.h>

#include <cstdio>

#include "stop_signals.h"

namespace {

struct Startup {
    Startup() {
        const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
        if ((error == nullptr || error == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS)) {
            std::freopen("CONOUT$", "w", stderr);
        }
        CatchStopSignals();
    }
};

Startup startup;

}  // namespace
