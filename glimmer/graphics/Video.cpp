#include "glimmer/graphics/Video.h"

#include <cstdlib>
#include <new>
#include <ostream>

#include "glimmer/base/EngineInternal.h"
#include "glimmer/base/Config.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/base/Error.h"
#include "glimmer/base/Platform.h"
#include "glimmer/graphics/NoDisplay.h"
#include "glimmer/graphics/Present.h"

SDL_Surface* SDL_FBSurface = nullptr;

namespace {

void LogHex(const char* label, unsigned int value) {
    DebugLog << label << std::hex << value << std::dec << std::endl;
}

void LogMasks() {
    LogHex("Rmask:", CFG.Rmask);
    LogHex("Gmask:", CFG.Gmask);
    LogHex("Bmask:", CFG.Bmask);
    LogHex("Amask:", CFG.Amask);
}

// The 32-bit ARGB format every picture is converted to when the screen has no
// alpha channel of its own. Shifts and losses follow the masks, so that colours
// mapped through this format land where its masks say (the screen's own shifts
// and losses would describe a different layout).
SDL_PixelFormat* MakeTemplateFormat(const SDL_PixelFormat& screen) {
    SDL_PixelFormat* format = new (std::nothrow) SDL_PixelFormat();
    if (!format) Error(ErrorCode::NoMemory);
    format->palette = nullptr;
    format->BitsPerPixel = 32;
    format->BytesPerPixel = 4;
    format->Rmask = 0x00FF0000;
    format->Gmask = 0x0000FF00;
    format->Bmask = 0x000000FF;
    format->Amask = 0xFF000000;
    format->Rshift = 16;
    format->Gshift = 8;
    format->Bshift = 0;
    format->Ashift = 24;
    format->Rloss = 0;
    format->Gloss = 0;
    format->Bloss = 0;
    format->Aloss = 0;
    format->colorkey = screen.colorkey;
    format->alpha = screen.alpha;
    return format;
}

// The engine draws every frame in software into the screen surface; SDL then
// only has to hand that surface to the display. Its default on X11 is an
// OpenGL renderer, which without a GPU (Mesa's llvmpipe) costs more CPU than
// the whole frame and loads a compiler into the process; the software
// renderer over a shared-memory window surface copies the picture once.
// Settings made in the environment are left alone, and OpenGL modes need GL.
void PreferSoftwarePresentation() {
    if (CFG.VideoFlags & OpenGLVideoFlags) return;
    PlatformSetEnvironment("SDL_RENDER_DRIVER", "software", false);
    PlatformSetEnvironment("SDL_FRAMEBUFFER_ACCELERATION", "0", false);
}

}  // namespace

void VideoInit() {
    PreferSoftwarePresentation();
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO) == -1) {
        // The engine never plays sound: a machine without an audio device
        // still gets its picture.
        if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) == -1) Error(ErrorCode::SdlFailed);
    }

    char driver[1024] = "";
    SDL_VideoDriverName(driver, sizeof driver);
    DebugLog << "INFO MESSAGE:\t" << "Video driver name:" << driver << std::endl;
    if (NoDisplay(driver, std::getenv("SDL_VIDEODRIVER"))) {
        SDL_SetError("%s", NoDisplayMessage(driver, std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY")).c_str());
        Error(ErrorCode::SdlFailed);
    }

    if (CFG.VideoFlags & OpenGLVideoFlags) {
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (CFG.VideoFlags & SDL_DOUBLEBUF) ? 1 : 0);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, CFG.Bpp);
    }

    // A screen over the old window's surface must not outlive that window.
    ResetPresentation();
    SDL_FBSurface = SDL_SetVideoMode(CFG.Width, CFG.Height, CFG.Bpp, CFG.VideoFlags);
    if (!SDL_FBSurface) Error(ErrorCode::SdlFailed);

    DebugLog << "BPP:" << static_cast<unsigned int>(CFG.Bpp) << std::endl;
    LogHex("VideoParams:", CFG.VideoFlags);
    DebugLog << "Resoulution:" << SDL_FBSurface->w << "x" << SDL_FBSurface->h << std::endl;

    SDL_LockSurface(SDL_FBSurface);

    const SDL_PixelFormat& screen = *SDL_FBSurface->format;
    CFG.Rmask = screen.Rmask;
    CFG.Gmask = screen.Gmask;
    CFG.Bmask = screen.Bmask;
    CFG.Amask = screen.Amask;
    LogMasks();
    LogHex("Rshift", screen.Rshift);
    LogHex("Gshift", screen.Gshift);
    LogHex("Bshift", screen.Bshift);
    LogHex("Ashift", screen.Ashift);
    LogHex("Rloss", screen.Rloss);
    LogHex("Gloss", screen.Gloss);
    LogHex("Bloss", screen.Bloss);
    LogHex("Aloss", screen.Aloss);

    if (CFG.Amask == 0) {
        CFG.PixelFormat = MakeTemplateFormat(screen);
        CFG.Rmask = 0x00FF0000;
        CFG.Gmask = 0x0000FF00;
        CFG.Bmask = 0x000000FF;
        CFG.Amask = 0xFF000000;
    } else {
        CFG.PixelFormat = SDL_FBSurface->format;
    }
    LogMasks();

    if (!(CFG.VideoFlags & OpenGLVideoFlags)) {
        if (SDL_SetGamma(CFG.RGamma, CFG.GGamma, CFG.BGamma) == -1)
            DebugLog << "INFO MESSAGE:\t" << "Gamma couldn`t be changed" << std::endl;
    }

    SDL_UnlockSurface(SDL_FBSurface);
    SDL_ShowCursor(1);
}
