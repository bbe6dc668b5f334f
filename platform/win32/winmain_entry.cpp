// Start-up code: what the C runtime does on Windows before calling WinMain,
// and what a terminal or a session manager expects of a program on exit.
#include <windows.h>

#include "stop_signals.h"

int main() {
    // TERM, INT and HUP end the program through its own teardown: the frame
    // loop gets a quit message, and a dialog that waits is closed.
    CatchStopSignals();
    WhenStopSignalled(EndChildProcesses);
    char commandLine[] = "";
    const int status = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
    return StopSignal() != 0 ? 128 + StopSignal() : status;
}
