#include "card/CardEventFilter.h"

#include "engine/core/Engine.h"
#include "engine/core/Error.h"

int CardEventFilter(const SDL_Event* event) {
    if (Frames == 0) return 1;
    switch (event->type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        Error(0);
    default:
        return 1;
    }
}
