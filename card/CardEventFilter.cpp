#include "card/CardEventFilter.h"

#include "glimmer/runtime/Engine.h"
#include "glimmer/base/Error.h"

#include <cstdlib>

int CardMotionAllowance = 0;

namespace {

bool PointerWandered(const SDL_MouseMotionEvent& motion) {
    if (CardMotionAllowance <= 0) return true;
    static bool seen = false;
    static int x0 = 0, y0 = 0;
    if (!seen) {
        // The first report tells where the pointer rests, not that it moved.
        seen = true;
        x0 = motion.x - motion.xrel;
        y0 = motion.y - motion.yrel;
    }
    return std::abs(motion.x - x0) > CardMotionAllowance || std::abs(motion.y - y0) > CardMotionAllowance;
}

}  // namespace

int CardEventFilter(const SDL_Event* event) {
    // Without a window or a screen there is nothing left to show.
    if (event->type == SDL_QUIT) Error(ErrorCode::Exit);
    if (Frames == 0) return 1;
    switch (event->type) {
    case SDL_MOUSEMOTION:
        if (!PointerWandered(event->motion)) return 1;
        Error(ErrorCode::Exit);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
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
