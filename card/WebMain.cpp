// The card in a web page: the desktop card's start-up, with what the link
// carries after the page address's '#' in place of the shipped texts and
// settings. A page has nothing to return to, so input does not end the card:
// the page itself makes a click or tap show the card full screen.

#include <emscripten.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "card/Card.h"
#include "glimmer/runtime/Engine.h"

namespace {

// The address's fragment without its '#', as UTF-8, in memory the caller
// frees. A fragment longer than the card reads is passed on only as far as
// it shows that it is too long.
EM_JS(char*, PageFragment, (int most), {
    var text = (window.location.hash || '').replace(/^#/, '');
    if (text.length > most) text = text.substring(0, most + 1);
    var size = lengthBytesUTF8(text) + 1;
    var copy = _malloc(size);
    if (copy) stringToUTF8(text, copy, size);
    return copy;
});

std::string LinkText() {
    std::unique_ptr<char, decltype(&std::free)> text(PageFragment(static_cast<int>(CardLinkBytesMax)), &std::free);
    return text ? std::string(text.get()) : std::string();
}

}  // namespace

int main(int, char**) {
    // Keys typed elsewhere in the page (a form beside the card) stay the
    // page's: SDL listens on the canvas alone.
    setenv("SDL_EMSCRIPTEN_KEYBOARD_ELEMENT", "#canvas", 1);
    GlimmerInitEngine("solvane.cfg");
    LoadCardSettings("solvane.cfg");
    LoadCardText("txt/txt.txt");
    LoadCardSender("txt/name.txt");
    ApplyCardLink(ReadCardLink(LinkText()));
    TargetTime = CardTargetMoment();
    BuildCardScene();
    // Not the engine's filter, which ends the program on Escape.
    SDL_SetEventFilter(nullptr);
    RunGlimmerEngine();
}
