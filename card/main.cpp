#include "card/Card.h"

#include "glimmer/runtime/Engine.h"

// The card runs from the folder that holds "solvane.cfg"; its arguments are
// not used.
int main(int, char**) {
    TargetTime = CardTargetMoment();
    GlimmerInitEngine("solvane.cfg");
    LoadCardSettings("solvane.cfg");
    LoadCardText("txt/txt.txt");
    BuildCardScene();
    SDL_SetEventFilter(CardEventFilter);
    RunGlimmerEngine();
}
