#include "glimmer/base/Error.h"

#include <SDL/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "glimmer/base/Config.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/base/EngineInternal.h"

bool InsideEventPolling = false;
void (*CloseFileSystemAtExit)() = nullptr;

namespace {

// The message line of a code, after "INFO MESSAGE:\t"; whether the code has one.
bool MessageFor(int code, std::string& text) {
    switch (code) {
    case ErrorCode::Exit: text = "Exited normally"; break;
    case ErrorCode::SdlFailed: text = std::string("SDL error:") + SDL_GetError(); break;
    case ErrorCode::NoMemory: text = "Not enought memory"; break;
    case ErrorCode::NoDescriptor: text = "No free descriptors left"; break;
    case ErrorCode::NoSprite: text = std::string("Can`t find sprite:") + SDL_GetError(); break;
    case ErrorCode::TtfInitFailed: text = std::string("Can`t init TTF engine:") + SDL_GetError(); break;
    case ErrorCode::FontLoadFailed: text = std::string("Can`t load font:") + SDL_GetError(); break;
    case ErrorCode::TextRenderFailed: text = std::string("Can`t render text:") + SDL_GetError(); break;
    case ErrorCode::SpriteLoadFailed: text = std::string("Error while loading sprite:") + SDL_GetError(); break;
    case ErrorCode::FileSystemFailed:
        text = std::string("Error while loading file system from \"") +
               (CFG.FileSystemFile ? CFG.FileSystemFile : "") + "\"";
        break;
    case ErrorCode::NoConfigFile: text = "Can`t find config file."; break;
    default: return false;
    }
    return true;
}

}  // namespace

const char* ErrorMessageText(int code) {
    static std::string text;
    if (!MessageFor(code, text)) text.clear();
    return text.c_str();
}

void Error(int code) {
    std::string text;
    if (MessageFor(code, text)) {
        DebugLog << "INFO MESSAGE:\t" << text << std::endl;
        // A user who sees the card vanish learns why.
        if (code != 0) std::fprintf(stderr, "INFO MESSAGE:\t%s\n", text.c_str());
    }
    SDL_SetTimer(0, nullptr);
    DebugLog << "Timer unsetted" << std::endl;
    if (CloseFileSystemAtExit) CloseFileSystemAtExit();
    DebugLog << "File System is closed" << std::endl;
    // Closing the window still delivers events (the key that ended the
    // program is released as the keyboard loses its window); a filter that
    // ends the program on them would enter Error again inside SDL_Quit and
    // wait there for SDL's own shutdown for ever.
    SDL_SetEventFilter(nullptr);
    if (InsideEventPolling) {
        // Called from an event filter: SDL holds its event lock around the
        // filter, and the timer thread may be waiting for that lock inside
        // FrameTick, so SDL_Quit would wait for the timer thread for ever.
        // Everything but the timer (already unset) is shut down; its thread
        // ends with the process.
        SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_AUDIO);
    } else {
        SDL_Quit();
    }
    DebugLog << "Exited SDL" << std::endl;
    DebugLog << "Closing debug file" << std::endl;
    std::fflush(stderr);
    int status = 1;
    if (code == ErrorCode::Exit) status = 0;
    else if (code >= ErrorCode::SdlFailed && code <= ErrorCode::NoConfigFile) status = code;
    std::exit(status);
}
