// Arbitrary bytes as the card's settings file ("solvane.cfg" read by the
// card's own reader). The file always exists, so reading never ends the
// program; every byte sequence must be read without a fault, and the flake
// count derived from what was read must stay within its type.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "card/Card.h"

namespace {

std::string settingsPath;

void RemoveWorkFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(settingsPath).parent_path(), ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "glimmer-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    settingsPath = pattern + "/solvane.cfg";
    std::atexit(RemoveWorkFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FILE* f = std::fopen(settingsPath.c_str(), "wb");
    if (!f) std::abort();
    if (size && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);

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
