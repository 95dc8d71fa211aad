// Arbitrary bytes as an engine configuration file. The file always exists, so
// the reader never ends the program; every byte sequence must be read without
// a fault.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/fuzz/FuzzWorkFolder.h"
#include "glimmer/base/Config.h"
#include "glimmer/base/DebugLog.h"

namespace {

std::string configPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    configPath = MakeFuzzWorkFolder() + "/engine.cfg";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteFuzzFile("engine.cfg", data, size);

    DebugLogReset();
    Config config;
    config.LoadConfig(configPath.c_str());
    // A Config keeps its texts for the whole run; this one ends here.
    delete[] config.FileSystemFile;
    delete[] config.FontConfigFile;
    delete[] config.Caption;
    return 0;
}
