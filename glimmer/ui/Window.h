#pragma once

#include <SDL/SDL.h>

#include "glimmer/graphics/GObject.h"
#include "glimmer/registry/DTable.h"
#include "glimmer/resources/Catalog.h"

// A window is at once a catalog of 256 layers, a graphic object and a
// descriptor table of its own. It owns its table and everything in it.
class Window : public Catalog, public GObject {
public:
    DTable Table;
    unsigned int Flags;  // 1 active, 2 shown; kept for the application
    unsigned int Desc;
    unsigned int VQnum;  // item in the visible catalog; all bits set while not shown
    unsigned int WQnum;  // item in the window catalog; all bits set while not active

    Window();
    ~Window();

    void Initializing(unsigned int desc, int mlimit, unsigned int udesc);
    void Show();
    void Hide();
    void Activate();
    void Disactivate();
    void Run(SDL_Surface* surface);
    int MouseClick(const SDL_Event* event);
    int MouseTrack(const SDL_Event* event);
    void Refresh();
    DTable* GetTable() { return &Table; }
};
