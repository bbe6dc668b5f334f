// Window classes, module handle, icons and cursors.
#include <map>
#include <string>

#include "win32_sdl.h"

namespace {

struct ModuleToken {};
ModuleToken programModule;

std::map<std::string, WNDCLASSA>& Classes() {
    static std::map<std::string, WNDCLASSA> classes;
    return classes;
}

WORD nextAtom = 0xC000;

}  // namespace

namespace win32sdl {
WNDPROC ClassProcedure(const char* className) {
    auto found = Classes().find(className ? className : "");
    return found == Classes().end() ? nullptr : found->second.lpfnWndProc;
}
}  // namespace win32sdl

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    // Only the program's own module exists here.
    return lpModuleName ? nullptr : reinterpret_cast<HMODULE>(&programModule);
}

WORD WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
    if (!lpWndClass || !lpWndClass->lpszClassName || !lpWndClass->lpfnWndProc) {
        return 0;
    }
    std::string name = lpWndClass->lpszClassName;
    if (name.empty() || Classes().count(name)) {
        return 0;
    }
    if (!win32sdl::StartVideo()) {
        return 0;
    }
    Classes()[name] = *lpWndClass;
    return nextAtom++;
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
    if (!lpClassName) {
        return FALSE;
    }
    auto found = Classes().find(lpClassName);
    if (found == Classes().end()) {
        return FALSE;
    }
    if (win32sdl::ClassInUse(found->first)) {
        return FALSE;
    }
    Classes().erase(found);
    if (Classes().empty()) {
        win32sdl::StopVideo();
    }
    return TRUE;
}

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    // System icons only: SDL windows carry no Win32 icon resources.
    if (hInstance || !IS_INTRESOURCE(lpIconName)) {
        return nullptr;
    }
    return reinterpret_cast<HICON>(const_cast<char*>(lpIconName));
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
    if (hInstance || !IS_INTRESOURCE(lpCursorName)) {
        return nullptr;
    }
    return reinterpret_cast<HCURSOR>(const_cast<char*>(lpCursorName));
}
