#pragma once

// What every fuzz target shares: a temporary work folder, removed at exit, and
// writing one input's bytes into a file of it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

inline std::string& FuzzWorkFolder() {
    static std::string folder;
    return folder;
}

// Makes the work folder once; later calls return the same folder.
inline const std::string& MakeFuzzWorkFolder() {
    std::string& folder = FuzzWorkFolder();
    if (folder.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "glimmer-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        folder = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(FuzzWorkFolder(), ignored);
        });
    }
    return folder;
}

// Writes the bytes as the file name inside the work folder (replacing it).
inline void WriteFuzzFile(const std::string& name, const std::uint8_t* data, std::size_t size) {
    FILE* f = std::fopen((FuzzWorkFolder() + "/" + name).c_str(), "wb");
    if (!f) std::abort();
    if (size && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}
