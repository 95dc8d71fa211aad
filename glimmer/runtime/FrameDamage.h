#pragma once

#include <SDL/SDL.h>

#include <vector>

#include "glimmer/graphics/Blitter.h"
#include "glimmer/graphics/GObject.h"

class Descriptor;

// The frame loop's draw pass, drawing only what changed since the last frame.
//
// Each frame first lists every object the pass draws, in drawing order, with
// where it lands and what it shows. Where the list differs from the last
// frame's (an object moved, appeared, disappeared, changed layer, picture,
// alpha or text, or its window moved) the screen is redrawn, all layers in
// order, clipped to those parts; elsewhere the screen already holds the very
// pixels a whole redraw would give. That holds only while an opaque picture
// covers the whole screen in this frame and the last (otherwise translucent
// objects pile up on what the screen held, as they always have), so any other
// frame is drawn whole, as is the first, one after a switch and one where
// most of the screen changed.
//
// What an application draws onto the screen itself, outside the objects, is
// painted over only where something changed: such an application switches
// this off with SetWholeFrames(true) or GLIMMER_WHOLE_FRAMES=1.
class FrameDamage {
public:
    // Lists this frame's objects; returns the filed items met, as the draw
    // pass counts them.
    unsigned int Collect();
    // Draws the listed frame: whole, or where it differs from the last one
    // and inside `extra` (parts something else drew over last time).
    void Draw(const std::vector<ScreenBox>& extra);
    // What Draw changed: true for the whole screen, else the parts in Parts.
    bool Whole() const { return whole_; }
    const std::vector<SDL_Rect>& Parts() const { return parts_; }
    // The next frame is drawn whole.
    void Forget();

private:
    // Laid out to keep the two lists of a sky of flakes small.
    struct Listed {
        GObject* object;
        const void* surface;
        unsigned long look;
        Sint16 box[4];       // what it covers, inside the screen: x0, y0, x1, y1
        SDL_Rect clip;       // the window's rectangle (kinds 1 and 2)
        int left;            // the picture's corner, before clipping
        int top;
        int before;          // its place in the last frame's list, or -1
        Uint32 flags;
        Uint32 colorkey;
        unsigned char kind;  // 0 sprite on the screen, 1 sprite in a window, 2 text in a window
        Uint8 alpha;
    };
    // An object met while walking the catalog, before it is listed; the
    // objects of one window share its rectangle, kept once in clips_.
    struct Found {
        const Descriptor* record;
        Uint32 clip;  // index in clips_, or NoClip
        unsigned char kind;
    };
    static constexpr Uint32 NoClip = 0xffffffffu;
    friend class Lister;

    void Meet(const Descriptor& record, unsigned char kind, const SDL_Rect* clip);
    static GObject* ObjectFound(const Found& found);
    void WarmFound() const;

    void Add(GObject* object, unsigned char kind, const SDL_Rect* clip, const Descriptor& record);
    void Origin(unsigned int udesc, int* ox, int* oy);
    bool SameAsBefore(const Listed& now, const Listed& before) const;
    void MarkBox(const ScreenBox& box);
    void BuildParts();
    void DrawOne(const Listed& listed, const BlitPlan& plan, const ScreenBox& part);
    void PrefetchAhead(size_t i) const;
    void DrawWhole();
    void DrawParts();

    std::vector<Found> found_;
    std::vector<SDL_Rect> clips_;
    std::vector<Listed> now_;
    std::vector<Listed> before_;
    // How each of now_ is drawn, made while listing: drawing it part by part
    // then needs nothing but this and the screen.
    std::vector<BlitPlan> plans_;
    unsigned long frame_ = 0;
    bool duplicate_ = false;
    bool covered_ = false;
    bool coveredBefore_ = false;
    const SDL_Surface* screenBefore_ = nullptr;
    int widthBefore_ = 0;
    int heightBefore_ = 0;
    std::vector<unsigned char> matched_;
    int width_ = 0;
    int height_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    // One bit a changed tile, words_ words a row of tiles: a frame's few
    // changes are found a word at a time, not a tile at a time.
    int words_ = 0;
    std::vector<Uint64> tiles_;
    std::vector<SDL_Rect> parts_;
    std::vector<ScreenBox> overlaps_;
    std::vector<int> partTopRow_;
    // The parts in each row of tiles: rowParts_[rowStart_[r]] up to
    // rowParts_[rowStart_[r + 1]].
    std::vector<int> rowParts_;
    std::vector<int> rowStart_;
    bool whole_ = true;
    bool originKnown_ = false;
    unsigned int originOf_ = 0;
    int originX_ = 0;
    int originY_ = 0;
};

// Draws every frame whole (true) or only what changed (false, the default
// unless GLIMMER_WHOLE_FRAMES=1 is set when the engine starts).
void SetWholeFrames(bool whole);
bool WholeFrames();
