// In the sanitized build only: libraries are never unloaded, so that a leak
// inside one that was loaded and closed again (libdbus, which SDL loads and
// closes, or Mesa's driver) is still reported under its name, and its
// suppression matches.
extern "C" int dlclose(void*) {
    return 0;
}
