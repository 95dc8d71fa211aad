#include "card/CardEventFilter.h"

#include "glimmer/runtime/Engine.h"
#include "glimmer/base/Error.h"

int CardEventFilter(const SDL_Event* event) {
    // Without a window or a screen there is nothing left to show.
    if (event->type == SDL_QUIT) Error(ErrorCode::Exit);
    if (Frames == 0) return 1;
    switch (event->type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        Error(ErrorCode::Exit);
    default:
        return 1;
    }
}

void EndCardIfCloseRequested() {
    // The filters run inside the pump, as inside the frame loop's polling.
    InsideEventPolling = true;
    SDL_PumpEvents();
    InsideEventPolling = false;
    // The engine's filter keeps a close request in the queue for its program.
    SDL_Event quit;
    if (SDL_PeepEvents(&quit, 1, SDL_PEEKEVENT, SDL_QUITMASK) > 0) Error(ErrorCode::Exit);
}
