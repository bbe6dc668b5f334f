// Start-up code: what the C runtime does on Windows before calling WinMain.
#include <windows.h>

int main() {
    char commandLine[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
}
