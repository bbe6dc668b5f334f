// Start-up code: the page calls main, which calls WinMain as the C runtime
// does on Windows, and tells the page when the program is over (its exit
// status is what a process would have ended with).
#include <windows.h>

#include <emscripten.h>

EM_JS(void, WebProgramEnded, (int status), { Module["page"].ended(status); });

int main() {
    char commandLine[] = "";
    const int status = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
    WebProgramEnded(status);
    return status;
}
