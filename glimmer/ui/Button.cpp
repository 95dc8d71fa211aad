#include "glimmer/ui/Button.h"

#include <ostream>

#include "glimmer/base/DebugLog.h"
#include "glimmer/graphics/Sprite.h"
#include "glimmer/registry/DTable.h"

Button::Button() : SPDesc(0), HasSprite(0), Active(0), Click(nullptr), Track(nullptr) {
    DebugLog << "Creating button" << std::endl;
}

Button::~Button() {
    DebugLog << "Destructing button" << std::endl;
}

void Button::Initializing(unsigned int desc, int, unsigned int udesc) {
    Desc = desc;
    UDesc = udesc;
    DebugLog << "Initialized Button desc=" << desc << std::endl;
}

void Button::CreateButton(short x, short y, short w, short h, ClickCallback click, TrackCallback track) {
    DebugLog << "Creating button. SX=" << SX << " SY=" << SY << std::endl;
    X = ScaleTrunc(x, SX);
    Y = ScaleTrunc(y, SY);
    XSize = ScaleTrunc(w, SX);
    YSize = ScaleTrunc(h, SY);
    Click = click;
    Track = track;
}

void Button::AssignSprite(unsigned int desc) {
    SPDesc = desc;
    HasSprite = 1;
}

// A descriptor that names no sprite (freed, or never a sprite) is left
// alone: a button must not draw or file something else.
void Button::Show() {
    if (!HasSprite) return;
    if (Sprite* sprite = ObjectOf<Sprite>(SPDesc)) sprite->Show();
}

void Button::Hide() {
    if (!HasSprite) return;
    if (Sprite* sprite = ObjectOf<Sprite>(SPDesc)) sprite->Hide();
}

void Button::Run() {
    if (!HasSprite) return;
    if (Sprite* sprite = ObjectOf<Sprite>(SPDesc)) sprite->Run(nullptr);
}

int Button::Run(const SDL_Event* event, int x, int y, unsigned int window) {
    // Both mouse event kinds keep x and y at the same place after the type and
    // state bytes, but each is read through its own member to stay honest.
    int ex = 0;
    int ey = 0;
    if (event->type == SDL_MOUSEMOTION) {
        ex = event->motion.x;
        ey = event->motion.y;
    } else if (event->type == SDL_MOUSEBUTTONDOWN || event->type == SDL_MOUSEBUTTONUP) {
        ex = event->button.x;
        ey = event->button.y;
    }
    const int bx = X;
    const int by = Y;
    const int bw = XSize;
    const int bh = YSize;
    DebugLog << "Click at (abs)[" << ex << ";" << ey << "] rel[" << x << ";" << y
             << "] passed to button [" << bx << ";" << by << "]->[" << bx + bw << ";" << by + bh << "]"
             << std::endl;
    DebugLog << "Button is active? " << (Active == 1 ? 1 : 0) << std::endl;

    switch (event->type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (bx <= x && x <= bx + bw && by <= y && y <= by + bh && Active == 1) {
            DebugLog << "Calling Click();=" << reinterpret_cast<void*>(Click) << std::endl;
            if (Click) Click(&event->button, x, y, Desc, SPDesc);
            return 1;
        }
        return 0;
    case SDL_MOUSEMOTION: {
        DebugLog << "Calling Track();" << std::endl;
        const unsigned int from = window != 0 ? window : Desc;
        if (Track) Track(&event->motion, x, y, from, SPDesc);
        return 0;
    }
    default:
        return 0;
    }
}
