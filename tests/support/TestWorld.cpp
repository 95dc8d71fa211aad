#include "tests/support/TestWorld.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "glimmer/base/DebugLog.h"

namespace {

// create_directory reports whether it made the folder, so a name another
// process took first is simply passed over.
std::filesystem::path NewFolderIn(const std::filesystem::path& base) {
    std::random_device seed;
    std::mt19937_64 random(seed());
    std::error_code error;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate = base / ("glimmer-test-" + std::to_string(random() % 1000000000));
        if (std::filesystem::create_directory(candidate, error)) return candidate;
    }
    return {};
}

#ifdef _WIN32
// A death test on Windows runs its test once more in a new process, which must
// find the folders the first one made: the folders are numbered in the order
// the test makes them, below a root that the first process names to the new
// ones through the environment and removes at its end.
class TempRoot {
public:
    TempRoot() {
        if (const char* given = std::getenv(Variable)) {
            path_ = given;
            return;
        }
        std::error_code error;
        path_ = NewFolderIn(std::filesystem::temp_directory_path(error));
        owned_ = !path_.empty() && _putenv_s(Variable, path_.string().c_str()) == 0;
    }
    ~TempRoot() {
        std::error_code ignored;
        if (owned_) std::filesystem::remove_all(path_, ignored);
    }

    std::filesystem::path Next() {
        if (path_.empty()) return {};
        const std::filesystem::path folder = path_ / std::to_string(++made_);
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        return error ? std::filesystem::path() : folder;
    }

private:
    static constexpr const char* Variable = "GLIMMER_TEST_TEMP_ROOT";
    std::filesystem::path path_;
    bool owned_ = false;
    int made_ = 0;
};
#endif

}  // namespace

TempDir::TempDir() {
#ifdef _WIN32
    static TempRoot root;
    path_ = root.Next().generic_string();
#else
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (!error) path_ = NewFolderIn(base).generic_string();
#endif
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

void WriteTextFile(const std::string& path, const std::string& content) {
    std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

std::string ReadTextFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }

ScopedChdir::ScopedChdir(const std::string& dir) {
    previous_ = std::filesystem::current_path().string();
    std::filesystem::current_path(dir);
}

ScopedChdir::~ScopedChdir() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

bool TraceHas(const std::string& text) { return std::strstr(DebugLogText(), text.c_str()) != nullptr; }
