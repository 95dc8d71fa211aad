#pragma once

// A running engine for tests that need the screen, GDT and the catalogs: a
// temporary folder with a configuration file, a font configuration and a
// file-system root, made the working directory, then GlimmerInitEngine.
// SDL runs on its dummy video driver (set by the test registration).

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <glimmer/glimmer.h>
#include "tests/support/Pixels.h"
#include "tests/support/TestWorld.h"

class EngineWorld {
public:
    // extraConfig is appended to the configuration file; later keys win.
    explicit EngineWorld(const std::string& extraConfig = "ShowFps 0\n",
                         const std::string& fontConfig = DefaultFonts())
        : cd_(PrepareFolder(dir_, extraConfig, fontConfig)) {
        // SDL's timer thread runs in every engine process; a death test must
        // start its child afresh instead of forking one whose threads are gone.
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        GlimmerInitEngine("test.cfg");
        // Frames are drawn by the tests themselves, not by timer events.
        SDL_SetTimer(0, nullptr);
        DebugLogReset();
    }
    ~EngineWorld() { SDL_SetTimer(0, nullptr); }
    EngineWorld(const EngineWorld&) = delete;
    EngineWorld& operator=(const EngineWorld&) = delete;

    const TempDir& Dir() const { return dir_; }

    static std::string DefaultFonts() {
        return std::string("1\nsystem ") + DejaVuSans + " 1 12\n";
    }

private:
    static const std::string& PrepareFolder(const TempDir& dir, const std::string& extra,
                                            const std::string& fonts) {
        WriteTextFile(dir / "test.cfg",
                      "//// engine under test\n"
                      "Width 800\nHeight 600\nBpp 32\n"
                      "FileSystemFile data\nFontConfigFile fonts.cfg\nCaption engine-test\n" +
                          extra);
        WriteTextFile(dir / "data/fonts.cfg", fonts);
        return dir.Path();
    }

    TempDir dir_;
    ScopedChdir cd_;
};

struct SurfaceFree {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfaceOwner = std::unique_ptr<SDL_Surface, SurfaceFree>;

// A sprite of one opaque colour (0xRRGGBB), w × h pixels, hot spot at its
// corner, created in table with position parameters (x, y) at level z.
inline unsigned int SolidSprite(DTable& table, short x, short y, int w, int h, Uint32 rgb,
                                unsigned char z = 0) {
    short params[2] = {x, y};
    const unsigned int desc = static_cast<unsigned int>(table.CreateDescriptor(TypeSprite, params, 1));
    SurfaceOwner picture(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0x00FF0000, 0x0000FF00,
                                              0x000000FF, 0xFF000000));
    SDL_FillRect(picture.get(), nullptr, 0xFF000000u | rgb);
    ObjectOf<Sprite>(desc, table)->Create(picture.get(), 0, 0, z, 1.0f, 1.0f);
    return desc;
}

// A window created in table with layer capacity `capacity` and `slots` slots
// of its own, placed at (x, y) with size w × h and level z.
inline Window* MakeWindow(DTable& table, short x, short y, short w, short h, unsigned char z = 0,
                          int slots = 16, short capacity = 8, unsigned int* desc = nullptr) {
    short params[2] = {capacity, 0};
    const unsigned int d = static_cast<unsigned int>(table.CreateDescriptor(TypeWindow, params,
                                                                            static_cast<unsigned long>(slots)));
    Window* window = ObjectOf<Window>(d, table);
    window->SetCoord(x, y, 1.0f, 1.0f);
    window->SetSize(w, h, 1.0f, 1.0f);
    window->SetZLevel(z);
    if (desc) *desc = d;
    return window;
}

// The screen pixel at (x, y) as 0xRRGGBB.
inline Uint32 ScreenPixel(int x, int y) { return RgbAt(SDL_FBSurface, x, y); }

inline void PaintScreen(Uint32 rgb) {
    SDL_FillRect(SDL_FBSurface, nullptr, SDL_MapRGB(SDL_FBSurface->format, rgb >> 16 & 0xFF,
                                                    rgb >> 8 & 0xFF, rgb & 0xFF));
}

// The trace of a process that is about to end through Error, written to
// standard error so that a death test's pattern can read it.
inline void PrintTraceAtExit() {
    std::atexit([] { std::fputs(DebugLogText(), stderr); });
}

inline SDL_Event MouseButtonEvent(Uint8 type, Uint16 x, Uint16 y) {
    SDL_Event e;
    SDL_memset(&e, 0, sizeof e);
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    return e;
}

inline SDL_Event MotionEvent(Uint16 x, Uint16 y) {
    SDL_Event e;
    SDL_memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

inline SDL_Event KeyEvent(Uint8 type, SDLKey key) {
    SDL_Event e;
    SDL_memset(&e, 0, sizeof e);
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    return e;
}
