#include "glimmer/graphics/NoDisplay.h"

#include <strings.h>

namespace {

bool Named(const char* list, const char* driver) {
    if (list == nullptr) return false;
    const std::string wanted(driver);
    const std::string all(list);
    std::string::size_type start = 0;
    while (start <= all.size()) {
        std::string::size_type comma = all.find(',', start);
        if (comma == std::string::npos) comma = all.size();
        const std::string item = all.substr(start, comma - start);
        if (!item.empty() && strcasecmp(item.c_str(), wanted.c_str()) == 0) return true;
        start = comma + 1;
    }
    return false;
}

bool Set(const char* value) { return value != nullptr && value[0] != '\0'; }

}  // namespace

bool NoDisplay(const char* chosen, const char* requested) {
    if (chosen == nullptr) return false;
    if (strcasecmp(chosen, "offscreen") != 0 && strcasecmp(chosen, "dummy") != 0) return false;
    return !Named(requested, chosen);
}

std::string NoDisplayMessage(const char* chosen, const char* display, const char* waylandDisplay) {
    std::string text = "no display: ";
    if (!Set(display) && !Set(waylandDisplay)) {
        text += "neither DISPLAY nor WAYLAND_DISPLAY is set";
    } else {
        text += "the display of";
        if (Set(display)) text += std::string(" DISPLAY=") + display;
        if (Set(display) && Set(waylandDisplay)) text += " or";
        if (Set(waylandDisplay)) text += std::string(" WAYLAND_DISPLAY=") + waylandDisplay;
        text += " cannot be opened";
    }
    text += std::string(", so SDL found only its \"") + (chosen ? chosen : "") +
            "\" video driver, which shows nothing. Start it from a desktop session, or run "
            "`make screenshot` for a picture of the card without one.";
    return text;
}
