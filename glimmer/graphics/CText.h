#pragma once

#include <string>

#include <SDL/SDL.h>

#include "glimmer/graphics/GObject.h"

// One line of text in one font and colour, rendered only when needed.
// Texts are UTF-8; a text that is not valid UTF-8 is read as Windows-1251.
class CText : public GObject {
public:
    char* Text;            // owned
    char* Font;            // owned font spec, such as "main 24"
    SDL_Surface* Surface;  // owned rendering, while Rendered
    char Rendered;         // Surface holds the current rendering
    char Dirty;            // text, font or colour changed since the rendering
    SDL_Color Color;

    CText();
    ~CText();
    CText(const CText&) = delete;
    CText& operator=(const CText&) = delete;

    void Initializing(unsigned int desc, int n, unsigned int udesc);
    void Create(const char* text, const char* font);
    void ChangeFont(const char* font);
    void ChangeColor(unsigned char r, unsigned char g, unsigned char b);
    void ChangeText(const char* text);
    void Clear();
    void ClearText();
    void Delete();
    void Render();
    void Run(SDL_Surface* dst);
    void Run(SDL_Rect* clip, SDL_Surface* dst);
    SDL_Surface* GetSurface() { return Surface; }
    // What Run(clip, dst) draws: the rendering's corner and the part of the
    // screen it covers, before the screen's own clipping. False when it draws
    // nothing or has no rendering.
    bool Placement(const SDL_Rect* clip, long long* left, long long* top, ScreenBox* box) const;
    // The same from its position parameters and its owner's origin, already
    // looked up.
    bool Placement(const short* params, int ox, int oy, const SDL_Rect* clip, long long* left, long long* top,
                   ScreenBox* box) const;
};

// The UTF-8 form of a text: the text itself when it is valid UTF-8, otherwise
// its bytes read as Windows-1251.
std::string TextToUtf8(const char* text);
