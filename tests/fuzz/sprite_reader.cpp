// Arbitrary bytes as a sprite file and the picture it may name. The first
// byte gives the length of the sprite file's text; the bytes after it are
// written as the picture "p" (a folder "d" exists as well). Reading must end
// in a picture or in one of the codes 2, 4 and 8, never in a fault.
#include <SDL/SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/fuzz/FuzzWorkFolder.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/graphics/Sprite.h"
#include "glimmer/resources/NativeFileSystem.h"

// Pictures whose headers promise gigabytes get no memory instead of ending
// the run: the decoder then fails as it does on a machine without that memory.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1:max_allocation_size_mb=256"; }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string& workFolder = MakeFuzzWorkFolder();
    std::filesystem::create_directory(workFolder + "/d");
    FS = new NativeFileSystem;
    FS->Open(workFolder.c_str());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::size_t textSize = size ? data[0] : 0;
    if (textSize > size - (size ? 1 : 0)) textSize = size ? size - 1 : 0;
    const std::uint8_t* text = size ? data + 1 : data;
    WriteFuzzFile("s.spr", text, textSize);
    WriteFuzzFile("p", text + textSize, size - (size ? 1 : 0) - textSize);

    DebugLogReset();
    short xc = 0, yc = 0;
    int code = -1;
    SDL_Surface* picture = ReadSpritePicture("s.spr", &xc, &yc, &code);
    if (picture) {
        if (code != 0 || picture->w <= 0 || picture->h <= 0) std::abort();
        SDL_FreeSurface(picture);
    } else if (code != 2 && code != 4 && code != 8) {
        std::abort();
    }
    return 0;
}
