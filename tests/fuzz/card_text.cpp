// Arbitrary bytes as the card's greeting text "txt/txt.txt", read through the
// engine's native file system. Every entry must stay terminated inside its
// buffer, at most 500 entries are kept, and every entry must convert to the
// text that is rendered (UTF-8) without a fault.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "tests/fuzz/FuzzWorkFolder.h"
#include "card/Card.h"
#include "glimmer/graphics/CText.h"
#include "glimmer/resources/NativeFileSystem.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string& workFolder = MakeFuzzWorkFolder();
    std::filesystem::create_directory(workFolder + "/txt");
    FS = new NativeFileSystem;
    FS->Open(workFolder.c_str());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteFuzzFile("txt/txt.txt", data, size);

    LoadCardText("txt/txt.txt");
    if (LineCount > CardTextLinesMax) std::abort();
    for (Uint32 i = 0; i < LineCount; ++i) {
        if (strnlen(TextLines[i], CardTextLineSize) >= CardTextLineSize) std::abort();
        const std::string shown = TextToUtf8(GreetingText(i));
        if (shown.empty()) std::abort();
    }
    return 0;
}
