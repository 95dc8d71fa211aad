#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "launcher/StartCard.h"

namespace {

// A lowercase t anywhere in the arguments means "do not start" (an uppercase
// T does not count). The program's own name is not an argument.
bool SuppressesStart(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i] != nullptr && std::strchr(argv[i], 't') != nullptr) {
            return true;
        }
    }
    return false;
}

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// Started without a display, the card would run unseen until killed, and the
// launcher never learns how it ended. A driver named in SDL_VIDEODRIVER (a
// console's kmsdrm, say) is the user's choice and is left to the card.
bool NoDisplayInSight() {
    return !Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("SDL_VIDEODRIVER");
}

}  // namespace

int main(int argc, char** argv) {
    if (SuppressesStart(argc, argv)) {
        return 0;
    }
    if (NoDisplayInSight()) {
        std::fprintf(stderr,
                     "launcher: no display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the card would show "
                     "nothing. Start it from a desktop session, or run `make screenshot` for a picture of the "
                     "card without one.\n");
        return 0;
    }
    StartCard(CardFolder(argc > 0 ? argv[0] : nullptr));
    return 0;
}
