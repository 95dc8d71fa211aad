#pragma once

#include <SDL/SDL.h>

// Every engine setting; the one instance is CFG.
class Config {
public:
    // The template format pictures are converted to; null before VideoInit.
    // Either the screen surface's own format (SDL owns it) or, for a screen
    // without alpha, a 32-bit ARGB format the engine made and keeps for the
    // whole run. Never freed by its users.
    SDL_PixelFormat* PixelFormat;
    Uint32 VideoFlags;  // SDL_SetVideoMode flags, from the mode keys
    Uint8 Bpp;          // requested bits per pixel; 0 takes the display's
    Sint16 Width;
    Sint16 Height;
    Uint32 Rmask;  // the template format's masks once VideoInit has run
    Uint32 Gmask;
    Uint32 Bmask;
    Uint32 Amask;
    float RGamma;
    float GGamma;
    float BGamma;
    Uint16 VCCsize;   // items per layer of the visible catalog
    Uint16 WCCsize;   // items per layer of the window catalog
    Uint16 GDTsize;   // slots of GDT
    Uint16 VClayers;  // layers of the visible catalog
    Uint16 WClayers;  // layers of the window catalog
    Uint32 VCDesc;    // descriptor of the visible catalog (0)
    Uint32 WCDesc;    // descriptor of the window catalog (1)
    Uint8 HideMouse;
    Uint8 ShowFps;
    Uint32 FileSystemType;  // 0: the native file system, the only kind
    char* FileSystemFile;  // owned for the whole run
    char* FontConfigFile;  // owned for the whole run
    Uint8 ScaleType;  // 1: sprites are scaled smoothly
    float Scalex;     // Width / 800: design units to screen pixels
    float Scaley;     // Height / 600
    Uint32 TimerID;
    char* Caption;  // owned for the whole run

    Config();

    void LoadConfig(const char* path);
    // Builds what the settings describe: the file system FS, the fonts TTF,
    // GDT with the visible and window catalogs (runtime/ConfigProcess.cpp).
    void Process();
};

extern Config CFG;
