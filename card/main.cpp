#include "card/Card.h"

#include <cstring>

#include "glimmer/base/Config.h"
#include "glimmer/runtime/Engine.h"

// The card runs from the folder that holds "solvane.cfg". Its one argument,
// -screensaver (which the Windows screensaver passes), fills the screen, hides
// the pointer and lets the pointer's first small jitter pass.
int main(int argc, char** argv) {
    const bool screensaver = argc > 1 && std::strcmp(argv[1], "-screensaver") == 0;
    // The configuration's flags only ever add to what is set before it is read.
    if (screensaver) CFG.VideoFlags |= SDL_FULLSCREEN;
    GlimmerInitEngine("solvane.cfg");
    if (screensaver) {
        SDL_ShowCursor(SDL_DISABLE);
        CardMotionAllowance = 8;
    }
    LoadCardSettings("solvane.cfg");
    PickCardLanguage();
    TargetTime = CardTargetMoment();
    LoadCardText("txt/txt.txt");
    LoadCardSender("txt/name.txt");
    BuildCardScene();
    SDL_SetEventFilter(CardEventFilter);
    // A close request that came while the scene was built.
    EndCardIfCloseRequested();
    RunGlimmerEngine();
}
