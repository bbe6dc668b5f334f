#include "capture/headless_gl.h"

#include <epoxy/egl.h>

namespace {

EGLDisplay Display = EGL_NO_DISPLAY;
EGLContext Context = EGL_NO_CONTEXT;

bool HasClientExtension(const char* name) {
    return epoxy_has_egl_extension(EGL_NO_DISPLAY, name);
}

// Mesa's surfaceless platform needs no X server or GPU; the default display
// is the fallback on other EGL implementations.
EGLDisplay OpenDisplay() {
    if (HasClientExtension("EGL_MESA_platform_surfaceless") && HasClientExtension("EGL_EXT_platform_base")) {
        EGLDisplay display = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) {
            return display;
        }
    }
    EGLDisplay display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) {
        return display;
    }
    return EGL_NO_DISPLAY;
}

bool Fail(std::string* error, const char* text) {
    *error = text;
    DestroyHeadlessGl();
    return false;
}

}  // namespace

bool CreateHeadlessGl(std::string* error) {
    Display = OpenDisplay();
    if (Display == EGL_NO_DISPLAY) {
        return Fail(error, "no EGL display could be opened");
    }
    if (!epoxy_has_egl_extension(Display, "EGL_KHR_surfaceless_context")) {
        return Fail(error, "EGL cannot make a context current without a surface");
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        return Fail(error, "EGL offers no desktop OpenGL");
    }
    // No surface of any kind is needed.
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE, 0, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(Display, configAttributes, &config, 1, &count) || count < 1) {
        return Fail(error, "EGL has no configuration for OpenGL");
    }
    // No version asked for: a compatibility context, with immediate mode.
    Context = eglCreateContext(Display, config, EGL_NO_CONTEXT, nullptr);
    if (Context == EGL_NO_CONTEXT) {
        return Fail(error, "no OpenGL context could be created");
    }
    if (!eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, Context)) {
        return Fail(error, "the OpenGL context could not be made current");
    }
    return true;
}

void DestroyHeadlessGl() {
    if (Display == EGL_NO_DISPLAY) {
        return;
    }
    eglMakeCurrent(Display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (Context != EGL_NO_CONTEXT) {
        eglDestroyContext(Display, Context);
        Context = EGL_NO_CONTEXT;
    }
    eglTerminate(Display);
    Display = EGL_NO_DISPLAY;
}
