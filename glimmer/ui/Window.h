#pragma once

#include <SDL/SDL.h>

#include "glimmer/graphics/GObject.h"
#include "glimmer/registry/DTable.h"
#include "glimmer/resources/Catalog.h"

class Descriptor;

// What drawing a window meets, in drawing order: every filed object (nested
// windows are entered, not handed over) with the rectangle of the window it is
// filed in.
class WindowContents {
public:
    virtual void Object(const Descriptor& record, SDL_Rect* clip) = 0;

protected:
    ~WindowContents() = default;
};

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
    // The walk Run draws by, with its trace lines.
    void Walk(WindowContents& contents);
    int MouseClick(const SDL_Event* event);
    int MouseTrack(const SDL_Event* event);
    void Refresh();
    DTable* GetTable() { return &Table; }
};
