// Device contexts, pixel formats and OpenGL rendering contexts on SDL's GL support.
#include <algorithm>
#include <memory>
#include <vector>

#include "win32_sdl.h"

namespace {

// The one pixel format offered: RGBA with 8 bits a channel, a depth buffer, double buffered.
const int OnlyPixelFormat = 1;

std::vector<std::unique_ptr<HGLRC__>>& Contexts() {
    static std::vector<std::unique_ptr<HGLRC__>> contexts;
    return contexts;
}

bool IsContext(HGLRC context) {
    return context && std::any_of(Contexts().begin(), Contexts().end(),
                                  [context](const std::unique_ptr<HGLRC__>& c) { return c.get() == context; });
}

HGLRC currentContext = nullptr;

bool RequestIsOffered(const PIXELFORMATDESCRIPTOR& pfd) {
    const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    return pfd.nSize == sizeof(PIXELFORMATDESCRIPTOR) && (pfd.dwFlags & needed) == needed &&
           pfd.iPixelType == PFD_TYPE_RGBA && pfd.cColorBits <= 32 && pfd.cDepthBits <= 24 &&
           pfd.cStencilBits == 0 && pfd.cAccumBits == 0 && pfd.cAuxBuffers == 0;
}

}  // namespace

namespace win32sdl {
bool IsDeviceContext(HDC dc) {
    return dc && IsWindow(dc->window) && dc->window->dc == dc;
}
}  // namespace win32sdl

HDC WINAPI GetDC(HWND hWnd) {
    if (!win32sdl::IsWindow(hWnd)) {
        return nullptr;
    }
    // Windows of a CS_OWNDC class keep one device context for life.
    if (!hWnd->dc) {
        hWnd->dc = new HDC__;
        hWnd->dc->window = hWnd;
    }
    return hWnd->dc;
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC) {
    return win32sdl::IsWindow(hWnd) && win32sdl::IsDeviceContext(hDC) && hDC->window == hWnd ? 1 : 0;
}

int WINAPI ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* ppfd) {
    if (!win32sdl::IsDeviceContext(hdc) || !ppfd || !RequestIsOffered(*ppfd)) {
        return 0;
    }
    return OnlyPixelFormat;
}

BOOL WINAPI SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR*) {
    if (!win32sdl::IsDeviceContext(hdc) || format != OnlyPixelFormat) {
        return FALSE;
    }
    // A window's pixel format can be set once.
    if (hdc->pixelFormat != 0 && hdc->pixelFormat != format) {
        return FALSE;
    }
    hdc->pixelFormat = format;
    return TRUE;
}

HGLRC WINAPI wglCreateContext(HDC hdc) {
    if (!win32sdl::IsDeviceContext(hdc) || hdc->pixelFormat == 0) {
        return nullptr;
    }
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previous = SDL_GL_GetCurrentContext();
    SDL_GLContext context = SDL_GL_CreateContext(hdc->window->sdl);
    if (!context) {
        return nullptr;
    }
    // Creating a context does not make it current on Windows.
    SDL_GL_MakeCurrent(previousWindow, previous);
    auto record = std::make_unique<HGLRC__>();
    record->context = context;
    record->window = hdc->window;
    HGLRC handle = record.get();
    Contexts().push_back(std::move(record));
    return handle;
}

BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC hglrc) {
    if (!hglrc) {
        if (currentContext && win32sdl::IsWindow(currentContext->window)) {
            SDL_GL_MakeCurrent(currentContext->window->sdl, nullptr);
        }
        currentContext = nullptr;
        return TRUE;
    }
    if (!IsContext(hglrc) || !win32sdl::IsDeviceContext(hdc) || hdc->window != hglrc->window) {
        return FALSE;
    }
    if (SDL_GL_MakeCurrent(hdc->window->sdl, hglrc->context) != 0) {
        return FALSE;
    }
    currentContext = hglrc;
    return TRUE;
}

BOOL WINAPI wglDeleteContext(HGLRC hglrc) {
    if (!IsContext(hglrc)) {
        return FALSE;
    }
    if (currentContext == hglrc) {
        wglMakeCurrent(nullptr, nullptr);
    }
    SDL_GL_DeleteContext(hglrc->context);
    auto& contexts = Contexts();
    contexts.erase(std::remove_if(contexts.begin(), contexts.end(),
                                  [hglrc](const std::unique_ptr<HGLRC__>& c) { return c.get() == hglrc; }),
                   contexts.end());
    return TRUE;
}

BOOL WINAPI SwapBuffers(HDC hdc) {
    if (!win32sdl::IsDeviceContext(hdc)) {
        return FALSE;
    }
    SDL_GL_SwapWindow(hdc->window->sdl);
    return TRUE;
}
