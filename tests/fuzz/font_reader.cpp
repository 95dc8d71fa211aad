// Arbitrary bytes as a font configuration file, read through the native file
// system. The working folder holds DejaVu fonts as "sans.ttf" and "mono.ttf",
// so inputs that name them open real fonts. A failed load is a result, not an
// exit, so no input ends the program.
#include <SDL/SDL_ttf.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/fuzz/FuzzWorkFolder.h"
#include "glimmer/base/DebugLog.h"
#include "glimmer/graphics/CFont.h"
#include "glimmer/resources/NativeFileSystem.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string& workFolder = MakeFuzzWorkFolder();
    std::filesystem::create_symlink("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", workFolder + "/sans.ttf");
    std::filesystem::create_symlink("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
                                    workFolder + "/mono.ttf");
    if (chdir(workFolder.c_str()) != 0) std::abort();
    if (TTF_Init() != 0) std::abort();
    FS = new NativeFileSystem;
    FS->Open(workFolder.c_str());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteFuzzFile("fonts.cfg", data, size);

    DebugLogReset();
    CFont table;
    if (table.LoadFonts("fonts.cfg")) {
        table["main 12"];
        table["main 0"];
        table["system 65548"];
    }
    return 0;
}
