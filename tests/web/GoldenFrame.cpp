// Frame 100 of the shipped card in the browser, drawn as the desktop's golden
// frame test draws it: in UTC, at the same fixed moment, frames one after the
// other. The frame stays on the canvas and the page's document title says
// when it is there, for the browser test to compare with the committed picture.
// A link after the address's '#' is taken as the card takes it.

#include <emscripten.h>

#include <cstdlib>
#include <ctime>

#include "card/Card.h"
#include "card/WebLink.h"
#include <glimmer/glimmer.h>

namespace {

constexpr time_t FixedMoment = 1072915200 - 30;

void FixedClockFrame(unsigned int) {
    ShowCardTime(FixedMoment);
    MoveCardParticles();
}

}  // namespace

int main(int, char**) {
    setenv("TZ", "UTC", 1);
    tzset();
    TargetTime = CardTargetMoment();
    GlimmerInitEngine("solvane.cfg");
    SDL_SetTimer(0, nullptr);
    LoadCardSettings("solvane.cfg");
    LoadCardText("txt/txt.txt");
    ApplyCardLink(ReadCardLink(PageLinkText()));
    BuildCardScene();
    RegisterFrameFunction(FixedClockFrame);
    for (int frame = 0; frame <= 100; ++frame) RunGlimmerFrame();
    EM_ASM(document.title = 'frame 100');
    emscripten_exit_with_live_runtime();
}
