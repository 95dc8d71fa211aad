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
//
// The window's descriptor and its place in the visible catalog are those of
// its GObject part: Initializing gives the Catalog part and the table the same
// descriptor, and showing or hiding through the GObject part (as
// GetGObject(desc)->Show() does) shows or hides the window itself.
class Window : public Catalog, public GObject {
public:
    using GObject::Desc;   // the window's descriptor; Catalog::Desc holds the same
    using GObject::VQnum;  // item in the visible catalog; -1 while not shown

    DTable Table;        // the window's own objects, numbered in its range of GDT
    unsigned int Flags;  // 1 active, 2 shown; kept for the application
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
