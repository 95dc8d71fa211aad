// Arbitrary bytes as an engine configuration file. The file always exists, so
// the reader never ends the program; every byte sequence must be read without
// a fault.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/core/Config.h"
#include "engine/core/DebugLog.h"

namespace {

std::string configPath;

void RemoveWorkFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(configPath).parent_path(), ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (std::filesystem::temp_directory_path() / "glimmer-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    configPath = pattern + "/engine.cfg";
    std::atexit(RemoveWorkFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FILE* f = std::fopen(configPath.c_str(), "wb");
    if (!f) std::abort();
    if (size && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);

    DebugLogReset();
    Config config;
    config.LoadConfig(configPath.c_str());
    // A Config keeps its texts for the whole run; this one ends here.
    delete[] config.FileSystemFile;
    delete[] config.FontConfigFile;
    delete[] config.Caption;
    return 0;
}
