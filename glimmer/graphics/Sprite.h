#pragma once

#include <SDL/SDL.h>

#include "glimmer/graphics/GObject.h"

struct RowSpans;

// A picture in the template pixel format, already scaled to the screen, drawn
// by its descriptor's position parameters.
class Sprite : public GObject {
public:
    // The pixels: one reference to the surface, counted by SDL (refcount,
    // released by SDL_FreeSurface). A copy shares its source's surface and
    // keeps it alive, so either may be freed first and the other still draws.
    // Loading, creating or scaling gives a sprite a surface of its own; so
    // does SetAlpha on a shared surface, which leaves the others unchanged.
    SDL_Surface* Surface;
    char* TextBuffer;  // owned; only copying fills it
    // While every pixel of Surface is fully opaque: a second description of
    // the same pixels in the screen's format, which SDL copies instead of
    // blending. Owned header, borrowed pixels; null otherwise.
    SDL_Surface* OpaqueView;
    // For a wide picture with translucent or clear pixels: where each row's
    // pixels that are not fully clear begin and end, taken with the opaque
    // view from the same pixels, so that a blend passes over the rest. They
    // hold until Touch() marks the picture changed (a program writing into
    // the pixels itself calls it). Owned; null otherwise.
    RowSpans* Spans;

    Sprite();
    // A copy shares the source's surface (see Surface) and copies its
    // TextBuffer; it belongs to no table (Desc 0) until Initializing.
    Sprite(Sprite& src);
    Sprite& operator=(Sprite& src);
    ~Sprite();

    void Initializing(unsigned int desc, int n, unsigned int udesc);
    void Load(const char* name, unsigned char z, float kx, float ky);
    void Create(SDL_Surface* src, short xc, short yc, unsigned char z, float kx, float ky);
    void Scale(float kx, float ky);
    void SetAlpha(unsigned char a);
    void Run(SDL_Surface* dst);
    void Run(SDL_Rect* clip, SDL_Surface* dst);
    void PutSprite(int x, int y, SDL_Surface* dst);
    void PutSprite(int x, int y, SDL_Rect* src, SDL_Surface* dst);
    // What Run(dst) (clip null) or Run(clip, dst) draws, from its position
    // parameters and its owner's origin, already looked up: the picture's
    // corner and the part of the screen it covers, before the screen's own
    // clipping. False when it draws nothing or has no picture.
    bool Placement(const short* params, int ox, int oy, const SDL_Rect* clip, long long* left, long long* top,
                   ScreenBox* box) const;
    // Whether drawing it copies its pixels as they are (no translucency).
    bool DrawsOpaque() const;
    // The surface PutSprite draws onto target: OpaqueView where it gives the
    // same pixels, else Surface.
    SDL_Surface* DrawnSurface(const SDL_Surface* target) const;

private:
    bool ClippedPlacement(const SDL_Rect* clip, long long* left, long long* top, ScreenBox* box) const;

public:
    SDL_Surface* GetSurface() { return Surface; }
    void Reload();
};

// Reads a sprite file and decodes the picture it names as Load does, but
// without ending the program: the decoded picture (the caller frees it) with
// the hot spot, or null with *code set to the code Load ends with (2, 4, 8).
SDL_Surface* ReadSpritePicture(const char* name, short* xc, short* yc, int* code);
