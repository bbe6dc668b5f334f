// Stop requests on Windows: Ctrl+C and Ctrl+Break in the console, the
// console closed, the user logging off or the system shutting down. The
// handler runs on a thread of the system's; it posts the program's thread a
// quit message with the status a signal gives elsewhere (128 plus its number),
// which also ends a message box that waits, and gives the teardown a moment.
#include <windows.h>

#include <atomic>
#include <csignal>

#include "stop_signals.h"

namespace {

std::atomic<int> received{0};
DWORD mainThread = 0;
void (*actions[4])() = {};
std::atomic<int> actionCount{0};

int SignalFor(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT: return SIGINT;
    case CTRL_BREAK_EVENT: return SIGBREAK;
    case CTRL_CLOSE_EVENT: return 1;  // a hang-up, as a closed terminal gives
    default: return SIGTERM;          // logoff, shutdown
    }
}

BOOL WINAPI Handler(DWORD event) {
    int expected = 0;
    if (received.compare_exchange_strong(expected, SignalFor(event))) {
        for (int i = 0; i < actionCount; ++i) {
            actions[i]();
        }
        PostThreadMessageA(mainThread, WM_QUIT, static_cast<WPARAM>(128 + received), 0);
    }
    // Closing, logging off and shutting down end the process when this
    // returns: the teardown gets a moment first.
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        Sleep(2000);
    }
    return TRUE;
}

}  // namespace

void CatchStopSignals() {
    if (mainThread == 0) {
        mainThread = GetCurrentThreadId();
        SetConsoleCtrlHandler(Handler, TRUE);
    }
}

int StopSignal() {
    return received;
}

void WhenStopSignalled(void (*action)()) {
    if (received != 0) {
        action();
    } else if (actionCount < 4) {
        actions[actionCount++] = action;
    }
}

void EndChildProcesses() {
    // The program starts none on Windows: its dialogs are its own windows.
}
