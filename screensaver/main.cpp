#include <X11/Xlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "launcher/StartCard.h"

// solvane-screensaver: the card drawn into a window XScreenSaver (or anyone)
// names. The program becomes the card, so XScreenSaver's SIGTERM reaches it.

namespace {

const char* const kName = "solvane-screensaver";

int Usage() {
    std::fprintf(stderr, "usage: %s [-root | -window-id ID]\n", kName);
    return 2;
}

// Window ids are decimal or 0x hexadecimal, as XScreenSaver writes them.
bool ParseWindowId(const char* text, Window& id) {
    if (text == nullptr || text[0] == '\0' || text[0] == '-' || text[0] == '+') return false;
    bool hex = text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* digits = hex ? text + 2 : text;
    if (digits[0] == '\0') return false;
    char* end = nullptr;
    errno = 0;
    unsigned long value = std::strtoul(digits, &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || value == 0 || value > 0xffffffffUL) return false;
    id = value;
    return true;
}

bool windowMissing = false;

int NoteMissingWindow(Display*, XErrorEvent*) {
    windowMissing = true;
    return 0;
}

bool WindowExists(Display* display, Window id) {
    XErrorHandler previous = XSetErrorHandler(NoteMissingWindow);
    XWindowAttributes attributes;
    windowMissing = false;
    Status found = XGetWindowAttributes(display, id, &attributes);
    XSync(display, False);
    XSetErrorHandler(previous);
    return found != 0 && !windowMissing;
}

}  // namespace

int main(int argc, char** argv) {
    const char* given = nullptr;
    bool root = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-root") == 0 || std::strcmp(argv[i], "--root") == 0) {
            root = true;
        } else if ((std::strcmp(argv[i], "-window-id") == 0 || std::strcmp(argv[i], "--window-id") == 0) &&
                   i + 1 < argc) {
            given = argv[++i];
        } else {
            return Usage();
        }
    }
    // Like every XScreenSaver program, -root means the screensaver's own
    // window when XScreenSaver names one, the real root window otherwise.
    const char* fromEnvironment = std::getenv("XSCREENSAVER_WINDOW");
    if (given == nullptr && fromEnvironment != nullptr && fromEnvironment[0] != '\0') given = fromEnvironment;

    if (given != nullptr || root) {
        Window id = 0;
        if (given != nullptr && !ParseWindowId(given, id)) {
            std::fprintf(stderr, "%s: \"%s\" is not a window id (decimal or 0x hexadecimal)\n", kName, given);
            return 1;
        }
        Display* display = XOpenDisplay(nullptr);
        if (display == nullptr) {
            std::fprintf(stderr, "%s: cannot open the X display %s\n", kName, XDisplayName(nullptr));
            return 1;
        }
        if (given == nullptr) id = DefaultRootWindow(display);
        bool exists = WindowExists(display, id);
        XCloseDisplay(display);
        if (!exists) {
            std::fprintf(stderr, "%s: there is no window 0x%lx on display %s\n", kName, id, XDisplayName(nullptr));
            return 1;
        }
        setenv("SDL_WINDOWID", std::to_string(id).c_str(), 1);
    }
    return ExecCard(CardFolder(argc > 0 ? argv[0] : nullptr), kName) ? 0 : 1;
}
