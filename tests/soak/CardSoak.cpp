// The card as solvanewin runs it, with a frame function that counts: once a
// second it prints "frames N ms T" (frames drawn, milliseconds since the
// loop's first frame) to standard output, for the soak test to read.
#include <cstdio>

#include "card/Card.h"
#include "glimmer/runtime/Engine.h"

namespace {

Uint32 FirstFrameTicks = 0;
Uint32 LastReport = 0;

void CountedCardFrame(unsigned int frame) {
    CardFrame(frame);
    const Uint32 now = SDL_GetTicks();
    if (frame == 0) FirstFrameTicks = LastReport = now;
    if (now - LastReport >= 1000) {
        LastReport = now;
        std::printf("frames %lu ms %u\n", Frames, static_cast<unsigned int>(now - FirstFrameTicks));
        std::fflush(stdout);
    }
}

}  // namespace

int main(int, char**) {
    TargetTime = CardTargetMoment();
    GlimmerInitEngine("solvane.cfg");
    LoadCardSettings("solvane.cfg");
    LoadCardText("txt/txt.txt");
    BuildCardScene();
    RegisterFrameFunction(CountedCardFrame);
    SDL_SetEventFilter(CardEventFilter);
    RunGlimmerEngine();
}
