#pragma once

#include <SDL/SDL_ttf.h>

#include "glimmer/resources/Catalog.h"

// The font table: one category per family, one item per nominal size holding
// the opened TTF_Font by reference. The fonts stay open for the whole run.
class CFont : public Catalog {
public:
    CFont();
    ~CFont();

    int LoadFonts(const char* name);
    // The font for a spec such as "main 24"; size 0 names the family's first
    // size. Null when the family or the size is not in the table.
    TTF_Font* operator[](const char* spec);
};

extern CFont TTF;
