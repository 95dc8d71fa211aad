#include <X11/Xlib.h>

#include <cstdio>

// testwindow WxH+X+Y RRGGBB: maps a plain window of that size, place and
// colour, prints its id and keeps it until the process is ended or the display
// goes. It stands in for the window XScreenSaver hands its programs.
int main(int argc, char** argv) {
    unsigned int width = 0, height = 0, colour = 0;
    int x = 0, y = 0;
    if (argc != 3 || std::sscanf(argv[1], "%ux%u+%d+%d", &width, &height, &x, &y) != 4 ||
        std::sscanf(argv[2], "%x", &colour) != 1) {
        std::fprintf(stderr, "usage: testwindow WxH+X+Y RRGGBB\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "testwindow: no display\n");
        return 1;
    }
    XSetWindowAttributes attributes;
    attributes.background_pixel = colour;
    attributes.override_redirect = True;
    Window window = XCreateWindow(display, DefaultRootWindow(display), x, y, width, height, 0, CopyFromParent,
                                  InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect, &attributes);
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("0x%lx\n", window);
    std::fflush(stdout);
    // Reading the connection rather than pausing: when the X server goes, so
    // does this window's keeper (Xlib ends the process on the lost connection).
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
    }
}
