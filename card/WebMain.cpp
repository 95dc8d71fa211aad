// The card in a web page: the desktop card's start-up, with what the link
// carries after the page address's '#' in place of the shipped texts and
// settings. A page has nothing to return to, so input does not end the card:
// the page itself makes a click or tap show the card full screen.

#include <cstdlib>
#include <string>

#include "card/Card.h"
#include "card/WebLink.h"
#include "glimmer/runtime/Engine.h"

int main(int, char**) {
    // Keys typed elsewhere in the page (a form beside the card) stay the
    // page's: SDL listens on the canvas alone.
    setenv("SDL_EMSCRIPTEN_KEYBOARD_ELEMENT", "#canvas", 1);
    GlimmerInitEngine("solvane.cfg");
    LoadCardSettings("solvane.cfg");
    const CardLink link = ReadCardLink(PageLinkText());
    // The link's language wins over the browser's.
    const std::string language = link.language.empty() ? LanguageSetting : link.language;
    ActivateCardLanguage(ChooseCardLanguage(language, PageLanguages()));
    LoadCardText("txt/txt.txt");
    LoadCardSender("txt/name.txt");
    ApplyCardLink(link);
    TargetTime = CardTargetMoment();
    BuildCardScene();
    // Not the engine's filter, which ends the program on Escape.
    SDL_SetEventFilter(nullptr);
    RunGlimmerEngine();
}
