#include "card/Card.h"

#include "glimmer/runtime/Engine.h"

// The card runs from the folder that holds "solvane.cfg"; its arguments are
// not used.
int main(int, char**) {
    GlimmerInitEngine("solvane.cfg");
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
