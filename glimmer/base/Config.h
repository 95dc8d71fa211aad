#pragma once

#include <SDL/SDL.h>

// Every engine setting; the one instance is CFG.
class Config {
public:
    SDL_PixelFormat* PixelFormat;  // template format pictures are converted to
    Uint32 VideoFlags;
    Uint8 Bpp;
    Sint16 Width;
    Sint16 Height;
    Uint32 Rmask;
    Uint32 Gmask;
    Uint32 Bmask;
    Uint32 Amask;
    float RGamma;
    float GGamma;
    float BGamma;
    Uint16 VCCsize;
    Uint16 WCCsize;
    Uint16 GDTsize;
    Uint16 VClayers;
    Uint16 WClayers;
    Uint32 VCDesc;
    Uint32 WCDesc;
    Uint8 HideMouse;
    Uint8 ShowFps;
    Uint32 FileSystemType;
    char* FileSystemFile;  // owned for the whole run
    char* FontConfigFile;  // owned for the whole run
    Uint8 ScaleType;
    float Scalex;
    float Scaley;
    Uint32 TimerID;
    char* Caption;  // owned for the whole run

    Config();

    void LoadConfig(const char* path);
    // Builds what the settings describe: the file system FS, the fonts TTF,
    // GDT with the visible and window catalogs (runtime/ConfigProcess.cpp).
    void Process();
};

extern Config CFG;
