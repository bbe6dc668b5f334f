// Start-up code: the page calls main, which calls WinMain as the C runtime
// does on Windows.
#include <windows.h>

int main() {
    char commandLine[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
}
