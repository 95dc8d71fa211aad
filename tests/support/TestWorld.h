#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

#include "tools/png/PngWriter.h"

// A temporary folder that is removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // path_ + "/" + name
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Writes content to path, creating the folders on the way.
void WriteTextFile(const std::string& path, const std::string& content);
std::string ReadTextFile(const std::string& path);
bool FileExists(const std::string& path);

// The working directory is changed for the lifetime of the object.
class ScopedChdir {
public:
    explicit ScopedChdir(const std::string& dir);
    ~ScopedChdir();
    ScopedChdir(const ScopedChdir&) = delete;
    ScopedChdir& operator=(const ScopedChdir&) = delete;

private:
    std::string previous_;
};

// Fonts from the Debian package fonts-dejavu-core. Under wine the tests may
// stand on another drive, so the Linux root is named by its drive there.
constexpr const char* DejaVuSans = GLIMMER_TEST_ROOT "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* DejaVuSansMono = GLIMMER_TEST_ROOT "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf";

// Whether the trace so far contains the text.
bool TraceHas(const std::string& text);

#ifdef _WIN32
// Windows' C library names these its own way.
inline int setenv(const char* name, const char* value, int) { return _putenv_s(name, value); }
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
inline time_t timegm(struct tm* utc) { return _mkgmtime(utc); }
#endif
