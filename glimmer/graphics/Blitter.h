#pragma once

#include <SDL/SDL.h>

#include <vector>

// The engine's own blit for the two kinds of picture a frame is made of: a
// plain copy between surfaces of the same 32-bit layout, and a picture with
// an alpha channel blended onto a 32-bit screen. Either gives exactly the
// pixels SDL_UpperBlit gives, clipped the same way, in a fraction of the time
// (no per-call set-up; four pixels at a time, skipped where all four are
// clear and copied where all four are opaque).
//
// QuickBlit returns false, having drawn nothing, for anything else: colour keys,
// translucency of the whole surface, other depths or channel orders, surfaces
// that must be locked, or an SDL that blends by another rule than this one
// (checked once against SDL itself). The caller then lets SDL draw.
bool QuickBlit(SDL_Surface* from, const SDL_Rect* part, SDL_Surface* to, int x, int y);

struct RowSpans;

// QuickBlit in two steps, for a picture drawn in several parts: what it
// decided for that picture and target, then a draw that looks at neither
// surface's description again. A plan holds while the picture's surface,
// its pixels' place and its flags stay as they were.
struct BlitPlan {
    enum Mode : unsigned char { Sdl, Copy, Blend };
    const Uint8* pixels = nullptr;
    int pitch = 0;
    int w = 0;
    int h = 0;
    Mode mode = Sdl;
    // A blend leaves clear pixels as they are: with the picture's spans
    // (set by UseRowSpans, which checks they come from these very pixels) it
    // passes over them without reading.
    const RowSpans* spans = nullptr;
};

// Where the pixels that are not fully clear begin and end in each row of a
// picture with an alpha channel (begin == end for a clear row), and the
// pixels they were taken from.
struct RowSpans {
    // The owner's mark for what it shows when they were taken (GObject::Look).
    unsigned long look = 0;
    const void* pixels = nullptr;
    int w = 0;
    int h = 0;
    int pitch = 0;
    std::vector<Uint16> begin;
    std::vector<Uint16> end;
};
// Takes the spans of a 32-bit picture whose alpha is its top byte; false,
// taking nothing, for any other picture.
bool TakeRowSpans(const SDL_Surface* picture, RowSpans* spans);
// Lets a blend plan pass over clear pixels by spans taken from its very
// pixels; any other plan or spans leave the plan as it is.
void UseRowSpans(BlitPlan* plan, const RowSpans* spans);
BlitPlan PlanBlit(SDL_Surface* from, SDL_Surface* to);
// False, having drawn nothing, for a plan that leaves the picture to SDL.
bool RunBlit(const BlitPlan& plan, const SDL_Rect* part, SDL_Surface* to, int x, int y);

// Asks the processor to start loading what RunBlit will read and write for the
// picture's rows inside x0..x1 by y0..y1 of the target, its corner at (left,
// top), so that the loads of several pictures overlap instead of following
// each other. Draws nothing; asks for at most the first 32 of those rows.
void PrefetchBlit(const BlitPlan& plan, const SDL_Surface* to, int left, int top, int x0, int y0, int x1, int y1);

// Starts loading rows of bytes from first, pitch apart, for reading or for
// writing; changes nothing.
inline void PrefetchRows(const void* first, int pitch, int bytes, int rows, bool forWriting) {
    if (bytes <= 0) return;
    const char* row = static_cast<const char*>(first);
    for (int r = 0; r < rows; ++r, row += pitch) {
        for (int at = 0; at < bytes; at += 64) {
            if (forWriting) __builtin_prefetch(row + at, 1);
            else __builtin_prefetch(row + at, 0);
        }
        if (forWriting) __builtin_prefetch(row + bytes - 1, 1);
        else __builtin_prefetch(row + bytes - 1, 0);
    }
}

// SDL_UpperBlit's arguments and result: drawn by QuickBlit where it can,
// by SDL elsewhere.
int BlitPicture(SDL_Surface* from, SDL_Rect* part, SDL_Surface* to, SDL_Rect* place);
