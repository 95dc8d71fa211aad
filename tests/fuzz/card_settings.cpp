// Arbitrary bytes as the card's settings file ("solvane.cfg" read by the
// card's own reader). The file always exists, so reading never ends the
// program; every byte sequence must be read without a fault, and the flake
// count derived from what was read must stay within its type.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/fuzz/FuzzWorkFolder.h"
#include "card/Card.h"

namespace {

std::string settingsPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    settingsPath = MakeFuzzWorkFolder() + "/solvane.cfg";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteFuzzFile("solvane.cfg", data, size);

    SnowNum = 0;
    SnowDensity = 0.0f;
    TextSpeed = 100;
    SnowSpeed = 5;
    LoadCardSettings(settingsPath.c_str());
    // What the scene derives from the settings: any value must be usable.
    CardFlakeCount(SnowNum, SnowDensity, 600);
    CardFlakeCount(SnowNum, SnowDensity, -32768);
    CardFallStep(SnowSpeed);
    CardFallStep(TextSpeed);
    return 0;
}
