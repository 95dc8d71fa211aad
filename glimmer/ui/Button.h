#pragma once

#include <SDL/SDL.h>

#include "glimmer/graphics/GObject.h"

// x and y relative to the window, the button's descriptor, its sprite's.
typedef void (*ClickCallback)(const SDL_MouseButtonEvent* event, int x, int y,
                              unsigned int button, unsigned int sprite);
// x and y relative to the window, the window's descriptor, the sprite's.
typedef void (*TrackCallback)(const SDL_MouseMotionEvent* event, int x, int y,
                              unsigned int window, unsigned int sprite);

// A box inside a window that calls the application back on presses, releases
// and motion; optionally tied to a sprite it shows and hides with itself.
class Button : public GObject {
public:
    unsigned int SPDesc;  // the sprite shown and hidden with the button, if HasSprite
    char HasSprite;
    char Active;          // only active buttons take presses and motion
    ClickCallback Click;  // called on presses and releases inside the box; may be null
    TrackCallback Track;  // called on motion while its window is tracked; may be null

    Button();
    ~Button();

    void Initializing(unsigned int desc, int n, unsigned int udesc);
    void CreateButton(short x, short y, short w, short h, ClickCallback click, TrackCallback track);
    void AssignSprite(unsigned int desc);
    unsigned int GetSPDesc() { return SPDesc; }
    void Activate() { Active = 1; }
    void Disactivate() { Active = 0; }
    int IsActive() { return Active; }
    void Show();
    void Hide();
    void Run();
    int Run(const SDL_Event* event, int x, int y, unsigned int window);
};
